#pragma once
#include "core/framework/database.h"
#include "core/shipments/load_generator.h"

#include <QHash>
#include <QList>
#include <QSqlRecord>
#include <QStringList>
#include <optional>

class QRandomGenerator;

// The auto ticket book's statements: yusa orders (yu_suju) and their loads
// (yu_cholha) per working date.  Nothing here touches the console's orders
// or shipments.
namespace yusa_db {

struct YusaOrder {
    QString date;  // ysu_ilja
    QString seq;   // ysu_seq, a plain number as text
    QString customer;
    QString site;
    QString spec;
    double quantity = 0;
    QString first_time;
    QString interval;
    QString cement;
    QString gravel;
    QString admixture;
    QString admixture_rate;  // ysu_hon
};

struct YusaLoad {
    QString seq;  // ych_seq, "001"
    QString time;
    QString vehicle_code;
    double m3 = 0;
    double cumulative = 0;
};

YusaOrder order_from(const QSqlRecord &row);
YusaLoad load_from(const QSqlRecord &row);

// Every column of the date's yusa orders, by number as text ("10" before "2").
QList<QSqlRecord> orders(const Database &db, const QString &date);
// Every column of the yusa order's loads, by load number.
QList<QSqlRecord> loads(const Database &db, const QString &date, const QString &order_seq);

std::optional<YusaOrder> find_order(const Database &db, const QString &date, const QString &seq);
void insert_order(const Database &db, const YusaOrder &order);
// A yusa order entered as new: its number is drawn in the transaction that
// stores it, the proposed one when it is still free, else the next free one.
// Never overwrites a stored order.  Throws ActionError for a number that is
// not a positive whole number.
struct NewOrder {
    QString seq;         // the number it was stored under
    bool moved = false;  // not the proposed one: another PC took that first
};
NewOrder insert_new_order(const Database &db, const YusaOrder &order);
// Every column but the key; false when the order is no longer there.
bool update_order(const Database &db, const YusaOrder &order);
// The yusa order with its loads of that date, in one transaction, after the
// order's row is locked (nothing when it is gone).
void delete_order(const Database &db, const QString &date, const QString &seq);

int load_count(const Database &db, const QString &date, const QString &order_seq);
bool load_exists(const Database &db, const QString &date, const QString &order_seq, const QString &seq);
void insert_load(const Database &db, const QString &date, const QString &order_seq, const YusaLoad &load);
// Time, vehicle and both quantities of the load.
void update_load(const Database &db, const QString &date, const QString &order_seq, const YusaLoad &load);
// Under the yusa order's lock, so never in the middle of a generation.
void delete_load(const Database &db, const QString &date, const QString &order_seq, const QString &seq);

// The codes of the vehicles in service (c_state "YES"), by code.
QStringList vehicles_in_service(const Database &db);

// Makes the loads of the saved yusa order anew from its stored quantity,
// first-load time and interval: its old loads of that date are deleted and
// the new ones inserted in one transaction, which locks the order's row
// before reading it.  Throws ActionError, writing
// nothing, when the order is not saved or its values allow no loads.
QList<GeneratedLoad> generate(const Database &db, const QString &date, const QString &order_seq,
                              QRandomGenerator &random);

// What a ticket prints of a vehicle (car_code): code, number and driver.
struct TicketVehicle {
    QString code;
    QString scode;
    QString name;
};
// Empty fields when there is no such vehicle.
TicketVehicle ticket_vehicle(const Database &db, const QString &code);

}
