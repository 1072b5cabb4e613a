#include "core/plantlink/outage_journal.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using shipment_recording::Input;

namespace {
const QString here = QStringLiteral("QSQLITE:/var/lib/plant/rc_db.sqlite");
const QString elsewhere = QStringLiteral("QPSQL://dbserver:5432/rc_db");
}

// The outage journal's file: what is appended is on the disk and comes
// back the same, in order; a crash in the middle of an append loses
// nothing that was appended before.
class TestOutageJournal : public QObject {
    Q_OBJECT

    static Input load(const char *order, const char *vehicle_no, int minute, bool mortar = false)
    {
        Input in;
        in.unit = mortar ? 2 : 1;
        in.order_no = QString::fromLatin1(order);
        in.product_code = QStringLiteral("1004");
        in.quantity = QStringLiteral("6");
        if (mortar)
            in.mortar_quantity = QStringLiteral("0.5");
        in.vehicle_no = QString::fromLatin1(vehicle_no);
        in.vehicle_code = QStringLiteral("81-%1-1").arg(in.vehicle_no);
        in.site_name = QStringLiteral("동탄 2신도시 \"A\" 블록\\7");
        in.board_date = QStringLiteral("2026-03-02");
        in.today = QDate(2026, 3, 3);
        in.time = QTime(10, minute, 7);
        return in;
    }

    static QByteArray read_all(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static void add_bytes(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::Append));
        QCOMPARE(f.write(bytes), bytes.size());
    }

    static QStringList orders(const OutageJournal &j)
    {
        QStringList s;
        for (const auto &e : j.entries())
            s << e.load.order_no + QLatin1Char('/') + e.load.vehicle_no;
        return s;
    }

private Q_SLOTS:
    // A load replayed later, maybe after a restart, is logged as its
    // weigher's, not as whoever is at the console then.
    void who_weighed_the_load_is_kept_with_it()
    {
        QTemporaryDir dir;
        OutageJournal j(dir.filePath(QStringLiteral("outage_journal.jsonl")), here);
        Input in = load("01", "1111", 5);
        in.author = {QStringLiteral("박반장"), QStringLiteral("CONSOLE-PC")};
        const auto back = OutageJournal::decode(OutageJournal::encode(j.make_entry(in)));
        QVERIFY(back);
        QCOMPARE(back->load.author.operator_name, QStringLiteral("박반장"));
        QCOMPARE(back->load.author.station, QStringLiteral("CONSOLE-PC"));
    }

    void what_is_appended_comes_back_the_same()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("data/outage_journal.jsonl"));
        OutageJournal j(path, here);
        QString error;
        QVERIFY(j.append(j.make_entry(load("01", "1111", 5)), &error));
        QVERIFY(j.append(j.make_entry(load("02", "2222", 6, true)), &error));

        OutageJournal read(path, here);
        QVERIFY(read.load(&error));
        QCOMPARE(error, QString());
        QCOMPARE(orders(read), (QStringList{QStringLiteral("01/1111"), QStringLiteral("02/2222")}));
        const Input a = load("02", "2222", 6, true);
        const Input &b = read.entries()[1].load;
        QCOMPARE(b.unit, a.unit);
        QCOMPARE(b.site_name, a.site_name);
        QCOMPARE(b.mortar_quantity, a.mortar_quantity);
        QCOMPARE(b.today, a.today);
        QCOMPARE(b.time, a.time);
        QCOMPARE(b.board_date, a.board_date);
        QCOMPARE(b.vehicle_code, a.vehicle_code);
        QCOMPARE(b.product_code, a.product_code);
        QVERIFY(!read.entries()[0].load.mortar_quantity);

        // One JSON object a line, the shipment row's own column names.
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = f.readAll().split('\n');
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines[2].isEmpty());
        const QJsonObject o = QJsonDocument::fromJson(lines[1]).object();
        QCOMPARE(o.value(QStringLiteral("o_fdate")).toString(), QStringLiteral("2026-03-02"));
        QCOMPARE(o.value(QStringLiteral("o_date")).toString(), QStringLiteral("2026-03-03"));
        QCOMPARE(o.value(QStringLiteral("o_otime")).toString(), QStringLiteral("10:06:07"));
        QCOMPARE(o.value(QStringLiteral("o_hogi")).toString(), QStringLiteral("2"));
        QCOMPARE(o.value(QStringLiteral("o_return")).toString(), QStringLiteral("**"));
        QCOMPARE(o.value(QStringLiteral("db")).toString(), here);
        QCOMPARE(read.entries()[1].database, here);
    }

    void removing_keeps_the_order_and_the_last_removal_deletes_the_file()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("outage_journal.jsonl"));
        OutageJournal j(path);
        QString error;
        for (int i = 1; i <= 3; ++i)
            QVERIFY(j.append(j.make_entry(load(QByteArray::number(i).rightJustified(2, '0').constData(), "1111", i)), &error));
        QVERIFY(j.remove(j.entries()[1].id, &error));
        OutageJournal read(path);
        QVERIFY(read.load(&error));
        QCOMPARE(orders(read), (QStringList{QStringLiteral("01/1111"), QStringLiteral("03/1111")}));
        QVERIFY(j.set_aside(j.entries()[0].id, &error));
        QVERIFY(j.remove(j.entries()[0].id, &error));
        QVERIFY(!QFile::exists(path));
        OutageJournal rejected(path + QStringLiteral(".rejected"));
        QVERIFY(rejected.load(&error));
        QCOMPARE(orders(rejected), QStringList{QStringLiteral("01/1111")});
    }

    void a_line_cut_short_by_a_crash_is_dropped_and_the_rest_kept()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("outage_journal.jsonl"));
        {
            OutageJournal j(path);
            QString error;
            QVERIFY(j.append(j.make_entry(load("01", "1111", 1)), &error));
            QFile f(path);
            QVERIFY(f.open(QIODevice::Append));
            f.write(OutageJournal::encode(j.make_entry(load("02", "2222", 2))).left(40));  // no line end
        }
        OutageJournal j(path);
        QString error;
        QVERIFY(j.load(&error));
        QVERIFY(error.contains(QStringLiteral("1개")));
        QCOMPARE(orders(j), QStringList{QStringLiteral("01/1111")});
        // The next load is not glued to the torn line.
        QVERIFY(j.append(j.make_entry(load("03", "3333", 3)), &error));
        OutageJournal again(path);
        error.clear();
        QVERIFY(again.load(&error));
        QCOMPARE(error, QString());
        QCOMPARE(orders(again), (QStringList{QStringLiteral("01/1111"), QStringLiteral("03/3333")}));
    }

    void a_journal_that_cannot_be_written_says_so()
    {
        QTemporaryDir dir;
        QFile blocker(dir.filePath(QStringLiteral("file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        OutageJournal j(dir.filePath(QStringLiteral("file/outage_journal.jsonl")));  // a file, not a folder
        QString error;
        QVERIFY(!j.append(j.make_entry(load("01", "1111", 1)), &error));
        QVERIFY(error.contains(QStringLiteral("출하 대기 파일")));
        QVERIFY(j.empty());
    }

    // The disk fills up (a file-size limit) in the middle of an append: the
    // append fails, the file is as it was, and the next start reads every
    // confirmed load and nothing of the failed one.
    void a_failed_append_leaves_the_file_as_it_was_data()
    {
        QTest::addColumn<bool>("torn_before");  // a crash tore the last line earlier
        QTest::addColumn<int>("fits");  // bytes the file may still grow by; -1: all but the new line's end
        QTest::newRow("nothing fits") << false << 0;
        QTest::newRow("part of the line") << false << 30;
        QTest::newRow("all but the line end") << false << -1;
        QTest::newRow("after a torn line, nothing fits") << true << 0;
        QTest::newRow("after a torn line, the line end fits") << true << 1;
        QTest::newRow("after a torn line, part of the line") << true << 30;
        QTest::newRow("after a torn line, all but the line end") << true << -1;
    }

    void a_failed_append_leaves_the_file_as_it_was()
    {
#ifdef Q_OS_UNIX
        QFETCH(bool, torn_before);
        QFETCH(int, fits);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("outage_journal.jsonl"));
        {
            OutageJournal j(path, here);
            QString error;
            QVERIFY(j.append(j.make_entry(load("01", "1111", 1)), &error));
            QVERIFY(j.append(j.make_entry(load("02", "2222", 2)), &error));
            if (torn_before)
                add_bytes(path, OutageJournal::encode(j.make_entry(load("03", "3333", 3))).left(40));
        }
        const QByteArray before = read_all(path);

        const pid_t child = ::fork();
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead of ending the process
            OutageJournal j(path, here);
            const OutageJournal::Entry entry = j.make_entry(load("09", "9999", 9));
            const qint64 room = fits >= 0 ? fits : (torn_before ? 1 : 0) + OutageJournal::encode(entry).size();
            const rlimit limit{rlim_t(before.size() + room), rlim_t(before.size() + room)};
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
                ::_exit(9);
            QString error;
            if (j.append(entry, &error))
                ::_exit(1);
            if (!error.contains(QStringLiteral("출하 대기 파일")) || error.contains(QStringLiteral("지우지 못했")))
                ::_exit(2);
            ::_exit(j.empty() ? 0 : 3);
        }
        QVERIFY(child > 0);
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
        QCOMPARE(read_all(path), before);

        OutageJournal restarted(path, here);
        QString error;
        QVERIFY(restarted.load(&error));
        QCOMPARE(orders(restarted), (QStringList{QStringLiteral("01/1111"), QStringLiteral("02/2222")}));
        QCOMPARE(error.contains(QStringLiteral("1개")), torn_before);
#else
        QSKIP("a file-size limit needs POSIX");
#endif
    }

    void an_append_after_a_torn_line_starts_on_a_fresh_line_data()
    {
        QTest::addColumn<int>("torn");  // bytes of the torn load's line on the disk; -1: all but its end
        QTest::addColumn<QStringList>("read");
        const QString a = QStringLiteral("01/1111"), b = QStringLiteral("02/2222"), c = QStringLiteral("03/3333");
        QTest::newRow("one byte") << 1 << QStringList{a, c};
        QTest::newRow("most of the line") << 40 << QStringList{a, c};
        QTest::newRow("all but the line end") << -1 << QStringList{a, b, c};
    }

    void an_append_after_a_torn_line_starts_on_a_fresh_line()
    {
        QFETCH(int, torn);
        QFETCH(QStringList, read);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("outage_journal.jsonl"));
        OutageJournal j(path, here);
        QString error;
        QVERIFY(j.append(j.make_entry(load("01", "1111", 1)), &error));
        const QByteArray line = OutageJournal::encode(j.make_entry(load("02", "2222", 2)));
        add_bytes(path, torn < 0 ? line : line.left(torn));  // the crash, with no reading since
        QVERIFY(j.append(j.make_entry(load("03", "3333", 3)), &error));

        OutageJournal restarted(path, here);
        QVERIFY(restarted.load(&error));
        QCOMPARE(orders(restarted), read);
    }

    void the_files_are_the_owners_alone_data()
    {
        QTest::addColumn<int>("step");
        QTest::newRow("appended") << 0;
        QTest::newRow("rewritten after a removal") << 1;
        QTest::newRow("the refused file") << 2;
        QTest::newRow("a file made open to all, appended to") << 3;
        QTest::newRow("a file made open to all, rewritten") << 4;
    }

    void the_files_are_the_owners_alone()
    {
#ifdef Q_OS_UNIX
        QFETCH(int, step);
        const mode_t mask = ::umask(0);  // nothing left to the user's mask
        const auto restore = qScopeGuard([mask] { ::umask(mask); });
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("outage_journal.jsonl"));
        OutageJournal j(path, here);
        QString error;
        if (step >= 3) {
            QFile open_to_all(path);
            QVERIFY(open_to_all.open(QIODevice::WriteOnly));
            QVERIFY(open_to_all.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                               | QFileDevice::WriteGroup | QFileDevice::ReadOther
                                               | QFileDevice::WriteOther));
            for (const char *order : {"01", "02"})
                open_to_all.write(OutageJournal::encode(j.make_entry(load(order, "1111", 1))) + '\n');
        }
        if (step == 4) {
            QVERIFY(j.load(&error));
            QVERIFY(j.remove(j.entries()[0].id, &error));
        } else {
            QVERIFY(j.append(j.make_entry(load("03", "1111", 1)), &error));
            QVERIFY(j.append(j.make_entry(load("04", "2222", 2)), &error));
        }
        if (step == 1)
            QVERIFY(j.remove(j.entries()[0].id, &error));
        if (step == 2)
            QVERIFY(j.set_aside(j.entries()[0].id, &error));
        struct stat st{};
        QCOMPARE(::stat(QFile::encodeName(step == 2 ? j.rejected_path() : path).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, mode_t(0600));
#else
        QSKIP("owner-only permissions are POSIX modes");
#endif
    }

    // After the connection settings changed, the waiting loads of the old
    // database are not written into the new one: they go to the refused
    // file, each one said.
    void loads_of_another_database_are_set_aside_data()
    {
        QTest::addColumn<QStringList>("databases");  // of each line in order; empty: a line without "db"
        QTest::addColumn<QStringList>("kept");
        QTest::addColumn<QStringList>("refused");
        const QString a = QStringLiteral("01/1111"), b = QStringLiteral("02/1111"), c = QStringLiteral("03/1111");
        QTest::newRow("lines without a database are this one's")
            << QStringList{QString(), QString()} << QStringList{a, b} << QStringList{};
        QTest::newRow("another's between this one's")
            << QStringList{here, elsewhere, QString()} << QStringList{a, c} << QStringList{b};
        QTest::newRow("all another's") << QStringList{elsewhere, elsewhere} << QStringList{} << QStringList{a, b};
    }

    void loads_of_another_database_are_set_aside()
    {
        QFETCH(QStringList, databases);
        QFETCH(QStringList, kept);
        QFETCH(QStringList, refused);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("outage_journal.jsonl"));
        for (int i = 0; i < databases.size(); ++i) {
            const OutageJournal writer(path, databases[i]);
            const QByteArray order = QByteArray::number(i + 1).rightJustified(2, '0');
            add_bytes(path, OutageJournal::encode(writer.make_entry(load(order.constData(), "1111", i))) + '\n');
        }

        OutageJournal j(path, here);
        QString error;
        QVERIFY(j.load(&error));
        QCOMPARE(orders(j), kept);
        for (const auto &e : j.entries())
            QCOMPARE(e.database, here);
        const QStringList said = error.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(said.size(), refused.size());
        for (qsizetype i = 0; i < refused.size(); ++i) {
            QVERIFY2(said[i].startsWith(QStringLiteral("다른 데이터베이스의 출하")), qPrintable(said[i]));
            QVERIFY2(said[i].contains(QStringLiteral("순번 ") + refused[i].left(2)), qPrintable(said[i]));
            QVERIFY2(said[i].contains(elsewhere), qPrintable(said[i]));
        }

        OutageJournal set_aside(j.rejected_path());
        QVERIFY(set_aside.load(&error));
        QCOMPARE(orders(set_aside), refused);
        for (const auto &e : set_aside.entries())
            QCOMPARE(e.database, elsewhere);

        OutageJournal restarted(path, here);
        error.clear();
        QVERIFY(restarted.load(&error));
        QCOMPARE(error, QString());
        QCOMPARE(orders(restarted), kept);
        QCOMPARE(QFile::exists(path), !kept.isEmpty());
    }

    void a_load_of_another_database_that_cannot_be_set_aside_stays_in_the_file()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("outage_journal.jsonl"));
        for (const QString &db : {here, elsewhere}) {
            const OutageJournal writer(path, db);
            add_bytes(path, OutageJournal::encode(writer.make_entry(load(db == here ? "01" : "02", "1111", 1))) + '\n');
        }
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("outage_journal.jsonl.rejected")));  // a folder in its way

        OutageJournal j(path, here);
        QString error;
        QVERIFY(j.load(&error));
        QCOMPARE(orders(j), QStringList{QStringLiteral("01/1111")});
        QVERIFY2(error.contains(QStringLiteral("다른 데이터베이스의 출하")) && error.contains(QStringLiteral("출하 대기 파일")),
                 qPrintable(error));
        QVERIFY(j.remove(j.entries()[0].id, &error));
        QVERIFY(QFile::exists(path));

        QVERIFY(QDir(dir.path()).rmdir(QStringLiteral("outage_journal.jsonl.rejected")));
        OutageJournal restarted(path, here);
        QVERIFY(restarted.load(&error));
        QVERIFY(restarted.empty());
        QVERIFY(!QFile::exists(path));
        OutageJournal set_aside(restarted.rejected_path());
        QVERIFY(set_aside.load(&error));
        QCOMPARE(orders(set_aside), QStringList{QStringLiteral("02/1111")});
    }
};

QTEST_GUILESS_MAIN(TestOutageJournal)
#include "tst_outage_journal.moc"
