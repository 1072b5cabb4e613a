#include "core/data/schema.h"
#include "core/orders/order_db.h"
#include "test_support.h"

#include <QTest>

// The four value lists of order entry: every value once, and an empty
// item when some order has none; told from an index of the orders without
// the value, which a plant's database gets when it lacks it.
class TestValueLists : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lists_hold_each_value_and_the_empty_one_data()
    {
        QTest::addColumn<QStringList>("cement");  // one order each; "<null>" for none
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("values only") << QStringList{"보통", "조강", "보통"} << QStringList{"보통", "조강"};
        QTest::newRow("an order without") << QStringList{"보통", "<null>", "조강"} << QStringList{"", "보통", "조강"};
        QTest::newRow("an empty text and none") << QStringList{"", "<null>", "조강"} << QStringList{"", "조강"};
        QTest::newRow("no orders") << QStringList{} << QStringList{};
    }

    void lists_hold_each_value_and_the_empty_one()
    {
        QFETCH(QStringList, cement);
        QFETCH(QStringList, listed);
        TestPlant plant;
        for (int i = 0; i < cement.size(); ++i)
            plant.exec("insert into r_suju (ilja, seq, cement, gravel) values ('2026-03-02', :s, :c, '쇄석')",
                       {{":s", QStringLiteral("%1").arg(i + 1, 2, 10, QLatin1Char('0'))},
                        {":c", cement[i] == QLatin1String("<null>") ? QVariant() : QVariant(cement[i])}});
        QCOMPARE(order_db::distinct_values(plant.db(), QStringLiteral("cement")), listed);
        QCOMPARE(order_db::distinct_values(plant.db(), QStringLiteral("gravel")),
                 cement.isEmpty() ? QStringList() : QStringList{"쇄석"});
    }

    void an_existing_order_table_gets_the_indexes_of_orders_without_a_value()
    {
        TestPlant plant;
        plant.exec("insert into r_suju (ilja, seq, cement) values ('2026-03-02', '01', NULL)");
        for (const char *ix : {"r_suju_ix6", "r_suju_ix7", "r_suju_ix8", "r_suju_ix9"})
            plant.exec(QStringLiteral("drop index %1").arg(QString::fromLatin1(ix)));
        QCOMPARE(schema::create_missing(plant.db()), QStringList());
        QCOMPARE(order_db::distinct_values(plant.db(), QStringLiteral("cement")), QStringList{""});
        for (const char *ix : {"r_suju_ix6", "r_suju_ix7", "r_suju_ix8", "r_suju_ix9"})
            plant.exec(QStringLiteral("drop index %1").arg(QString::fromLatin1(ix)));  // fails when not made
    }
};

QTEST_MAIN(TestValueLists)
#include "tst_value_lists_db.moc"
