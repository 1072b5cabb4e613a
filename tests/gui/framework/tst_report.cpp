#include "core/framework/guarded.h"
#include "core/framework/korean_text.h"
#include "core/framework/report.h"
#include "core/framework/report_pdf.h"
#include "gui/framework/report_output.h"
#include "report_check.h"
#include "window_support.h"

#include <QDir>
#include <QDialog>
#include <QPrintPreviewWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace report;

namespace {
// An A5 page with margins 10 (left) and 20 (top) and one band of the items.
Document one_band(QList<Item> items, double band_height = 100)
{
    Document doc;
    doc.title = QStringLiteral("시험");
    doc.setup.paper = QPageSize(QPageSize::A5);
    doc.setup.margins = QMarginsF(10, 20, 10, 10);
    Page page;
    page.append(Band{QStringLiteral("detail"), band_height, std::move(items)});
    doc.pages << page;
    return doc;
}

Text text(const QString &s, QRectF box, Align align, bool auto_width, bool wrap, double size = 12)
{
    return Text{QStringLiteral("t"), box, s, Font{QStringLiteral("굴림"), size, false}, align, auto_width, wrap};
}

QString pdf_of(const QTemporaryDir &dir, const Document &doc)
{
    const QString path = dir.filePath(QStringLiteral("t.pdf"));
    report::write_pdf(doc, path);
    return path;
}
}

class TestReport : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { install_korean_fonts(); }

    // Where a text lands: x of its fixed edge (left, right or middle) and
    // its top, in mm from the paper's corner.
    void text_edges_data()
    {
        QTest::addColumn<int>("align");
        QTest::addColumn<bool>("auto_width");
        QTest::addColumn<QString>("edge");
        QTest::addColumn<double>("x");
        // The box: 30 from the band's left, 20 wide, so 40..60 on the page; top 25.
        QTest::newRow("left auto grows right") << int(Align::Left) << true << "left" << 40.0;
        QTest::newRow("right auto grows left") << int(Align::Right) << true << "right" << 60.0;
        QTest::newRow("centred auto both ways") << int(Align::Centre) << true << "centre" << 50.0;
        QTest::newRow("centred fixed") << int(Align::Centre) << false << "centre" << 50.0;
        QTest::newRow("right fixed") << int(Align::Right) << false << "right" << 60.0;
    }
    void text_edges()
    {
        QFETCH(int, align);
        QFETCH(bool, auto_width);
        QFETCH(QString, edge);
        QFETCH(double, x);
        const QString s = auto_width ? QStringLiteral("길게 자라는 글자 줄") : QStringLiteral("가나");
        QTemporaryDir dir;
        const auto words = pdf_words(pdf_of(dir, one_band({text(s, QRectF(30, 5, 20, 6), Align(align),
                                                                   auto_width, !auto_width)})));
        const QList<QRectF> found = find_text(words, s);
        QCOMPARE(found.size(), 1);
        const QRectF b = found.first();
        const double at = edge == QLatin1String("left") ? b.left() : edge == QLatin1String("right") ? b.right()
                                                                                                    : b.center().x();
        QVERIFY2(std::abs(at - x) < 0.2, qPrintable(QString::number(at)));
        QVERIFY(std::abs(b.top() - 25) < 0.2);
        if (auto_width)
            QVERIFY(b.width() > 20);  // wider than the box, on one line
    }

    void a_wrapping_box_prints_the_whole_lines_that_fit()
    {
        // Three lines of 12 pt (about 5 mm each) in a box 11 mm high.
        QTemporaryDir dir;
        const auto words = pdf_words(pdf_of(dir, one_band({text(QStringLiteral("하나 둘둘 셋셋"),
                                                                 QRectF(0, 0, 12, 11), Align::Left, false, true)})));
        QCOMPARE(all_text(words), QStringLiteral("하나 둘둘"));
        QVERIFY(find_text(words, QStringLiteral("둘둘")).first().top()
                > find_text(words, QStringLiteral("하나")).first().bottom() - 0.1);

        // A box lower than one line still prints its first line.
        const auto low = pdf_words(pdf_of(dir, one_band({text(QStringLiteral("하나 둘둘"),
                                                              QRectF(0, 0, 12, 2), Align::Left, false, true)})));
        QCOMPARE(all_text(low), QStringLiteral("하나"));
    }

    void a_fixed_box_without_wrap_is_cut_at_its_edge()
    {
        const Document doc = one_band({text(QStringLiteral("WWWWWWWWWWWWWWWW"), QRectF(0, 0, 15, 6),
                                            Align::Left, false, false)});
        const QImage img = render_image(doc);
        QVERIFY(darkness(img, QRectF(10, 20, 15, 6)) > 0.05);
        QVERIFY(darkness(img, QRectF(25.2, 19, 40, 8)) == 0);
    }

    void lines_frames_and_pictures_fill_their_boxes()
    {
        QImage red(2, 2, QImage::Format_RGB32);
        red.fill(Qt::red);
        const Document doc = one_band({
            Line{QStringLiteral("h"), QRectF(0, 0, 50, 2), Qt::Horizontal, 1.0},
            Line{QStringLiteral("v"), QRectF(60, 0, 2, 30), Qt::Vertical, 1.0},
            Frame{QStringLiteral("f"), QRectF(0, 40, 40, 20), 0.5},
            Picture{QStringLiteral("p"), QRectF(80, 40, 30, 10), red},
        });
        const QImage img = render_image(doc);
        // Paper corner = band corner + (10, 20).
        QVERIFY(darkness(img, QRectF(10.5, 20.6, 49, 0.8)) > 0.95);  // through the middle, 1 mm thick
        QVERIFY(darkness(img, QRectF(10.5, 19.0, 49, 0.4)) < 0.01);
        QVERIFY(darkness(img, QRectF(70.6, 20.5, 0.8, 29)) > 0.95);
        QVERIFY(darkness(img, QRectF(10, 60 - 0.2, 40, 0.4)) > 0.8);  // the frame's top edge
        QVERIFY(darkness(img, QRectF(12, 62, 36, 16)) < 0.01);         // hollow
        const QImage pic = img.copy(QRectF(QPointF(91, 61) * 10, QSizeF(28, 8) * 10).toRect());
        QCOMPARE(pic.pixelColor(0, 0), QColor(Qt::red));
        QCOMPARE(pic.pixelColor(pic.width() - 1, pic.height() - 1), QColor(Qt::red));
        QCOMPARE(img.pixelColor(QPoint(121, 605)), QColor(Qt::white));  // right of the picture
    }

    void pages_and_stacked_bands()
    {
        Document doc = one_band({text(QStringLiteral("첫장"), QRectF(0, 0, 30, 5), Align::Left, true, false)}, 30);
        Page second;
        second.append(Band{QStringLiteral("header"), 30,
                           {text(QStringLiteral("머리"), QRectF(0, 0, 30, 5), Align::Left, true, false)}});
        second.append(Band{QStringLiteral("detail"), 8,
                           {text(QStringLiteral("둘째"), QRectF(5, 1, 30, 5), Align::Left, true, false)}});
        QCOMPARE(second.used_height(), 38.0);
        doc.pages << second;
        QCOMPARE(doc.setup.body_height(), 210.0 - 20 - 10);

        QTemporaryDir dir;
        const QString pdf = pdf_of(dir, doc);
        QCOMPARE(all_text(pdf_words(pdf, 1)), QStringLiteral("첫장"));
        const auto words = pdf_words(pdf, 2);
        QCOMPARE(all_text(words), QStringLiteral("머리 둘째"));
        const QRectF b = find_text(words, QStringLiteral("둘째")).first();
        QVERIFY(std::abs(b.top() - (20 + 30 + 1)) < 0.2);
        QVERIFY(std::abs(b.left() - (10 + 5)) < 0.2);
    }

    void landscape_pages_are_turned()
    {
        Document doc = one_band({text(QStringLiteral("가로"), QRectF(150, 0, 30, 5), Align::Left, true, false)});
        doc.setup.orientation = QPageLayout::Landscape;
        QCOMPARE(doc.setup.paper_size(), QSizeF(210, 148));
        QTemporaryDir dir;
        const QRectF b = find_text(pdf_words(pdf_of(dir, doc)), QStringLiteral("가로")).first();
        QVERIFY(std::abs(b.left() - 160) < 0.2);
    }

    void the_pdf_folder_takes_every_print()
    {
        QTemporaryDir dir;
        ReportOutput output(dir.filePath(QStringLiteral("out")));
        output.default_printer_name = [] { return QStringLiteral("must not be used"); };
        const Document doc = one_band({text(QStringLiteral("인쇄"), QRectF(0, 0, 30, 5), Align::Left, true, false)});
        const QString first = output.print(doc);
        const QString second = output.print(doc);
        QVERIFY(first != second);
        QVERIFY(QFileInfo(first).fileName().startsWith(QStringLiteral("시험_")));
        QCOMPARE(QDir(output.pdf_folder()).entryList(QDir::Files).size(), 2);
        QCOMPARE(all_text(pdf_words(second)), QStringLiteral("인쇄"));
    }

    void without_a_printer_nothing_is_printed_silently()
    {
        ReportOutput output;
        output.default_printer_name = [] { return QString(); };
        try {
            output.print(one_band({}));
            QFAIL("printed without a printer");
        } catch (const ActionError &e) {
            QVERIFY(e.message().contains(QStringLiteral("프린터가 없습니다")));
        }
    }

    void the_preview_shows_every_page()
    {
        Document doc = one_band({text(QStringLiteral("미리"), QRectF(0, 0, 30, 5), Align::Left, true, false)});
        doc.pages << doc.pages.first();
        ReportOutput output;
        output.default_printer_name = [] { return QString(); };
        int pages = -1;
        on_next_modal([&pages](QWidget *modal) {
            auto *view = modal->findChild<QPrintPreviewWidget *>();
            pages = view ? view->pageCount() : -2;
            qobject_cast<QDialog *>(modal)->reject();
        });
        output.preview(doc, nullptr);
        QCOMPARE(pages, 2);
    }
};

QTEST_MAIN(TestReport)
#include "tst_report.moc"
