#pragma once
#include "core/framework/record_table_model.h"
#include "core/masterdata/lookup_db.h"

#include <QSqlQuery>
#include <QString>

class Database;

// Statements of the shipment status window and its lists.  Every list is
// ordered as its groups need it, so the subtotals come out the same on
// every engine.
namespace status_db {

// What the window asks about (find_combo's index).
enum Choice { customer = 0, site = 1, specification = 2, vehicle = 3, by_time = 4 };

// One search: the period and the filter (a customer, site or
// specification name, or a vehicle code; empty: everything).
struct Search {
    int choice = customer;
    QString first;
    QString last;
    QString filter;
};

// Orders of the period (suju_query), by date and order number.
QSqlQuery orders(const Database &db, const Search &s);
struct OrderTotals {
    double order_m3 = 0;
    double delivered = 0;
    double trips = 0;
};
OrderTotals order_totals(const Database &db, const Search &s);

// The loads of one order (cholha_query), newest trip first.
QSqlQuery order_loads(const Database &db, const QString &date, const QString &seq);

// Loads per vehicle and day (car_totlist_query), by vehicle code and day.
QSqlQuery vehicle_totals(const Database &db, const Search &s);
// The loads with their orders (car_list_query), by vehicle, day and time;
// loads without a vehicle code first, under a blank vehicle.
QSqlQuery vehicle_loads(const Database &db, const Search &s);
struct LoadTotals {
    double quantity = 0;
    double count = 0;
};
// Quantity and number of the loads of the period (and vehicle).
LoadTotals vehicle_load_totals(const Database &db, const Search &s);

// The loads of the first day (timeseq_query), latest first.
QSqlQuery day_loads(const Database &db, const Search &s);
// The same day's totals, returned loads left out.
LoadTotals day_load_totals(const Database &db, const Search &s);

// The loads of a vehicle or by-time search whose order is gone (deleted on
// another PC): counted in the totals, missing from the joined lists.
LoadTotals loads_without_order(const Database &db, const Search &s, bool leave_out_returned);
// "주문 없는 출하 n건 / x m³", or empty when there are none.
QString without_order_line(const LoadTotals &t);

// The detailed order report (custlist_query): loads that were not
// returned, with their orders, by order and time.
QSqlQuery order_report_loads(const Database &db, const Search &s);

// The site lookup of the status window: sites of every customer, with the
// customer's name, found by code or by name as the code lookup decides.
LookupOutcome find_sites(const Database &db, const QString &text);

}
