#include "core/framework/guarded.h"
#include "core/plantlink/load_recorder.h"
#include "core/plantlink/outage_journal.h"
#include "core/plantlink/shipment_recording.h"
#include "test_support.h"

#include <QFile>
#include <QSet>
#include <QSqlQuery>
#include <QTest>
#include <QUuid>
#include <atomic>

using shipment_recording::Input;

// Loads recorded by two programs on one database at the same moment: the
// console PC and a second program, or the replay of one journal by two.
class TestSharedRecording : public QObject {
    Q_OBJECT

    static constexpr const char *day = "2026-03-02";

    static Input load(int unit, int n)
    {
        Input in = test_load(QTime(8, 0).addSecs(n * 60 + unit), unit);
        in.load_id = QUuid::createUuid().toString(QUuid::WithoutBraces);
        return in;
    }

    // The order's figures are what its loads add up to, and no trip
    // number is given twice.
    static void check_order_matches_its_loads(const TestPlant &p, int loads, double order_m3)
    {
        QSqlQuery q = p.db().query(QStringLiteral("select o_count, o_outorder from cholha where o_fdate = :d and o_scode = '01'"),
                                   {{":d", QString::fromLatin1(day)}});
        QSet<QString> trips;
        double shipped = 0;
        int rows = 0;
        while (q.next()) {
            trips << q.value(0).toString();
            shipped += q.value(1).toDouble();
            ++rows;
        }
        QCOMPARE(rows, loads);
        QCOMPARE(trips.size(), loads);
        for (int t = 1; t <= loads; ++t)
            QVERIFY2(trips.contains(QStringLiteral("%1").arg(t, 3, 10, QLatin1Char('0'))), qPrintable(QString::number(t)));
        QSqlQuery o = p.db().query(QStringLiteral("select v_outorder, v_reorder, v_ccount from r_suju where ilja = :d and seq = '01'"),
                                   {{":d", QString::fromLatin1(day)}});
        QVERIFY(o.next());
        QCOMPARE(o.value(0).toDouble(), shipped);
        QCOMPARE(o.value(1).toDouble(), std::max(order_m3 - shipped, 0.0));
        QCOMPARE(o.value(2).toInt(), loads);
    }

private Q_SLOTS:
    void two_programs_record_loads_of_one_order_at_once()
    {
        TestPlant p(TestPlant::OnDisk);
        add_order(p, day, "01", 1000, 0);
        add_truck(p, "81-1111-1", "1111", "YES");
        constexpr int per_program = 40;
        const QStringList failures = run_together(p, 2, [](const Database &db, int piece) {
            for (int n = 0; n < per_program; ++n)
                shipment_recording::record(db, load(piece + 1, n), {});
        });
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
        check_order_matches_its_loads(p, 2 * per_program, 1000);
        QCOMPARE(p.db().scalar(QStringLiteral("select count(*) from cholha_ident")).toInt(), 2 * per_program);
    }

    void one_journal_entry_replayed_by_two_is_written_once()
    {
        TestPlant p(TestPlant::OnDisk);
        add_order(p, day, "01", 1000, 0);
        add_truck(p, "81-1111-1", "1111", "YES");
        constexpr int rounds = 20;
        for (int round = 0; round < rounds; ++round) {
            const Input in = load(1, round);
            std::atomic<int> written = 0;
            const QStringList failures = run_together(p, 2, [&](const Database &db, int) {
                if (shipment_recording::record_once(db, in))
                    ++written;
            });
            QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
            QCOMPARE(written.load(), 1);
        }
        check_order_matches_its_loads(p, rounds, 1000);
    }

    void an_identity_already_there_writes_nothing_even_when_the_content_differs()
    {
        TestPlant p;
        add_order(p, day, "01", 30, 0);
        add_truck(p, "81-1111-1", "1111", "YES");
        Input in = load(1, 0);
        QVERIFY(shipment_recording::record_once(p.db(), in));
        // Two loads alike in every column but their identity are two loads.
        Input twin = in;
        twin.load_id = QUuid::createUuid().toString(QUuid::WithoutBraces);
        QVERIFY(shipment_recording::record_once(p.db(), twin));
        QVERIFY(!shipment_recording::record_once(p.db(), in));
        check_order_matches_its_loads(p, 2, 30);
    }

    void a_load_of_a_deleted_order_is_set_aside_not_written()
    {
        TestPlant p;
        add_order(p, day, "01", 30, 0);
        add_truck(p, "81-1111-1", "1111", "YES");
        // Deleted on another PC after the console showed it.
        p.exec(QStringLiteral("delete from r_suju"));

        QVERIFY_THROWS_EXCEPTION(shipment_recording::OrderGone, shipment_recording::record(p.db(), load(1, 0), {}));

        const QString path = p.dir.filePath(QStringLiteral("outage_journal.jsonl"));
        LoadRecorder recorder(p.db(), path);
        QStringList said;
        QObject::connect(&recorder, &LoadRecorder::said, [&said](const QString &text) { said << text; });
        const LoadRecorder::Outcome out = recorder.record(load(1, 1), {});
        QVERIFY(out.refused);
        QVERIFY(!out.recorded);
        QCOMPARE(recorder.waiting(), 0);
        QCOMPARE(p.db().scalar(QStringLiteral("select count(*) from cholha")).toInt(), 0);
        QCOMPARE(said.size(), 1);
        QVERIFY2(said.first().startsWith(QStringLiteral("수주가 삭제되어 기록하지 못한 출하: 2026-03-02 1호기 순번 01, 차번 1111")),
                 qPrintable(said.first()));
        QFile rejected(path + QStringLiteral(".rejected"));
        QVERIFY(rejected.open(QIODevice::ReadOnly));
        QVERIFY(rejected.readAll().contains("\"o_scode\":\"01\""));

        // The same from the journal's replay.
        said.clear();
        {
            OutageJournal j(path);
            QString error;
            QVERIFY(j.load(&error));
            QVERIFY(j.append(j.make_entry(load(1, 2)), &error));
        }
        LoadRecorder later(p.db(), path);
        QObject::connect(&later, &LoadRecorder::said, [&said](const QString &text) { said << text; });
        QCOMPARE(later.replay(), 0);
        QCOMPARE(later.waiting(), 0);
        QCOMPARE(said.size(), 1);
        QVERIFY2(said.first().contains(QStringLiteral("수주가 삭제되어 기록하지 못한 출하")), qPrintable(said.first()));
        QCOMPARE(p.db().scalar(QStringLiteral("select count(*) from cholha")).toInt(), 0);
    }
};

QTEST_GUILESS_MAIN(TestSharedRecording)
#include "tst_shared_recording_db.moc"
