#include "core/masterdata/vehicle_db.h"
#include "core/masterdata/master_db.h"

#include <QSqlQuery>

QList<QSqlRecord> list_vehicle_rows(const Database &db)
{
    return fetch_records(db, QStringLiteral("select * from car_code order by scode"));
}

QStringList vehicle_fee_classes(const Database &db)
{
    QSqlQuery q = db.query(QStringLiteral("select distinct gubun from car_code order by gubun"));
    QStringList classes;
    while (q.next())
        if (!q.value(0).toString().isEmpty())
            classes << q.value(0).toString();
    return classes;
}

bool vehicle_exists(const Database &db, const QString &code)
{
    return !db.scalar(QStringLiteral("select code from car_code where code = :c"), {{":c", code}}).isNull();
}

QString transport_company_name(const Database &db, const QString &code)
{
    return db.scalar(QStringLiteral("select name from car_cust where code = :c"), {{":c", code}}).toString();
}

namespace {
Params vehicle_params(const Vehicle &v)
{
    return {{":code", v.code}, {":name", v.name}, {":m3", v.m3}, {":wight", v.wight},
            {":carco", v.carco}, {":company", v.company}, {":gubun", v.gubun},
            {":scode", v.scode}, {":sudang", v.sudang}, {":c_bool", v.c_bool}};
}
}

bool add_vehicle(const Database &db, const Vehicle &v)
{
    return insert_new_row([&] { return vehicle_exists(db, v.code); }, [&] {
        db.exec(QStringLiteral("insert into car_code (saup, code, name, m3, wight, carco, company, gubun,"
                               " scode, sudang, c_bool, c_otime, c_msum, c_dsum, c_state)"
                               " values ('AA', :code, :name, :m3, :wight, :carco, :company, :gubun,"
                               " :scode, :sudang, :c_bool, '00:00', 0, 0, 'YES')"),
                vehicle_params(v));
    });
}

void update_vehicle(const Database &db, const Vehicle &v)
{
    db.exec(QStringLiteral("update car_code set name = :name, company = :company, m3 = :m3, wight = :wight,"
                           " carco = :carco, gubun = :gubun, scode = :scode, sudang = :sudang,"
                           " c_bool = :c_bool where code = :code"),
            vehicle_params(v));
}

void delete_vehicle(const Database &db, const QString &code)
{
    db.exec(QStringLiteral("delete from car_code where code = :c"), {{":c", code}});
}
