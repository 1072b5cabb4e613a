#pragma once
#include <QDate>
#include <QHash>
#include <QString>
#include <QTime>
#include <functional>
#include <optional>

class Database;
class ReservationSlots;
struct TicketData;

// Recording a load when its batch unit starts weighing it: one shipment
// row, the order's shipped and remaining quantities and trip count, and the
// truck's day count, all in one transaction.
namespace shipment_recording {

struct Input {
    int unit = 1;               // 1 or 2
    QString order_no;           // slot 1, field 1
    QString product_code;       // slot 1, field 2
    QString quantity;           // slot 1, field 4, as typed
    std::optional<QString> mortar_quantity;  // slot 2's quantity when slot 2 is a mortar slot
    QString vehicle_no;         // slot 1, field 5
    QString vehicle_code;       // slot 1, field 7
    QString site_name;          // slot 1, field 8
    QString board_date;         // the console's working day
    QDate today;                // the computer's date: the day the load left
    QTime time;                 // taken once, at the start
};

// The load in the unit's slot 1 (and a mortar slot riding on it in slot 2).
Input input_from_slots(const ReservationSlots &slots, int unit, const QString &board_date,
                       const QDate &today, const QTime &time);

// The vehicle's number and code when exactly one vehicle has `vehicle_no`.
using VehicleLookup = std::function<std::optional<std::pair<QString, QString>>(const QString &vehicle_no)>;

// What the ticket needs of the recorded load.
struct Recorded {
    int trip_no = 0;
    QString time;               // "hh:mm:ss"
    double quantity = 0;        // load + mortar
    double mortar = 0;
    double cumulative = 0;      // the order's shipped total with this load
    QString vehicle_no;
    QString vehicle_code;
    QString driver;
    QString ks_mark;
    QString v_rule, v_inout, v_station, cement, japum, v_hon;
};

// Throws ActionError for a quantity that is not a number (nothing is
// written) and DbError for a failed statement (nothing stays written).
Recorded record(const Database &db, const Input &input, const VehicleLookup &lookup_vehicle);

// The load's quantity and mortar quantity as numbers; throws ActionError
// naming the slot when one is not a number.
std::pair<double, double> quantities(const Input &input);

// Records a load kept in the outage journal: as record() without the
// vehicle lookup, unless the load's row is already there (the same unit,
// order, truck number, departure date and time to the second), in which
// case nothing is written and nothing is returned.
std::optional<Recorded> record_once(const Database &db, const Input &input);

// What the console knows of a load's order and truck while the database
// cannot be reached: the ticket is printed from this.
struct Known {
    bool order_found = false;
    double shipped = 0;       // the order's shipped total as last read
    int trips = 0;            // its trip count as last read
    QString v_rule, v_inout, v_station, cement, japum, v_hon;
    QString driver;
    QString ks_mark;
    int waiting_loads = 0;    // loads of the same order waiting before this one
    double waiting_sum = 0;
};
// Throws ActionError as quantities() does.
Recorded estimate(const Input &input, const Known &known);

// The KS mark of every product code, for tickets printed while the
// database cannot be reached.
QHash<QString, QString> ks_marks(const Database &db);

// The delivery ticket of a recorded load.
void fill_ticket(TicketData &ticket, const Recorded &load, const QString &board_date,
                 const QString &order_no, const QString &shipper);

}
