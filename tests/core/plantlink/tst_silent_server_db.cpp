#include "core/data/data_module.h"
#include "core/plantlink/load_recorder.h"
#include "core/plantlink/shipment_recording.h"
#include "silent_proxy.h"
#include "test_support.h"

#include <QElapsedTimer>
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
        shipment_recording::Input in;
        in.unit = 1;
        in.order_no = QStringLiteral("01");
        in.product_code = QStringLiteral("1004");
        in.quantity = QStringLiteral("6");
        in.vehicle_no = QStringLiteral("1111");
        in.vehicle_code = QStringLiteral("81-1111-1");
        in.site_name = QStringLiteral("현장01");
        in.board_date = QStringLiteral("2026-03-02");
        in.today = QDate(2026, 3, 2);
        in.time = QTime(9, 12, 34);
        return in;
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
        recorder.say = [&said](const QString &text) { said << text; };
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
};

QTEST_GUILESS_MAIN(TestSilentServer)
#include "tst_silent_server_db.moc"
