#include "core/data/backup.h"
#include "core/framework/database.h"
#include "core/framework/guarded.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QTest>
#include <QUuid>
#include <atomic>
#include <thread>

// The embedded database's daily backups and their restore.
class TestBackup : public QObject {
    Q_OBJECT

    static QString db_file(const TestPlant &p) { return p.dir.filePath(QStringLiteral("rc_db.sqlite")); }
    static QString folder(const TestPlant &p) { return p.dir.filePath(QStringLiteral("backup")); }

    // Reads a figure of a file on a connection of its own.
    static QVariant scalar_of(const QString &file, const QString &sql)
    {
        const QString name = QUuid::createUuid().toString();
        QVariant v;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(file);
            v = Database(name).scalar(sql);
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
        return v;
    }

    static void fill(const TestPlant &p, int loads)
    {
        add_order(p, "2026-03-02", "01", 1e6, 0);
        add_order(p, "2026-03-02", "02", 1e6, 0);
        Transaction t(p.db());
        for (int i = 0; i < loads; ++i)
            add_load(p, "2026-03-02", "2026-03-02", "02", "001", "81-1111-1", "10:00:00", 6);
        t.commit();
    }

private Q_SLOTS:
    void a_backup_made_while_another_connection_writes_is_consistent()
    {
        TestPlant p(TestPlant::OnDisk);
        fill(p, 30000);  // a file that takes SQLite a while to copy
        // Another connection writes a load and its order's figures, one
        // transaction each, while the backup is made.
        std::atomic<int> committed{0};
        std::atomic<bool> stop{false};
        QString failure;
        const QString source = p.db().connection_name();
        std::thread writer([&] {
            const QString name = QStringLiteral("writer");
            {
                QSqlDatabase::cloneDatabase(source, name);
                const Database db(name);
                try {
                    while (!stop) {
                        Transaction t(db);
                        db.exec(QStringLiteral("insert into cholha (o_date, o_fdate, o_otime, o_scode, o_count, o_carnum,"
                                               " o_hogi, o_outorder, o_moltal, o_ccode, o_return) values"
                                               " ('2026-03-02', '2026-03-02', '11:00:00', '01', '001', '81-1', '1', 6, 0, '0000', '**')"));
                        db.exec(QStringLiteral("update r_suju set v_outorder = v_outorder + 6, v_ccount = v_ccount + 1"
                                               " where ilja = '2026-03-02' and seq = '01'"));
                        t.commit();
                        ++committed;
                    }
                } catch (const DbError &e) {
                    failure = e.message();
                }
                QSqlDatabase::database(name, false).close();
            }
            QSqlDatabase::removeDatabase(name);
        });
        QTRY_VERIFY(committed > 0);
        const int before = committed;
        QString made;
        try {
            made = backup::make(db_file(p), folder(p), QDate(2026, 3, 2));
        } catch (const DbError &e) {
            QFAIL(qPrintable(e.message()));
        }
        const int after = committed;
        QTRY_VERIFY(committed > after);
        stop = true;
        writer.join();
        QCOMPARE(failure, QString());
        QVERIFY2(after > before, "the writer was not writing during the backup");

        QCOMPARE(made, QDir(folder(p)).filePath(QStringLiteral("rc_db-2026-03-02.sqlite")));
        QCOMPARE(backup::problem(made), QString());
        QCOMPARE(QFile::permissions(made) & (QFile::ReadOther | QFile::ReadGroup), QFile::Permissions());
        const int loads = scalar_of(made, QStringLiteral("select count(*) from cholha where o_scode = '01'")).toInt();
        QVERIFY(loads >= before && loads <= after);
        QCOMPARE(scalar_of(made, QStringLiteral("select v_ccount from r_suju where seq = '01'")).toInt(), loads);
        QCOMPARE(scalar_of(made, QStringLiteral("select v_outorder from r_suju where seq = '01'")).toDouble(), 6.0 * loads);
        QCOMPARE(scalar_of(made, QStringLiteral("select count(*) from cholha where o_scode = '02'")).toInt(), 30000);
    }

    void the_fifteenth_backup_removes_the_oldest()
    {
        TestPlant p(TestPlant::OnDisk);
        fill(p, 1);
        DailyBackup daily(db_file(p), folder(p));
        const QDate first(2026, 3, 2);
        for (int day = 0; day < 15; ++day) {
            QVERIFY(daily.due(first.addDays(day)));
            QCOMPARE(daily.run(first.addDays(day)), QString());
            QVERIFY(!daily.due(first.addDays(day)));
        }
        const QStringList kept = QDir(folder(p)).entryList(QDir::Files, QDir::Name);
        QCOMPARE(kept.size(), backup::kept);
        QCOMPARE(kept.first(), QStringLiteral("rc_db-2026-03-03.sqlite"));
        QCOMPARE(kept.last(), QStringLiteral("rc_db-2026-03-16.sqlite"));
        // The closing program's backup replaces the day's, it adds none.
        QCOMPARE(daily.run(first.addDays(14)), QString());
        QCOMPARE(QDir(folder(p)).entryList(QDir::Files).size(), backup::kept);
    }

    void a_failing_backup_is_said_once_and_stops_nothing()
    {
        TestPlant p(TestPlant::OnDisk);
        fill(p, 1);
        // A file where the folder should be: no backup can be made.
        QFile blocker(folder(p));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        DailyBackup daily(db_file(p), folder(p));
        QStringList said;
        daily.say = [&](const QString &text) { said << text; };
        for (int i = 0; i < 2; ++i) {
            const QString failure = daily.run(QDate(2026, 3, 2 + i));
            QVERIFY(failure.contains(QStringLiteral("백업 폴더를 만들 수 없습니다")));
            daily.report(failure);
        }
        QCOMPARE(said.size(), 1);
        // The database itself is untouched and writable.
        add_order(p, "2026-03-03", "01", 6, 0);
    }

    void restore_refuses_what_is_not_a_sound_backup_of_ours_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("said");
        QTest::newRow("damaged") << "damaged" << "손상";
        QTest::newRow("not sqlite") << "text" << "SQLite 데이터베이스 파일이 아닙니다";
        QTest::newRow("another database") << "foreign" << "이 프로그램의 데이터베이스가 아닙니다";
        QTest::newRow("missing") << "missing" << "읽을 수 없습니다";
    }
    void restore_refuses_what_is_not_a_sound_backup_of_ours()
    {
        QFETCH(QString, kind);
        QFETCH(QString, said);
        TestPlant p(TestPlant::OnDisk);
        fill(p, 2000);
        const QString made = backup::make(db_file(p), folder(p), QDate(2026, 3, 2));
        const QString candidate = p.dir.filePath(QStringLiteral("candidate.sqlite"));
        if (kind == QLatin1String("damaged")) {
            QVERIFY(QFile::copy(made, candidate));
            QFile f(candidate);
            QVERIFY(f.open(QIODevice::ReadWrite));
            // Pages in the middle overwritten, the header left as it was.
            f.seek(f.size() / 2);
            f.write(QByteArray(3 * 4096, '\x5a'));
            f.close();
        } else if (kind == QLatin1String("text")) {
            QFile f(candidate);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("[connection]\ndriver=postgres\n");
        } else if (kind == QLatin1String("foreign")) {
            scalar_of(candidate, QStringLiteral("create table notes (t text)"));
        }
        QVERIFY(backup::problem(candidate).contains(said));
        add_order(p, "2026-03-03", "07", 6, 0);  // after the backup
        try {
            backup::restore(candidate, db_file(p), folder(p), QDateTime(QDate(2026, 3, 3), QTime(9, 0)));
            QFAIL("restored");
        } catch (const ActionError &e) {
            QVERIFY2(e.message().contains(said), qPrintable(e.message()));
        }
        // Nothing changed: the database still has what came after the backup.
        QCOMPARE(p.db().scalar(QStringLiteral("select count(*) from r_suju where seq = '07'")).toInt(), 1);
        QCOMPARE(QDir(folder(p)).entryList(QDir::Files).size(), 1);
    }

    void a_sound_backup_is_put_back_and_the_database_before_it_kept()
    {
        TestPlant p(TestPlant::OnDisk);
        fill(p, 10);
        const QString made = backup::make(db_file(p), folder(p), QDate(2026, 3, 2));
        add_order(p, "2026-03-03", "07", 6, 0);
        p.dbm.reset();  // the program ended
        const QString kept = backup::restore(made, db_file(p), folder(p), QDateTime(QDate(2026, 3, 3), QTime(9, 0)));
        QCOMPARE(scalar_of(db_file(p), QStringLiteral("select count(*) from r_suju where seq = '07'")).toInt(), 0);
        QCOMPARE(scalar_of(db_file(p), QStringLiteral("select count(*) from cholha")).toInt(), 10);
        QCOMPARE(scalar_of(db_file(p), QStringLiteral("pragma journal_mode")).toString(), QStringLiteral("wal"));
        QCOMPARE(kept, QDir(folder(p)).filePath(QStringLiteral("rc_db-before-restore-20260303-090000.sqlite")));
        QCOMPARE(scalar_of(kept, QStringLiteral("select count(*) from r_suju where seq = '07'")).toInt(), 1);
    }
};

QTEST_GUILESS_MAIN(TestBackup)
#include "tst_backup.moc"
