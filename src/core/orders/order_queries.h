#pragma once
#include <QList>
#include <QSqlQuery>
#include <QString>

class Database;

// Statements of the daily order board.
namespace orders_db {

// The day's orders in one state ("YES" open, "NO" closed), by order number.
QSqlQuery orders_of_day(const Database &db, const QString &date, const QString &state);

// Sums over all orders of the day, open and closed; 0 without orders.
struct DayTotals {
    double order_m3 = 0;
    double shipped = 0;
    double remaining = 0;
    long long trips = 0;
};
DayTotals day_totals(const Database &db, const QString &date);

// What the reservation slots take from an order; empty texts without one.
struct OrderSummary {
    QString v_inout;
    QString v_station;
    QString remi_code;
    QString v_rule;
};
OrderSummary find_order(const Database &db, const QString &date, const QString &seq);

// The loads of one order, newest trip first.
QSqlQuery shipments_of_order(const Database &db, const QString &date, const QString &seq);

// Closes ("NO") or reopens ("YES") an order.
void set_order_state(const Database &db, const QString &date, const QString &seq,
                     const QString &state);

// Rebuilds every order's shipped quantity, remaining quantity (never below
// 0) and trip count of the day from its loads, in one transaction with the
// day's orders locked.
void recalculate_day(const Database &db, const QString &date);

}
