#include "core/data/demo_data.h"
#include "core/data/plant_settings.h"
#include "test_support.h"

#include <QTest>

// The demo plant is what newcomers and later work start from: it must load
// on every engine (column widths included) and be consistent.
class TestDemo : public QObject {
    Q_OBJECT

    static int count(const TestPlant &plant, const char *sql)
    {
        return plant.db().scalar(QString::fromUtf8(sql)).toInt();
    }

private Q_SLOTS:
    void fills_an_empty_database_once()
    {
        TestPlant plant;
        demo::fill(plant.db(), QDate(2026, 12, 10));
        QCOMPARE(count(plant, "select count(*) from customer"), 30);
        QCOMPARE(count(plant, "select count(distinct kawn_sa) from customer"), 4);
        QCOMPARE(count(plant, "select count(distinct vat) from customer"), 3);
        QCOMPARE(count(plant, "select count(*) from r_size where standard like '__-___-%'"), 15);
        QCOMPARE(count(plant, "select count(*) from r_size where standard = '몰탈'"), 1);
        QCOMPARE(count(plant, "select count(*) from car_code where c_state = 'YES'"), 20);
        QCOMPARE(count(plant, "select count(*) from r_suju where ilja = '2026-12-10'"), 15);
        QVERIFY(count(plant, "select count(*) from r_hyun_order") > 0);
        QVERIFY(count(plant, "select count(*) from r_mast") > 0);
        QCOMPARE(count(plant, "select count(*) from enrol"), 1);
        // Every order's figures agree with its loads.
        QCOMPARE(count(plant, "select count(*) from r_suju su where v_ccount <>"
                              " (select count(*) from cholha where o_fdate = su.ilja and o_scode = su.seq)"),
                 0);
        // Every site belongs to a customer and has its sales person.
        QCOMPARE(count(plant, "select count(*) from r_hyunjang h where grcode <> grcd || code"
                              " or not exists (select 1 from youngup where code = h.man_code)"),
                 0);
        QVERIFY_THROWS_EXCEPTION(DbError, demo::fill(plant.db(), QDate(2026, 12, 10)));
        QCOMPARE(count(plant, "select count(*) from customer"), 30);
    }

    void demo_settings_only_where_there_are_none()
    {
        TestPlant plant;
        QVERIFY(demo::write_default_settings(plant.settings_path));
        const PlantSettings s = PlantSettings::load(plant.settings_path);
        QCOMPARE(s.mortar_code, QStringLiteral("9001"));
        QCOMPARE(s.top_margin, QStringLiteral("2"));
        QVERIFY(!demo::write_default_settings(plant.settings_path));
    }
};

QTEST_GUILESS_MAIN(TestDemo)
#include "tst_demo_db.moc"
