#include "core/data/schema.h"
#include "core/framework/database.h"
#include "core/plantlink/load_recorder.h"
#include "core/plantlink/outage_journal.h"
#include "core/plantlink/shipment_recording.h"
#include "test_support.h"

#include <QFile>
#include <QSqlQuery>
#include <QTest>
#include <QUuid>
#include <thread>

using shipment_recording::Input;

// Whatever the database answers, a load is written once or set aside and
// said: never gone.
class TestRecordingErrors : public QObject {
    Q_OBJECT

    static Input load(int minute)
    {
        return test_load(QTime(9, minute));
    }

    static void plant_rows(const TestPlant &p)
    {
        add_order(p, "2026-03-02", "01", 30, 0);
        add_truck(p, "81-1111-1", "1111", "YES");
    }

    static int loads(const TestPlant &p) { return p.db().scalar(QStringLiteral("select count(*) from cholha")).toInt(); }

    struct Recorder {
        explicit Recorder(const TestPlant &p) : recorder(p.db(), p.dir.filePath(QStringLiteral("journal/outage_journal.jsonl")))
        {
            QObject::connect(&recorder, &LoadRecorder::said, [this](const QString &text) { said << text; });
        }
        LoadRecorder recorder;
        QStringList said;
    };

private Q_SLOTS:
    // The ticket of a waiting load counts the loads of its order waiting
    // before it, not those journalled after it while it was being tried.
    void the_loads_before_a_waiting_one_are_those_journalled_before_it()
    {
        TestPlant p;
        plant_rows(p);
        Recorder r(p);
        const QString first = r.recorder.journal_load(load(1));
        const QString second = r.recorder.journal_load(load(2));
        QCOMPARE(r.recorder.waiting_before(first), (std::pair<int, double>{0, 0.0}));
        QCOMPARE(r.recorder.waiting_before(second), (std::pair<int, double>{1, 6.0}));
    }

    void a_database_without_its_tables_keeps_the_load_in_the_journal()
    {
        TestPlant p;
        p.exec(QStringLiteral("drop table cholha"));
        QVERIFY2(schema::problems(p.db()).contains(QStringLiteral("cholha")), qPrintable(schema::problems(p.db())));
        plant_rows(p);
        Recorder r(p);
        const LoadRecorder::Outcome out = r.recorder.record(load(1), {});
        QVERIFY(!out.recorded);
        QVERIFY(!out.refused);
        QCOMPARE(r.recorder.waiting(), 1);
        QCOMPARE(r.said, QStringList());
        // Mended: the load goes in with its time.
        schema::create_missing(p.db());
        QVERIFY(schema::problems(p.db()).isEmpty());
        QCOMPARE(r.recorder.replay(), 1);
        QCOMPARE(r.recorder.waiting(), 0);
        QCOMPARE(p.db().scalar(QStringLiteral("select o_otime from cholha")).toString(), QStringLiteral("09:01:00"));
    }

    void a_refusal_sets_the_load_aside_and_says_so()
    {
        TestPlant p;
        plant_rows(p);
        Input in = load(2);
        Recorder r(p);
        // A database that turns every new load away for good.
        if (p.db().is_postgres()) {
            p.exec(QStringLiteral("create or replace function refuse_load() returns trigger language plpgsql as"
                                  " $$ begin raise exception 'refused'; end $$"));
            p.exec(QStringLiteral("create trigger refuse_load before insert on cholha for each row execute function refuse_load()"));
        } else {
            p.exec(QStringLiteral("create trigger refuse_load before insert on cholha begin select raise(abort, 'refused'); end"));
        }
        const LoadRecorder::Outcome out = r.recorder.record(in, {});
        QVERIFY(out.refused);
        QCOMPARE(r.recorder.waiting(), 0);
        QCOMPARE(r.said.size(), 1);
        QVERIFY2(r.said.first().startsWith(QStringLiteral("출하가 기록되지 않았습니다: 2026-03-02 1호기 순번 01, 차번 1111")),
                 qPrintable(r.said.first()));
        QFile rejected(r.recorder.journal_path() + QStringLiteral(".rejected"));
        QVERIFY(rejected.open(QIODevice::ReadOnly));
        QVERIFY(rejected.readAll().contains("\"o_otime\":\"09:02:00\""));
        QCOMPARE(loads(p), 0);
    }

    void a_damaged_file_keeps_the_load_in_the_journal()
    {
        if (test_engine() != QLatin1String("sqlite"))
            QSKIP("an SQLite file");
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("rc_db.sqlite"));
        {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(8192, 'x'));  // not a database at all
        }
        TF_DBMDL dbm(dir.filePath(QStringLiteral("Vorn.Ini")), test_connection(file));
        // The console's check, on a connection of its own, says so.
        QVERIFY(!schema::file_problem_on_own_connection(dbm.db().connection_name()).isEmpty());
        LoadRecorder recorder(dbm.db(), dir.filePath(QStringLiteral("outage_journal.jsonl")));
        QStringList said;
        QObject::connect(&recorder, &LoadRecorder::said, [&said](const QString &text) { said << text; });
        const LoadRecorder::Outcome out = recorder.record(load(3), {});
        QVERIFY(!out.recorded);
        QVERIFY(!out.refused);
        QCOMPARE(recorder.waiting(), 1);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("outage_journal.jsonl.rejected"))));
    }

    void a_read_only_server_keeps_the_load_in_the_journal()
    {
        if (test_engine() != QLatin1String("postgres"))
            QSKIP("a server that takes no writes for now (a standby)");
        TestPlant p;
        plant_rows(p);
        p.exec(QStringLiteral("set session characteristics as transaction read only"));
        Recorder r(p);
        const LoadRecorder::Outcome out = r.recorder.record(load(4), {});
        QVERIFY(!out.recorded);
        QVERIFY(!out.refused);
        QCOMPARE(r.recorder.waiting(), 1);
        p.exec(QStringLiteral("set session characteristics as transaction read write"));
        QCOMPARE(r.recorder.replay(), 1);
        QCOMPARE(loads(p), 1);
    }

    void a_deadlock_victim_keeps_the_load_in_the_journal()
    {
        if (test_engine() != QLatin1String("postgres"))
            QSKIP("SQLite takes its write lock at the start: no deadlock");
        TestPlant p(TestPlant::OnDisk);
        plant_rows(p);
        Recorder r(p);
        // Another PC holds the truck and then wants the order that the
        // recording holds while it waits for the truck.
        std::thread other([&p] {
            const QString name = QStringLiteral("other-pc");
            {
                QSqlDatabase::cloneDatabase(p.db().connection_name(), name);
                Database db(name);
                Transaction tx(db);
                db.exec(QStringLiteral("update car_code set c_dsum = c_dsum where code = '81-1111-1'"));
                // Until the recording waits for the truck (at most 5 s).
                for (int i = 0; i < 500; ++i) {
                    QSqlQuery q = db.query(QStringLiteral("select count(*) from pg_stat_activity"
                                                          " where wait_event_type = 'Lock' and datname = current_database()"));
                    if (q.next() && q.value(0).toInt() > 0)
                        break;
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
                }
                try {
                    db.exec(QStringLiteral("update r_suju set v_ccount = v_ccount where seq = '01'"));
                    tx.commit();
                } catch (const DbError &) {
                }
            }
            QSqlDatabase::removeDatabase(name);
        });
        const LoadRecorder::Outcome out = r.recorder.record(load(5), {});
        other.join();
        // Either the recording went through (the other PC was the victim)
        // or it waits in the journal: never set aside, never gone.
        QVERIFY(!out.refused);
        QCOMPARE(r.said, QStringList());
        r.recorder.replay();
        QCOMPARE(r.recorder.waiting(), 0);
        QCOMPARE(loads(p), 1);
    }

    void the_tries_grow_apart_while_the_database_stays_away()
    {
        if (test_engine() != QLatin1String("sqlite"))
            QSKIP("the write lock of an SQLite file held by another program");
        TestPlant p(TestPlant::OnDisk);
        plant_rows(p);
        Recorder r(p);
        const QString name = QStringLiteral("other-program");
        {
            QSqlDatabase::cloneDatabase(p.db().connection_name(), name);
            Database other(name);
            other.exec(QStringLiteral("begin immediate"));
            r.recorder.record(load(7), {});
            QCOMPARE(r.recorder.waiting(), 1);
            QList<int> intervals;
            for (int i = 0; i < 5; ++i) {
                r.recorder.replay();
                intervals << r.recorder.retry_interval();
            }
            QCOMPARE(intervals, (QList<int>{10000, 20000, 40000, 60000, 60000}));
            other.exec(QStringLiteral("rollback"));
            QSqlDatabase::database(name, false).close();
        }
        QSqlDatabase::removeDatabase(name);
        QCOMPARE(r.recorder.replay(), 1);
        QCOMPARE(r.recorder.retry_interval(), 5000);
    }

    void tickets_printed_while_waiting_that_the_written_loads_contradict_are_listed()
    {
        TestPlant p;
        plant_rows(p);
        const QString path = p.dir.filePath(QStringLiteral("outage_journal.jsonl"));
        {
            // Two loads waited, their tickets printed from the board as
            // trips 1 (6 m3) and 2 (12 m3).
            OutageJournal journal(path, p.db().identity());
            QString error;
            const OutageJournal::Entry first = journal.make_entry(load(10));
            const OutageJournal::Entry second = journal.make_entry(load(20));
            QVERIFY(journal.append(first, &error));
            QVERIFY(journal.append(second, &error));
            QVERIFY(journal.mark_provisional(first.id, {1, 6}, &error));
            QVERIFY(journal.mark_provisional(second.id, {2, 12}, &error));
        }
        // Meanwhile another PC entered a load of the same order by hand.
        add_load(p, "2026-03-02", "2026-03-02", "01", "001", "81-1111-1", "09:15:00", 6);
        p.exec(QStringLiteral("update r_suju set v_outorder = 6, v_reorder = 24, v_ccount = 1"));
        LoadRecorder recorder(p.db(), path);  // a new start: the marks come from the file
        QStringList said;
        QObject::connect(&recorder, &LoadRecorder::said, [&said](const QString &text) { said << text; });
        QCOMPARE(recorder.replay(), 2);
        // The trips follow the times: the 09:10 load is trip 1 as printed,
        // the hand-entered 09:15 one and the 09:20 one move a trip on.
        QCOMPARE(said.size(), 1);
        const QStringList parts = said.first().split(QStringLiteral("\n\n"));
        QCOMPARE(parts.size(), 2);
        QStringList lines = parts[0].split(QLatin1Char('\n'));
        QVERIFY2(lines.first().contains(QStringLiteral("다시 인쇄하십시오")), qPrintable(said.first()));
        QCOMPARE(lines.mid(1), (QStringList{
                                   QStringLiteral("2026-03-02 09:20:00 순번 01, 차번 1111: 2회 → 3회, 누계 12.00 → 18.00")}));
        lines = parts[1].split(QLatin1Char('\n'));
        QVERIFY2(lines.first().contains(QStringLiteral("다시 인쇄하십시오")), qPrintable(said.first()));
        QCOMPARE(lines.mid(1), (QStringList{
                                   QStringLiteral("2026-03-02 09:15:00 순번 01, 차번 0000: 1회 → 2회, 누계 6.00 → 12.00")}));
        QSqlQuery q = p.db().query(QStringLiteral("select o_otime, o_count from cholha order by o_otime"));
        QStringList trips;
        while (q.next())
            trips << q.value(0).toString() + QLatin1Char(' ') + q.value(1).toString();
        QCOMPARE(trips, (QStringList{QStringLiteral("09:10:00 001"), QStringLiteral("09:15:00 002"), QStringLiteral("09:20:00 003")}));
    }

    void an_unwritable_journal_with_the_database_away_holds_the_load_in_memory()
    {
        if (test_engine() != QLatin1String("sqlite"))
            QSKIP("the write lock of an SQLite file held by another program");
        TestPlant p(TestPlant::OnDisk);
        plant_rows(p);
        QCOMPARE(schema::file_problem_on_own_connection(p.db().connection_name()), QString());
        // The journal's folder is a file: nothing can be written there.
        QFile blocker(p.dir.filePath(QStringLiteral("blocked")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        LoadRecorder recorder(p.db(), p.dir.filePath(QStringLiteral("blocked/outage_journal.jsonl")));
        QStringList said;
        QObject::connect(&recorder, &LoadRecorder::said, [&said](const QString &text) { said << text; });
        const QString name = QStringLiteral("other-program");
        {
            QSqlDatabase::cloneDatabase(p.db().connection_name(), name);
            Database other(name);
            other.exec(QStringLiteral("begin immediate"));
            const LoadRecorder::Outcome out = recorder.record(load(6), {});
            QVERIFY(!out.recorded);
            QVERIFY(!out.refused);
            QCOMPARE(recorder.waiting(), 1);
            QCOMPARE(recorder.held_in_memory(), 1);
            QCOMPARE(said.size(), 1);  // the journal that cannot be written
            other.exec(QStringLiteral("rollback"));
            QSqlDatabase::database(name, false).close();
        }
        QSqlDatabase::removeDatabase(name);
        QCOMPARE(recorder.replay(), 1);
        QCOMPARE(recorder.waiting(), 0);
        QCOMPARE(loads(p), 1);
    }
};

QTEST_GUILESS_MAIN(TestRecordingErrors)
#include "tst_recording_errors_db.moc"
