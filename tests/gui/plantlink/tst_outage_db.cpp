#include "gui/data/app_context.h"
#include "core/data/data_module.h"
#include "gui/console/order_board.h"
#include "console_fixture.h"
#include "core/framework/record_table_model.h"
#include "core/framework/guarded.h"
#include "core/plantlink/load_recorder.h"
#include "core/plantlink/plant_link.h"
#include "core/plantlink/recording_thread.h"
#include "gui/console/reservation_desk.h"
#include "core/plantlink/reservation_slots.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

#include <atomic>
#include <cstdio>

using Slots = ReservationSlots;

namespace {
// Makes the test's database unreachable for the console and brings it back:
// on PostgreSQL no new connection to it is allowed and its backends are
// killed; on SQLite another connection holds the write lock past the busy
// timeout.
class Outage {
public:
    explicit Outage(const WindowPlant &plant)
    {
        const QSqlDatabase own = plant.db().connection();
        name_ = QStringLiteral("outage-") + QString::number(reinterpret_cast<quintptr>(this));
        QSqlDatabase other = QSqlDatabase::addDatabase(own.driverName(), name_);
        if (plant.db().is_postgres()) {
            other.setHostName(own.hostName());
            other.setPort(own.port());
            other.setUserName(own.userName());
            other.setDatabaseName(QStringLiteral("postgres"));
            database_ = own.databaseName();
        } else {
            other.setDatabaseName(own.databaseName());
        }
        if (!other.open())
            qFatal("outage connection: %s", qPrintable(other.lastError().text()));
    }
    ~Outage()
    {
        if (on_)
            end();
        QSqlDatabase::database(name_).close();
        QSqlDatabase::removeDatabase(name_);
    }
    void begin()
    {
        on_ = true;
        if (database_.isEmpty()) {
            run(QStringLiteral("begin immediate"));
            return;
        }
        // Identifiers cannot be bound; the name is the test's own.
        run(QStringLiteral("alter database \"%1\" with allow_connections false").arg(database_));
        run(QStringLiteral("select pg_terminate_backend(pid, 5000) from pg_stat_activity"
                           " where datname = '%1' and pid <> pg_backend_pid()").arg(database_));
    }
    void end()
    {
        on_ = false;
        run(database_.isEmpty() ? QStringLiteral("rollback")
                                : QStringLiteral("alter database \"%1\" with allow_connections true").arg(database_));
    }

private:
    void run(const QString &sql)
    {
        QSqlQuery q(QSqlDatabase::database(name_));
        if (!q.exec(sql))
            qFatal("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
    }
    QString name_;
    QString database_;
    bool on_ = false;
};

shipment_recording::Input load_of(const char *order, const char *number, int minute)
{
    shipment_recording::Input in;
    in.unit = 1;
    in.order_no = QString::fromLatin1(order);
    in.product_code = QStringLiteral("1004");
    in.quantity = QStringLiteral("6");
    in.vehicle_no = QString::fromLatin1(number);
    in.vehicle_code = QStringLiteral("81-%1-1").arg(in.vehicle_no);
    in.site_name = QStringLiteral("현장01");
    in.board_date = QStringLiteral("2026-03-02");
    in.today = QDate(2026, 3, 2);
    in.time = QTime(10, minute, 0);
    return in;
}

// The program at a plant whose database is gone: loads go into the journal
// named by VELDARO_JOURNAL_CHILD, as lines of the database named by
// VELDARO_JOURNAL_DB; it says so and waits to be killed.
int journal_child()
{
    OutageJournal journal(qEnvironmentVariable("VELDARO_JOURNAL_CHILD"), qEnvironmentVariable("VELDARO_JOURNAL_DB"));
    int kept = 0;
    QString error;
    for (const auto &[order, number, minute] : {std::tuple{"01", "1111", 1}, {"01", "2222", 20}, {"02", "3333", 40}}) {
        if (journal.append(journal.make_entry(load_of(order, number, minute)), &error))
            ++kept;
    }
    std::printf("journalled %d\n", kept);
    std::fflush(stdout);
    return QCoreApplication::exec();
}
}

// Loads recorded while the database cannot be reached: kept in the outage
// journal, their tickets printed, written exactly once when it is back.
class TestOutage : public QObject {
    Q_OBJECT

    struct Plant : ConsoleFixture {
        Plant() : ConsoleFixture(WindowPlant::OnDisk)
        {
            add_order(plant, "2026-03-02", "01", 30, 0);
            for (const char *n : {"1111", "2222", "3333"})
                add_truck(plant, QStringLiteral("81-%1-1").arg(QString::fromLatin1(n)).toLatin1().constData(), n, "YES");
            plant.exec(QStringLiteral("insert into r_size (remi_code, standard, rul_ks) values ('1004', '25-210-12', 'KS')"));
            journal = plant.dir.filePath(QStringLiteral("data/outage_journal.jsonl"));
            plant.ctx.outage_journal = journal;
        }
        void start()
        {
            open();
            console->recording().set_retry_interval(100);
            console->prn_sel->setCurrentText(QStringLiteral("수동인쇄"));  // the ticket stays readable
            console->link->switch_on();
            for (int slot = 1; slot <= 3; ++slot) {
                const int row = Slots::row_of(1, slot);
                ReservationSlots &m = *console->desk->slot_model;
                const QString n = QString::number(slot * 1111);
                m.set_field(row, Slots::OrderNo, QStringLiteral("01"));
                m.set_field(row, Slots::Product, QStringLiteral("1004"));
                m.set_field(row, Slots::Quantity, QStringLiteral("6"));
                m.set_field(row, Slots::VehicleNo, n);
                m.set_field(row, Slots::VehicleCode, QStringLiteral("81-%1-1").arg(n));
                m.set_field(row, Slots::Site, QStringLiteral("현장01"));
            }
        }
        void feed(const char *letters, int minute)
        {
            plant.clock.set(QDateTime(QDate(2026, 3, 2), QTime(10, minute)));
            line1.feed(letters);
            QTRY_VERIFY(!console->link->sending());
            QTRY_COMPARE_WITH_TIMEOUT(console->loads_being_written(), 0, 10000);
        }
        int rows() const { return plant.db().scalar(QStringLiteral("select count(*) from cholha")).toInt(); }
        QStringList trips() const
        {
            QStringList s;
            QSqlQuery q = plant.db().query(QStringLiteral("select o_count, o_ccode, o_otime from cholha order by o_otime"));
            while (q.next())
                s << q.value(0).toString() + QLatin1Char(' ') + q.value(1).toString() + QLatin1Char(' ') + q.value(2).toString();
            return s;
        }
        QVariant order(const char *column) const
        {
            return plant.db().scalar(QStringLiteral("select %1 from r_suju where seq = '01'").arg(QLatin1String(column)));
        }
        QString journal;
    };

private Q_SLOTS:
    void loads_during_an_outage_are_written_once_when_the_database_is_back()
    {
        Plant p;
        p.start();
        Outage outage(p.plant);
        p.feed("UB", 1);  // the first load goes straight in
        QCOMPARE(p.rows(), 1);
        QVERIFY(!QFile::exists(p.journal));
        p.feed("EN", 10);

        // The database goes away in the middle of the next recording (on
        // SQLite: just before it, the lock is another connection's).
        std::atomic<bool> armed = true;
        if (p.plant.db().is_postgres()) {
            // The statement runs on the recording's thread, the outage's
            // connection belongs to this one.
            Database::set_tracer([&outage, &armed](const QString &sql, const Params &) {
                if (armed && sql.startsWith(QLatin1String("update r_suju"))) {
                    armed = false;
                    QMetaObject::invokeMethod(qApp, [&outage] { outage.begin(); }, Qt::BlockingQueuedConnection);
                }
            });
        } else {
            outage.begin();
        }
        p.feed("UB", 20);
        Database::set_tracer({});
        QVERIFY(!armed || !p.plant.db().is_postgres());
        QCOMPARE(p.console->load_recorder().waiting(), 1);
        QVERIFY(QFile::exists(p.journal));
        QVERIFY(p.console->journal_lab->isVisible());
        QVERIFY(p.console->journal_lab->text().contains(QStringLiteral("1건")));
        // The ticket is there, from the order's figures and the loads waiting.
        QCOMPARE(p.plant.dbm->ticket_data.trip_no, QStringLiteral("2"));
        QCOMPARE(p.plant.dbm->ticket_data.cumulative, QStringLiteral("12.00"));
        QCOMPARE(p.plant.dbm->ticket_data.vehicle_no, QStringLiteral("2222"));
        QCOMPARE(p.plant.dbm->ticket_data.ks_mark, QStringLiteral("KS"));
        QCOMPARE(p.plant.dbm->ticket_data.customer_name, QStringLiteral("거래처01"));
        QCOMPARE(p.plant.prompter.errors, QStringList());  // nothing lost, nothing to say

        p.feed("EN", 30);
        p.feed("UB", 40);
        QCOMPARE(p.console->load_recorder().waiting(), 2);
        QVERIFY(p.console->journal_lab->text().contains(QStringLiteral("2건")));
        QCOMPARE(p.plant.dbm->ticket_data.trip_no, QStringLiteral("3"));
        QCOMPARE(p.plant.dbm->ticket_data.cumulative, QStringLiteral("18.00"));

        outage.end();
        QTRY_COMPARE_WITH_TIMEOUT(p.console->load_recorder().waiting(), 0, 20000);
        QCOMPARE(p.trips(), (QStringList{QStringLiteral("001 1111 10:01:00"), QStringLiteral("002 2222 10:20:00"),
                                         QStringLiteral("003 3333 10:40:00")}));
        QCOMPARE(p.order("v_outorder").toDouble(), 18.0);
        QCOMPARE(p.order("v_ccount").toInt(), 3);
        QCOMPARE(p.order("v_reorder").toDouble(), 12.0);
        QTRY_VERIFY(!p.console->journal_lab->isVisible());
        QVERIFY(!QFile::exists(p.journal));
        // The boards show what was written.
        QTRY_COMPARE(p.console->orders->suju_query->text(0, QStringLiteral("v_ccount")), QStringLiteral("3"));
        QCOMPARE(p.plant.prompter.errors, QStringList());
    }

    // A database that refuses the statement itself (not for now): a trigger
    // that turns every new load away.
    static void refuse_every_load(const WindowPlant &p)
    {
        if (p.db().is_postgres()) {
            p.exec(QStringLiteral("create or replace function refuse_load() returns trigger language plpgsql as"
                                  " $$ begin raise exception 'refused'; end $$"));
            p.exec(QStringLiteral("create trigger refuse_load before insert on cholha"
                                  " for each row execute function refuse_load()"));
        } else {
            p.exec(QStringLiteral("create trigger refuse_load before insert on cholha"
                                  " begin select raise(abort, 'refused'); end"));
        }
    }

    void a_replayed_load_already_written_is_not_written_again_data()
    {
        QTest::addColumn<bool>("committed_before");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<int>("rows");
        QTest::newRow("commit went through, answer lost") << true << false << 1;
        QTest::newRow("not written yet") << false << false << 1;
        QTest::newRow("refused for good: set aside") << false << true << 0;
    }

    void a_replayed_load_already_written_is_not_written_again()
    {
        QFETCH(bool, committed_before);
        QFETCH(bool, refused);
        QFETCH(int, rows);
        WindowPlant p;
        add_order(p, "2026-03-02", "01", 30, 0);
        add_truck(p, "81-1111-1", "1111", "YES");
        const QString path = p.dir.filePath(QStringLiteral("outage_journal.jsonl"));
        {
            OutageJournal j(path);
            // The journalled load, with the identity it is recognised by.
            const OutageJournal::Entry entry = j.make_entry(load_of("01", "1111", 5));
            if (committed_before)
                shipment_recording::record(p.db(), entry.load, {});
            if (refused)
                refuse_every_load(p);
            QString error;
            QVERIFY(j.append(entry, &error));
        }
        LoadRecorder recorder(p.db(), path);
        QStringList said;
        QObject::connect(&recorder, &LoadRecorder::said, [&said](const QString &text) { said << text; });
        QCOMPARE(recorder.waiting(), 1);
        recorder.replay();
        QCOMPARE(recorder.waiting(), 0);
        QCOMPARE(p.db().scalar(QStringLiteral("select count(*) from cholha")).toInt(), rows);
        QCOMPARE(QFile::exists(path + QStringLiteral(".rejected")), refused);
        QCOMPARE(said.size(), refused ? 1 : 0);
        if (!refused)
            QCOMPARE(p.db().scalar(QStringLiteral("select v_ccount from r_suju")).toInt(), 1);
    }

    void loads_journalled_by_a_killed_program_go_in_at_the_next_start()
    {
        Plant p;
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VELDARO_JOURNAL_CHILD"), p.journal);
        env.insert(QStringLiteral("VELDARO_JOURNAL_DB"), p.plant.db().identity());
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(child.canReadLine() || child.state() == QProcess::NotRunning, 20000);
        QCOMPARE(child.readLine().trimmed(), QByteArray("journalled 3"));
        child.kill();  // SIGKILL: nothing of it runs after this
        QVERIFY(child.waitForFinished());
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);

        add_order(p.plant, "2026-03-02", "02", 12, 0);
        p.start();  // the replay runs at start-up
        QTRY_COMPARE(p.console->load_recorder().waiting(), 0);
        QCOMPARE(p.trips(), (QStringList{QStringLiteral("001 1111 10:01:00"), QStringLiteral("002 2222 10:20:00"),
                                         QStringLiteral("001 3333 10:40:00")}));
        QCOMPARE(p.order("v_ccount").toInt(), 2);
        QVERIFY(!QFile::exists(p.journal));
        QTRY_VERIFY(!p.console->journal_lab->isVisible());
    }
};

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsSet("VELDARO_JOURNAL_CHILD")) {
        QCoreApplication app(argc, argv);
        return journal_child();
    }
    QApplication app(argc, argv);
    TestOutage test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_outage_db.moc"
