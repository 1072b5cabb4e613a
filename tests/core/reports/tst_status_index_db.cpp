#include "core/data/schema.h"
#include "test_support.h"

#include <QTest>

// The index of the status lists' vehicle totals came after plants had
// their databases: a shipment table without it gets it, and nothing else.
class TestStatusIndex : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void an_existing_shipment_table_gets_the_index()
    {
        TestPlant plant;
        plant.exec("insert into cholha (o_date, o_fdate, o_otime, o_scode, o_count, o_carnum, o_outorder)"
                   " values ('2026-03-01', '2026-03-01', '08:00:00', '01', '001', '80-1101-1', 6)");
        plant.exec("drop index cholha_ix6");
        QCOMPARE(schema::create_missing(plant.db()), QStringList());
        QCOMPARE(plant.db().scalar("select count(*) from cholha").toInt(), 1);
        plant.exec("drop index cholha_ix6");  // fails the test when it was not made
        QCOMPARE(schema::create_missing(plant.db()), QStringList());
        QCOMPARE(schema::create_missing(plant.db()), QStringList());  // and once only
    }
};

QTEST_MAIN(TestStatusIndex)
#include "tst_status_index_db.moc"
