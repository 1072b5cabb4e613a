#pragma once
#include "core/framework/database.h"

#include <QList>
#include <QSqlRecord>
#include <QStringList>
#include <optional>

// The statements of order entry (table r_suju and what it joins).
namespace order_db {

// The values of one order as the window saves them; numbers as plain
// decimal text.
struct OrderEntry {
    QString ilja, seq;
    QString grcd, v_inout, code, v_station;
    QString time_, dist, v_okno, memo, ground;
    QString remi_code, v_rule, kind, order_m3, danga, vat;
    QString cement, gravel, japum, con, v_hon;
};

// The distinct values of `column` ("cement", "gravel", "japum" or "con")
// among the orders, as the database returns them.
QStringList distinct_values(const Database &db, const QString &column);

// Every order of the day, open and closed, by number.
QList<QSqlRecord> day_orders(const Database &db, const QString &date);

// The next number to propose: "01" on a day without orders, else the
// highest plus one in two digits ("00" after "99").  A stored number that
// is not numeric is an ActionError.
QString next_seq(const Database &db, const QString &date);

// The order with its customer, site and sales person (each of them may be
// missing: their columns are then empty).  Columns: the order's own, and
// cust_name, kawn_sa, cust_misu, cust_vat, rank, julsa, site_name,
// man_code, office_tel, ground_tel, site_memo, order_nul, gover,
// gover_num, build, man.
std::optional<QSqlRecord> load_order(const Database &db, const QString &date, const QString &seq);

bool order_exists(const Database &db, const QString &date, const QString &seq);

// A new open order: nothing shipped, the whole quantity remaining.  It
// never replaces an order: when its number is taken by now (another PC
// saved first) it gets the day's next free number, drawn in the inserting
// transaction.  Gives the number stored.  An ActionError "순번을 확인하세요"
// when the day has no number left.
QString insert_order(const Database &db, const OrderEntry &order);

// Changes the order's entry values; the remaining quantity becomes the
// ordered minus the shipped quantity held now, at least 0, read with the
// order locked, so a load recorded at the same moment is counted.  False
// when the order is no longer there.
bool update_order(const Database &db, const OrderEntry &order);

// Deletes the order with its transport fee rows, unless it has loads; the
// loads are counted with the order locked, so none can be recorded between
// the count and the delete.
struct DeleteOutcome {
    bool deleted = false;
    int loads = 0;  // loads recorded against the order (nothing deleted then)
};
DeleteOutcome delete_order(const Database &db, const QString &date, const QString &seq);

// The loads recorded against the order (each has had its ticket).
int load_count(const Database &db, const QString &date, const QString &seq);

// What changes the printed texts of an order's loads: which of customer,
// site and specification `order` gives otherwise than the order stored
// ("거래처", "현장", "규격"), empty when none or the order is gone.
QStringList changed_texts(const Database &db, const OrderEntry &order);

// The unit price of the customer's latest order for the site and
// specification, as stored text ("" without such an order).
QString last_price(const Database &db, const QString &grcd, const QString &code, const QString &remi_code);

}
