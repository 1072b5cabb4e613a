#include "core/orders/contract_db.h"
#include "test_support.h"

#include <QTest>

using namespace contracts_db;

// The contracts of a site with what the ledger shows shipped against them.
class TestContractDb : public QObject {
    Q_OBJECT

    static void period(const TestPlant &p, const char *code, const char *remi, const char *from, const char *until,
                       double amount, double cost, const char *order_num)
    {
        p.exec("insert into r_hyun_order (grcd, code, remi_code, kind, standard, demand1, demand2, amount, cost,"
               " order_num, delivery, memo) values ('K001', :c, :r, '보통', '25-240-15', :d1, :d2, :a, :k, :o,"
               " '2026-12-31', '계약')",
               {{":c", code}, {":r", remi}, {":d1", from}, {":d2", until}, {":a", amount}, {":k", cost},
                {":o", order_num}});
    }

    static void shipped(const TestPlant &p, const char *code, const char *remi, const char *remi1, const char *day,
                        double m3, double hap)
    {
        p.exec("insert into r_mast (grcd, code, remi_code, remi_code1, standard, kind, ilja, m3, kum, vatkum, hap)"
               " values ('K001', :c, :r, :r1, '25-240-15', '보통', :d, :m, :k, :v, :h)",
               {{":c", code}, {":r", remi}, {":r1", remi1}, {":d", day}, {":m", m3}, {":k", hap / 1.1},
                {":v", hap - hap / 1.1}, {":h", hap}});
    }

    // Site 001: product 1004 at 60,000 for 100 m3 from January, then at
    // 62,000 adding nothing from April; 30 m3 shipped in the first period,
    // 20 in the second, some outside both.
    static void two_periods(const TestPlant &p)
    {
        period(p, "001", "1004", "2026-01-01", "2026-04-01", 100, 60000, "N-1");
        period(p, "001", "1004", "2026-04-01", "2026-07-01", 0, 62000, "N-2");
        shipped(p, "001", "1004", "1004", "2026-01-01", 10, 660000);
        shipped(p, "001", "1004", "1004", "2026-03-31", 20, 1320000);
        shipped(p, "001", "1004", "1004", "2026-04-01", 20, 1364000);
        shipped(p, "001", "1004", "1004", "2025-12-31", 6, 396000);   // before the contract
        shipped(p, "001", "1004", "1004", "2026-07-01", 6, 409200);   // the end date is outside
        shipped(p, "002", "1004", "1004", "2026-02-01", 6, 396000);   // another site
    }

private Q_SLOTS:
    void two_period_example()
    {
        TestPlant p;
        two_periods(p);
        const QList<ContractRow> top = product_contracts(p.db(), "K001", "001");
        QCOMPARE(top.size(), 1);
        const ContractRow &r = top.first();
        QCOMPARE(r.remi_code, QStringLiteral("1004"));
        QCOMPARE(r.standard, QStringLiteral("25-240-15"));
        QVERIFY(r.name.isEmpty());
        QCOMPARE(r.amount, 100.0);
        QCOMPARE(r.chul, 50.0);
        QCOMPARE(r.michul, 50.0);
        QCOMPARE(r.cost, 62000.0);
        QCOMPARE(r.chulkum, 3344000.0);
        QCOMPARE(r.hap, 62000.0 * 50 + 3344000);
        QCOMPARE(r.order_num, QStringLiteral("N-2"));
        QCOMPARE(r.demand1, QStringLiteral("2026-01-01"));
        QCOMPARE(r.demand2, QStringLiteral("9999-12-31"));

        const QList<ContractRow> rows = contract_periods(p.db(), "K001", "001", "1004");
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].hap, 6000000.0);
        QCOMPARE(rows[0].michul, 70.0);
        QCOMPARE(rows[0].chul, 30.0);
        QCOMPARE(rows[0].chulkum, 1980000.0);
        QCOMPARE(rows[1].hap, 140000.0);
        QCOMPARE(rows[1].michul, 50.0);
        QCOMPARE(rows[1].chul, 20.0);
        QCOMPARE(rows[1].demand2, QStringLiteral("2026-07-01"));
        QCOMPARE(rows[1].memo, QStringLiteral("계약"));
        QCOMPARE(rows[1].delivery, QStringLiteral("2026-12-31"));

        const ContractAmounts a = current_amounts(p.db(), "K001", "001");
        QCOMPARE(a.contract, 62000.0 * 50 + 3344000);
        QCOMPARE(a.shipped, 3344000.0);
        QCOMPARE(a.unshipped, 62000.0 * 50);
    }

    // The ledger's codes that begin with the product's count as that product.
    void shipped_codes_begin_with_the_product_code()
    {
        TestPlant p;
        period(p, "001", "10", "2026-01-01", "2027-01-01", 100, 50000, "N");
        period(p, "001", "1_", "2026-01-01", "2027-01-01", 100, 50000, "N");
        shipped(p, "001", "1004", "10", "2026-02-01", 6, 330000);
        shipped(p, "001", "10", "10", "2026-02-02", 4, 220000);
        shipped(p, "001", "1104", "1_", "2026-02-02", 3, 165000);  // "_" is no wildcard
        const QList<ContractRow> rows = product_contracts(p.db(), "K001", "001");
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].remi_code, QStringLiteral("10"));
        QCOMPARE(rows[0].chul, 10.0);
        QCOMPARE(rows[1].remi_code, QStringLiteral("1_"));
        QCOMPARE(rows[1].chul, 0.0);
    }

    void products_without_contract_lower_the_unshipped_amount()
    {
        TestPlant p;
        two_periods(p);
        shipped(p, "001", "2001", "2001", "2025-05-05", 6, 500000);
        shipped(p, "001", "2001", "2001", "2026-05-05", 4, 300000);
        const QList<ContractRow> rows = product_contracts(p.db(), "K001", "001");
        QCOMPARE(rows.size(), 2);
        const ContractRow &extra = rows[1];
        QCOMPARE(extra.remi_code, QStringLiteral("2001"));
        QCOMPARE(extra.name, QStringLiteral("보통"));
        QCOMPARE(extra.chul, 10.0);
        QCOMPARE(extra.chulkum, 800000.0);
        QVERIFY(!extra.amount && !extra.cost && !extra.hap && !extra.michul);
        const ContractAmounts a = current_amounts(p.db(), "K001", "001");
        QCOMPARE(a.shipped, 3344000.0 + 800000);
        QCOMPARE(a.unshipped, 62000.0 * 50 - 800000);
    }

    void site_without_contract_has_only_its_shipments()
    {
        TestPlant p;
        two_periods(p);
        const QList<ContractRow> rows = product_contracts(p.db(), "K001", "002");
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].chulkum, 396000.0);
        QCOMPARE(current_amounts(p.db(), "K001", "002").unshipped, -396000.0);
        QVERIFY(product_contracts(p.db(), "K001", "009").isEmpty());
        QVERIFY(contract_periods(p.db(), "K001", "001", "9999").isEmpty());
    }

    void product_sums_once_per_product()
    {
        TestPlant p;
        two_periods(p);
        shipped(p, "001", "2001", "2001", "2025-05-05", 6, 550000);
        for (int i = 0; i < 2; ++i) {
            const QList<ProductSum> sums = product_sums(p.db(), "K001", "001");
            QCOMPARE(sums.size(), 2);
            QCOMPARE(sums[0].remi_code, QStringLiteral("1004"));
            QCOMPARE(sums[0].m3, 62.0);
            QCOMPARE(sums[0].hap, 660000.0 + 1320000 + 1364000 + 396000 + 409200);
            QCOMPARE(sums[1].remi_code, QStringLiteral("2001"));
            QCOMPARE(qRound(sums[1].kum), 500000);
            QCOMPARE(qRound(sums[1].vatkum), 50000);
        }
    }
};

QTEST_GUILESS_MAIN(TestContractDb)
#include "tst_contract_db.moc"
