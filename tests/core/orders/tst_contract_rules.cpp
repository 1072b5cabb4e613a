#include "core/orders/contract_rules.h"

#include <QTest>

Q_DECLARE_METATYPE(QList<PeriodInput>)
namespace {
const double empty = qQNaN();
}

// The carried remainder and price in force across a product's periods.
class TestContractRules : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void periods_data()
    {
        QTest::addColumn<QList<PeriodInput>>("periods");
        QTest::addColumn<QList<double>>("hap");
        QTest::addColumn<QList<double>>("michul");
        // 60,000 for 100 m3 (30 shipped), then 62,000 adding nothing (20 shipped).
        QTest::newRow("new price on the remainder")
            << QList<PeriodInput>{{100, 60000, 30}, {0, 62000, 20}}
            << QList<double>{6000000, 140000} << QList<double>{70, 50};
        // A later period at the same price carries nothing on.
        QTest::newRow("same price carries nothing")
            << QList<PeriodInput>{{100, 60000, 30}, {50, 60000, 10}, {20, 61000, 5}}
            << QList<double>{6000000, 3000000, 0} << QList<double>{70, empty, 15};
        QTest::newRow("price back and forth")
            << QList<PeriodInput>{{10, 50000, 4}, {5, 52000, 3}, {0, 50000, 2}}
            << QList<double>{500000, 12000, -16000} << QList<double>{6, 8, 6};
        QTest::newRow("one period overshipped")
            << QList<PeriodInput>{{10, 50000, 12}} << QList<double>{500000} << QList<double>{-2};
        QTest::newRow("none") << QList<PeriodInput>{} << QList<double>{} << QList<double>{};
    }
    void periods()
    {
        QFETCH(QList<PeriodInput>, periods);
        QFETCH(QList<double>, hap);
        QFETCH(QList<double>, michul);
        const QList<PeriodFigures> f = period_figures(periods);
        QCOMPARE(f.size(), hap.size());
        for (int i = 0; i < f.size(); ++i) {
            QCOMPARE(f[i].hap, hap[i]);
            if (qIsNaN(michul[i]))
                QVERIFY(!f[i].michul);
            else
                QCOMPARE(f[i].michul, std::optional<double>(michul[i]));
        }
    }

    void product_row_is_priced_at_the_last_period()
    {
        const ProductFigures f = product_figures({{100, 60000, 30}, {0, 62000, 20}}, 3100000, 62000);
        QCOMPARE(f.amount, 100.0);
        QCOMPARE(f.chul, 50.0);
        QCOMPARE(f.michul, 50.0);
        QCOMPARE(f.cost, 62000.0);
        QCOMPARE(f.hap, 62000.0 * 50 + 3100000);
    }

    void amounts_count_products_without_contract()
    {
        ContractRow contracted;
        contracted.hap = 1000000;
        contracted.chulkum = 400000;
        ContractRow uncontracted;
        uncontracted.chulkum = 150000;
        const ContractAmounts a = contract_amounts({contracted, uncontracted});
        QCOMPARE(a.contract, 1000000.0);
        QCOMPARE(a.shipped, 550000.0);
        QCOMPARE(a.unshipped, 450000.0);
    }

    void check_data()
    {
        QTest::addColumn<QString>("class_text");
        QTest::addColumn<double>("quantity");
        QTest::addColumn<double>("price");
        QTest::addColumn<double>("unshipped");
        QTest::addColumn<bool>("warn");
        QTest::newRow("above") << "관수1" << 10.0 << 60000.0 << 599999.0 << true;
        QTest::newRow("equal is fine") << "관수1" << 10.0 << 60000.0 << 600000.0 << false;
        QTest::newRow("nothing unshipped") << "관수1" << 0.5 << 1.0 << 0.0 << true;
        QTest::newRow("관수2 is no contract customer") << "관수2" << 10.0 << 60000.0 << 0.0 << false;
        QTest::newRow("민수1") << "민수1" << 10.0 << 60000.0 << 0.0 << false;
    }
    void check()
    {
        QFETCH(QString, class_text);
        QFETCH(double, quantity);
        QFETCH(double, price);
        QFETCH(double, unshipped);
        QFETCH(bool, warn);
        QCOMPARE(is_contract_class(class_text) && exceeds_unshipped(quantity, price, unshipped), warn);
    }
};

QTEST_GUILESS_MAIN(TestContractRules)
#include "tst_contract_rules.moc"
