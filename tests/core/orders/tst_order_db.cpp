#include "core/framework/guarded.h"
#include "core/masterdata/vehicle_queries.h"
#include "core/orders/order_db.h"
#include "core/orders/order_lock.h"
#include "core/orders/order_queries.h"
#include "test_support.h"

#include <QDate>
#include <QSqlQuery>
#include <QTest>
#include <stdexcept>

// Order entry's writes on a database that other PCs write at the same
// moment: a new number drawn where it is stored, an order's figures kept
// equal to its loads.
class TestOrderDb : public QObject {
    Q_OBJECT

    static constexpr int rounds = 30;
    static constexpr const char *day = "2026-03-02";

    // A day of its own per round, so rounds share one database.
    static QString day_of(int round)
    {
        return QDate(2026, 1, 1).addDays(round).toString(Qt::ISODate);
    }

    static order_db::OrderEntry entry(const QString &date, const QString &seq, const QString &grcd,
                                      const QString &m3 = QStringLiteral("10"))
    {
        order_db::OrderEntry o;
        o.ilja = date;
        o.seq = seq;
        o.grcd = grcd;
        o.v_inout = QStringLiteral("거래처 ") + grcd;
        o.code = QStringLiteral("001");
        o.v_station = QStringLiteral("현장");
        o.time_ = QStringLiteral("08:00");
        o.dist = QStringLiteral("12");
        o.remi_code = QStringLiteral("0101");
        o.v_rule = QStringLiteral("25-24-150");
        o.order_m3 = m3;
        o.danga = QStringLiteral("66000");
        o.vat = QStringLiteral("V");
        return o;
    }

    static void add_order(const TestPlant &p, const QString &date, const QString &seq, double m3)
    {
        p.exec("insert into r_suju (ilja, seq, grcd, order_m3, v_outorder, v_reorder, v_ccount, v_state)"
               " values (:d, :s, 'Z001', :m, 0, :r, 0, 'YES')",
               {{":d", date}, {":s", seq}, {":m", m3}, {":r", m3}});
    }

    // Another PC recording a load the way every recording does: the order
    // locked first (false when it is gone, nothing written), the figures
    // changed relative to what the database holds, the vehicle recounted
    // inside the same transaction.
    static bool record_load(const Database &db, const QString &date, const QString &seq, double m3)
    {
        Transaction tx(db);
        if (!order_lock::lock(db, date, seq))
            return false;
        db.exec("insert into cholha (o_date, o_fdate, o_otime, o_scode, o_count, o_carnum, o_hogi, o_outorder,"
                " o_moltal, o_ccode, o_return) values (:d, :f, '09:00', :s, '001', '7001', '1', :q, 0, '0101', '**')",
                {{":d", date}, {":f", date}, {":s", seq}, {":q", m3}});
        db.exec("update r_suju set v_outorder = v_outorder + :q1,"
                " v_reorder = case when order_m3 - v_outorder - :q2 > 0 then order_m3 - v_outorder - :q3 else 0 end,"
                " v_ccount = v_ccount + 1 where ilja = :d and seq = :s",
                {{":q1", m3}, {":q2", m3}, {":q3", m3}, {":d", date}, {":s", seq}});
        vehicles_db::recount_vehicle(db, date, QStringLiteral("7001"), QStringLiteral("현장"));
        tx.commit();
        return true;
    }

    // Test macros belong to the test's thread: a piece throws instead.
    static void require(bool condition, const char *what)
    {
        if (!condition)
            throw std::runtime_error(what);
    }

    struct Figures {
        bool there = false;
        double order_m3 = 0, shipped = 0, remaining = 0, trips = 0;
    };
    static Figures figures(const TestPlant &p, const QString &date, const QString &seq)
    {
        QSqlQuery q = p.db().query("select order_m3, v_outorder, v_reorder, v_ccount from r_suju"
                                   " where ilja = :d and seq = :s",
                                   {{":d", date}, {":s", seq}});
        if (!q.next())
            return {};
        return {true, q.value(0).toDouble(), q.value(1).toDouble(), q.value(2).toDouble(), q.value(3).toDouble()};
    }

    static double loads(const TestPlant &p, const QString &date, const QString &seq, const char *what = "count(*)")
    {
        return number_or_zero(p.db().scalar(QStringLiteral("select %1 from cholha where o_fdate = :d and o_scode = :s")
                                                .arg(QLatin1String(what)),
                                            {{":d", date}, {":s", seq}}));
    }

    static QString grcd_of(const TestPlant &p, const QString &date, const QString &seq)
    {
        return p.db().scalar("select grcd from r_suju where ilja = :d and seq = :s", {{":d", date}, {":s", seq}})
            .toString();
    }

private Q_SLOTS:
    void a_new_order_takes_its_number_or_the_next_free_one_data()
    {
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("stored");
        QTest::newRow("free proposal") << QStringList{"01", "02"} << "03" << "03";
        QTest::newRow("proposal taken") << QStringList{"01", "02", "03"} << "03" << "04";
        QTest::newRow("free gap typed") << QStringList{"01", "04"} << "02" << "02";
        QTest::newRow("taken number typed") << QStringList{"01", "02", "05"} << "02" << "06";
        QTest::newRow("empty day") << QStringList{} << "01" << "01";
    }

    void a_new_order_takes_its_number_or_the_next_free_one()
    {
        QFETCH(QStringList, existing);
        QFETCH(QString, shown);
        QFETCH(QString, stored);
        TestPlant plant;
        for (const QString &seq : existing)
            add_order(plant, day, seq, 6);
        QCOMPARE(order_db::insert_order(plant.db(), entry(day, shown, "N001")), stored);
        QCOMPARE(grcd_of(plant, day, stored), QStringLiteral("N001"));
        for (const QString &seq : existing)
            QCOMPARE(grcd_of(plant, day, seq), QStringLiteral("Z001"));  // none replaced
        const Figures f = figures(plant, day, stored);
        QCOMPARE(f.remaining, 10.0);
        QCOMPARE(f.shipped, 0.0);
    }

    void a_full_day_stores_nothing()
    {
        TestPlant plant;
        add_order(plant, day, "98", 6);
        add_order(plant, day, "99", 6);
        QVERIFY_THROWS_EXCEPTION(ActionError, order_db::insert_order(plant.db(), entry(day, "99", "N001")));
        QCOMPARE(number_or_zero(plant.db().scalar("select count(*) from r_suju")), 2.0);
        QCOMPARE(grcd_of(plant, day, "99"), QStringLiteral("Z001"));
    }

    void two_pcs_saving_the_same_new_number_keep_both()
    {
        TestPlant plant(TestPlant::OnDisk);
        for (int round = 0; round < rounds; ++round) {
            const QString date = day_of(round);
            add_order(plant, date, "01", 6);
            QString stored[2];
            const QStringList failures = run_together(plant, 2, [&](const Database &db, int piece) {
                stored[piece] = order_db::insert_order(db, entry(date, "02", QStringLiteral("P00%1").arg(piece)));
            });
            QVERIFY2(failures.isEmpty(), qPrintable(failures.join('\n')));
            QVERIFY2(stored[0] != stored[1], qPrintable(stored[0]));
            QVERIFY(QStringList({"02", "03"}).contains(stored[0]) && QStringList({"02", "03"}).contains(stored[1]));
            for (int piece = 0; piece < 2; ++piece)
                QCOMPARE(grcd_of(plant, date, stored[piece]), QStringLiteral("P00%1").arg(piece));
            QCOMPARE(grcd_of(plant, date, "01"), QStringLiteral("Z001"));
        }
    }

    void an_update_counts_a_load_recorded_at_the_same_moment()
    {
        TestPlant plant(TestPlant::OnDisk);
        for (int round = 0; round < rounds; ++round) {
            const QString date = day_of(round);
            add_order(plant, date, "01", 10);
            const QStringList failures = run_together(plant, 2, [&](const Database &db, int piece) {
                if (piece == 0)
                    require(order_db::update_order(db, entry(date, "01", "A001", "20")), "the order was there");
                else
                    require(record_load(db, date, "01", 3), "the order was there");
            });
            QVERIFY2(failures.isEmpty(), qPrintable(failures.join('\n')));
            const Figures f = figures(plant, date, "01");
            QCOMPARE(f.order_m3, 20.0);
            QCOMPARE(f.shipped, loads(plant, date, "01", "sum(o_outorder)"));
            QCOMPARE(f.shipped, 3.0);
            QCOMPARE(f.remaining, 17.0);
            QCOMPARE(f.trips, 1.0);
        }
    }

    void an_update_never_leaves_the_remaining_below_zero()
    {
        TestPlant plant;
        add_order(plant, day, "01", 10);
        plant.exec("update r_suju set v_outorder = 8, v_reorder = 2");
        QVERIFY(order_db::update_order(plant.db(), entry(day, "01", "A001", "6")));
        QCOMPARE(figures(plant, day, "01").remaining, 0.0);
        QVERIFY(!order_db::update_order(plant.db(), entry(day, "02", "A001", "6")));
        QVERIFY(!figures(plant, day, "02").there);
    }

    void a_delete_and_a_load_of_the_same_order_leave_no_orphan()
    {
        TestPlant plant(TestPlant::OnDisk);
        for (int round = 0; round < rounds; ++round) {
            const QString date = day_of(round);
            add_order(plant, date, "01", 10);
            order_db::DeleteOutcome out;
            bool recorded = false;
            const QStringList failures = run_together(plant, 2, [&](const Database &db, int piece) {
                if (piece == 0)
                    out = order_db::delete_order(db, date, "01");
                else
                    recorded = record_load(db, date, "01", 3);
            });
            QVERIFY2(failures.isEmpty(), qPrintable(failures.join('\n')));
            const bool there = figures(plant, date, "01").there;
            if (recorded) {
                // The load came first: the delete saw it and refused.
                QVERIFY(there);
                QVERIFY(!out.deleted);
                QCOMPARE(out.loads, 1);
                QCOMPARE(figures(plant, date, "01").shipped, 3.0);
            } else {
                // The delete came first: the recording found the order gone.
                QVERIFY(!there);
                QVERIFY(out.deleted);
                QCOMPARE(out.loads, 0);
            }
            QCOMPARE(loads(plant, date, "01"), recorded ? 1.0 : 0.0);
        }
    }

    void a_delete_is_refused_while_loads_exist_and_takes_the_fee_rows()
    {
        TestPlant plant;
        add_order(plant, day, "01", 10);
        add_order(plant, day, "02", 10);
        add_load(plant, day, day, "01", "001", "7001", "09:00", 6);
        plant.exec("insert into cont_carry (ilja, seq, gubun, danga) values (:d, '02', '1', 5000)", {{":d", day}});
        const order_db::DeleteOutcome refused = order_db::delete_order(plant.db(), day, "01");
        QVERIFY(!refused.deleted);
        QCOMPARE(refused.loads, 1);
        QVERIFY(figures(plant, day, "01").there);
        const order_db::DeleteOutcome done = order_db::delete_order(plant.db(), day, "02");
        QVERIFY(done.deleted);
        QVERIFY(!figures(plant, day, "02").there);
        QCOMPARE(number_or_zero(plant.db().scalar("select count(*) from cont_carry")), 0.0);
        QVERIFY(!order_db::delete_order(plant.db(), day, "02").deleted);
    }

    void the_day_recalculation_counts_a_load_recorded_at_the_same_moment()
    {
        TestPlant plant(TestPlant::OnDisk);
        for (int round = 0; round < rounds; ++round) {
            const QString date = day_of(round);
            add_order(plant, date, "01", 10);
            add_order(plant, date, "02", 2);
            add_load(plant, qPrintable(date), qPrintable(date), "02", "001", "7002", "08:00", 6);  // more than ordered
            const QStringList failures = run_together(plant, 2, [&](const Database &db, int piece) {
                if (piece == 0)
                    orders_db::recalculate_day(db, date);
                else
                    require(record_load(db, date, "01", 3), "the order was there");
            });
            QVERIFY2(failures.isEmpty(), qPrintable(failures.join('\n')));
            const Figures one = figures(plant, date, "01");
            QCOMPARE(one.shipped, 3.0);
            QCOMPARE(one.remaining, 7.0);
            QCOMPARE(one.trips, 1.0);
            const Figures two = figures(plant, date, "02");
            QCOMPARE(two.shipped, 6.0);
            QCOMPARE(two.remaining, 0.0);
            QCOMPARE(two.trips, 1.0);
        }
    }

    void the_vehicle_recount_counts_a_load_recorded_at_the_same_moment()
    {
        TestPlant plant(TestPlant::OnDisk);
        add_truck(plant, "7001", "7001", "YES", "어제 현장");
        for (int round = 0; round < rounds; ++round) {
            // A day without loads until the recording: the recount must not
            // clear the count the recording has just made.
            const QString date = day_of(round);
            add_order(plant, date, "01", 10);
            const QStringList failures = run_together(plant, 2, [&](const Database &db, int piece) {
                if (piece == 0)
                    vehicles_db::recount_all_vehicles(db, date);
                else
                    require(record_load(db, date, "01", 3), "the order was there");
            });
            QVERIFY2(failures.isEmpty(), qPrintable(failures.join('\n')));
            QCOMPARE(number_or_zero(plant.db().scalar("select c_dsum from car_code where code = '7001'")), 1.0);
        }
    }
};

QTEST_GUILESS_MAIN(TestOrderDb)
#include "tst_order_db.moc"
