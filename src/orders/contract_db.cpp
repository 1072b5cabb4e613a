#include "orders/contract_db.h"
#include "masterdata/master_db.h"

#include <QSqlQuery>

namespace contracts_db {
namespace {
const QString open_end = QStringLiteral("9999-12-31");

struct Shipped {
    double m3 = 0;
    double hap = 0;
};

// Ledger rows of the site whose code begins with the product's, shipped in
// [from, until).
Shipped shipped_in(const Database &db, const QString &grcd, const QString &code, const QString &remi_code,
                   const QString &from, const QString &until)
{
    QSqlQuery q = db.query(QStringLiteral("select coalesce(sum(m3), 0) as m3, coalesce(sum(hap), 0) as hap"
                                          " from r_mast where grcd = :g and code = :c"
                                          " and remi_code like :p escape '!' and ilja >= :d1 and ilja < :d2"),
                           {{":g", grcd}, {":c", code}, {":p", like_prefix_pattern(remi_code)},
                            {":d1", from}, {":d2", until}});
    Shipped s;
    if (q.next()) {
        s.m3 = number_or_zero(q.value(0));
        s.hap = number_or_zero(q.value(1));
    }
    return s;
}

struct Period {
    ContractRow row;
    PeriodInput input;
    double chulkum = 0;
};

QList<Period> periods_of(const Database &db, const QString &grcd, const QString &code, const QString &remi_code)
{
    QSqlQuery q = db.query(QStringLiteral("select remi_code, kind, standard, demand1, demand2, amount, cost,"
                                          " order_num, delivery, memo from r_hyun_order"
                                          " where grcd = :g and code = :c and remi_code = :r order by demand1"),
                           {{":g", grcd}, {":c", code}, {":r", remi_code}});
    QList<Period> periods;
    while (q.next()) {
        Period p;
        p.row.remi_code = q.value(0).toString();
        p.row.kind = q.value(1).toString();
        p.row.standard = q.value(2).toString();
        p.row.demand1 = q.value(3).toString();
        p.row.demand2 = q.value(4).toString();
        p.input.amount = number_or_zero(q.value(5));
        p.input.cost = number_or_zero(q.value(6));
        p.row.order_num = q.value(7).toString();
        p.row.delivery = q.value(8).toString();
        p.row.memo = q.value(9).toString();
        p.row.amount = p.input.amount;
        p.row.cost = p.input.cost;
        periods << p;
    }
    q.finish();
    for (Period &p : periods) {
        const Shipped s = shipped_in(db, grcd, code, remi_code, p.row.demand1, p.row.demand2);
        p.input.chul = s.m3;
        p.chulkum = s.hap;
        p.row.chul = s.m3;
        p.row.chulkum = s.hap;
    }
    return periods;
}

QList<PeriodInput> inputs(const QList<Period> &periods)
{
    QList<PeriodInput> in;
    for (const Period &p : periods)
        in << p.input;
    return in;
}

void append_contracted(const Database &db, const QString &grcd, const QString &code, QList<ContractRow> &rows)
{
    QSqlQuery q = db.query(QStringLiteral("select remi_code, kind, standard from r_hyun_order"
                                          " where grcd = :g and code = :c"
                                          " group by remi_code, kind, standard order by remi_code, kind, standard"),
                           {{":g", grcd}, {":c", code}});
    QList<ContractRow> groups;
    while (q.next()) {
        ContractRow r;
        r.remi_code = q.value(0).toString();
        r.kind = q.value(1).toString();
        r.standard = q.value(2).toString();
        groups << r;
    }
    q.finish();
    for (ContractRow r : groups) {
        const QList<Period> periods = periods_of(db, grcd, code, r.remi_code);
        if (periods.isEmpty())
            continue;
        double shipped_amount = 0;
        for (const Period &p : periods)
            shipped_amount += p.chulkum;
        const ProductFigures f = product_figures(inputs(periods), shipped_amount, periods.last().input.cost);
        r.demand1 = periods.first().row.demand1;
        r.demand2 = open_end;
        r.order_num = periods.last().row.order_num;
        r.cost = f.cost;
        r.amount = f.amount;
        r.chul = f.chul;
        r.chulkum = f.chulkum;
        r.michul = f.michul;
        r.hap = f.hap;
        rows << r;
    }
}

void append_uncontracted(const Database &db, const QString &grcd, const QString &code, QList<ContractRow> &rows)
{
    QSqlQuery q = db.query(QStringLiteral("select distinct remi_code, remi_code1, standard, kind from r_mast"
                                          " where grcd = :g and code = :c and remi_code1 not in"
                                          " (select remi_code from r_hyun_order where grcd = :g2 and code = :c2)"
                                          " order by remi_code1, remi_code, standard, kind"),
                           {{":g", grcd}, {":c", code}, {":g2", grcd}, {":c2", code}});
    QList<ContractRow> products;
    while (q.next()) {
        ContractRow r;
        r.remi_code = q.value(1).toString();
        r.standard = q.value(2).toString();
        r.name = q.value(3).toString();
        products << r;
    }
    q.finish();
    for (ContractRow r : products) {
        QSqlQuery s = db.query(QStringLiteral("select coalesce(sum(hap), 0), coalesce(sum(m3), 0) from r_mast"
                                              " where grcd = :g and code = :c and remi_code1 = :r"),
                               {{":g", grcd}, {":c", code}, {":r", r.remi_code}});
        if (s.next()) {
            r.chulkum = number_or_zero(s.value(0));
            r.chul = number_or_zero(s.value(1));
        }
        rows << r;
    }
}
}

QList<ContractRow> product_contracts(const Database &db, const QString &grcd, const QString &code)
{
    QList<ContractRow> rows;
    append_contracted(db, grcd, code, rows);
    append_uncontracted(db, grcd, code, rows);
    return rows;
}

QList<ContractRow> contract_periods(const Database &db, const QString &grcd, const QString &code,
                                    const QString &remi_code)
{
    const QList<Period> periods = periods_of(db, grcd, code, remi_code);
    const QList<PeriodFigures> figures = period_figures(inputs(periods));
    QList<ContractRow> rows;
    for (int i = 0; i < periods.size(); ++i) {
        ContractRow r = periods[i].row;
        r.hap = figures[i].hap;
        r.michul = figures[i].michul;
        rows << r;
    }
    return rows;
}

ContractAmounts current_amounts(const Database &db, const QString &grcd, const QString &code)
{
    return contract_amounts(product_contracts(db, grcd, code));
}

QList<ProductSum> product_sums(const Database &db, const QString &grcd, const QString &code)
{
    QSqlQuery q = db.query(QStringLiteral("select remi_code, standard, kind, sum(m3), sum(kum), sum(vatkum), sum(hap)"
                                          " from r_mast where grcd = :g and code = :c"
                                          " group by remi_code, standard, kind order by remi_code, standard, kind"),
                           {{":g", grcd}, {":c", code}});
    QList<ProductSum> sums;
    while (q.next()) {
        ProductSum s;
        s.remi_code = q.value(0).toString();
        s.standard = q.value(1).toString();
        s.kind = q.value(2).toString();
        s.m3 = number_or_zero(q.value(3));
        s.kum = number_or_zero(q.value(4));
        s.vatkum = number_or_zero(q.value(5));
        s.hap = number_or_zero(q.value(6));
        sums << s;
    }
    return sums;
}

}
