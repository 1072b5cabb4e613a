#include "core/masterdata/vehicle_queries.h"
#include "core/framework/database.h"
#include "core/data/change_log.h"

#include <QJsonObject>
#include <QMap>
#include <QSqlRecord>

namespace vehicles_db {
namespace {
// The vehicles' rows (all of them, or one), by code.
QMap<QString, QJsonObject> vehicle_rows(const Database &db, const QString &code = QString())
{
    QMap<QString, QJsonObject> rows;
    QSqlQuery q = code.isEmpty() ? db.query(QStringLiteral("select * from car_code"))
                                 : db.query(QStringLiteral("select * from car_code where code = :c"), {{":c", code}});
    while (q.next()) {
        const QJsonObject row = change_log::row_json(q.record());
        rows.insert(row.value(QLatin1String("code")).toString(), row);
    }
    return rows;
}

// One entry per vehicle whose service state changed.
void log_service_changes(const Database &db, const QMap<QString, QJsonObject> &before,
                         const QMap<QString, QJsonObject> &after)
{
    change_log::Changes changes;
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        const QJsonObject old = before.value(it.key());
        if (old.value(QLatin1String("c_state")) == it.value().value(QLatin1String("c_state")))
            continue;
        change_log::Entry e;
        e.table = QStringLiteral("car_code");
        e.kind = change_log::Kind::Corrected;
        e.key = it.key();
        e.vehicle_code = it.key();
        e.vehicle_no = it.value().value(QLatin1String("scode")).toString();
        e.before = old;
        e.after = it.value();
        changes.add(e);
    }
    changes.write(db);
}
}

QSqlQuery vehicles(const Database &db, const QString &state)
{
    if (state.isEmpty())
        return db.query(QStringLiteral("select * from car_code order by code"));
    return db.query(QStringLiteral("select * from car_code where c_state = :s order by code"),
                    {{":s", state}});
}

void recount_all_vehicles(const Database &db, const QString &date)
{
    const QString month = date.left(8);
    Transaction tx(db);
    // Every vehicle locked first, in a statement of its own, so the counts
    // below are read after any load being recorded has committed.
    db.exec(QStringLiteral("update car_code set c_dsum = c_dsum"));
    const QMap<QString, QJsonObject> before = vehicle_rows(db);
    // The month runs from its first day to `date`; the range lets the
    // (o_carnum, o_date) index do the work, the LIKE keeps it to the month.
    db.exec(QStringLiteral(
                "update car_code set"
                " c_dsum = (select count(o_carnum) from cholha"
                "   where o_date = :d and o_carnum = car_code.code),"
                " c_msum = case when exists (select 1 from cholha where o_date = :d and o_carnum = car_code.code)"
                "   then (select count(o_carnum) from cholha where o_carnum = car_code.code"
                "     and o_date >= :m and o_date <= :d and o_date like :ml)"
                "   else 0 end,"
                " c_state = case when exists (select 1 from cholha where o_date = :d and o_carnum = car_code.code)"
                "   then 'YES' else c_state end"),
            {{":d", date}, {":m", month}, {":ml", month + QLatin1Char('%')}});
    // Asked inside the statement: a load recorded since the check would
    // otherwise lose its vehicle's count.
    db.exec(QStringLiteral("update car_code set c_dsum = 0, c_station = :e where c_state = 'YES'"
                           " and not exists (select 1 from cholha where o_date = :d)"),
            {{":e", QStringLiteral("")}, {":d", date}});  // a null QString would store NULL
    log_service_changes(db, before, vehicle_rows(db));
    tx.commit();
}

void recount_vehicle(const Database &db, const QString &date, const QString &vehicle_code,
                     const QString &site_name)
{
    // The vehicle locked in a statement of its own before it is counted:
    // inside the caller's transaction (after the order's lock) a load that
    // another PC records for the same vehicle has committed by then.
    db.exec(QStringLiteral("update car_code set c_dsum = c_dsum where code = :c"), {{":c", vehicle_code}});
    db.exec(QStringLiteral("update car_code set"
                           " c_dsum = (select count(o_carnum) from cholha where o_fdate = :d and o_carnum = :c),"
                           " c_station = :s where code = :c"),
            {{":d", date}, {":c", vehicle_code}, {":s", site_name}});
}

QList<Trip> vehicle_trips(const Database &db, const QString &vehicle_code, const QString &date)
{
    QSqlQuery q = db.query(QStringLiteral(
                               "select ch.o_otime, su.v_inout, su.v_station from cholha ch"
                               " inner join r_suju su on (ch.o_scode = su.seq and ch.o_fdate = su.ilja)"
                               " where ch.o_carnum = :c and ch.o_date = :d order by ch.o_otime"),
                           {{":c", vehicle_code}, {":d", date}});
    QList<Trip> trips;
    while (q.next())
        trips << Trip{q.value(0).toString(), q.value(1).toString(), q.value(2).toString()};
    return trips;
}

void toggle_service(const Database &db, const QString &vehicle_code, const QString &current_state)
{
    const QString next = current_state == QLatin1String("YES") ? QStringLiteral("NO") : QStringLiteral("YES");
    Transaction tx(db);
    const QMap<QString, QJsonObject> before = vehicle_rows(db, vehicle_code);
    db.exec(QStringLiteral("update car_code set c_state = :s where code = :c"),
            {{":s", next}, {":c", vehicle_code}});
    log_service_changes(db, before, vehicle_rows(db, vehicle_code));
    tx.commit();
}

void put_all_in_service(const Database &db)
{
    Transaction tx(db);
    const QMap<QString, QJsonObject> before = vehicle_rows(db);
    db.exec(QStringLiteral("update car_code set c_state = 'YES'"));
    log_service_changes(db, before, vehicle_rows(db));
    tx.commit();
}

}
