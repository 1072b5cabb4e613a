#pragma once
#include "core/framework/database.h"

#include <QList>
#include <QSqlRecord>
#include <QStringList>

// Vehicles (table car_code) as the vehicle window keeps them.

// Every column of every vehicle by vehicle number.
QList<QSqlRecord> list_vehicle_rows(const Database &db);
// The transport-fee classes the vehicles use, each once.
QStringList vehicle_fee_classes(const Database &db);
bool vehicle_exists(const Database &db, const QString &code);
// The name of transport company `code`, empty when there is none.
QString transport_company_name(const Database &db, const QString &code);

// The columns the vehicle window writes.
struct Vehicle {
    QString code;
    QString scode;
    QString name;
    double m3 = 0;
    double wight = 0;
    QString carco;
    QString company;
    QString gubun;
    QString sudang;  // "0" overtime paid, "1" not, "-1" not chosen
    QString c_bool;  // "Y" or "N": ticket printed
};

// Adds the vehicle in service with no trips yet.  False when the code exists.
bool add_vehicle(const Database &db, const Vehicle &v);
// Changes the vehicle's own columns; its trip counts and state stay.
void update_vehicle(const Database &db, const Vehicle &v);
void delete_vehicle(const Database &db, const QString &code);
