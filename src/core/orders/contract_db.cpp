#include "core/orders/contract_db.h"

#include <QSqlQuery>
#include <map>
#include <optional>

namespace contracts_db {
namespace {
const QString open_end = QStringLiteral("9999-12-31");

// The site's ledger summed per product code and day, read in one statement:
// every figure of the tab is taken from it, so choosing the tab costs two
// statements however many products and periods the site has.
struct LedgerDay {
    QString remi_code;
    QVariant remi_code1;  // null stays null: it matches no product
    QString standard;
    QString kind;
    QString ilja;
    double m3 = 0;
    double hap = 0;
};

QList<LedgerDay> site_ledger(const Database &db, const QString &grcd, const QString &code)
{
    QSqlQuery q = db.query(QStringLiteral("select remi_code, remi_code1, standard, kind, ilja, sum(m3), sum(hap)"
                                          " from r_mast where grcd = :g and code = :c"
                                          " group by remi_code, remi_code1, standard, kind, ilja"),
                           {{":g", grcd}, {":c", code}});
    QList<LedgerDay> days;
    while (q.next())
        days << LedgerDay{q.value(0).toString(), q.value(1), q.value(2).toString(), q.value(3).toString(),
                          q.value(4).toString(), number_or_zero(q.value(5)), number_or_zero(q.value(6))};
    return days;
}

struct Shipped {
    double m3 = 0;
    double hap = 0;
};

// Ledger rows whose code begins with the product's, shipped in [from, until).
Shipped shipped_in(const QList<LedgerDay> &ledger, const QString &remi_code, const QString &from,
                   const QString &until)
{
    Shipped s;
    for (const LedgerDay &d : ledger) {
        if (d.remi_code.startsWith(remi_code) && d.ilja >= from && d.ilja < until) {
            s.m3 += d.m3;
            s.hap += d.hap;
        }
    }
    return s;
}

struct Period {
    ContractRow row;
    PeriodInput input;
};

// Every contract period of the site, by product code and start.
QList<Period> site_periods(const Database &db, const QString &grcd, const QString &code,
                           const std::optional<QString> &only_product, const QList<LedgerDay> &ledger)
{
    QString sql = QStringLiteral("select remi_code, kind, standard, demand1, demand2, amount, cost,"
                                 " order_num, delivery, memo from r_hyun_order where grcd = :g and code = :c");
    Params params{{":g", grcd}, {":c", code}};
    if (only_product) {
        sql += QStringLiteral(" and remi_code = :r");
        params << qMakePair(QStringLiteral(":r"), QVariant(*only_product));
    }
    QSqlQuery q = db.query(sql + QStringLiteral(" order by remi_code, demand1"), params);
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
        const Shipped s = shipped_in(ledger, p.row.remi_code, p.row.demand1, p.row.demand2);
        p.input.chul = s.m3;
        p.row.chul = s.m3;
        p.row.chulkum = s.hap;
        periods << p;
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

// One row per product code, kind and standard; each summed over all the
// periods of its product code.
void append_contracted(const QList<Period> &all, QList<ContractRow> &rows)
{
    std::map<std::tuple<QString, QString, QString>, bool> groups;
    for (const Period &p : all)
        groups[{p.row.remi_code, p.row.kind, p.row.standard}] = true;
    for (const auto &[key, unused] : groups) {
        QList<Period> periods;
        for (const Period &p : all)
            if (p.row.remi_code == std::get<0>(key))
                periods << p;
        double shipped_amount = 0;
        for (const Period &p : periods)
            shipped_amount += p.row.chulkum.value_or(0);
        const ProductFigures f = product_figures(inputs(periods), shipped_amount, periods.last().input.cost);
        ContractRow r;
        r.remi_code = std::get<0>(key);
        r.kind = std::get<1>(key);
        r.standard = std::get<2>(key);
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

// One row per distinct (remi_code, remi_code1, standard, kind) of the
// ledger whose remi_code1 is no contracted product code, with everything
// shipped under that remi_code1.
void append_uncontracted(const QList<Period> &all, const QList<LedgerDay> &ledger, QList<ContractRow> &rows)
{
    QSet<QString> contracted;
    for (const Period &p : all)
        contracted.insert(p.row.remi_code);
    std::map<std::tuple<QString, QString, QString, QString>, bool> products;
    for (const LedgerDay &d : ledger)
        if (!d.remi_code1.isNull() && !contracted.contains(d.remi_code1.toString()))
            products[{d.remi_code1.toString(), d.remi_code, d.standard, d.kind}] = true;
    for (const auto &[key, unused] : products) {
        ContractRow r;
        r.remi_code = std::get<0>(key);
        r.standard = std::get<2>(key);
        r.name = std::get<3>(key);
        double m3 = 0, hap = 0;
        for (const LedgerDay &d : ledger)
            if (!d.remi_code1.isNull() && d.remi_code1.toString() == r.remi_code) {
                m3 += d.m3;
                hap += d.hap;
            }
        r.chul = m3;
        r.chulkum = hap;
        rows << r;
    }
}
}

QList<ContractRow> product_contracts(const Database &db, const QString &grcd, const QString &code)
{
    const QList<LedgerDay> ledger = site_ledger(db, grcd, code);
    const QList<Period> periods = site_periods(db, grcd, code, std::nullopt, ledger);
    QList<ContractRow> rows;
    append_contracted(periods, rows);
    append_uncontracted(periods, ledger, rows);
    return rows;
}

QList<ContractRow> contract_periods(const Database &db, const QString &grcd, const QString &code,
                                    const QString &remi_code)
{
    const QList<Period> periods = site_periods(db, grcd, code, remi_code, site_ledger(db, grcd, code));
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
