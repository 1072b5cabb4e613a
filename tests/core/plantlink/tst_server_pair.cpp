#include "core/data/connection_settings.h"
#include "core/data/data_module.h"
#include "core/data/schema.h"
#include "core/framework/database.h"
#include "core/plantlink/load_recorder.h"
#include "core/plantlink/shipment_recording.h"
#include "test_support.h"

#include <QFile>
#include <QProcess>
#include <QSet>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using shipment_recording::Input;

// The plant's server pair: a primary and its streaming standby, made by
// scripts/pg-pair.sh.  The primary goes down while loads are recorded, the
// standby is promoted, and the program follows it by itself: every load
// ends up on the new primary once, none lost, none doubled.
class TestServerPair : public QObject {
    Q_OBJECT

    QTemporaryDir home;
    QString pair_dir;
    bool started = false;

    static QString script() { return qEnvironmentVariable("VELDARO_SCRIPTS_DIR") + QStringLiteral("/pg-pair.sh"); }

    int pair(const QStringList &args)
    {
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedChannels);
        p.start(script(), args);
        if (!p.waitForFinished(120000))
            return -1;
        return p.exitCode();
    }

    static Input load(int n)
    {
        Input in = test_load(QTime(6, 0).addSecs(n), 1 + n % 2);
        in.quantity = QStringLiteral("1");
        return in;
    }

    QString connection_file(const QString &user) const
    {
        const QString path = home.filePath(QStringLiteral("Connection.ini"));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return QString();
        // No password: libpq's password file has it.
        f.write(QStringLiteral("[connection]\ndriver=postgres\ndatabase=rc_db\nuser=%1\nhost=%2/one,%2/two\nport=%3\n")
                    .arg(user, pair_dir, qEnvironmentVariable("VELDARO_PAIR_PORT", QStringLiteral("5439")))
                    .toUtf8());
        return path;
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!QFile::exists(QStringLiteral("/usr/lib/postgresql/15/bin/initdb")))
            QSKIP("the PostgreSQL programs are not installed");
        QVERIFY(home.isValid());
        // The servers run as the postgres user when the test is root.
        QFile::setPermissions(home.path(), QFile::permissions(home.path()) | QFile::ExeOther | QFile::ExeGroup);
        pair_dir = home.filePath(QStringLiteral("pair"));
        const int rc = pair({QStringLiteral("start"), pair_dir, qEnvironmentVariable("VELDARO_PAIR_PORT", QStringLiteral("5439"))});
        QCOMPARE(rc, 0);
        started = true;
        const QString passfile = home.filePath(QStringLiteral("pgpass"));
        QFile f(passfile);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("*:*:rc_db:office:office-secret\n");
        f.close();
        QFile::setPermissions(passfile, QFile::ReadOwner | QFile::WriteOwner);
        qputenv("PGPASSFILE", QFile::encodeName(passfile));
    }

    void cleanupTestCase()
    {
        if (started)
            pair({QStringLiteral("stop"), pair_dir});
    }

    void the_settings_name_both_servers_and_no_password()
    {
        const ConnectionSettings c = ConnectionSettings::load(connection_file(QStringLiteral("office")));
        QCOMPARE(c.host, QStringLiteral("%1/one,%1/two").arg(pair_dir));
        QVERIFY(c.password.isEmpty());
        QVERIFY(c.server_options().contains(QStringLiteral("target_session_attrs=read-write")));
        // Without the password file the server turns the office away.
        const QByteArray passfile = qgetenv("PGPASSFILE");
        qputenv("PGPASSFILE", "/nonexistent");
        {
            TF_DBMDL dbm(home.filePath(QStringLiteral("Vorn.Ini")), c);
            QVERIFY_THROWS_EXCEPTION(DbError, dbm.connect_database());
        }
        qputenv("PGPASSFILE", passfile);
    }

    void loads_recorded_through_a_failover_reach_the_new_primary_once()
    {
        // A database error fails the test and leaves the clean-up to run.
        try {
            failover();
        } catch (const DbError &e) {
            QFAIL(qPrintable(e.message()));
        }
    }

private:
    void failover()
    {
        const ConnectionSettings c = ConnectionSettings::load(connection_file(QStringLiteral("office")));
        TF_DBMDL dbm(home.filePath(QStringLiteral("Vorn.Ini")), c);
        dbm.connect_database();
        const Database &db = dbm.db();
        schema::create_missing(db);
        QCOMPARE(db.scalar(QStringLiteral("select pg_is_in_recovery()")).toBool(), false);
        db.exec(QStringLiteral("insert into r_suju (ilja, seq, v_inout, v_station, remi_code, v_rule, order_m3, v_outorder,"
                               " v_reorder, v_ccount, v_state, time_, cement, japum, v_hon) values ('2026-03-02', '01',"
                               " '거래처01', '현장01', '1004', '25-210-12', 900, 0, 900, 0, 'YES', '06:00', '보통', 'AE', '0.8')"));
        db.exec(QStringLiteral("insert into car_code (saup, code, scode, name, c_state, c_dsum, c_msum, c_station)"
                               " values ('AA', '81-1111-1', '1111', '기사', 'YES', 0, 0, '')"));

        LoadRecorder recorder(db, home.filePath(QStringLiteral("outage_journal.jsonl")));
        QStringList said;
        QObject::connect(&recorder, &LoadRecorder::said, [&said](const QString &text) { said << text; });
        recorder.set_retry_interval(200);
        int n = 0;
        for (; n < 5; ++n)
            QVERIFY(recorder.record(load(n), {}).recorded);

        // The primary shuts down while the trucks keep loading.
        QProcess stopper;
        stopper.setProcessChannelMode(QProcess::ForwardedChannels);
        stopper.start(script(), {QStringLiteral("stop-primary"), pair_dir});
        QVERIFY(stopper.waitForStarted());
        while (stopper.state() != QProcess::NotRunning && n < 400) {
            QVERIFY(!recorder.record(load(n++), {}).refused);
            QCoreApplication::processEvents();
        }
        QVERIFY(stopper.state() == QProcess::NotRunning || stopper.waitForFinished(60000));
        QCOMPARE(stopper.exitCode(), 0);
        // Only the standby is left, and it takes no writes: the loads wait.
        for (int i = 0; i < 3; ++i)
            QVERIFY(!recorder.record(load(n++), {}).recorded);
        QVERIFY(recorder.waiting() >= 3);
        QCOMPARE(recorder.held_in_memory(), 0);

        QCOMPARE(pair({QStringLiteral("promote"), pair_dir}), 0);
        for (int i = 0; i < 3; ++i)
            QVERIFY(!recorder.record(load(n++), {}).refused);
        QTRY_COMPARE_WITH_TIMEOUT(recorder.waiting(), 0, 60000);
        QCOMPARE(said, QStringList());

        // The connection is on the promoted standby now, the only server left.
        QCOMPARE(db.scalar(QStringLiteral("select pg_is_in_recovery()")).toBool(), false);
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from cholha")).toInt(), n);
        QCOMPARE(db.scalar(QStringLiteral("select count(*) from cholha_ident")).toInt(), n);
        QSet<QString> trips;
        QSet<QString> times;
        QSqlQuery q = db.query(QStringLiteral("select o_count, o_otime from cholha"));
        while (q.next()) {
            trips << q.value(0).toString();
            times << q.value(1).toString();
        }
        QCOMPARE(trips.size(), n);
        QCOMPARE(times.size(), n);  // each load once: every weighing's own time
        QCOMPARE(db.scalar(QStringLiteral("select v_ccount from r_suju where seq = '01'")).toInt(), n);
        QCOMPARE(db.scalar(QStringLiteral("select v_outorder from r_suju where seq = '01'")).toDouble(), double(n));
        qInfo("%d loads, 5 of them before the primary was stopped", n);
    }
};

QTEST_GUILESS_MAIN(TestServerPair)
#include "tst_server_pair.moc"
