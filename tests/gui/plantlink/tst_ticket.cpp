#include "core/framework/korean_text.h"
#include "gui/framework/report_output.h"
#include "report_check.h"
#include "core/plantlink/spec_split.h"
#include "gui/plantlink/ticket_report.h"
#include "window_support.h"

#include <QDir>
#include <QDirIterator>
#include <QTest>

Q_DECLARE_METATYPE(SpecParts)

namespace {
// A ticket whose every value is unique on the page, so each can be found.
TicketData filled_ticket()
{
    TicketData t;
    t.year = QStringLiteral("2024");
    t.month = QStringLiteral("11");
    t.day = QStringLiteral("28");
    t.trip_no = QStringLiteral("7");
    t.customer_name = QStringLiteral("한빛건설 주식회사");
    t.site = QStringLiteral("새솔아파트 3단지");
    t.vehicle_no = QStringLiteral("경기12가3456");
    t.driver = QStringLiteral("김철수");
    t.hour = QStringLiteral("14");
    t.minute = QStringLiteral("35");
    t.quantity = QStringLiteral("6.00");
    t.cumulative = QStringLiteral("1,234.50");
    t.max_aggregate = QStringLiteral("25");
    t.strength = QStringLiteral("240");
    t.slump = QStringLiteral("150");
    t.spec_other = QStringLiteral("고강도");
    t.cement = QStringLiteral("보통포틀랜드");
    t.admixture = QStringLiteral("AE제");
    t.admixture_rate = QStringLiteral("0.8%");
    t.shipper = QStringLiteral("박영희");
    t.ks_mark = QString();
    t.order_no = QStringLiteral("05");
    return t;
}

enum class Edge { Left, Right, Centre };

// The form: where each value must land, from the band's top-left corner.
struct Place {
    const char *text;  // the first line of the value of filled_ticket()
    double top, left, width;
    Edge edge;
};
const Place places[] = {
    {"규격외 제품", 27.3, 0.8, 18.5, Edge::Left},
    {"7", 32.0, 9.8, 11.1, Edge::Left},
    {"2024", 38.9, 5.3, 16.9, Edge::Left},
    {"11", 38.9, 26.5, 5.3, Edge::Left},
    {"28", 38.9, 40.2, 5.3, Edge::Left},
    {"한빛건설 주식회사", 47.6, 5.8, 15.3, Edge::Left},
    {"새솔아파트 3단지", 56.1, 31.5, 22.0, Edge::Left},
    {"김철수", 64.6, 95.8, 16.9, Edge::Left},
    {"경기12가3456", 64.8, 48.9, 22.0, Edge::Left},
    {"14", 73.6, 33.1, 16.9, Edge::Right},
    {"35", 73.6, 60.6, 5.3, Edge::Right},
    {"6.00", 83.3, 27.3, 20.4, Edge::Right},
    {"1,234.50", 83.3, 92.9, 22.0, Edge::Right},
    {"보통", 100.8, 8.5, 21.4, Edge::Centre},
    {"보통포틀랜드", 100.8, 95.0, 31.2, Edge::Centre},
    {"25", 101.6, 32.3, 23.5, Edge::Centre},
    {"240", 101.6, 56.9, 17.7, Edge::Centre},
    {"150", 101.6, 75.1, 19.1, Edge::Centre},
    {"AE제", 130.4, 20.1, 10.6, Edge::Left},
    {"0.8%", 130.4, 64.6, 14.0, Edge::Left},
    {"고강도", 130.4, 100.0, 17.2, Edge::Left},
    {"박영희", 145.5, 82.6, 19.1, Edge::Left},
};

constexpr double tolerance = 0.5;  // mm

// A folder that cannot be made: its parent is a plain file.
QString folder_below_a_file(const QTemporaryDir &dir)
{
    QFile file(dir.filePath(QStringLiteral("file")));
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write in the temporary folder");
    return dir.filePath(QStringLiteral("file/folder"));
}

// One plant with the ticket report printing into a PDF folder.
struct TicketBench {
    WindowPlant plant;
    QTemporaryDir out;
    ReportOutput output{out.filePath(QStringLiteral("pdf"))};
    TF_QR_SONGJANG report;

    explicit TicketBench(const QString &copy_folder = QString())
        : report(*plant.dbm, plant.prompter, plant.clock, output, copy_folder)
    {
        plant.dbm->settings.top_margin = QStringLiteral("2");
        plant.dbm->settings.left_margin = QStringLiteral("1");
    }
    TicketData &ticket() { return plant.dbm->ticket_data; }

    QStringList pdfs() const
    {
        QStringList files;
        const QDir dir(output.pdf_folder());
        for (const QString &f : dir.entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name))
            files << dir.filePath(f);
        return files;
    }
    QList<PdfWord> last_page() const
    {
        const QStringList files = pdfs();
        return files.isEmpty() ? QList<PdfWord>() : pdf_words(files.last());
    }
};

}

class TestTicket : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { install_korean_fonts(); }

    void split_rule_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<SpecParts>("parts");
        using S = QString;
        QTest::newRow("25-210-12") << S("25-210-12") << SpecParts{"25", "210", "12", ""};
        QTest::newRow("no second dash") << S("25-210") << SpecParts{"25", "", "210", ""};
        QTest::newRow("mortar") << S("몰탈") << SpecParts{"", "", "", "몰탈"};
        QTest::newRow("25-240-8") << S("25-240-8") << SpecParts{"25", "240", "8", ""};
        QTest::newRow("empty") << S() << SpecParts{};
        QTest::newRow("slump cut at five") << S("25-240-1234567") << SpecParts{"25", "240", "12345", ""};
        // The second "-" is looked for within ten characters only.
        QTest::newRow("second dash too far") << S("25-1234567890-8") << SpecParts{"25", "", "12345", ""};
        QTest::newRow("second dash tenth") << S("25-123456789-8") << SpecParts{"25", "123456789", "8", ""};
        QTest::newRow("ten without dash") << S("보통콘크리트규격외") << SpecParts{"", "", "", "보통콘크리트규격외"};
        QTest::newRow("two dashes together") << S("25--12") << SpecParts{"25", "", "12", ""};
        QTest::newRow("korean") << S("고강도-400-15") << SpecParts{"고강", "400", "15", ""};
        QTest::newRow("korean parts") << S("25-고강도-보통") << SpecParts{"25", "고강도", "보통", ""};
    }
    void split_rule()
    {
        QFETCH(QString, name);
        QFETCH(SpecParts, parts);
        QCOMPARE(split_spec(name), parts);

        TicketData t = filled_ticket();
        fill_spec_parts(t, name);
        QCOMPARE((SpecParts{t.max_aggregate, t.strength, t.slump, t.spec_other}), parts);
    }

    void every_item_at_its_place_data()
    {
        QTest::addColumn<QString>("top_margin");
        QTest::addColumn<QString>("left_margin");
        QTest::addColumn<double>("down");
        QTest::addColumn<double>("right");
        QTest::newRow("design margins") << "2" << "1" << 0.0 << 0.0;
        QTest::newRow("top 12: all 10 mm down") << "12" << "1" << 10.0 << 0.0;
        QTest::newRow("left 0: all 1 mm left") << "2" << "0" << 0.0 << -1.0;
        QTest::newRow("decimal, blanks") << " 3.5 " << "1.25" << 1.5 << 0.25;
    }
    void every_item_at_its_place()
    {
        QFETCH(QString, top_margin);
        QFETCH(QString, left_margin);
        QFETCH(double, down);
        QFETCH(double, right);
        TicketBench bench;
        bench.plant.dbm->settings.top_margin = top_margin;
        bench.plant.dbm->settings.left_margin = left_margin;
        bench.ticket() = filled_ticket();
        QVERIFY(bench.report.print_ticket());
        QCOMPARE(bench.plant.prompter.shown, QStringList());
        QCOMPARE(bench.pdfs().size(), 1);

        const QList<PdfWord> words = bench.last_page();
        const double band_top = 2 + down, band_left = 1 + right;
        for (const Place &p : places) {
            const QString text = QString::fromUtf8(p.text);
            const QList<QRectF> found = find_text(words, text);
            QVERIFY2(found.size() == 1, qPrintable(text + " found " + QString::number(found.size())
                                                   + " times in: " + all_text(words)));
            const QRectF box = found.first();
            const double x = p.edge == Edge::Left    ? box.left()
                             : p.edge == Edge::Right ? box.right()
                                                     : box.center().x();
            const double want_x = band_left + p.left
                                  + (p.edge == Edge::Left ? 0 : p.edge == Edge::Right ? p.width : p.width / 2);
            QVERIFY2(std::abs(box.top() - (band_top + p.top)) <= tolerance,
                     qPrintable(QStringLiteral("%1: top %2, want %3").arg(text).arg(box.top()).arg(band_top + p.top)));
            QVERIFY2(std::abs(x - want_x) <= tolerance,
                     qPrintable(QStringLiteral("%1: x %2, want %3").arg(text).arg(x).arg(want_x)));
        }
        // Auto widths grow away from their fixed edge instead of wrapping.
        QVERIFY(find_text(words, QStringLiteral("한빛건설 주식회사")).first().right() > band_left + 5.8 + 15.3);
        QVERIFY(find_text(words, QStringLiteral("35")).first().left() < band_left + 60.6);
        // The fixed text wraps in its box, the second line centred below the first.
        const QRectF first = find_text(words, QStringLiteral("보통")).first();
        const QList<QRectF> second = find_text(words, QStringLiteral("콘크리트"));
        QCOMPARE(second.size(), 1);
        QVERIFY(second.first().top() >= first.bottom() - 0.1);
        QVERIFY(second.first().bottom() <= band_top + 100.8 + 9.5 + tolerance);
        QVERIFY(std::abs(second.first().center().x() - (band_left + 8.5 + 21.4 / 2)) <= tolerance);
    }

    void not_ks_marking_data()
    {
        QTest::addColumn<QString>("ks_mark");
        QTest::addColumn<bool>("marked");
        QTest::newRow("KS") << "KS" << false;
        QTest::newRow("empty: product not found") << "" << true;
        QTest::newRow("lower case") << "ks" << true;
        QTest::newRow("trailing blank") << "KS " << true;
        QTest::newRow("other") << "NO" << true;
    }
    void not_ks_marking()
    {
        QFETCH(QString, ks_mark);
        QFETCH(bool, marked);
        TicketData t = filled_ticket();
        t.ks_mark = ks_mark;

        // The two bars over the form's KS box, drawn 5 design pixels thick.
        const QImage img = render_image(ticket_document(t, 2, 1));
        const double bar = 5 * 25.4 / 96;
        for (const double top : {19.6, 23.8}) {
            const QRectF inside(1 - 1.3 + 1, 2 + top + 0.65 - bar / 2 + 0.2, 20, bar - 0.4);
            QCOMPARE(darkness(img, inside) > 0.9, marked);
            const QRectF below(1 - 1.3 + 1, 2 + top + 0.65 + bar / 2 + 0.3, 20, 1.0);
            QVERIFY(darkness(img, below) < 0.05);
        }

        TicketBench bench;
        bench.ticket() = t;
        QVERIFY(bench.report.print_ticket());
        QCOMPARE(find_text(bench.last_page(), QStringLiteral("규격외 제품")).size(), marked ? 1 : 0);
    }

    void the_record_is_emptied_and_a_second_print_shows_only_the_fixed_texts()
    {
        TicketBench bench;
        bench.ticket() = filled_ticket();
        QVERIFY(bench.report.print_ticket());
        QVERIFY(bench.ticket().is_empty());

        QVERIFY(bench.report.print_ticket());
        QCOMPARE(bench.pdfs().size(), 2);
        QCOMPARE(all_text(bench.last_page()), QStringLiteral("규격외 제품 보통 콘크리트"));
    }

    void a_long_cement_text_wraps_inside_its_box()
    {
        TicketBench bench;
        bench.ticket() = filled_ticket();
        bench.ticket().cement = QStringLiteral("보통포틀랜드 시멘트 1종");
        QVERIFY(bench.report.print_ticket());
        const QList<PdfWord> words = bench.last_page();
        const QRectF box(1 + 95.0, 2 + 100.8, 31.2, 9.8);
        QList<QRectF> lines;
        for (const PdfWord &w : words)
            if (w.box.top() >= box.top() - tolerance && w.box.top() < box.bottom() + 10
                && w.box.right() > box.left() - 5 && w.box.left() < box.right() + 5)
                lines << w.box;
        QStringList texts;
        for (const PdfWord &w : words)
            if (lines.contains(w.box))
                texts << w.text;
        QCOMPARE(texts.join(QLatin1Char(' ')).remove(QLatin1Char(' ')),
                 QStringLiteral("보통포틀랜드시멘트1종"));
        QVERIFY(lines.size() >= 2);
        QVERIFY(lines.last().top() > lines.first().bottom() - 0.1);  // a second line
        for (const QRectF &l : lines) {
            QVERIFY2(l.left() >= box.left() - 0.1 && l.right() <= box.right() + 0.1,
                     qPrintable(QStringLiteral("line %1..%2 outside %3..%4")
                                    .arg(l.left()).arg(l.right()).arg(box.left()).arg(box.right())));
            QVERIFY(l.bottom() <= box.bottom() + tolerance);
        }
    }

    void failures_print_nothing_and_keep_the_record_data()
    {
        QTest::addColumn<QString>("top_margin");
        QTest::addColumn<QString>("left_margin");
        QTest::addColumn<QString>("printer");  // "pdf" prints to the folder
        QTest::addColumn<QString>("message");
        QTest::newRow("top empty") << "" << "1" << "pdf" << "윗여백";
        QTest::newRow("top not a number") << "abc" << "1" << "pdf" << "윗여백 설정 \"abc\"";
        QTest::newRow("left with unit") << "2" << "1mm" << "pdf" << "왼쪽여백 설정 \"1mm\"";
        QTest::newRow("left empty") << "2" << "" << "pdf" << "왼쪽여백";
        QTest::newRow("not finite") << "inf" << "1" << "pdf" << "윗여백";
        QTest::newRow("no printer") << "2" << "1" << "" << "프린터가 없습니다";
        QTest::newRow("unknown printer") << "2" << "1" << "no-such-printer" << "no-such-printer";
        QTest::newRow("PDF not writable") << "2" << "1" << "unwritable" << "PDF 파일을 쓸 수 없습니다";
    }
    void failures_print_nothing_and_keep_the_record()
    {
        QFETCH(QString, top_margin);
        QFETCH(QString, left_margin);
        QFETCH(QString, printer);
        QFETCH(QString, message);
        WindowPlant plant;
        plant.dbm->settings.top_margin = top_margin;
        plant.dbm->settings.left_margin = left_margin;
        QTemporaryDir out;
        QString folder;
        if (printer == QLatin1String("pdf")) {
            folder = out.filePath(QStringLiteral("pdf"));
        } else if (printer == QLatin1String("unwritable")) {
            folder = folder_below_a_file(out);
        }
        ReportOutput output(folder);
        output.default_printer_name = [printer] { return printer; };
        TF_QR_SONGJANG report(*plant.dbm, plant.prompter, plant.clock, output,
                              out.filePath(QStringLiteral("copies")));
        plant.dbm->ticket_data = filled_ticket();

        QVERIFY(!report.print_ticket());
        QCOMPARE(plant.prompter.errors.size(), 1);
        QVERIFY2(plant.prompter.errors.first().contains(message), qPrintable(plant.prompter.errors.first()));
        QCOMPARE(plant.dbm->ticket_data.year, QStringLiteral("2024"));
        QCOMPARE(plant.dbm->ticket_data.shipper, QStringLiteral("박영희"));
        QCOMPARE(plant.dbm->ticket_data.order_no, QStringLiteral("05"));
        QStringList written;
        for (QDirIterator it(out.path(), {QStringLiteral("*.pdf")}, QDir::Files, QDirIterator::Subdirectories);
             it.hasNext();)
            written << it.next();
        QCOMPARE(written, QStringList());
    }

    void margins_are_read_before_every_print_and_kept_for_the_hand_ticket()
    {
        TicketBench bench;
        const auto top_of = [&bench] {
            return find_text(bench.last_page(), QStringLiteral("보통")).first().top();
        };
        QVERIFY(bench.report.print());  // before any ticket: the design margins
        QVERIFY(std::abs(top_of() - (2 + 100.8)) <= tolerance);

        bench.plant.dbm->settings.top_margin = QStringLiteral("12");  // the settings dialog
        QVERIFY(bench.report.print_ticket());
        QVERIFY(std::abs(top_of() - (12 + 100.8)) <= tolerance);

        bench.plant.dbm->settings.top_margin = QStringLiteral("abc");
        QVERIFY(bench.report.print());  // keeps 12, does not read the settings
        QVERIFY(std::abs(top_of() - (12 + 100.8)) <= tolerance);
        QCOMPARE(bench.plant.prompter.shown, QStringList());
    }

    void a_copy_of_every_printed_ticket_is_kept()
    {
        QTemporaryDir copies;
        TicketBench bench(copies.path());
        bench.ticket() = filled_ticket();
        QVERIFY(bench.report.print_ticket());
        bench.ticket() = filled_ticket();
        QVERIFY(bench.report.print_ticket());  // a reprint keeps the first copy

        const QString first = copies.filePath(QStringLiteral("2024-11-28/2024-11-28_05_007_08-30-00.pdf"));
        const QString second = copies.filePath(QStringLiteral("2024-11-28/2024-11-28_05_007_08-30-00_2.pdf"));
        QVERIFY(QFileInfo::exists(first));
        QVERIFY(QFileInfo::exists(second));
        QCOMPARE(all_text(pdf_words(first)), all_text(bench.last_page()));
        QCOMPARE(find_text(pdf_words(first), QStringLiteral("한빛건설 주식회사")).size(), 1);
    }

    void copy_names_data()
    {
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("order_no");
        QTest::addColumn<QString>("trip_no");
        QTest::addColumn<QString>("path");
        QTest::newRow("order and trip") << "2024" << "05" << "12" << "2024-11-28/2024-11-28_05_012_08-30-00.pdf";
        QTest::newRow("auto ticket book") << "2024" << "Y03" << "1" << "2024-11-28/2024-11-28_Y03_001_08-30-00.pdf";
        QTest::newRow("hand ticket: no order, no trip") << "2024" << "" << "" << "2024-11-28/2024-11-28_00_000_08-30-00.pdf";
        QTest::newRow("no date: the print date") << "" << "05" << "3" << "2026-12-10/2026-12-10_05_003_08-30-00.pdf";
        QTest::newRow("unsafe order text") << "2024" << "../5" << "x" << "2024-11-28/2024-11-28_5_000_08-30-00.pdf";
    }
    void copy_names()
    {
        QFETCH(QString, year);
        QFETCH(QString, order_no);
        QFETCH(QString, trip_no);
        QFETCH(QString, path);
        TicketData t = filled_ticket();
        t.year = year;
        t.order_no = order_no;
        t.trip_no = trip_no;
        QTemporaryDir dir;
        QCOMPARE(TF_QR_SONGJANG::copy_path(dir.path(), t, FakeClock().now()), dir.filePath(path));
    }

    void a_copy_that_cannot_be_written_is_shown_but_the_ticket_counts_as_printed()
    {
        QTemporaryDir dir;
        TicketBench bench(folder_below_a_file(dir));
        bench.ticket() = filled_ticket();
        QVERIFY(bench.report.print_ticket());
        QCOMPARE(bench.pdfs().size(), 1);
        QVERIFY(bench.ticket().is_empty());
        QCOMPARE(bench.plant.prompter.errors.size(), 1);
        QVERIFY(bench.plant.prompter.errors.first().startsWith(QStringLiteral("송장은 인쇄했으나")));
    }
};

QTEST_MAIN(TestTicket)
#include "tst_ticket.moc"
