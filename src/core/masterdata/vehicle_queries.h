#pragma once
#include <QList>
#include <QSqlQuery>
#include <QString>

class Database;

// Statements of the vehicle board and the trucks' trip counts.
namespace vehicles_db {

// Vehicles by code; all of them when `state` is empty.
QSqlQuery vehicles(const Database &db, const QString &state);

// Every vehicle's day and month counts for `date`, by departure date: a
// vehicle that left that day is put back in service; on a day without any
// load the site column of the vehicles in service is emptied.
void recount_all_vehicles(const Database &db, const QString &date);

// One vehicle's day count by order date, and the site of its latest load.
// Runs in the caller's transaction (a recording, after the order's lock),
// where it holds the vehicle's row until the end.
void recount_vehicle(const Database &db, const QString &date, const QString &vehicle_code,
                     const QString &site_name);

struct Trip {
    QString time;
    QString customer;
    QString site;
};
// The vehicle's loads that left on `date`, by time.
QList<Trip> vehicle_trips(const Database &db, const QString &vehicle_code, const QString &date);

// "YES" becomes "NO", anything else "YES".
void toggle_service(const Database &db, const QString &vehicle_code, const QString &current_state);

void put_all_in_service(const Database &db);

}
