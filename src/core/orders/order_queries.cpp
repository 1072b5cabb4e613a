#include "core/orders/order_queries.h"
#include "core/data/change_log.h"
#include "core/orders/order_lock.h"
#include <QJsonObject>
#include <QMap>
#include <QSqlRecord>
#include "core/framework/database.h"

namespace orders_db {

QSqlQuery orders_of_day(const Database &db, const QString &date, const QString &state)
{
    return db.query(QStringLiteral("select * from r_suju where ilja = :d and v_state = :s order by seq"),
                    {{":d", date}, {":s", state}});
}

DayTotals day_totals(const Database &db, const QString &date)
{
    QSqlQuery q = db.query(QStringLiteral(
                               "select sum(order_m3) as s_order_m3, sum(v_outorder) as s_outorder,"
                               " sum(v_reorder) as s_reorder, sum(v_ccount) as s_count"
                               " from r_suju where ilja = :d"),
                           {{":d", date}});
    DayTotals t;
    if (q.next()) {
        t.order_m3 = number_or_zero(q.value(0));
        t.shipped = number_or_zero(q.value(1));
        t.remaining = number_or_zero(q.value(2));
        t.trips = static_cast<long long>(number_or_zero(q.value(3)));
    }
    return t;
}

OrderSummary find_order(const Database &db, const QString &date, const QString &seq)
{
    QSqlQuery q = db.query(QStringLiteral("select v_inout, v_station, remi_code, v_rule from r_suju"
                                          " where ilja = :d and seq = :s"),
                           {{":d", date}, {":s", seq}});
    OrderSummary o;
    if (q.next()) {
        o.v_inout = q.value(0).toString();
        o.v_station = q.value(1).toString();
        o.remi_code = q.value(2).toString();
        o.v_rule = q.value(3).toString();
    }
    return o;
}

QSqlQuery shipments_of_order(const Database &db, const QString &date, const QString &seq)
{
    return db.query(QStringLiteral("select * from cholha where o_fdate = :d and o_scode = :s"
                                   " order by o_count desc"),
                    {{":d", date}, {":s", seq}});
}

void set_order_state(const Database &db, const QString &date, const QString &seq,
                     const QString &state)
{
    Transaction tx(db);
    if (!order_lock::lock(db, date, seq))
        return;
    const std::optional<QJsonObject> before = change_log::order_row(db, date, seq);
    db.exec(QStringLiteral("update r_suju set v_state = :st where ilja = :d and seq = :s"),
            {{":st", state}, {":d", date}, {":s", seq}});
    change_log::Changes changes;
    changes.add(change_log::order_entry(state == QLatin1String("YES") ? change_log::Kind::Reopened
                                                                      : change_log::Kind::Closed,
                                        before, change_log::order_row(db, date, seq)));
    changes.write(db);
    tx.commit();
}

namespace {
QMap<QString, QJsonObject> day_rows(const Database &db, const QString &date)
{
    QMap<QString, QJsonObject> rows;
    QSqlQuery q = db.query(QStringLiteral("select * from r_suju where ilja = :d"), {{":d", date}});
    while (q.next()) {
        const QJsonObject row = change_log::row_json(q.record());
        rows.insert(row.value(QLatin1String("seq")).toString(), row);
    }
    return rows;
}
}

void recalculate_day(const Database &db, const QString &date)
{
    // One statement for the whole day: every order gets the sum and count
    // of its loads (returned loads count like any other).
    Transaction tx(db);
    // The day's orders locked first, in a statement of their own: a load
    // being recorded commits before the sums are read, and the sums are
    // then read anew.  (On PostgreSQL an update that waits for a row lock
    // would otherwise write the sums of the loads it saw before waiting.)
    db.exec(QStringLiteral("update r_suju set v_ccount = v_ccount where ilja = :d"), {{":d", date}});
    const QMap<QString, QJsonObject> before = day_rows(db, date);
    db.exec(QStringLiteral(
                "update r_suju set"
                " v_outorder = (select coalesce(sum(o_outorder), 0) from cholha"
                "   where o_fdate = r_suju.ilja and o_scode = r_suju.seq),"
                " v_reorder = case when order_m3 - (select coalesce(sum(o_outorder), 0) from cholha"
                "   where o_fdate = r_suju.ilja and o_scode = r_suju.seq) > 0"
                "   then order_m3 - (select coalesce(sum(o_outorder), 0) from cholha"
                "   where o_fdate = r_suju.ilja and o_scode = r_suju.seq) else 0 end,"
                " v_ccount = (select count(o_carnum) from cholha"
                "   where o_fdate = r_suju.ilja and o_scode = r_suju.seq)"
                " where ilja = :d"),
            {{":d", date}});
    const QMap<QString, QJsonObject> after = day_rows(db, date);
    change_log::Changes changes;
    for (auto it = after.cbegin(); it != after.cend(); ++it)
        changes.add(change_log::order_entry(change_log::Kind::Recalculated,
                                            before.contains(it.key()) ? std::optional(before.value(it.key())) : std::nullopt,
                                            it.value()));
    changes.write(db);
    tx.commit();
}

}
