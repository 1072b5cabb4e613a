#include "core/framework/guarded.h"
#include "core/plantlink/send_frame.h"
#include "core/plantlink/shipment_recording.h"
#include "test_support.h"

#include <QSqlQuery>
#include <QTest>

using shipment_recording::Input;

// The shipment written when a controller starts weighing a load.
class TestRecording : public QObject {
    Q_OBJECT

    static void fixture(const TestPlant &p)
    {
        p.exec(QStringLiteral("insert into r_suju (ilja, seq, v_inout, v_station, remi_code, v_rule, order_m3,"
                              " v_outorder, v_reorder, v_ccount, v_state, cement, japum, v_hon) values"
                              " ('2026-03-02', '07', '대한건설', '동탄 현장', '1004', '25-210-12', 20, 0, 20, 0, 'YES',"
                              " '보통', 'AE', '0.8%')"));
        p.exec(QStringLiteral("insert into car_code (code, scode, name, c_state, c_dsum, c_msum) values"
                              " ('81-1234-1', '1234', '김기사', 'YES', 0, 0)"));
        p.exec(QStringLiteral("insert into r_size (remi_code, standard, rul_ks) values ('1004', '25-210-12', 'KS')"));
    }

    static Input input(int unit = 1, const QString &quantity = QStringLiteral("6"))
    {
        Input in;
        in.unit = unit;
        in.order_no = QStringLiteral("07");
        in.product_code = QStringLiteral("1004");
        in.quantity = quantity;
        in.vehicle_no = QStringLiteral("1234");
        in.vehicle_code = QStringLiteral("81-1234-1");
        in.site_name = QStringLiteral("동탄 현장");
        in.board_date = QStringLiteral("2026-03-02");
        in.today = QDate(2026, 3, 2);
        in.time = QTime(9, 5, 7);
        return in;
    }

    static QVariant order(const TestPlant &p, const char *column)
    {
        return p.db().scalar(QStringLiteral("select %1 from r_suju where ilja = '2026-03-02' and seq = '07'")
                                 .arg(QString::fromLatin1(column)));
    }

    static int loads(const TestPlant &p)
    {
        return p.db().scalar(QStringLiteral("select count(*) from cholha")).toInt();
    }

private Q_SLOTS:
    void a_first_load()
    {
        TestPlant p;
        fixture(p);
        const auto r = shipment_recording::record(p.db(), input(), {});
        QSqlQuery q = p.db().query(QStringLiteral("select o_date, o_fdate, o_otime, o_scode, o_count, o_carnum, o_hogi,"
                                                  " o_outorder, o_moltal, o_ccode, o_return from cholha"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("2026-03-02"));
        QCOMPARE(q.value(2).toString(), QStringLiteral("09:05:07"));
        QCOMPARE(q.value(4).toString(), QStringLiteral("001"));
        QCOMPARE(q.value(5).toString(), QStringLiteral("81-1234-1"));
        QCOMPARE(q.value(6).toString(), QStringLiteral("1"));
        QCOMPARE(q.value(7).toDouble(), 6.0);
        QCOMPARE(q.value(8).toDouble(), 0.0);
        QCOMPARE(q.value(9).toString(), QStringLiteral("1234"));
        QCOMPARE(q.value(10).toString(), QStringLiteral("**"));
        QCOMPARE(order(p, "v_outorder").toDouble(), 6.0);
        QCOMPARE(order(p, "v_reorder").toDouble(), 14.0);
        QCOMPARE(order(p, "v_ccount").toInt(), 1);
        QCOMPARE(p.db().scalar(QStringLiteral("select c_dsum from car_code")).toInt(), 1);
        QCOMPARE(p.db().scalar(QStringLiteral("select c_station from car_code")).toString(), QStringLiteral("동탄 현장"));
        QCOMPARE(r.trip_no, 1);
        QCOMPARE(r.quantity, 6.0);
        QCOMPARE(r.cumulative, 6.0);
        QCOMPARE(r.driver, QStringLiteral("김기사"));
        QCOMPARE(r.ks_mark, QStringLiteral("KS"));
        QCOMPARE(r.v_inout, QStringLiteral("대한건설"));
        QCOMPARE(r.v_hon, QStringLiteral("0.8%"));

        // The second load of the order is trip 2.
        Input second = input();
        second.time = QTime(9, 40, 0);
        const auto r2 = shipment_recording::record(p.db(), second, {});
        QCOMPARE(r2.trip_no, 2);
        QCOMPARE(r2.cumulative, 12.0);
        QCOMPARE(order(p, "v_ccount").toInt(), 2);
    }

    void mortar_rides_on_the_load()
    {
        TestPlant p;
        fixture(p);
        Input in = input();
        in.mortar_quantity = QStringLiteral("0.5");
        const auto r = shipment_recording::record(p.db(), in, {});
        QCOMPARE(p.db().scalar(QStringLiteral("select o_outorder from cholha")).toDouble(), 6.5);
        QCOMPARE(p.db().scalar(QStringLiteral("select o_moltal from cholha")).toDouble(), 0.5);
        QCOMPARE(r.quantity, 6.5);
        QCOMPARE(order(p, "v_reorder").toDouble(), 13.5);
    }

    void the_site_is_stored_without_the_frames_padding()
    {
        TestPlant p;
        fixture(p);
        Input in = input();
        // As the send frame leaves unit 1's site in its slot: 21 bytes.
        in.site_name = send_frame::normalise_site_name(in.site_name).text;
        QVERIFY(in.site_name.endsWith(QLatin1Char(' ')));
        shipment_recording::record(p.db(), in, {});
        QCOMPARE(p.db().scalar(QStringLiteral("select c_station from car_code")).toString(), QStringLiteral("동탄 현장"));
    }

    void remaining_never_below_zero_and_the_order_stays_open()
    {
        TestPlant p;
        fixture(p);
        p.exec(QStringLiteral("update r_suju set v_reorder = 4"));
        shipment_recording::record(p.db(), input(), {});
        QCOMPARE(order(p, "v_reorder").toDouble(), 0.0);
        QCOMPARE(order(p, "v_state").toString(), QStringLiteral("YES"));
    }

    void a_load_of_yesterdays_order_left_today()
    {
        TestPlant p;
        fixture(p);
        Input in = input();
        in.today = QDate(2026, 3, 3);
        shipment_recording::record(p.db(), in, {});
        QCOMPARE(p.db().scalar(QStringLiteral("select o_date from cholha")).toString(), QStringLiteral("2026-03-03"));
        QCOMPARE(p.db().scalar(QStringLiteral("select o_fdate from cholha")).toString(), QStringLiteral("2026-03-02"));
    }

    void units_figure_the_remaining_quantity_differently_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<double>("remaining");
        // By hand: the order raised to 30 m3, its remaining left at 20; 6 already shipped.
        QTest::newRow("unit 1: current remaining minus the load") << 1 << 14.0;
        QTest::newRow("unit 2: ordered minus all shipped") << 2 << 18.0;
    }

    void units_figure_the_remaining_quantity_differently()
    {
        QFETCH(int, unit);
        QFETCH(double, remaining);
        TestPlant p;
        fixture(p);
        p.exec(QStringLiteral("insert into cholha (o_date, o_fdate, o_otime, o_scode, o_count, o_outorder)"
                              " values ('2026-03-02', '2026-03-02', '08:00:00', '07', '001', 6)"));
        p.exec(QStringLiteral("update r_suju set order_m3 = 30, v_reorder = 20"));
        const auto r = shipment_recording::record(p.db(), input(unit), {});
        QCOMPARE(order(p, "v_reorder").toDouble(), remaining);
        QCOMPARE(order(p, "v_outorder").toDouble(), 12.0);
        QCOMPARE(r.trip_no, 2);
        QCOMPARE(p.db().scalar(QStringLiteral("select o_hogi from cholha where o_count = '002'")).toString(),
                 QString::number(unit));
    }

    void the_vehicle_is_refreshed_when_one_matches()
    {
        TestPlant p;
        fixture(p);
        Input in = input();
        in.vehicle_code = QStringLiteral("stale");
        const auto r = shipment_recording::record(p.db(), in, [](const QString &number) {
            return number == QLatin1String("1234")
                       ? std::optional(std::make_pair(QStringLiteral("1234"), QStringLiteral("81-1234-1")))
                       : std::nullopt;
        });
        QCOMPARE(r.vehicle_code, QStringLiteral("81-1234-1"));
        QCOMPARE(p.db().scalar(QStringLiteral("select o_carnum from cholha")).toString(), QStringLiteral("81-1234-1"));
    }

    void nothing_is_written_on_a_failure_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("break_table");
        QTest::newRow("quantity not a number") << 1 << "6m" << "";
        QTest::newRow("empty slot") << 1 << "" << "";
        QTest::newRow("unit 2: order read after the insert fails") << 2 << "6" << "r_suju";
        QTest::newRow("vehicle recount fails after the order update") << 1 << "6" << "car_code";
    }

    void nothing_is_written_on_a_failure()
    {
        QFETCH(int, unit);
        QFETCH(QString, quantity);
        QFETCH(QString, break_table);
        TestPlant p;
        fixture(p);
        if (break_table == QLatin1String("r_suju")) {
            // The order's table is another program's: here it has lost a column.
            p.exec(QStringLiteral("drop table r_suju"));
            p.exec(QStringLiteral("create table r_suju (ilja varchar(10), seq varchar(2), order_m3 double precision)"));
            p.exec(QStringLiteral("insert into r_suju (ilja, seq, order_m3) values ('2026-03-02', '07', 20)"));
        } else if (break_table == QLatin1String("car_code")) {
            p.exec(QStringLiteral("drop table car_code"));
        }
        bool failed = false;
        try {
            shipment_recording::record(p.db(), input(unit, quantity), {});
        } catch (const ActionError &) {
            failed = true;
        } catch (const DbError &) {
            failed = true;
        }
        QVERIFY(failed);
        QCOMPARE(loads(p), 0);
        if (break_table.isEmpty() || break_table == QLatin1String("car_code")) {
            QCOMPARE(order(p, "v_outorder").toDouble(), 0.0);
            QCOMPARE(order(p, "v_ccount").toInt(), 0);
        }
    }

    // A load weighed at 09:10 and written after the 09:20 and 09:30 ones
    // (out of a journal, while another PC went on): the trips follow the
    // times, and the moved loads' tickets are named.
    void a_late_load_takes_its_place_by_its_time()
    {
        TestPlant p;
        fixture(p);
        for (const QTime &t : {QTime(9, 20, 0), QTime(9, 30, 0)}) {
            Input in = input();
            in.time = t;
            shipment_recording::record(p.db(), in, {});
        }
        Input late = input(1, QStringLiteral("5"));
        late.time = QTime(9, 10, 0);
        const auto r = shipment_recording::record(p.db(), late, {});
        QCOMPARE(r.trip_no, 1);
        QCOMPARE(r.cumulative, 5.0);
        QCOMPARE(r.moved, (QStringList{QStringLiteral("2026-03-02 09:20:00 순번 07, 차번 1234: 1회 → 2회, 누계 6.00 → 11.00"),
                                       QStringLiteral("2026-03-02 09:30:00 순번 07, 차번 1234: 2회 → 3회, 누계 12.00 → 17.00")}));
        QSqlQuery q = p.db().query(QStringLiteral("select o_otime, o_count from cholha order by o_otime"));
        QStringList trips;
        while (q.next())
            trips << q.value(0).toString() + QLatin1Char(' ') + q.value(1).toString();
        QCOMPARE(trips, (QStringList{QStringLiteral("09:10:00 001"), QStringLiteral("09:20:00 002"), QStringLiteral("09:30:00 003")}));
        QCOMPARE(order(p, "v_ccount").toInt(), 3);
        QCOMPARE(order(p, "v_outorder").toDouble(), 17.0);
        // A load in its turn moves nothing.
        Input next = input();
        next.time = QTime(9, 40, 0);
        const auto last = shipment_recording::record(p.db(), next, {});
        QCOMPARE(last.trip_no, 4);
        QCOMPARE(last.cumulative, 23.0);
        QVERIFY(last.moved.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestRecording)
#include "tst_recording_db.moc"
