#include "auto_ticket_test.h"
#include "window_test.h"
#include "gui/framework/date_box.h"
#include "core/framework/korean_text.h"
#include "gui/framework/report_output.h"
#include "gui/plantlink/ticket_report.h"
#include "report_check.h"
#include "core/shipments/auto_ticket_fill.h"
#include "gui/shipments/auto_ticket_window.h"

#include <QDir>
#include <QLineEdit>
#include <QTableView>

Q_DECLARE_METATYPE(SpecParts)

namespace {
constexpr const char *today = "2026-12-10";
constexpr double tolerance = 0.6;  // mm

// The auto ticket book printing into a PDF folder at the design margins
// (top 2, left 1), with order 1 of the day: 25-240-15, three loads.
struct PrintBench : AutoBookPlant {
    QTemporaryDir out;
    ReportOutput output{out.filePath(QStringLiteral("pdf"))};
    TF_QR_SONGJANG report{*dbm, prompter, clock, output};

    explicit PrintBench(const char *spec = "25-240-15")
    {
        dbm->settings.top_margin = QStringLiteral("2");
        dbm->settings.left_margin = QStringLiteral("1");
        ctx.reports = &output;
        ctx.qr_songjang = &report;
        add_order(today, "1", 18, "08:00", "00", spec);
        add_load(today, "1", "001", "08:00", "80-1101-1", 6, 6);
        add_load(today, "1", "002", "08:02", "80-1103-1", 6, 12);
        add_load(today, "1", "003", "08:04", "80-1101-1", 6, 18);
    }

    QStringList pdfs() const
    {
        const QDir dir(output.pdf_folder());
        QStringList files;
        for (const QString &f : dir.entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name))
            files << dir.filePath(f);
        return files;
    }
};

// Where the form's item at (top, left) of the band lands on the page.
QPointF on_page(double top, double left)
{
    return {left + 1, top + 2};
}

bool starts_at(const QList<PdfWord> &words, const QString &text, double top, double left)
{
    for (const QRectF &box : find_text(words, text))
        if (qAbs(box.left() - on_page(top, left).x()) < tolerance && qAbs(box.top() - on_page(top, left).y()) < 1.5)
            return true;
    return false;
}

bool centred_in(const QList<PdfWord> &words, const QString &text, double top, double left, double width)
{
    for (const QRectF &box : find_text(words, text))
        if (qAbs(box.center().x() - on_page(top, left + width / 2).x()) < tolerance
            && qAbs(box.top() - on_page(top, left).y()) < 1.5)
            return true;
    return false;
}

// The trip number each printed ticket carries, file by file.
QStringList trip_numbers(const QStringList &pdfs)
{
    QStringList trips;
    for (const QString &f : pdfs) {
        const QList<PdfWord> words = pdf_words(f);
        for (const PdfWord &w : words)
            if (qAbs(w.box.left() - on_page(32.0, 9.8).x()) < tolerance
                && qAbs(w.box.top() - on_page(32.0, 9.8).y()) < 1.5)
                trips << w.text;
    }
    return trips;
}
}

class TestAutoTicketPrint : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { install_korean_fonts(); }

    void specification_parts_data()
    {
        QTest::addColumn<QString>("spec");
        QTest::addColumn<SpecParts>("single");
        QTest::addColumn<SpecParts>("range");
        using S = QString;
        QTest::newRow("25-240-15") << S("25-240-15") << SpecParts{"25", "240", "15", ""} << SpecParts{"25", "240", "15", ""};
        QTest::newRow("leading figure of three") << S("100-240-15") << SpecParts{"100", "240", "15", ""}
                                                 << SpecParts{"100", "240", "15", ""};
        QTest::newRow("leading figure of one") << S("8-180-12") << SpecParts{"8", "180", "12", ""}
                                               << SpecParts{"8", "180", "12", ""};
        QTest::newRow("one dash") << S("25-210") << SpecParts{"25", "", "210", ""} << SpecParts{"25", "", "210", ""};
        QTest::newRow("no dash") << S("몰탈") << SpecParts{"", "몰탈", "", ""} << SpecParts{"", "", "", "몰탈"};
        QTest::newRow("empty") << S() << SpecParts{} << SpecParts{};
    }
    void specification_parts()
    {
        QFETCH(QString, spec);
        QFETCH(SpecParts, single);
        QFETCH(SpecParts, range);
        QCOMPARE(split_yusa_spec(spec, YusaTicketKind::Single), single);
        QCOMPARE(split_yusa_spec(spec, YusaTicketKind::Range), range);
    }

    // 25-240-15 prints 25, 240 and 15; load 003 prints 3; the single
    // ticket carries the vehicle's code.
    void the_single_ticket()
    {
        PrintBench b;
        TF_CHOLHAAUTO w(b.ctx);
        QVERIFY(open_active(&w));
        click_row(w.cholha_grid, 2);
        click(w.chprn_btn);
        QCOMPARE(b.prompter.shown, QStringList());
        QCOMPARE(b.pdfs().size(), 1);
        const QList<PdfWord> words = pdf_words(b.pdfs().first());
        QVERIFY(starts_at(words, "3", 32.0, 9.8));
        QVERIFY(starts_at(words, "2026", 38.9, 5.3));
        QVERIFY(starts_at(words, "12", 38.9, 26.5));
        QVERIFY(starts_at(words, "10", 38.9, 40.2));
        QVERIFY(starts_at(words, "한빛건설", 47.6, 5.8));
        QVERIFY(starts_at(words, "한빛 현장", 56.1, 31.5));
        QVERIFY(starts_at(words, "80-1101-1", 64.8, 48.9));
        QVERIFY(find_text(words, "1101").isEmpty());
        QVERIFY(starts_at(words, "김기사", 64.6, 95.8));
        QVERIFY(!find_text(words, "08").isEmpty() && !find_text(words, "04").isEmpty());
        QVERIFY(!find_text(words, "6.00").isEmpty() && !find_text(words, "18.00").isEmpty());
        QVERIFY(centred_in(words, "25", 101.6, 32.3, 23.5));
        QVERIFY(centred_in(words, "240", 101.6, 56.9, 17.7));
        QVERIFY(centred_in(words, "15", 101.6, 75.1, 19.1));
        QVERIFY(starts_at(words, "홍길동", 145.5, 82.6));
        QVERIFY(starts_at(words, "0.5%", 130.4, 64.6));
        // 25-240-15 is KS in the specifications: no not-KS marking.
        QVERIFY(find_text(words, "규격외 제품").isEmpty());
        QVERIFY(b.dbm->ticket_data.is_empty());
    }

    // The range prints the vehicle's number, the loads by their place.
    void the_range()
    {
        PrintBench b;
        TF_CHOLHAAUTO w(b.ctx);
        QVERIFY(open_active(&w));
        w.first_seq_edit->setText("1");
        press_enter(w.first_seq_edit);
        QCOMPARE(w.first_seq_edit->text(), QStringLiteral("001"));
        QVERIFY(w.last_seq_edit->hasFocus());
        QTest::keyClicks(w.last_seq_edit, "3");
        QTest::keyClick(w.last_seq_edit, Qt::Key_Return);
        QCOMPARE(w.last_seq_edit->text(), QStringLiteral("003"));
        QVERIFY(w.prn_btn->hasFocus());
        click(w.prn_btn);
        QCOMPARE(b.prompter.shown, QStringList());
        const QStringList files = b.pdfs();
        QCOMPARE(trip_numbers(files), (QStringList{"1", "2", "3"}));
        QStringList vehicles;
        for (const QString &f : files) {
            const QList<PdfWord> words = pdf_words(f);
            for (const char *number : {"1101", "1103"})
                if (starts_at(words, number, 64.8, 48.9))
                    vehicles << number;
            QVERIFY(find_text(words, "80-1101-1").isEmpty() && find_text(words, "80-1103-1").isEmpty());
            QVERIFY(centred_in(words, "240", 101.6, 56.9, 17.7));
        }
        QCOMPARE(vehicles, (QStringList{"1101", "1103", "1101"}));
    }

    // A specification without "-": the single ticket prints it as the
    // strength, the range as the other specification; not KS either way.
    void a_specification_without_dash_data()
    {
        QTest::addColumn<bool>("single");
        QTest::newRow("single") << true;
        QTest::newRow("range") << false;
    }
    void a_specification_without_dash()
    {
        QFETCH(bool, single);
        PrintBench b("몰탈");
        TF_CHOLHAAUTO w(b.ctx);
        QVERIFY(open_active(&w));
        if (single) {
            click(w.chprn_btn);
        } else {
            w.first_seq_edit->setText("001");
            w.last_seq_edit->setText("001");
            click(w.prn_btn);
        }
        QCOMPARE(b.pdfs().size(), 1);
        const QList<PdfWord> words = pdf_words(b.pdfs().first());
        QCOMPARE(centred_in(words, "몰탈", 101.6, 56.9, 17.7), single);
        QCOMPARE(starts_at(words, "몰탈", 130.4, 100.0), !single);
        QVERIFY(!find_text(words, "규격외 제품").isEmpty());
    }

    // Nothing prints an empty ticket; what is not printed is said.
    void what_cannot_be_printed_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::addColumn<QStringList>("trips");
        QTest::addColumn<QString>("message");  // a part of it; "" for none
        QTest::newRow("beyond the last load") << "002" << "005" << QStringList{"2", "3"} << "3건";
        QTest::newRow("all beyond") << "004" << "006" << QStringList{} << "3건";
        QTest::newRow("place 0") << "000" << "001" << QStringList{"1"} << "3건";
        QTest::newRow("last before first: nothing") << "003" << "002" << QStringList{} << "";
        QTest::newRow("not a number") << "0a1" << "003" << QStringList{} << "숫자";
        QTest::newRow("empty") << "" << "003" << QStringList{} << "숫자";
    }
    void what_cannot_be_printed()
    {
        QFETCH(QString, first);
        QFETCH(QString, last);
        QFETCH(QStringList, trips);
        QFETCH(QString, message);
        PrintBench b;
        TF_CHOLHAAUTO w(b.ctx);
        QVERIFY(open_active(&w));
        w.first_seq_edit->setText(first);
        w.last_seq_edit->setText(last);
        click(w.prn_btn);
        QCOMPARE(trip_numbers(b.pdfs()), trips);
        if (message.isEmpty()) {
            QCOMPARE(b.prompter.shown, QStringList());
        } else {
            QCOMPARE(b.prompter.shown.size(), 1);
            QVERIFY2(b.prompter.last().contains(message), qPrintable(b.prompter.last()));
        }
    }

    void a_single_ticket_needs_a_load()
    {
        PrintBench b;
        b.exec("delete from yu_cholha");
        TF_CHOLHAAUTO w(b.ctx);
        QVERIFY(open_active(&w));
        click(w.chprn_btn);
        QCOMPARE(b.pdfs(), QStringList());
        QVERIFY2(b.prompter.last().contains(QStringLiteral("출하 자료가 없습니다")), qPrintable(b.prompter.last()));

        // Shown in the grid but deleted by another PC since.
        b.add_load(today, "1", "001");
        w.ilja_combo->set_text_date("2026-12-09");
        w.ilja_combo->set_text_date(today);
        QCOMPARE(w.cholha_query->rowCount(), 1);
        b.exec("delete from yu_cholha");
        b.prompter.clear();
        click(w.chprn_btn);
        QCOMPARE(b.pdfs(), QStringList());
        QCOMPARE(b.prompter.shown.size(), 1);
    }

    // A ticket that fails stops the run and says which were not printed.
    void a_failed_ticket_stops_the_range()
    {
        PrintBench b;
        b.dbm->settings.top_margin = QStringLiteral("x");
        TF_CHOLHAAUTO w(b.ctx);
        QVERIFY(open_active(&w));
        w.first_seq_edit->setText("001");
        w.last_seq_edit->setText("003");
        click(w.prn_btn);
        QCOMPARE(b.pdfs(), QStringList());
        QCOMPARE(b.prompter.shown.size(), 2);
        QVERIFY2(b.prompter.last().contains(QStringLiteral("1번부터 3번까지")), qPrintable(b.prompter.last()));
    }
};

QTEST_MAIN(TestAutoTicketPrint)
#include "tst_auto_ticket_print_db.moc"
