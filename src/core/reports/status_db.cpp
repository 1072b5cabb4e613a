#include "core/reports/status_db.h"
#include "core/orders/order_queries.h"
#include "core/framework/database.h"
#include "core/masterdata/lookup_state.h"
#include "core/masterdata/master_db.h"
#include "core/framework/number_text.h"


namespace status_db {
namespace {
// The order column a choice filters on; names come from here only.
QString order_filter_column(int choice)
{
    switch (choice) {
    case site:
        return QStringLiteral("v_station");
    case specification:
        return QStringLiteral("v_rule");
    default:
        return QStringLiteral("v_inout");
    }
}

// " and <column> = :f" when there is a filter.
QString filter_on(const QString &column, const Search &s, Params &params)
{
    if (s.filter.isEmpty())
        return {};
    params << qMakePair(QStringLiteral(":f"), QVariant(s.filter));
    return QStringLiteral(" and %1 = :f").arg(column);
}

Params period(const Search &s)
{
    return {{":d1", s.first}, {":d2", s.last}};
}

LoadTotals load_totals(const Database &db, const QString &sql, const Params &params)
{
    QSqlQuery q = db.query(sql, params);
    LoadTotals t;
    if (q.next()) {
        t.quantity = number_or_zero(q.value(0));
        t.count = number_or_zero(q.value(1));
    }
    return t;
}

const QString join = QStringLiteral(
    " from cholha ch inner join r_suju su on su.ilja = ch.o_fdate and su.seq = ch.o_scode");
const QString not_returned = QStringLiteral(" and coalesce(ch.o_return, '') <> '회차'");
}

QSqlQuery orders(const Database &db, const Search &s)
{
    Params p = period(s);
    const QString f = filter_on(order_filter_column(s.choice), s, p);
    return db.query_kept(QStringLiteral("select ilja, seq, v_inout, v_station, remi_code, v_rule,"
                                   " order_m3 as sum_order_m3, v_outorder as sum_outorder,"
                                   " v_ccount as sum_ca_count from r_suju"
                                   " where ilja >= :d1 and ilja <= :d2%1 order by ilja, seq")
                        .arg(f),
                    p);
}

OrderTotals order_totals(const Database &db, const Search &s)
{
    Params p = period(s);
    const QString f = filter_on(order_filter_column(s.choice), s, p);
    QSqlQuery q = db.query(QStringLiteral("select sum(order_m3), sum(v_outorder), sum(v_ccount) from r_suju"
                                          " where ilja >= :d1 and ilja <= :d2%1")
                               .arg(f),
                           p);
    OrderTotals t;
    if (q.next()) {
        t.order_m3 = number_or_zero(q.value(0));
        t.delivered = number_or_zero(q.value(1));
        t.trips = number_or_zero(q.value(2));
    }
    return t;
}

QSqlQuery order_loads(const Database &db, const QString &date, const QString &seq)
{
    return orders_db::shipments_of_order(db, date, seq);
}

QSqlQuery vehicle_totals(const Database &db, const Search &s)
{
    Params p = period(s);
    const QString f = filter_on(QStringLiteral("o_carnum"), s, p);
    // Grouped in the order of the (o_fdate, o_carnum, o_outorder) index, so
    // the loads are summed as the index gives them, and only the groups
    // (a vehicle a day) are sorted, never the year's loads.
    return db.query_kept(QStringLiteral("select o_carnum, o_fdate, sum_chol_m3, sum_ca_count from"
                                        " (select o_fdate, o_carnum, sum(o_outorder) as sum_chol_m3,"
                                        " count(*) as sum_ca_count from cholha"
                                        " where o_fdate >= :d1 and o_fdate <= :d2%1"
                                        " group by o_fdate, o_carnum) t"
                                        " order by o_carnum nulls first, o_fdate")
                             .arg(f),
                         p);
}

QSqlQuery vehicle_loads(const Database &db, const Search &s)
{
    Params p = period(s);
    const QString f = filter_on(QStringLiteral("ch.o_carnum"), s, p);
    return db.query_kept(QStringLiteral("select ch.o_fdate, ch.o_date, ch.o_otime, su.v_inout, su.v_station,"
                                        " su.remi_code, su.v_rule, ch.o_carnum, ch.o_outorder, ch.o_return")
                             + join
                             + QStringLiteral(" where ch.o_fdate >= :d1 and ch.o_fdate <= :d2%1"
                                              " order by ch.o_carnum nulls first, ch.o_fdate, ch.o_otime, ch.o_count")
                                   .arg(f),
                         p);
}

LoadTotals vehicle_load_totals(const Database &db, const Search &s)
{
    Params p = period(s);
    const QString f = filter_on(QStringLiteral("o_carnum"), s, p);
    return load_totals(db,
                       QStringLiteral("select sum(o_outorder), count(*) from cholha"
                                      " where o_fdate >= :d1 and o_fdate <= :d2%1")
                           .arg(f),
                       p);
}

QSqlQuery day_loads(const Database &db, const Search &s)
{
    return db.query_kept(QStringLiteral("select ch.o_fdate, ch.o_date, ch.o_otime, su.v_inout, su.v_station,"
                                   " su.remi_code, su.v_rule, ch.o_carnum, ch.o_outorder, ch.o_return")
                        + join + QStringLiteral(" where ch.o_fdate = :d1 order by ch.o_otime desc"),
                    {{":d1", s.first}});
}

LoadTotals day_load_totals(const Database &db, const Search &s)
{
    return load_totals(db,
                       QStringLiteral("select sum(ch.o_outorder), count(*) from cholha ch"
                                      " where ch.o_fdate = :d1")
                           + not_returned,
                       {{":d1", s.first}});
}

LoadTotals loads_without_order(const Database &db, const Search &s, bool leave_out_returned)
{
    Params p;
    QString where;
    if (s.choice == by_time) {
        p = {{":d1", s.first}};
        where = QStringLiteral(" where ch.o_fdate = :d1");
    } else {
        p = period(s);
        where = QStringLiteral(" where ch.o_fdate >= :d1 and ch.o_fdate <= :d2")
                + filter_on(QStringLiteral("ch.o_carnum"), s, p);
    }
    return load_totals(db,
                       QStringLiteral("select sum(ch.o_outorder), count(*) from cholha ch") + where
                           + (leave_out_returned ? not_returned : QString())
                           + QStringLiteral(" and not exists (select 1 from r_suju su"
                                            " where su.ilja = ch.o_fdate and su.seq = ch.o_scode)"),
                       p);
}

QString without_order_line(const LoadTotals &t)
{
    if (t.count == 0)
        return {};
    return QStringLiteral("주문 없는 출하 %1건 / %2 m³").arg(number_0n(t.count), number_2n(t.quantity));
}

QSqlQuery order_report_loads(const Database &db, const Search &s)
{
    Params p = period(s);
    const QString f = filter_on(QStringLiteral("su.") + order_filter_column(s.choice), s, p);
    return db.query(QStringLiteral("select su.ilja, ch.o_otime, su.v_inout, su.v_station, su.remi_code,"
                                   " su.v_rule, ch.o_carnum, ch.o_outorder, ch.o_return, su.seq")
                        + join
                        + QStringLiteral(" where ch.o_fdate >= :d1 and ch.o_fdate <= :d2") + not_returned
                        + QStringLiteral("%1 order by su.ilja, su.seq, ch.o_otime, ch.o_count").arg(f),
                    p);
}

LookupOutcome find_sites(const Database &db, const QString &text)
{
    const QString columns = QStringLiteral(
        "select h.code, h.name, h.misu, h.man_code, h.grcd, c.name as cust_name"
        " from r_hyunjang h left join customer c on c.grcd = h.grcd");
    const bool by_name = is_name_search(text);
    LookupOutcome out;
    out.ran = true;
    out.rows = by_name ? fetch_records(db, columns + QStringLiteral(" where h.name like :p escape '!'"
                                                                    " order by h.name, c.name"),
                                       {{":p", like_pattern(text)}})
                       : fetch_records(db, columns + QStringLiteral(" where h.code = :t order by h.name, c.name"),
                                       {{":t", text}});
    out.found = out.rows.size() == 1;
    if (!out.found && !by_name)
        out.rows = fetch_records(db, columns + QStringLiteral(" where h.code <> '000' order by h.name, c.name"));
    using Col = RecordTableModel::Column;
    out.columns = {Col{"name", "현장명", Qt::AlignLeft | Qt::AlignVCenter, {}, false, 20},
                   Col{"cust_name", "거래처명", Qt::AlignLeft | Qt::AlignVCenter, {}, false, 16},
                   Col{"code", "코드", Qt::AlignCenter}};
    return out;
}

}
