#include "gui/framework/board_grid.h"
#include "gui/console/order_board.h"
#include "console_fixture.h"
#include "gui/framework/date_box.h"
#include "core/framework/korean_text.h"
#include "core/framework/record_table_model.h"
#include "report_check.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace {
constexpr double tolerance = 0.5;  // mm

// Order 01 of 2026-03-02 with three loads; order 02 with none.
struct Console : ConsoleFixture {
    Console()
    {
        add_order(plant, "2026-03-02", "01", 30, 15.5);
        add_order(plant, "2026-03-02", "02", 12, 0);
        add_order(plant, "2026-03-03", "01", 8, 0);
        add_truck(plant, "81-1111-1", "1111", "YES");
        add_truck(plant, "81-2222-2", "2222", "YES");
        plant.exec(QStringLiteral("update car_code set name = '이운전' where code = '81-2222-2'"));
        plant.exec(QStringLiteral("insert into r_size (remi_code, standard, rul_ks) values ('1004', '25-210-12', 'KS')"));
        load("001", "81-1111-1", "1111", "09:00:10", 6);
        load("002", "81-2222-2", "2222", "10:47:30", 5.5);
        load("003", "81-1111-1", "1111", "11:40:00", 4);
        open();
        console->dam_edit->setText(QStringLiteral("박반장"));  // the operator of the moment
    }
    void load(const char *count, const char *car, const char *number, const char *time, double m3)
    {
        plant.exec(QStringLiteral("insert into cholha (o_date, o_fdate, o_otime, o_scode, o_count, o_carnum, o_hogi,"
                                  " o_outorder, o_moltal, o_ccode, o_return) values"
                                  " ('2026-03-02', '2026-03-02', :t, '01', :c, :car, '1', :q, 0, :n, '**')"),
                   {{":t", QString::fromLatin1(time)}, {":c", QString::fromLatin1(count)},
                    {":car", QString::fromLatin1(car)}, {":n", QString::fromLatin1(number)}, {":q", m3}});
    }
    // The shipments tab lists the newest trip first.
    void reprint_trip(const QString &trip)
    {
        RecordTableModel *rows = console->orders->cholha_query;
        int row = -1;
        for (int r = 0; r < rows->rowCount(); ++r)
            if (rows->text(r, QStringLiteral("o_count")) == trip)
                row = r;
        QVERIFY2(row >= 0, qPrintable(trip));
        click_row(console->orders->cholha_grid, row);
        console->reprint_btn->click();
    }
    QList<PdfWord> last_ticket() const
    {
        const QStringList files = printed();
        return files.isEmpty() ? QList<PdfWord>() : pdf_words(QDir(pdf_folder).filePath(files.last()));
    }
};

enum Edge { Left, Right, Centre };

// Where a value landed: its top and its left edge, right edge or middle,
// against the form at the design margins (top 2, left 1).
void expect_at(const QList<PdfWord> &words, const QString &text, double top, double x, Edge edge = Left)
{
    const QList<QRectF> found = find_text(words, text);
    QVERIFY2(found.size() == 1, qPrintable(text + " in: " + all_text(words)));
    const QRectF box = found.first();
    QVERIFY2(std::abs(box.top() - (2 + top)) <= tolerance, qPrintable(text));
    const double at = edge == Left ? box.left() : edge == Right ? box.right() : box.center().x();
    QVERIFY2(std::abs(at - (1 + x)) <= tolerance, qPrintable(text));
}
}

// "송 장 재 발 행" on the console's shipments tab.
class TestReprint : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { install_korean_fonts(); }

    void the_second_of_three_trips_with_todays_texts()
    {
        Console c;
        QCOMPARE(c.console->reprint_btn->text(), QStringLiteral("송 장 재 발 행"));
        // Changed since the loads were recorded.
        c.plant.exec(QStringLiteral("update r_suju set v_inout = '새한건설', v_rule = '25-240-15', cement = '조강'"
                                    " where ilja = '2026-03-02' and seq = '01'"));
        c.plant.exec(QStringLiteral("update r_size set standard = '25-240-15'"));
        c.reprint_trip(QStringLiteral("002"));
        QCOMPARE(c.plant.prompter.shown, QStringList());
        QCOMPARE(c.printed().size(), 1);
        QVERIFY(c.plant.dbm->ticket_data.is_empty());

        const QList<PdfWord> words = c.last_ticket();
        expect_at(words, QStringLiteral("2"), 32.0, 9.8);                    // trip 2, not 3
        expect_at(words, QStringLiteral("5.50"), 83.3, 27.3 + 20.4, Right);  // this load
        expect_at(words, QStringLiteral("11.50"), 83.3, 92.9 + 22.0, Right); // the first two
        expect_at(words, QStringLiteral("10"), 73.6, 33.1 + 16.9, Right);
        expect_at(words, QStringLiteral("47"), 73.6, 60.6 + 5.3, Right);
        expect_at(words, QStringLiteral("2222"), 64.8, 48.9);
        expect_at(words, QStringLiteral("이운전"), 64.6, 95.8);
        expect_at(words, QStringLiteral("새한건설"), 47.6, 5.8);
        expect_at(words, QStringLiteral("조강"), 100.8, 95.0 + 31.2 / 2, Centre);
        expect_at(words, QStringLiteral("240"), 101.6, 56.9 + 17.7 / 2, Centre);
        expect_at(words, QStringLiteral("박반장"), 145.5, 82.6);
        expect_at(words, QStringLiteral("2026"), 38.9, 5.3);
        QCOMPARE(find_text(words, QStringLiteral("규격외 제품")).size(), 0);
        QCOMPARE(c.plant.db().scalar(QStringLiteral("select count(*) from cholha")).toInt(), 3);
    }

    void an_empty_shipments_tab_prints_nothing()
    {
        Console c;
        c.click_row(c.console->orders->suju_grid, 1);  // order 02: no loads
        QCOMPARE(c.console->orders->cholha_query->rowCount(), 0);
        c.console->reprint_btn->click();
        QCOMPARE(c.printed(), QStringList());
        QCOMPARE(c.plant.prompter.shown, QStringList{QStringLiteral("재발행할 출하내역이 없습니다. (송장 인쇄 안 됨)")});
        QVERIFY(c.plant.dbm->ticket_data.is_empty());
    }

    void manual_print_mode_says_the_ticket_was_not_printed()
    {
        Console c;
        c.console->prn_sel->setCurrentText(QStringLiteral("수동인쇄"));
        c.reprint_trip(QStringLiteral("003"));
        QCOMPARE(c.printed(), QStringList());
        QCOMPARE(c.plant.prompter.shown.size(), 1);
        QVERIFY(c.plant.prompter.last().startsWith(QStringLiteral("\"수동인쇄\" 상태이므로 송장을 인쇄하지 않았습니다.")));
        // The record is filled, as the recording leaves it in this mode.
        QCOMPARE(c.plant.dbm->ticket_data.trip_no, QStringLiteral("3"));
        QCOMPARE(c.plant.dbm->ticket_data.cumulative, QStringLiteral("15.50"));
    }

    void a_tab_left_from_another_day_reprints_its_own_load()
    {
        Console c;
        // The day changes while the vehicle tab is up: the shipments tab
        // still lists the loads of 2026-03-02's order 01.
        c.console->list_page->setCurrentWidget(c.console->car_tab);
        c.console->ilja_combo->setDate(QDate(2026, 3, 3));
        c.console->list_page->setCurrentWidget(c.console->cholha_tab);
        QCOMPARE(c.console->orders->cholha_query->rowCount(), 3);
        c.reprint_trip(QStringLiteral("001"));
        const QList<PdfWord> words = c.last_ticket();
        expect_at(words, QStringLiteral("02"), 38.9, 40.2);  // the load's day, the 2nd
        expect_at(words, QStringLiteral("1"), 32.0, 9.8);    // its trip on that day
    }
};

QTEST_MAIN(TestReprint)
#include "tst_reprint_db.moc"
