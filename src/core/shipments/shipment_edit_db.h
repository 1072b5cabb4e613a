#pragma once
#include <QList>
#include <QSqlRecord>
#include <QString>
#include <optional>

class Database;

// Statements of the shipment editor.  Every change (save, delete) is one
// transaction: the shipment rows, the order's figures, the trip numbers
// and the vehicle counts change together or not at all.  It locks the
// orders it touches (by number) before it reads their figures or loads,
// and recounts the vehicles last (by code), so that another PC or the
// console changing the same order waits for it or it for them.  Figures
// are changed relative to what the database holds at that moment.
namespace shipment_edit_db {

// One row of `cholha` as the editor knows it.
struct Shipment {
    QString o_fdate;      // working date (the order's date)
    QString o_date;       // date the load left
    QString o_otime;      // "hh:mm:ss"
    double o_outorder = 0;  // quantity plus mortar
    double o_moltal = 0;
    QString o_ccode;      // vehicle number
    QString o_count;      // trip number "001"
    QString o_carnum;     // vehicle code
    QString o_scode;      // order number
    QString o_return;     // "**" or "회차"
    QString o_hogi;       // "1" or "2"

    static Shipment from_record(const QSqlRecord &r);
    // The same stored row: every text column equal (the quantities are
    // not compared, floating point being what it is).
    bool same_row(const Shipment &other) const;
};

// The shipments at a working date and time (two units can record in one
// second), and the first of them.
QList<Shipment> occupants(const Database &db, const QString &working_date, const QString &time);
std::optional<Shipment> occupant(const Database &db, const QString &working_date, const QString &time);

// The load in the operator's words: "출하예정 02번, 차량 2222, 4 m3, 10:00:00".
QString describe(const Shipment &s);

struct SaveRequest {
    enum class Mode { Insert, Edit };
    Mode mode = Mode::Insert;
    QString board_date;      // the console's day: only changes on it recount the vehicle board
    QString site;            // the order's site, for the vehicle board
    Shipment shipment;       // the values to store; o_fdate and o_scode name the order
    std::optional<Shipment> previous;  // edit: the row as it was loaded
    // The operator agreed to replace the shipment at the same working date
    // and time.  Without it an occupant other than the edited row itself
    // stops the save.
    bool replace_occupant = false;
    // The occupant the operator was shown: when another load holds the
    // time by the save, nothing is saved.
    std::optional<Shipment> consented_occupant;
};

struct SaveResult {
    QString o_count;  // the trip number the shipment got
    std::optional<Shipment> replaced;  // the occupant removed, other than the edited row
};

// Throws ActionError when the order or the edited row is gone or the time
// was taken without the operator's consent, DbError on a failed statement;
// in both cases nothing is changed.  A load edited into another order is
// taken off its old one, which is renumbered.
SaveResult save(const Database &db, const SaveRequest &request);

// Deletes exactly this row, lowers its order's figures, renumbers the
// order's trips and, on the console's day, recounts the vehicle.  Throws
// ActionError, deleting nothing, when the order or the row is gone.
void delete_shipment(const Database &db, const Shipment &row, const QString &board_date);

// Adds `quantity` to the order's shipped quantity and `trips` to its trip
// count (never below 0); the remaining quantity follows (never below 0).
void adjust_order(const Database &db, const QString &date, const QString &seq, double quantity, int trips);

}
