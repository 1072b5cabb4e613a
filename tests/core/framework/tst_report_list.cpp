#include "core/framework/report_list.h"

#include <QTest>

using namespace report;

namespace {
Band band(const QString &name, double height)
{
    Text t;
    t.name = name;
    t.box = QRectF(0, 0, 20, height);
    t.text = name;
    return Band{name, height, {t}};
}

// A5 portrait (210 mm high), margins 10 all round: a body of 190 mm.
ListLayout layout(int columns = 1)
{
    ListLayout l;
    l.setup.paper = QPageSize(QPageSize::A5);
    l.setup.margins = QMarginsF(10, 10, 10, 10);
    l.page_header = [](int page) { return band(QStringLiteral("header %1").arg(page), 20); };
    l.page_footer = [](int page) { return band(QStringLiteral("footer %1").arg(page), 10); };
    l.column_header = band(QStringLiteral("titles"), 6);
    l.columns = columns;
    l.column_width = 64;
    return l;
}

QStringList names(const Page &p)
{
    QStringList out;
    for (const PlacedBand &b : p.bands)
        out << QStringLiteral("%1@%2,%3").arg(b.band.name).arg(b.left).arg(b.top);
    return out;
}
}

class TestReportList : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Header 20 + titles 6 leave 190 - 10 (footer) - 26 = 154 mm: 15 rows of 10.
    void rows_fill_a_page_then_the_next()
    {
        ListBuilder b(layout());
        for (int i = 1; i <= 16; ++i)
            b.add_row(band(QStringLiteral("row %1").arg(i), 10));
        b.add_across(band(QStringLiteral("summary"), 6));
        const Document doc = b.finish(QStringLiteral("목록"));
        QCOMPARE(doc.pages.size(), 2);
        const QStringList first = names(doc.pages[0]);
        QCOMPARE(first.first(), QStringLiteral("header 1@0,0"));
        QCOMPARE(first[1], QStringLiteral("titles@0,20"));
        QVERIFY(first.contains(QStringLiteral("row 15@0,166")));
        QCOMPARE(first.last(), QStringLiteral("footer 1@0,180"));
        const QStringList second = names(doc.pages[1]);
        QCOMPARE(second.mid(0, 4), (QStringList{QStringLiteral("header 2@0,0"), QStringLiteral("titles@0,20"),
                                               QStringLiteral("row 16@0,26"), QStringLiteral("summary@0,36")}));
        QCOMPARE(second.last(), QStringLiteral("footer 2@0,180"));
    }

    void a_summary_that_does_not_fit_goes_to_a_new_page()
    {
        ListBuilder b(layout());
        for (int i = 1; i <= 15; ++i)
            b.add_row(band(QStringLiteral("row %1").arg(i), 10));
        b.add_across(band(QStringLiteral("summary"), 6));
        const Document doc = b.finish(QStringLiteral("목록"));
        QCOMPARE(doc.pages.size(), 2);
        QVERIFY(names(doc.pages[1]).contains(QStringLiteral("summary@0,26")));
    }

    void an_empty_list_still_has_one_page()
    {
        ListBuilder b(layout());
        b.add_across(band(QStringLiteral("summary"), 6));
        const Document doc = b.finish(QStringLiteral("목록"));
        QCOMPARE(doc.pages.size(), 1);
        QCOMPARE(names(doc.pages[0]),
                 (QStringList{QStringLiteral("header 1@0,0"), QStringLiteral("titles@0,20"),
                              QStringLiteral("summary@0,26"), QStringLiteral("footer 1@0,180")}));
    }

    // Two columns: the left one fills first, each with its column titles;
    // the row counter restarts on each page.
    void two_columns_fill_left_first()
    {
        ListBuilder b(layout(2));
        QList<int> places;
        for (int i = 1; i <= 31; ++i)
            b.add_row(band(QStringLiteral("row %1").arg(i), 10), [&](Band &, int n) { places << n; });
        const Document doc = b.finish(QStringLiteral("목록"));
        QCOMPARE(doc.pages.size(), 2);
        const QStringList first = names(doc.pages[0]);
        QVERIFY(first.contains(QStringLiteral("row 15@0,166")));
        QVERIFY(first.contains(QStringLiteral("titles@64,20")));
        QVERIFY(first.contains(QStringLiteral("row 16@64,26")));
        QVERIFY(first.contains(QStringLiteral("row 30@64,166")));
        QVERIFY(names(doc.pages[1]).contains(QStringLiteral("row 31@0,26")));
        QCOMPARE(places.mid(28), (QList<int>{29, 30, 1}));
    }
};

QTEST_MAIN(TestReportList)
#include "tst_report_list.moc"
