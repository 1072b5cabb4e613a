#include "core/data/data_module.h"
#include "core/plantlink/load_recorder.h"
#include "core/plantlink/recording_thread.h"
#include "core/plantlink/shipment_recording.h"
#include "silent_proxy.h"
#include "test_support.h"

#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTest>

// A server that stops answering after the connection is made: every
// statement gives up within its limit, and a load recorded meanwhile waits
// in the journal and goes in, with its own time, when the server answers.
class TestSilentServer : public QObject {
    Q_OBJECT

    struct Plant {
        Plant()
            : proxy(qEnvironmentVariable("VELDARO_DB_HOST"), qEnvironmentVariableIntValue("VELDARO_DB_PORT"))
        {
            add_order(plant, "2026-03-02", "01", 30, 0);
            add_truck(plant, "81-1111-1", "1111", "YES");
            ConnectionSettings c = test_connection();
            c.host = QStringLiteral("127.0.0.1");
            c.port = proxy.port();
            through = std::make_unique<TF_DBMDL>(plant.dir.filePath(QStringLiteral("Vorn.Ini")), c);
            through->connect_database();
        }
        TestPlant plant;
        SilentProxy proxy;
        std::unique_ptr<TF_DBMDL> through;  // the program's connection, through the proxy
    };

    static shipment_recording::Input load()
    {
        return test_load(QTime(9, 12, 34));
    }

private Q_SLOTS:
    void init()
    {
        if (test_engine() != QLatin1String("postgres"))
            QSKIP("a server on the network");
    }

    void a_statement_gives_up_within_its_limit_and_the_next_connection_works()
    {
        Plant p;
        const Database &db = p.through->db();
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from r_suju")).toInt(), 1);
        p.proxy.set_silent(true);
        QElapsedTimer waited;
        waited.start();
        try {
            db.scalar(QStringLiteral("select count(*) from r_suju"));
            QFAIL("a silent server answered");
        } catch (const DbError &e) {
            QVERIFY(e.unreachable());
            QVERIFY2(e.message().startsWith(QStringLiteral("데이터베이스가 응답하지 않습니다")), qPrintable(e.message()));
        }
        QVERIFY2(waited.elapsed() < Database::default_statement_limit.count() + 1500, qPrintable(QString::number(waited.elapsed())));
        p.proxy.set_silent(false);
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from r_suju")).toInt(), 1);
    }

    void a_load_waits_in_the_journal_and_goes_in_with_its_time()
    {
        Plant p;
        LoadRecorder recorder(p.through->db(), p.plant.dir.filePath(QStringLiteral("outage_journal.jsonl")));
        QStringList said;
        QObject::connect(&recorder, &LoadRecorder::said, [&said](const QString &text) { said << text; });
        p.proxy.set_silent(true);
        const LoadRecorder::Outcome out = recorder.record(load(), {});
        QVERIFY(!out.recorded);
        QVERIFY(!out.refused);
        QCOMPARE(recorder.waiting(), 1);
        p.proxy.set_silent(false);
        QCOMPARE(recorder.replay(), 1);
        QCOMPARE(p.plant.db().scalar(QStringLiteral("select o_otime from cholha")).toString(), QStringLiteral("09:12:34"));
        QCOMPARE(p.plant.db().scalar(QStringLiteral("select v_ccount from r_suju")).toInt(), 1);
        QCOMPARE(said, QStringList());
    }

    // The thread that reads the serial lines only journals: it goes on at
    // once while the recording thread waits on the silent server, and the
    // loads go in, in their order and with their times, when it answers.
    void the_recording_thread_keeps_the_caller_free_while_the_server_is_silent()
    {
        Plant p;
        RecordingThread recording(p.through->db(), p.plant.dir.filePath(QStringLiteral("outage_journal.jsonl")));
        QVERIFY(recording.threaded());
        recording.set_retry_interval(200);
        QList<LoadRecorder::Result> done;
        QObject::connect(&recording.recorder(), &LoadRecorder::load_done,
                         [&done](const LoadRecorder::Result &r) { done << r; });
        p.proxy.set_silent(true);
        shipment_recording::Input second = load();
        second.time = QTime(9, 20, 0);
        second.vehicle_no = QStringLiteral("2222");
        QElapsedTimer waited;
        waited.start();
        const QString first_id = recording.submit(load());
        const QString second_id = recording.submit(second);
        // Far below one statement's limit: nothing waited on the server.
        QVERIFY2(waited.elapsed() < Database::default_statement_limit.count() / 5, qPrintable(QString::number(waited.elapsed())));
        QCOMPARE(recording.recorder().waiting(), 2);
        // Each is said to wait within the limits (the second behind the first).
        QTRY_COMPARE_WITH_TIMEOUT(done.size(), 2, 3 * static_cast<int>(Database::default_statement_limit.count()));
        QCOMPARE(done[0].load_id, first_id);
        QCOMPARE(done[0].kind, LoadRecorder::Result::Waiting);
        QCOMPARE(done[1].load_id, second_id);
        QCOMPARE(done[1].kind, LoadRecorder::Result::Waiting);

        p.proxy.set_silent(false);
        QTRY_COMPARE_WITH_TIMEOUT(recording.recorder().waiting(), 0, 20000);
        QSqlQuery q = p.plant.db().query(QStringLiteral("select o_count, o_ccode, o_otime from cholha order by o_count"));
        QStringList rows;
        while (q.next())
            rows << q.value(0).toString() + QLatin1Char(' ') + q.value(1).toString() + QLatin1Char(' ') + q.value(2).toString();
        QCOMPARE(rows, (QStringList{QStringLiteral("001 1111 09:12:34"), QStringLiteral("002 2222 09:20:00")}));
    }
};

QTEST_GUILESS_MAIN(TestSilentServer)
#include "tst_silent_server_db.moc"
