#include "core/data/change_log.h"
#include "core/framework/guarded.h"
#include "core/masterdata/vehicle_queries.h"
#include "core/orders/order_db.h"
#include "core/orders/order_queries.h"
#include "core/plantlink/shipment_recording.h"
#include "core/shipments/shipment_edit_db.h"
#include "core/shipments/yusa_db.h"
#include "core/reports/change_log_queries.h"
#include "test_support.h"

#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTest>
#include <functional>

using shipment_edit_db::SaveRequest;
using shipment_edit_db::Shipment;

// The change log: every change writes one entry per row it changed, with
// the row before and after, in the change's own transaction.
namespace {
constexpr const char *day = "2026-03-02";

struct Plant {
    TestPlant p;
    Plant()
    {
        add_order(p, day, "01", 30, 0);
        add_order(p, day, "02", 12, 0);
        add_truck(p, "81-1111-1", "1111", "YES");
        add_truck(p, "81-2222-2", "2222", "YES");
        p.exec(QStringLiteral("insert into r_size (remi_code, standard, rul_ks) values ('1004', '25-210-12', 'KS')"));
    }
    const Database &db() const { return p.db(); }
    void load(const char *seq, const char *count, const char *car, const char *time, double m3) const
    {
        add_load(p, day, day, seq, count, car, time, m3);
        shipment_edit_db::adjust_order(db(), QString::fromLatin1(day), QString::fromLatin1(seq), m3, 1);
    }
    int entries() const { return p.db().scalar(QStringLiteral("select count(*) from change_log")).toInt(); }
    // "table kind key" and the changed fields as "field:before>after",
    // or "new" / "gone"; sorted.
    QStringList log() const
    {
        QStringList lines;
        QSqlQuery q = db().query(QStringLiteral("select * from change_log"));
        while (q.next()) {
            const auto before = change_log::parse_json(q.value(QStringLiteral("before_json")).toString());
            const auto after = change_log::parse_json(q.value(QStringLiteral("after_json")).toString());
            QString line = QStringLiteral("%1 %2 %3").arg(q.value(QStringLiteral("tbl_name")).toString(),
                                                           q.value(QStringLiteral("kind")).toString(),
                                                           q.value(QStringLiteral("row_key")).toString());
            if (!before) {
                line += QStringLiteral(" new");
            } else if (!after) {
                line += QStringLiteral(" gone");
            } else {
                // The fields the entry names as changed.
                QStringList changed = q.value(QStringLiteral("changed")).toString().split(QLatin1Char(','));
                changed.sort();
                for (const QString &f : changed)
                    line += QStringLiteral(" %1:%2>%3").arg(f, change_log_queries::value_text(before->value(f)),
                                                          change_log_queries::value_text(after->value(f)));
            }
            lines << line;
        }
        lines.sort();
        return lines;
    }
};

using Step = std::function<void(const Plant &)>;
}
Q_DECLARE_METATYPE(Step)

class TestChangeLogDb : public QObject {
    Q_OBJECT

    static Shipment stored(const char *seq, const char *count, const char *car, const char *time, double m3)
    {
        Shipment s;
        s.o_fdate = s.o_date = QString::fromLatin1(day);
        s.o_otime = QString::fromLatin1(time);
        s.o_scode = QString::fromLatin1(seq);
        s.o_count = QString::fromLatin1(count);
        s.o_carnum = QString::fromLatin1(car);
        s.o_ccode = QStringLiteral("0000");
        s.o_hogi = QStringLiteral("1");
        s.o_return = QStringLiteral("**");
        s.o_outorder = m3;
        return s;
    }

    static SaveRequest insert(const char *seq, const char *time, double m3, bool replace = false)
    {
        SaveRequest r;
        r.board_date = QString::fromLatin1(day);
        r.shipment = stored(seq, "", "81-1111-1", time, m3);
        r.shipment.o_ccode = QStringLiteral("1111");
        r.replace_occupant = replace;
        return r;
    }

    static shipment_recording::Input recording()
    {
        shipment_recording::Input in;
        in.unit = 1;
        in.order_no = QStringLiteral("01");
        in.product_code = QStringLiteral("1004");
        in.quantity = QStringLiteral("6");
        in.vehicle_no = QStringLiteral("1111");
        in.vehicle_code = QStringLiteral("81-1111-1");
        in.site_name = QStringLiteral("현장01");
        in.board_date = QString::fromLatin1(day);
        in.today = QDate(2026, 3, 2);
        in.time = QTime(9, 5, 7);
        in.author = {QStringLiteral("이영희"), QStringLiteral("CONSOLE-PC")};
        return in;
    }

    static yusa_db::YusaOrder yusa_order(double m3 = 12)
    {
        return {QString::fromLatin1(day), QStringLiteral("1"), QStringLiteral("한빛건설"), QStringLiteral("현장"),
                QStringLiteral("25-240-15"), m3, QStringLiteral("08:00"), QStringLiteral("10"),
                QStringLiteral("보통"), QStringLiteral("25mm"), QStringLiteral("AE"), QStringLiteral("0.8")};
    }

    static order_db::OrderEntry order_entry(const char *m3, const char *memo)
    {
        order_db::OrderEntry o;
        o.ilja = QString::fromLatin1(day);
        o.seq = QStringLiteral("05");
        o.grcd = QStringLiteral("0001");
        o.v_inout = QStringLiteral("거래처");
        o.code = QStringLiteral("001");
        o.v_station = QStringLiteral("현장");
        o.time_ = QStringLiteral("08:00");
        o.dist = QStringLiteral("12");
        o.remi_code = QStringLiteral("1004");
        o.v_rule = QStringLiteral("25-210-12");
        o.order_m3 = QString::fromLatin1(m3);
        o.danga = QStringLiteral("60000");
        o.vat = QStringLiteral("V");
        o.memo = QString::fromUtf8(memo);
        return o;
    }

private Q_SLOTS:
    void each_change_logs_its_rows_data()
    {
        QTest::addColumn<Step>("setup");
        QTest::addColumn<Step>("change");
        QTest::addColumn<QStringList>("expected");
        const Step none = [](const Plant &) {};
        QTest::newRow("recorded by a batch unit")
            << none << Step([](const Plant &t) { shipment_recording::record(t.db(), recording(), {}); })
            << QStringList{"cholha recorded 2026-03-02 01-001 09:05:07 new",
                           "r_suju recorded 2026-03-02 01 v_ccount:0>1 v_outorder:0>6 v_reorder:30>24"};
        QTest::newRow("entered by hand")
            << none << Step([](const Plant &t) { shipment_edit_db::save(t.db(), insert("01", "09:00:00", 6)); })
            << QStringList{"cholha entered 2026-03-02 01-001 09:00:00 new",
                           "r_suju entered 2026-03-02 01 v_ccount:0>1 v_outorder:0>6 v_reorder:30>24"};
        QTest::newRow("corrected")
            << Step([](const Plant &t) { t.load("01", "001", "81-1111-1", "09:00:00", 6); })
            << Step([](const Plant &t) {
                   SaveRequest r;
                   r.mode = SaveRequest::Mode::Edit;
                   r.board_date = QString::fromLatin1(day);
                   r.previous = stored("01", "001", "81-1111-1", "09:00:00", 6);
                   r.shipment = stored("01", "001", "81-1111-1", "09:00:00", 7);
                   shipment_edit_db::save(t.db(), r);
               })
            << QStringList{"cholha corrected 2026-03-02 01-001 09:00:00 o_outorder:6>7",
                           "r_suju corrected 2026-03-02 01 v_outorder:6>7 v_reorder:24>23"};
        QTest::newRow("replaced")
            << Step([](const Plant &t) { t.load("02", "001", "81-2222-2", "10:00:00", 4); })
            << Step([](const Plant &t) { shipment_edit_db::save(t.db(), insert("01", "10:00:00", 6, true)); })
            << QStringList{"cholha replaced 2026-03-02 01-001 10:00:00 o_carnum:81-2222-2>81-1111-1 o_ccode:0000>1111"
                           " o_outorder:4>6 o_scode:02>01",
                           "r_suju replaced 2026-03-02 01 v_ccount:0>1 v_outorder:0>6 v_reorder:30>24",
                           "r_suju replaced 2026-03-02 02 v_ccount:1>0 v_outorder:4>0 v_reorder:8>12"};
        QTest::newRow("deleted, the later trip renumbered")
            << Step([](const Plant &t) {
                   t.load("01", "001", "81-1111-1", "09:00:00", 6);
                   t.load("01", "002", "81-2222-2", "10:00:00", 5);
               })
            << Step([](const Plant &t) {
                   shipment_edit_db::delete_shipment(t.db(), stored("01", "001", "81-1111-1", "09:00:00", 6),
                                                     QString::fromLatin1(day));
               })
            << QStringList{"cholha deleted 2026-03-02 01-001 09:00:00 gone",
                           "cholha renumbered 2026-03-02 01-001 10:00:00 o_count:002>001",
                           "r_suju deleted 2026-03-02 01 v_ccount:2>1 v_outorder:11>5 v_reorder:19>25"};
        QTest::newRow("closed")
            << none << Step([](const Plant &t) { orders_db::set_order_state(t.db(), QString::fromLatin1(day), "01", "NO"); })
            << QStringList{"r_suju closed 2026-03-02 01 v_state:YES>NO"};
        QTest::newRow("reopened")
            << Step([](const Plant &t) { t.p.exec(QStringLiteral("update r_suju set v_state = 'NO' where seq = '02'")); })
            << Step([](const Plant &t) { orders_db::set_order_state(t.db(), QString::fromLatin1(day), "02", "YES"); })
            << QStringList{"r_suju reopened 2026-03-02 02 v_state:NO>YES"};
        QTest::newRow("recalculated: only the order whose figures change")
            << Step([](const Plant &t) { add_load(t.p, day, day, "01", "001", "81-1111-1", "09:00:00", 6); })
            << Step([](const Plant &t) { orders_db::recalculate_day(t.db(), QString::fromLatin1(day)); })
            << QStringList{"r_suju recalculated 2026-03-02 01 v_ccount:0>1 v_outorder:0>6 v_reorder:30>24"};
        QTest::newRow("order entered")
            << none << Step([](const Plant &t) { order_db::insert_order(t.db(), order_entry("20", "")); })
            << QStringList{"r_suju entered 2026-03-02 05 new"};
        QTest::newRow("order changed")
            << Step([](const Plant &t) { order_db::insert_order(t.db(), order_entry("20", "")); })
            << Step([](const Plant &t) { order_db::update_order(t.db(), order_entry("40", "급함")); })
            << QStringList{"r_suju corrected 2026-03-02 05 memo:>급함 order_m3:20>40 v_reorder:20>40"};
        QTest::newRow("order deleted")
            << none << Step([](const Plant &t) { order_db::delete_order(t.db(), QString::fromLatin1(day), "02"); })
            << QStringList{"r_suju deleted 2026-03-02 02 gone"};
        QTest::newRow("auto book: loads generated")
            << Step([](const Plant &t) { yusa_db::insert_order(t.db(), yusa_order()); })
            << Step([](const Plant &t) {
                   QRandomGenerator random(7);
                   yusa_db::generate(t.db(), QString::fromLatin1(day), "1", random);
               })
            << QStringList{"yu_cholha generated 2026-03-02 Y1-001 new", "yu_cholha generated 2026-03-02 Y1-002 new"};
        QTest::newRow("auto book: order deleted with its load")
            << Step([](const Plant &t) {
                   yusa_db::insert_order(t.db(), yusa_order());
                   yusa_db::insert_load(t.db(), QString::fromLatin1(day), "1",
                                        {QStringLiteral("001"), QStringLiteral("08:00"), QStringLiteral("81-1111-1"), 6, 6});
               })
            << Step([](const Plant &t) { yusa_db::delete_order(t.db(), QString::fromLatin1(day), "1"); })
            << QStringList{"yu_cholha deleted 2026-03-02 Y1-001 gone", "yu_suju deleted 2026-03-02 Y1 gone"};
        QTest::newRow("auto book: load corrected")
            << Step([](const Plant &t) {
                   yusa_db::insert_order(t.db(), yusa_order());
                   yusa_db::insert_load(t.db(), QString::fromLatin1(day), "1",
                                        {QStringLiteral("001"), QStringLiteral("08:00"), QStringLiteral("81-1111-1"), 6, 6});
               })
            << Step([](const Plant &t) {
                   yusa_db::update_load(t.db(), QString::fromLatin1(day), "1",
                                        {QStringLiteral("001"), QStringLiteral("08:10"), QStringLiteral("81-1111-1"), 5, 5});
               })
            << QStringList{"yu_cholha corrected 2026-03-02 Y1-001 ych_chol_m3:6>5 ych_nu_m3:6>5 ych_time:08:00>08:10"};
        QTest::newRow("vehicle out of service")
            << none << Step([](const Plant &t) { vehicles_db::toggle_service(t.db(), "81-1111-1", "YES"); })
            << QStringList{"car_code corrected 81-1111-1 c_state:YES>NO"};
    }

    void each_change_logs_its_rows()
    {
        QFETCH(Step, setup);
        QFETCH(Step, change);
        QFETCH(QStringList, expected);
        Plant t;
        setup(t);
        t.p.exec(QStringLiteral("delete from change_log"));
        change(t);
        QCOMPARE(t.log(), expected);
    }

    void a_deletion_that_renumbers_many_loads_logs_each()
    {
        Plant t;
        for (int i = 1; i <= 45; ++i) {
            const QByteArray count = QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0')).toLatin1();
            const QByteArray time = QTime(6, 0).addSecs(60 * i).toString(QStringLiteral("HH:mm:ss")).toLatin1();
            t.load("01", count.constData(), "81-1111-1", time.constData(), 1);
        }
        t.p.exec(QStringLiteral("delete from change_log"));
        shipment_edit_db::delete_shipment(t.db(), stored("01", "001", "81-1111-1", "06:01:00", 1), QString::fromLatin1(day));
        const QStringList log = t.log();
        QCOMPARE(log.size(), 46);
        QCOMPARE(log.filter(QStringLiteral("cholha renumbered")).size(), 44);
        QVERIFY(log.contains(QStringLiteral("cholha renumbered 2026-03-02 01-044 06:45:00 o_count:045>044")));
        QVERIFY(log.contains(QStringLiteral("r_suju deleted 2026-03-02 01 v_ccount:45>44 v_outorder:45>44")));
    }

    void who_and_where()
    {
        Plant t;
        change_log::set_author(t.db(), {QStringLiteral("김철수"), QStringLiteral("OFFICE-2")});
        shipment_edit_db::save(t.db(), insert("01", "09:00:00", 6));
        // The recording names its own author: it may run on another connection.
        shipment_recording::record(t.db(), recording(), {});
        QSqlQuery q = t.db().query(QStringLiteral("select tbl_name, kind, op_name, station, logged_at from change_log"
                                                  " order by entry_id"));
        QStringList rows;
        while (q.next()) {
            rows << QStringList{q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                                q.value(3).toString()}
                        .join(QLatin1Char(' '));
            const QDateTime at = QDateTime::fromString(q.value(4).toString(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            QVERIFY(qAbs(at.secsTo(QDateTime::currentDateTime())) < 60);
        }
        QCOMPARE(rows, (QStringList{"cholha entered 김철수 OFFICE-2", "r_suju entered 김철수 OFFICE-2",
                                    "cholha recorded 이영희 CONSOLE-PC", "r_suju recorded 이영희 CONSOLE-PC"}));
    }

    void a_change_that_fails_leaves_no_entry()
    {
        Plant t;
        t.load("02", "001", "81-2222-2", "10:00:00", 4);
        t.p.exec(QStringLiteral("delete from change_log"));
        // The time is taken and the operator did not agree to replace it.
        QVERIFY_THROWS_EXCEPTION(ActionError, shipment_edit_db::save(t.db(), insert("01", "10:00:00", 6)));
        shipment_recording::Input gone = recording();
        gone.order_no = QStringLiteral("09");
        QVERIFY_THROWS_EXCEPTION(ActionError, shipment_recording::record(t.db(), gone, {}));
        QCOMPARE(t.entries(), 0);
    }

    void a_log_that_cannot_be_written_undoes_the_change()
    {
        Plant t;
        t.load("01", "001", "81-1111-1", "09:00:00", 6);
        t.p.exec(QStringLiteral("drop table change_log"));
        const auto figures = [&] {
            return t.db().query(QStringLiteral("select v_outorder, v_ccount from r_suju where seq = '01'")).next();
        };
        QVERIFY(figures());
        QVERIFY_THROWS_EXCEPTION(DbError, shipment_edit_db::save(t.db(), insert("01", "11:00:00", 6)));
        QVERIFY_THROWS_EXCEPTION(DbError, shipment_recording::record(t.db(), recording(), {}));
        QVERIFY_THROWS_EXCEPTION(DbError, shipment_edit_db::delete_shipment(
                                              t.db(), stored("01", "001", "81-1111-1", "09:00:00", 6),
                                              QString::fromLatin1(day)));
        QVERIFY_THROWS_EXCEPTION(DbError, orders_db::set_order_state(t.db(), QString::fromLatin1(day), "01", "NO"));
        QCOMPARE(t.db().scalar(QStringLiteral("select count(*) from cholha")).toInt(), 1);
        QSqlQuery q = t.db().query(QStringLiteral("select v_outorder, v_ccount, v_state from r_suju where seq = '01'"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toDouble(), 6.0);
        QCOMPARE(q.value(1).toInt(), 1);
        QCOMPARE(q.value(2).toString(), QStringLiteral("YES"));
    }
};

QTEST_GUILESS_MAIN(TestChangeLogDb)
#include "tst_change_log_db.moc"
