#pragma once
#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QTime>
#include "core/data/change_log.h"
#include "core/framework/guarded.h"
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
    // The identity the load got when it was journalled, stored with it so
    // that whoever replays it later writes it once; empty: none kept.
    QString load_id;
    QString journalled_at;      // ISO date and time of the journal entry
    // Who recorded it where: the operator at the console when the load was
    // weighed, kept with it in the journal for a later replay.
    ChangeAuthor author;
};

// The load in the unit's slot 1 (and a mortar slot riding on it in slot 2).
Input input_from_slots(const ReservationSlots &slots, int unit, const QString &board_date,
                       const QDate &today, const QTime &time);

// The vehicle's number and code when exactly one vehicle has `vehicle_no`.
using VehicleLookup = std::function<std::optional<std::pair<QString, QString>>(const QString &vehicle_no)>;
// That lookup on `db`, with the code lookup's own statement but never
// through the shared lookup: a recording touches no list the clerk has
// open, nor the variables of the clerk's lookup.
VehicleLookup truck_by_number(const Database &db);

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
    // Loads of the order weighed after this one, already written, that
    // moved one trip further: their tickets in words, to be printed again.
    QStringList moved;
};

// The order of the load is not there (deleted on another PC while the load
// was weighed or waited in the journal): nothing is written.
class OrderGone : public ActionError {
public:
    explicit OrderGone(const Input &input);
};

// Records the load: the order's row is locked first, then its loads are
// counted and its figures written from what the locked transaction reads,
// so two PCs recording loads of one order number their trips in turn.
// Throws ActionError for a quantity that is not a number or a load whose
// identity is there already, OrderGone, and DbError for a failed statement
// (nothing stays written in any case).
Recorded record(const Database &db, const Input &input, const VehicleLookup &lookup_vehicle);

// The same for a load kept in the outage journal: nothing is written, and
// nothing returned, when the load's identity is there already (its commit
// went through but the answer was lost, or another program replayed it).
std::optional<Recorded> record_once(const Database &db, const Input &input, const VehicleLookup &lookup_vehicle = {});

// The load's quantity and mortar quantity as numbers; throws ActionError
// naming the slot when one is not a number.
std::pair<double, double> quantities(const Input &input);

// The load in words, for messages: "2026-03-02 1호기 순번 05, 차번 1111, 6 m3".
QString describe(const Input &input);

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

// The delivery ticket of a recorded load, from the console (origin path
// "console"; the reprint and the editor set their own).
void fill_ticket(TicketData &ticket, const Recorded &load, const QString &board_date,
                 const QString &order_no, const QString &shipper);

}
