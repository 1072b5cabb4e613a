#include "core/plantlink/outage_journal.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using shipment_recording::Input;

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

    static QStringList orders(const OutageJournal &j)
    {
        QStringList s;
        for (const auto &e : j.entries())
            s << e.load.order_no + QLatin1Char('/') + e.load.vehicle_no;
        return s;
    }

private Q_SLOTS:
    void what_is_appended_comes_back_the_same()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("data/outage_journal.jsonl"));
        OutageJournal j(path);
        QString error;
        QVERIFY(j.append(j.make_entry(load("01", "1111", 5)), &error));
        QVERIFY(j.append(j.make_entry(load("02", "2222", 6, true)), &error));

        OutageJournal read(path);
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
};

QTEST_GUILESS_MAIN(TestOutageJournal)
#include "tst_outage_journal.moc"
