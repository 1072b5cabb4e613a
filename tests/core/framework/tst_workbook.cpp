#include "core/framework/csv_export.h"
#include "core/framework/guarded.h"
#include "core/framework/workbook.h"
#include "xlsx_check.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Lists saved for a spreadsheet: what Excel reads back from the workbook
// (types, zeros, formats, the frozen header), and the CSV choice's guards.
namespace {
workbook::Sheet plant_sheet()
{
    workbook::Sheet s;
    s.name = QStringLiteral("[차량별 출하일지]");
    s.title = QStringLiteral("[차량별 출하일지]");
    s.period = QStringLiteral("일자 : 2026-03-01 >> 2026-03-03");
    s.columns = {{QStringLiteral("순번"), {}, 4},
                 {QStringLiteral("거  래  처"), {}, 16},
                 {QStringLiteral("코드"), {}, 5, Qt::AlignCenter},
                 {QStringLiteral("출하량"), QStringLiteral("#,##0.00"), 8},
                 {QStringLiteral("횟 수"), {}, 0}};
    s.rows = {{QStringLiteral("01"), QStringLiteral("=HYPERLINK(\"x\")"), QStringLiteral("0101"), 1234.5, 3},
              {QStringLiteral("001"), QStringLiteral("\t=1+2"), QStringLiteral("1001"), 6.0, qulonglong(1)},
              {QStringLiteral("099"), QVariant(), QStringLiteral("-"), QVariant(), 0}};
    s.totals = {{QStringLiteral("합계")}, {}, {}, {1240.5, QStringLiteral("%.2n")},
                {4.0, QStringLiteral("#,##0\" 대\"")}};
    s.notes = {QStringLiteral("주문 없는 출하 1건 / 6.00 m³")};
    return s;
}
}

class TestWorkbook : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void workbook_reads_back_as_the_list()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("list.xlsx"));
        workbook::write(path, plant_sheet());
        QVERIFY(QFile::permissions(path) & QFile::ReadOther);  // not left the temporary file's owner-only
        const XlsxSheet x = read_xlsx(path);
        QCOMPARE(x.name, QStringLiteral("차량별 출하일지"));  // brackets are refused in tab names
        QCOMPARE(x.texts(0), QStringList{"[차량별 출하일지]"});
        QCOMPARE(x.texts(1), QStringList{"일자 : 2026-03-01 >> 2026-03-03"});
        QCOMPARE(x.texts(3), (QStringList{"순번", "거  래  처", "코드", "출하량", "횟 수"}));
        QCOMPARE(x.frozen_rows, 4);  // title, period, a gap and the captions stay in view
        // Codes keep their zeros, formulas stay texts, numbers are numbers.
        QCOMPARE(x.texts(4), (QStringList{"01", "=HYPERLINK(\"x\")", "0101", "1234.5", "3"}));
        QCOMPARE(x.texts(5), (QStringList{"001", "\t=1+2", "1001", "6", "1"}));
        for (int c : {0, 1, 2})
            QVERIFY(!x.rows[4][c].number && x.rows[4][c].format == QLatin1String("@"));
        QVERIFY(x.rows[4][3].number && x.rows[4][4].number && x.rows[5][4].number);
        QCOMPARE(x.rows[4][3].format, QStringLiteral("#,##0.00"));
        QCOMPARE(x.rows[4][4].format, QStringLiteral("General"));
        QCOMPARE(x.rows[4][2].align, QStringLiteral("center"));  // as the grid shows codes
        QCOMPARE(x.rows[4][0].align, QString());
        QCOMPARE(x.texts(6), (QStringList{"099", "", "-", "", "0"}));
        // The totals row in bold, in its formats; then the note.
        QCOMPARE(x.texts(7), (QStringList{"합계", "", "", "1240.5", "4"}));
        QVERIFY(x.rows[7][0].bold && x.rows[7][3].bold);
        QCOMPARE(x.rows[7][3].format, QStringLiteral("#,##0.00"));
        QCOMPARE(x.rows[7][4].format, QStringLiteral("#,##0\" 대\""));
        QCOMPARE(x.texts(8), QStringList{"주문 없는 출하 1건 / 6.00 m³"});
        // Wide enough for the widest text (Hangul counts double).
        QVERIFY(x.widths.value(1) >= 16);
        QVERIFY(x.widths.value(3) >= 8);
    }

    void csv_choice_holds_the_same_lines()
    {
        const QString text = QString::fromUtf8(csv_export::bytes(workbook::csv_lines(plant_sheet())).mid(3));
        const QStringList lines = text.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.value(0), QStringLiteral("순번,거  래  처,코드,출하량,횟 수"));
        QCOMPARE(lines.value(1), QStringLiteral("01,\"'=HYPERLINK(\"\"x\"\")\",0101,\"1,234.50\",3"));
        QCOMPARE(lines.value(2), QStringLiteral("001,'\t=1+2,1001,6.00,1"));
        QCOMPARE(lines.value(4), QStringLiteral("합계,,,\"1,240.50\",4 대"));
        QCOMPARE(lines.value(5), QStringLiteral("주문 없는 출하 1건 / 6.00 m³"));
    }

    void csv_guards_texts_a_spreadsheet_would_run_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("field");
        QTest::newRow("formula") << "=1+2" << "'=1+2";
        QTest::newRow("plus") << "+A1" << "'+A1";
        QTest::newRow("at") << "@SUM(A1)" << "'@SUM(A1)";
        QTest::newRow("tab first") << "\t=1+2" << "'\t=1+2";
        QTest::newRow("carriage return first") << "\r=1+2" << "\"'\r=1+2\"";
        QTest::newRow("negative number") << "-5" << "-5";
        QTest::newRow("code") << "0101" << "0101";
    }

    void csv_guards_texts_a_spreadsheet_would_run()
    {
        QFETCH(QString, value);
        QFETCH(QString, field);
        QCOMPARE(QString::fromUtf8(csv_export::bytes({{value}}).mid(3)), field + QStringLiteral("\r\n"));
    }

    // A file that cannot be written says so and leaves nothing behind.
    void unwritable_folder_says_so()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("gone"));
        try {
            workbook::write(QDir(folder).filePath(QStringLiteral("list.xlsx")), plant_sheet());
            QFAIL("saved into a folder that is not there");
        } catch (const ActionError &e) {
            QVERIFY2(e.message().startsWith(QStringLiteral("파일을 저장하지 못했습니다")), qPrintable(e.message()));
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    }

    // A workbook saved over an older one replaces it whole.
    void saving_again_replaces_the_file()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("list.xlsx"));
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("not a workbook");
        old.close();
        workbook::write(path, plant_sheet());
        QCOMPARE(read_xlsx(path).texts(4).value(0), QStringLiteral("01"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"list.xlsx"});
    }
};

QTEST_MAIN(TestWorkbook)
#include "tst_workbook.moc"
