#include "core/framework/korean_text.h"
#include "core/framework/report_pdf.h"
#include "gui/framework/report_output.h"
#include "core/orders/order_sheet.h"
#include "gui/orders/order_sheet_preview.h"
#include "report_check.h"
#include "window_support.h"

#include <QPrintPreviewDialog>
#include <QTemporaryDir>
#include <QTest>

using namespace report;

// The day's order sheet on paper.
class TestOrderSheet : public QObject {
    Q_OBJECT

    static void masters(const WindowPlant &p)
    {
        p.exec("insert into customer (saup, grcd, name, kawn_sa) values ('AA', 'S001', '민간건설', 'S'),"
               " ('AA', 'K001', '시청', 'K'), ('AA', 'L001', '교육청', 'L')");
        p.exec("insert into r_hyunjang (saup, grcd, code, name, man_code, ground_tel) values"
               " ('AA', 'S001', '001', '아파트', '01', '010-1111-2222'), ('AA', 'K001', '001', '도로', '02', '031-555-0000'),"
               " ('AA', 'L001', '001', '학교', '01', '02-333-4444'), ('AA', 'S001', '002', '창고', '99', '')");
        p.exec("insert into youngup (code, man) values ('01', '김영업'), ('02', '이영업')");
        p.exec("insert into enrol (name, japum) values ('벨다로레미콘(주)', '레미콘')");
    }

    static void order(const WindowPlant &p, int seq, const char *grcd, const char *code, double m3,
                      const QString &station = QStringLiteral("현장"), const char *rule = "25-240-15")
    {
        p.exec("insert into r_suju (ilja, seq, grcd, v_inout, code, v_station, time_, v_rule, order_m3, memo, v_state)"
               " values ('2026-03-02', :s, :g, :n, :c, :st, '08:30', :r, :m, '오전 타설', 'YES')",
               {{":s", QStringLiteral("%1").arg(seq, 2, 10, QLatin1Char('0'))}, {":g", grcd},
                {":n", QStringLiteral("거래처%1").arg(seq)}, {":c", code}, {":st", station}, {":r", rule},
                {":m", m3}});
    }

    static Document sheet(const WindowPlant &p, QString *error = nullptr)
    {
        return order_sheet(p.db(), p.clock, "2026-03-02", error);
    }

    static QString pdf(const QTemporaryDir &dir, const Document &doc)
    {
        const QString path = dir.filePath("sheet.pdf");
        report::write_pdf(doc, path);
        if (qEnvironmentVariableIsSet("VELDARO_SHOTS"))
            report::write_pdf(doc, qEnvironmentVariable("VELDARO_SHOTS") + "/" +
                                             QTest::currentTestFunction() + ".pdf");
        return path;
    }

    // Which details of each page carry the separator line, as order numbers.
    static QStringList lined_orders(const Document &doc)
    {
        QStringList lined;
        for (const Page &page : doc.pages)
            for (const PlacedBand &b : page.bands) {
                if (b.band.name != QLatin1String("Detail"))
                    continue;
                for (const Item &item : b.band.items)
                    if (std::holds_alternative<Line>(item))
                        lined << std::get<Text>(b.band.items.first()).text;
            }
        return lined;
    }

    static bool has_picture(const Page &page)
    {
        for (const PlacedBand &b : page.bands)
            for (const Item &item : b.band.items)
                if (std::holds_alternative<Picture>(item))
                    return true;
        return false;
    }

private Q_SLOTS:
    void initTestCase() { install_korean_fonts(); }

    void a_day_without_orders_prints_one_page()
    {
        WindowPlant p;
        masters(p);
        QTemporaryDir dir;
        const Document doc = sheet(p);
        QCOMPARE(doc.pages.size(), 1);
        const QList<PdfWord> words = pdf_words(pdf(dir, doc));
        const QString all = all_text(words);
        QVERIFY2(all.startsWith("[레미콘 출하 예정표]"), qPrintable(all));
        QCOMPARE(find_text(words, "0.00").size(), 3);
        for (const char *s : {"[사급] :", "[관급] :", "[총합계] :", "출력일자 :2026-12-10 08:30:00", "페이지 :1",
                              "A4.(210*297)", "출하예정일 :", "2026-03-02", "벨다로레미콘(주)"})
            QVERIFY2(!find_text(words, QString::fromUtf8(s)).isEmpty(), s);
        // The header below the 30 mm margin, the footer at the bottom of the 10 mm one.
        QVERIFY(std::abs(find_text(words, "레미콘").value(0).left() - (10 + 25.1)) < 0.3);  // enrol_product
        QVERIFY(std::abs(find_text(words, "[레미콘 출하 예정표]").first().right() - (10 + 86.3)) < 0.5);
        QVERIFY(std::abs(find_text(words, "벨다로레미콘(주)").first().center().x() - (10 + 93.7)) < 0.3);
        QVERIFY(find_text(words, "A4.(210*297)").first().bottom() < 287 && find_text(words, "A4.(210*297)").first().top() > 287 - 11.9);
        QVERIFY(std::abs(find_text(words, "0.00").first().right() - (10 + 38.1 + 29.9)) < 0.3);
    }

    void totals_by_customer_class()
    {
        WindowPlant p;
        masters(p);
        order(p, 1, "S001", "001", 10);
        order(p, 2, "K001", "001", 20.5);
        order(p, 3, "L001", "001", 5);       // class L is private on this sheet
        order(p, 4, "S001", "009", 1.25);    // site row missing: listed, counted
        order(p, 5, "S001", "002", 1000);    // sales person missing
        QTemporaryDir dir;
        const QList<PdfWord> words = pdf_words(pdf(dir, sheet(p)));
        const QRectF s = find_text(words, "1,016.25").value(0);
        const QRectF k = find_text(words, "20.50").last();  // the order's own first
        const QRectF tot = find_text(words, "1,036.75").value(0);
        QVERIFY(std::abs(s.right() - (10 + 68.0)) < 0.3);
        QVERIFY(std::abs(k.right() - (10 + 88.9 + 29.9)) < 0.3);
        QVERIFY(std::abs(tot.right() - (10 + 152.4 + 35.5)) < 0.3);
        // Every order is on the sheet; those of missing rows with the fields empty.
        for (const char *name : {"거래처1", "거래처2", "거래처3", "거래처4", "거래처5"})
            QVERIFY2(!find_text(words, QString::fromUtf8(name)).isEmpty(), name);
        QVERIFY(!find_text(words, "1,000.00").isEmpty());
        QVERIFY(!find_text(words, "김영업").isEmpty() && !find_text(words, "이영업").isEmpty());
        QCOMPARE(find_text(words, "김영업").size(), 2);
        QCOMPARE(find_text(words, "010-1111-2222").first().left(), find_text(words, "031-555-0000").first().left());
    }

    void separator_lines_and_the_second_page()
    {
        WindowPlant p;
        masters(p);
        for (int i = 1; i <= 25; ++i)
            order(p, i, "S001", "001", 6);
        const Document doc = sheet(p);
        QCOMPARE(doc.pages.size(), 2);
        QCOMPARE(lined_orders(doc), (QStringList{"02", "05", "08", "11", "14", "17", "20", "23"}));
        QVERIFY(has_picture(doc.pages[0]));
        QVERIFY(!has_picture(doc.pages[1]));

        QTemporaryDir dir;
        const QString path = pdf(dir, doc);
        const QList<PdfWord> second = pdf_words(path, 2);
        QVERIFY(!find_text(second, "[레미콘 출하 예정표]").isEmpty());
        QVERIFY(!find_text(second, "페이지 :2").isEmpty());
        QVERIFY(!find_text(second, "[총합계] :").isEmpty());
        QVERIFY(find_text(pdf_words(path, 1), "[총합계] :").isEmpty());
        QVERIFY(!find_text(second, "거래처25").isEmpty());

        // On paper: the picture on page 1 only; the line under order 2, none under 1 or 3.
        const QImage one = render_image(doc, 0);
        const QImage two = render_image(doc, 1);
        const QRectF picture(10 + 97.1 + 2, 30 + 0.8 + 2, 86, 20);
        QVERIFY(darkness(one, picture) > 0.01);
        QCOMPARE(darkness(two, picture), 0.0);
        const double details = 30 + 34.7;
        auto under = [&](int row) { return QRectF(12, details + row * 9.8 - 0.3, 180, 0.6); };
        QVERIFY(darkness(one, under(2)) > 0.3);
        QCOMPARE(darkness(one, under(1)), 0.0);
        QCOMPARE(darkness(one, under(3)), 0.0);
    }

    void a_long_site_name_is_cut_at_its_box()
    {
        WindowPlant p;
        masters(p);
        order(p, 1, "S001", "001", 6, QStringLiteral("아주아주긴현장이름이들어가는신도시택지개발지구공사현장"), "");
        const QImage page = render_image(sheet(p), 0);
        if (qEnvironmentVariableIsSet("VELDARO_SHOTS"))
            page.copy(0, 600, 2100, 200).save(qEnvironmentVariable("VELDARO_SHOTS") + "/long_site_name.png");
        const double top = 30 + 34.7 + 3.2;
        QVERIFY(darkness(page, QRectF(10 + 36.8, top, 35.5, 3.7)) > 0.05);
        QCOMPARE(darkness(page, QRectF(10 + 36.8 + 35.5 + 0.1, top - 1, 18, 6)), 0.0);
    }

    void without_the_picture_the_sheet_still_prints_and_says_why()
    {
        WindowPlant p;
        masters(p);
        order(p, 1, "K001", "001", 6);
        const QByteArray data_dir = qgetenv("VELDARO_DATA_DIR");
        qputenv("VELDARO_DATA_DIR", p.dir.path().toUtf8());
        QString error;
        const Document doc = sheet(p, &error);
        QVERIFY(error.contains("결재"));
        QVERIFY(!has_picture(doc.pages[0]));

        ReportOutput reports(p.dir.filePath("pdf"));
        bool maximised = false;
        on_next_modal([&](QWidget *w) {
            maximised = w->isMaximized() && qobject_cast<QPrintPreviewDialog *>(w);
            w->close();
        });
        preview_order_sheet(p.db(), p.prompter, reports, p.clock, nullptr, "2026-03-02");
        qputenv("VELDARO_DATA_DIR", data_dir);
        QVERIFY(maximised);
        QCOMPARE(p.prompter.shown.size(), 1);
        QVERIFY(p.prompter.last().contains("결재"));
    }
};

QTEST_MAIN(TestOrderSheet)
#include "tst_order_sheet_db.moc"
