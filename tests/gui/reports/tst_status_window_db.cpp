#include "gui/framework/date_box.h"
#include "core/framework/korean_text.h"
#include "core/framework/record_table_model.h"
#include "gui/framework/report_output.h"
#include "gui/masterdata/list_window.h"
#include "gui/framework/board_grid.h"
#include "gui/reports/status_window.h"
#include "report_check.h"
#include "xlsx_check.h"
#include "window_support.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTest>
#include <QTimer>

// 출하현황: what each choice and view lists for a period, its totals, the
// lookups that fill the filter, and the lists printed from the searches.
namespace {
using Rows = QStringList;

// Two customers, three orders over three days, loads of two trucks
// inserted out of order (one load returned).
void fill(const WindowPlant &p)
{
    p.exec("insert into customer (grcd, name, kawn_sa, vat) values ('0001', '대한건설', 'S', 'V'),"
           " ('0002', '한국토건', 'K', 'N')");
    p.exec("insert into r_hyunjang (grcd, code, name, misu) values ('0001', '000', '대한건설', 'T'),"
           " ('0001', '001', '강남현장', 'T'), ('0001', '002', '판교현장', 'H'), ('0002', '001', '수원현장', 'T')");
    p.exec("insert into r_size (remi_code, standard, kind, gubun) values ('1001', '25-240-15', '보통', '2'),"
           " ('1002', '25-210-12', '보통', '2')");
    p.exec("insert into car_code (code, scode, name, c_state) values ('80-1101-1', '1101', '김기사', 'YES'),"
           " ('81-2202-2', '2202', '이기사', 'YES')");
    p.exec("insert into r_suju (ilja, seq, v_inout, v_station, remi_code, v_rule, order_m3, v_outorder, v_ccount)"
           " values ('2026-03-02', '01', '대한건설', '판교현장', '1002', '25-210-12', 40, 18, 3),"
           " ('2026-03-01', '02', '한국토건', '수원현장', '1002', '25-210-12', 20, 6, 1),"
           " ('2026-03-03', '01', '한국토건', '수원현장', '1001', '25-240-15', 10, 0, 0),"
           " ('2026-03-01', '01', '대한건설', '강남현장', '1001', '25-240-15', 30, 12, 2)");
    p.exec("insert into cholha (o_date, o_fdate, o_otime, o_scode, o_count, o_carnum, o_outorder, o_return) values"
           " ('2026-03-02', '2026-03-02', '09:00:00', '01', '003', '81-2202-2', 6, '**'),"
           " ('2026-03-01', '2026-03-01', '09:20:00', '01', '002', '81-2202-2', 6, '**'),"
           " ('2026-03-02', '2026-03-02', '08:00:00', '01', '002', '80-1101-1', 6, '**'),"
           " ('2026-03-01', '2026-03-01', '08:30:00', '02', '001', '80-1101-1', 6, '회차'),"
           " ('2026-03-02', '2026-03-02', '07:00:00', '01', '001', '81-2202-2', 6, '**'),"
           " ('2026-03-01', '2026-03-01', '08:10:00', '01', '001', '80-1101-1', 6, '**')");
}

// Loads other office software leaves: one without a vehicle code, one
// without a return mark, and two (one returned) of an order deleted since.
void fill_odd_loads(const WindowPlant &p)
{
    p.exec("insert into cholha (o_date, o_fdate, o_otime, o_scode, o_count, o_carnum, o_outorder, o_return) values"
           " ('2026-03-02', '2026-03-02', '10:00:00', '01', '004', NULL, 5, '**'),"
           " ('2026-03-01', '2026-03-01', '11:00:00', '02', '002', '80-1101-1', 4, NULL),"
           " ('2026-03-01', '2026-03-01', '12:00:00', '07', '001', '81-2202-2', 3, '**'),"
           " ('2026-03-01', '2026-03-01', '12:30:00', '07', '002', '81-2202-2', 2, '회차')");
}

// A row's texts without the empty cells at its end.
QStringList trimmed(QStringList cells)
{
    while (!cells.isEmpty() && cells.last().isEmpty())
        cells.removeLast();
    return cells;
}

// The window on a filled plant, every print going to PDF files.
struct Fixture {
    WindowPlant plant;
    QTemporaryDir pdfs;
    ReportOutput reports{pdfs.path()};
    std::unique_ptr<TF_CUSTLIST> w;

    Fixture()
    {
        fill(plant);
        plant.clock.set(QDateTime(QDate(2026, 3, 1), QTime(10, 0)));
        plant.ctx.reports = &reports;
        w = std::make_unique<TF_CUSTLIST>(plant.ctx);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }

    void choose(int choice, int view, const QString &first, const QString &last, const QString &filter = {})
    {
        w->find_combo->setCurrentIndex(choice);
        w->view_combo->setCurrentIndex(view);
        w->first_date->set_text_date(first);
        w->last_date->set_text_date(last);
        w->find_edit->setText(filter);
    }

    void search(int choice, int view, const QString &first, const QString &last, const QString &filter = {})
    {
        choose(choice, view, first, last, filter);
        QTest::mouseClick(w->sel_btn, Qt::LeftButton);
    }

    QStringList printed() const
    {
        QStringList files = QDir(pdfs.path()).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Time | QDir::Reversed);
        for (QString &f : files)
            f = QDir(pdfs.path()).filePath(f);
        return files;
    }
};

// The grid shown in the area of the choice and its rows, a few fields each.
QStringList rows_of(const RecordTableModel *m, const QStringList &fields)
{
    QStringList rows;
    for (int r = 0; r < m->rowCount(); ++r) {
        QStringList values;
        for (const QString &f : fields)
            values << display_text(m->value(r, f));
        rows << values.join(QLatin1Char(' '));
    }
    return rows;
}

// The words on the line of every `caption` (a footer's figures sit a
// little lower than its caption), left to right.
QStringList footer_lines(const QList<PdfWord> &words, const QString &caption, double width = 190)
{
    QStringList lines;
    for (const QRectF &c : find_text(words, caption)) {
        QList<PdfWord> on_line;
        for (const PdfWord &w : words)
            if (w.box.center().y() > c.top() - 0.5 && w.box.center().y() < c.bottom() + 0.5
                && w.box.left() > c.left() - 1 && w.box.right() < c.left() + width)
                on_line << w;
        std::sort(on_line.begin(), on_line.end(),
                  [](const PdfWord &a, const PdfWord &b) { return a.box.left() < b.box.left(); });
        QStringList texts;
        for (const PdfWord &w : on_line)
            texts << w.text;
        lines << texts.join(QLatin1Char(' '));
    }
    return lines;
}

double darkness_of_picture_box(const report::Document &doc, int page)
{
    const QImage image = render_image(doc, page, 4);
    return darkness(image, QRectF(10 + 124.1 + 1, 10 + 0.5 + 1, 63, 13.6), 4);
}
}

class TestStatusWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { install_korean_fonts(); }

    void searches_data()
    {
        QTest::addColumn<int>("choice");
        QTest::addColumn<int>("view");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("totals");
        const QStringList all_orders{"2026-03-01 01", "2026-03-01 02", "2026-03-02 01", "2026-03-03 01"};
        for (int view : {0, 1}) {
            const QString v = view ? QStringLiteral(" detailed") : QStringLiteral(" brief");
            QTest::newRow(qPrintable("customer, no filter" + v))
                << 0 << view << "2026-03-01" << "2026-03-03" << "" << all_orders
                << QStringList{"100.00", "36.00", "6"};
            QTest::newRow(qPrintable("customer looked up" + v))
                << 0 << view << "2026-03-01" << "2026-03-03" << "대한건설"
                << QStringList{"2026-03-01 01", "2026-03-02 01"} << QStringList{"70.00", "30.00", "5"};
            QTest::newRow(qPrintable("site" + v)) << 1 << view << "2026-03-01" << "2026-03-03" << "수원현장"
                                                   << QStringList{"2026-03-01 02", "2026-03-03 01"}
                                                   << QStringList{"30.00", "6.00", "1"};
            QTest::newRow(qPrintable("specification" + v))
                << 2 << view << "2026-03-01" << "2026-03-03" << "25-210-12"
                << QStringList{"2026-03-01 02", "2026-03-02 01"} << QStringList{"60.00", "24.00", "4"};
            QTest::newRow(qPrintable("order end before start" + v))
                << 0 << view << "2026-03-03" << "2026-03-01" << "" << QStringList{}
                << QStringList{"0.00", "0.00", "0"};
            QTest::newRow(qPrintable("vehicle end before start" + v))
                << 3 << view << "2026-03-02" << "2026-03-01" << "" << QStringList{} << QStringList{"0.00", "0"};
            // The by-time list ignores the end date and the view; the
            // returned load is listed but not counted.
            QTest::newRow(qPrintable("by time" + v))
                << 4 << view << "2026-03-01" << "2026-02-01" << "" << QStringList{"09:20:00", "08:30:00", "08:10:00"}
                << QStringList{"12.00", "2"};
        }
        // Grouped and ordered by vehicle and day on every engine.
        QTest::newRow("vehicle brief, no filter")
            << 3 << 0 << "2026-03-01" << "2026-03-03" << ""
            << QStringList{"80-1101-1 2026-03-01 12 2", "80-1101-1 2026-03-02 6 1", "81-2202-2 2026-03-01 6 1",
                           "81-2202-2 2026-03-02 12 2"}
            << QStringList{"36.00", "6"};
        QTest::newRow("vehicle brief, vehicle code")
            << 3 << 0 << "2026-03-01" << "2026-03-03" << "81-2202-2"
            << QStringList{"81-2202-2 2026-03-01 6 1", "81-2202-2 2026-03-02 12 2"} << QStringList{"18.00", "3"};
        QTest::newRow("vehicle detailed, no filter")
            << 3 << 1 << "2026-03-01" << "2026-03-03" << ""
            << QStringList{"80-1101-1 2026-03-01 08:10:00", "80-1101-1 2026-03-01 08:30:00",
                           "80-1101-1 2026-03-02 08:00:00", "81-2202-2 2026-03-01 09:20:00",
                           "81-2202-2 2026-03-02 07:00:00", "81-2202-2 2026-03-02 09:00:00"}
            << QStringList{"36.00", "6"};
        QTest::newRow("vehicle detailed, vehicle code")
            << 3 << 1 << "2026-03-02" << "2026-03-03" << "80-1101-1" << QStringList{"80-1101-1 2026-03-02 08:00:00"}
            << QStringList{"6.00", "1"};
    }

    void searches()
    {
        QFETCH(int, choice);
        QFETCH(int, view);
        QFETCH(QString, first);
        QFETCH(QString, last);
        QFETCH(QString, filter);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, totals);
        Fixture f;
        f.search(choice, view, first, last, filter);
        QCOMPARE(f.plant.prompter.shown, QStringList());
        TF_CUSTLIST &w = *f.w;
        if (choice < 3) {
            QVERIFY(w.cust_list_pan->isVisible() && !w.car_list_pan->isVisible());
            QCOMPARE(rows_of(w.suju_query, {"ilja", "seq"}), rows);
            QCOMPARE((QStringList{w.order_m3_pan->text(), w.outorder_pan->text(), w.ca_count_pan->text()}), totals);
        } else if (choice == 3 && view == 0) {
            QVERIFY(w.car_totlist_pan->isVisible() && !w.car_list_pan->isVisible());
            QCOMPARE(w.DBGrid2->model(), w.car_totlist_query);
            QCOMPARE(rows_of(w.car_totlist_query, {"o_carnum", "o_fdate", "sum_chol_m3", "sum_ca_count"}), rows);
            QCOMPARE((QStringList{w.car_tot_pan1->text(), w.car_tot_pan2->text()}), totals);
        } else {
            QVERIFY(w.car_list_pan->isVisible() && !w.car_totlist_pan->isVisible());
            const auto *model = static_cast<RecordTableModel *>(w.list_grid->model());
            QCOMPARE(model, choice == 3 ? w.car_list_query : w.timeseq_query);
            QCOMPARE(rows_of(model, choice == 3 ? QStringList{"o_carnum", "o_fdate", "o_otime"}
                                                : QStringList{"o_otime"}),
                     rows);
            QCOMPARE((QStringList{w.car_list_pan1->text(), w.car_list_pan2->text()}), totals);
        }
    }

    // Orders over several pages of the grid: the first page at once, the
    // rest as the grid scrolls, the totals over all of them at once, and a
    // statement run in between (an order's loads) does not cut the list.
    void long_results_come_in_pages()
    {
        Fixture f;
        for (int i = 0; i < 450; ++i)
            f.plant.exec("insert into r_suju (ilja, seq, v_inout, order_m3, v_outorder, v_ccount)"
                         " values (:d, :s, '다량건설', 1, 0.5, 1)",
                         {{":d", QStringLiteral("2026-04-0%1").arg(1 + i / 90)},
                          {":s", QStringLiteral("%1").arg(i % 90, 2, 10, QLatin1Char('0'))}});
        f.search(0, 1, "2026-04-01", "2026-04-05");
        TF_CUSTLIST &w = *f.w;
        QVERIFY(w.suju_query->rowCount() < 450);
        QCOMPARE(w.order_m3_pan->text(), QStringLiteral("450.00"));
        QCOMPARE(w.ca_count_pan->text(), QStringLiteral("450"));
        QTest::mouseClick(w.suju_grid->viewport(), Qt::LeftButton, {},
                          w.suju_grid->visualRect(w.suju_query->index(1, 1)).center());
        w.suju_grid->scrollToBottom();
        QTRY_VERIFY(w.suju_query->rowCount() > 200);
        const report::Document doc = [&] {
            w.view_combo->setCurrentIndex(0);
            return w.current_report();
        }();
        QCOMPARE(w.suju_query->rowCount(), 450);
        QCOMPARE(rows_of(w.suju_query, {"ilja", "seq"}).last(), QStringLiteral("2026-04-05 89"));
        QVERIFY(doc.pages.size() > 5);
    }

    // The vehicle log of a long period is read vehicle by vehicle as the
    // grid scrolls, in vehicle, day and time order throughout.
    void long_vehicle_log_comes_in_pages()
    {
        Fixture f;
        for (int i = 0; i < 260; ++i)
            f.plant.exec("insert into cholha (o_date, o_fdate, o_otime, o_scode, o_count, o_carnum, o_outorder)"
                         " values ('2026-03-03', '2026-03-03', :t, '01', '001', :car, 1)",
                         {{":t", QTime(6, 0).addSecs(i * 60).toString(QStringLiteral("HH:mm:ss"))},
                          {":car", i % 2 ? QStringLiteral("81-2202-2") : QStringLiteral("80-1101-1")}});
        f.search(3, 1, "2026-03-01", "2026-03-03");
        TF_CUSTLIST &w = *f.w;
        QCOMPARE(w.car_list_pan2->text(), QStringLiteral("266"));
        QVERIFY(w.car_list_query->rowCount() < 266);
        w.list_grid->scrollToBottom();
        QTRY_COMPARE(w.car_list_query->rowCount(), 266);
        const QStringList rows = rows_of(w.car_list_query, {"o_carnum", "o_fdate", "o_otime"});
        QStringList sorted = rows;
        sorted.sort();
        QCOMPARE(rows, sorted);
        QCOMPARE(rows.filter(QStringLiteral("80-1101-1")).size(), 133);
    }

    void areas_follow_the_choice_and_view()
    {
        Fixture f;
        TF_CUSTLIST &w = *f.w;
        QTRY_VERIFY(w.find_combo->hasFocus());
        QCOMPARE(w.first_date->text_date(), QStringLiteral("2026-03-01"));
        QCOMPARE(w.last_date->text_date(), QStringLiteral("2026-03-01"));
        QVERIFY(w.cust_list_pan->isVisible() && !w.car_list_pan->isVisible() && !w.car_totlist_pan->isVisible());
        QCOMPARE(w.cholha_grid->height(), 5);
        QCOMPARE(w.spl_line->handleWidth(), 3);
        QCOMPARE(w.Timer1->interval(), 60000);
        QVERIFY(w.Timer1->isActive());

        f.search(0, 0, "2026-03-01", "2026-03-03");
        w.view_combo->setCurrentIndex(1);  // opens the shipment grid, keeps the orders
        QCOMPARE(w.suju_query->rowCount(), 4);
        QTRY_COMPARE(w.cholha_grid->height(), 200);
        QCOMPARE(w.spl_line->handleWidth(), 10);
        w.view_combo->setCurrentIndex(0);
        QCOMPARE(w.suju_query->rowCount(), 4);
        QTRY_COMPARE(w.cholha_grid->height(), 5);

        w.find_edit->setText(QStringLiteral("x"));
        w.find_combo->setCurrentIndex(3);
        QVERIFY(w.find_edit->text().isEmpty());
        QVERIFY(!w.cust_list_pan->isVisible() && w.car_totlist_pan->isVisible() && !w.car_list_pan->isVisible());
        QCOMPARE(w.suju_query->rowCount(), 0);  // closed with its area
        w.view_combo->setCurrentIndex(1);
        QVERIFY(!w.car_totlist_pan->isVisible() && w.car_list_pan->isVisible());
        QCOMPARE(w.list_pan->text(), QStringLiteral("차  량  별  출  하  현  황"));

        w.find_combo->setCurrentIndex(4);
        QVERIFY(w.car_list_pan->isVisible() && !w.car_totlist_pan->isVisible() && !w.cust_list_pan->isVisible());
        QCOMPARE(w.list_pan->text(), QStringLiteral("시  간  대  별  출  하  현  황"));
        for (QWidget *hidden : {static_cast<QWidget *>(w.last_date), static_cast<QWidget *>(w.last_label),
                                static_cast<QWidget *>(w.find_edit), static_cast<QWidget *>(w.find_btn),
                                static_cast<QWidget *>(w.view_label), static_cast<QWidget *>(w.view_combo)})
            QVERIFY2(!hidden->isVisible(), qPrintable(hidden->objectName()));
        w.find_combo->setCurrentIndex(1);
        QVERIFY(w.last_date->isVisible() && w.find_edit->isVisible() && w.view_combo->isVisible());
        QVERIFY(w.cust_list_pan->isVisible());
    }

    // Detailed view: a click loads the order's loads, newest trip first;
    // before any search it asks for one.
    void order_click_lists_its_loads()
    {
        Fixture f;
        TF_CUSTLIST &w = *f.w;
        w.view_combo->setCurrentIndex(1);
        QTest::mouseClick(w.suju_grid->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
        QCOMPARE(f.plant.prompter.shown, QStringList{"검색버튼을 먼저 누르시오."});
        f.search(0, 1, "2026-03-01", "2026-03-03");
        // The first order's loads come with the search.
        QCOMPARE(rows_of(w.cholha_query, {"o_count"}), (QStringList{"002", "001"}));
        QTest::mouseClick(w.suju_grid->viewport(), Qt::LeftButton, {},
                          w.suju_grid->visualRect(w.suju_query->index(2, 2)).center());
        QCOMPARE(rows_of(w.cholha_query, {"o_count", "o_otime"}),
                 (QStringList{"003 09:00:00", "002 08:00:00", "001 07:00:00"}));
        QVERIFY(w.cholha_grid->isColumnHidden(1));
        QCOMPARE(f.plant.prompter.shown.size(), 1);
    }

    void lookups_fill_the_filter_data()
    {
        QTest::addColumn<int>("choice");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("filter");
        QTest::newRow("customer by name") << 0 << "대한" << "대한건설";
        QTest::newRow("site of another customer than the last lookup") << 1 << "수원" << "수원현장";
        QTest::newRow("specification by code") << 2 << "1002" << "25-210-12";
        QTest::newRow("vehicle: the code, not the number") << 3 << "1101" << "80-1101-1";
    }

    void lookups_fill_the_filter()
    {
        QFETCH(int, choice);
        QFETCH(QString, typed);
        QFETCH(QString, filter);
        Fixture f;
        f.plant.lookup.lookup_key = QStringLiteral("0001");  // left by a lookup elsewhere
        f.w->find_combo->setCurrentIndex(choice);
        f.w->find_edit->setText(typed);
        QTest::keyClick(f.w->find_edit, Qt::Key_Return);
        QCOMPARE(f.w->find_edit->text(), filter);
        QCOMPARE(f.plant.prompter.shown, QStringList());
    }

    // The site list holds the sites of every customer, with its name.
    void site_list_shows_every_customer()
    {
        Fixture f;
        f.plant.lookup.lookup_key = QStringLiteral("0002");
        f.w->find_combo->setCurrentIndex(1);
        QStringList listed;
        on_next_modal([&](QWidget *m) {
            auto *list = static_cast<TF_LIST *>(m);
            for (int r = 0; r < list->Grd_pan->model()->rowCount(); ++r)
                listed << list->Grd_pan->model()->index(r, 0).data().toString() + QLatin1Char('/')
                              + list->Grd_pan->model()->index(r, 1).data().toString();
            list->Grd_pan->setCurrentIndex(list->Grd_pan->model()->index(1, 0));
            list->pick_from_list();
        });
        QTest::mouseClick(f.w->find_btn, Qt::LeftButton);
        QCOMPARE(listed, (QStringList{"강남현장/대한건설", "수원현장/한국토건", "판교현장/대한건설"}));
        QCOMPARE(f.w->find_edit->text(), QStringLiteral("수원현장"));
    }

    // A list closed without a pick keeps the filter as typed.
    void list_closed_without_pick_keeps_the_filter()
    {
        Fixture f;
        f.plant.lookup.lookup_name = QStringLiteral("이전이름");
        f.w->find_edit->setText(QStringLiteral("없는회사"));
        on_next_modal([](QWidget *m) { m->close(); });
        QTest::keyClick(f.w->find_edit, Qt::Key_Return);
        QCOMPARE(f.w->find_edit->text(), QStringLiteral("없는회사"));
    }

    void timer_follows_the_day()
    {
        Fixture f;
        f.search(4, 0, "2026-03-01", "2026-03-01");
        QCOMPARE(f.w->timeseq_query->rowCount(), 3);
        f.plant.exec("insert into cholha (o_date, o_fdate, o_otime, o_scode, o_count, o_carnum, o_outorder, o_return)"
                     " values ('2026-03-01', '2026-03-01', '10:05:00', '02', '002', '81-2202-2', 5.5, '**')");
        QMetaObject::invokeMethod(f.w->Timer1, "timeout", Qt::DirectConnection);
        QCOMPARE(rows_of(f.w->timeseq_query, {"o_otime"}).first(), QStringLiteral("10:05:00"));
        QCOMPARE(f.w->car_list_pan1->text(), QStringLiteral("17.50"));
        // Another choice: the timer leaves it alone.
        f.search(0, 0, "2026-03-01", "2026-03-01");
        f.plant.exec("delete from r_suju");
        QMetaObject::invokeMethod(f.w->Timer1, "timeout", Qt::DirectConnection);
        QCOMPARE(f.w->suju_query->rowCount(), 2);
    }

    // A list prints only what the boxes show as searched.
    void reports_need_a_matching_search_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("dates changed") << "dates";
        QTest::newRow("filter changed") << "filter";
        QTest::newRow("other order choice") << "choice";
        QTest::newRow("view of the vehicles changed") << "view";
        QTest::newRow("never searched") << "none";
    }

    void reports_need_a_matching_search()
    {
        QFETCH(QString, change);
        Fixture f;
        TF_CUSTLIST &w = *f.w;
        if (change == QLatin1String("view")) {
            f.search(3, 0, "2026-03-01", "2026-03-03");
            w.view_combo->setCurrentIndex(1);
        } else if (change != QLatin1String("none")) {
            f.search(0, 0, "2026-03-01", "2026-03-03");
            if (change == QLatin1String("dates"))
                w.last_date->set_text_date(QStringLiteral("2026-03-02"));
            else if (change == QLatin1String("filter"))
                w.find_edit->setText(QStringLiteral("대한건설"));
            else
                w.find_combo->setCurrentIndex(1);
        }
        QTest::mouseClick(w.prn_btn, Qt::LeftButton);
        QTest::mouseClick(w.excel_btn, Qt::LeftButton);
        QCOMPARE(f.plant.prompter.shown, (QStringList{"검색버튼을 먼저 누르시오.", "검색버튼을 먼저 누르시오."}));
        QCOMPARE(f.printed(), QStringList());
    }

    // Brief order list after a search by site: the fixed title over the
    // site's orders and the totals.
    void order_totals_list()
    {
        Fixture f;
        f.search(1, 0, "2026-03-01", "2026-03-03", "수원현장");
        QTest::mouseClick(f.w->prn_btn, Qt::LeftButton);
        QCOMPARE(f.plant.prompter.shown, QStringList());
        QCOMPARE(f.printed().size(), 1);
        const QList<PdfWord> words = pdf_words(f.printed().first());
        const QString text = all_text(words);
        QVERIFY2(text.contains(QStringLiteral("[거래처별 출하현황]")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("2026-03-01 >> 2026-03-03")));
        QCOMPARE(find_text(words, QStringLiteral("수원현장")).size(), 2);
        QCOMPARE(find_text(words, QStringLiteral("강남현장")).size(), 0);
        QCOMPARE(footer_lines(words, QStringLiteral("[ 누 계 ]")), QStringList{"[ 누 계 ] 30 6 1"});
    }

    // The order log: returned loads left out, a subtotal per order.
    void order_log_leaves_out_returned_loads()
    {
        Fixture f;
        f.search(0, 1, "2026-03-01", "2026-03-03");
        QTest::mouseClick(f.w->prn_btn, Qt::LeftButton);
        QCOMPARE(f.plant.prompter.shown, QStringList());
        const QList<PdfWord> words = pdf_words(f.printed().value(0));
        const QString text = all_text(words);
        QVERIFY2(text.contains(QStringLiteral("[거래처별 출하일지]")), qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("08:30:00")));  // returned
        QVERIFY(text.contains(QStringLiteral("03-01 대한건설 강남현장 1001 25-240-15 08:10:00 80-1101-1 6")));
        const QList<QRectF> subtotals = find_text(words, QStringLiteral("[ 소 계 ]"));
        QCOMPARE(subtotals.size(), 2);
        QCOMPARE(footer_lines(words, QStringLiteral("[ 소 계 ]")),
                 (QStringList{"[ 소 계 ] 2 대 12", "[ 소 계 ] 3 대 18"}));
        QCOMPARE(footer_lines(words, QStringLiteral("[ 누 계 ]")), QStringList{"[ 누 계 ] 5 대 30"});
        QVERIFY(std::abs(subtotals.first().left() - (10 + 19.1)) < 0.5);
    }

    // Vehicle log and vehicle totals: a subtotal per vehicle, also where
    // the server returns groups in no order of its own.
    void vehicle_lists_subtotal_per_vehicle_data()
    {
        QTest::addColumn<int>("view");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("log") << 1 << "[차량별 출하일지]"
                             << QStringList{"[ 소 계 ] 3 대 18", "[ 소 계 ] 3 대 18", "[ 누 계 ] 6 대 36"};
        QTest::newRow("totals") << 0 << "[차량별 출하집계표]"
                                << QStringList{"[ 소 계 ] 18 3 대", "[ 소 계 ] 18 3 대", "[ 누 계 ] 36 6 대"};
    }

    void vehicle_lists_subtotal_per_vehicle()
    {
        QFETCH(int, view);
        QFETCH(QString, title);
        QFETCH(QStringList, expected);
        Fixture f;
        f.search(3, view, "2026-03-01", "2026-03-03");
        QTest::mouseClick(f.w->prn_btn, Qt::LeftButton);
        QCOMPARE(f.plant.prompter.shown, QStringList());
        const QList<PdfWord> words = pdf_words(f.printed().value(0));
        const QString text = all_text(words);
        QVERIFY2(text.contains(title), qPrintable(text));
        QCOMPARE(footer_lines(words, QStringLiteral("[ 소 계 ]")) + footer_lines(words, QStringLiteral("[ 누 계 ]")),
                 expected);
        // The first vehicle's rows, then its subtotal, then the next's.
        const QList<QRectF> subtotals = find_text(words, QStringLiteral("[ 소 계 ]"));
        for (const QRectF &r : find_text(words, QStringLiteral("80-1101-1")))
            QVERIFY(r.top() < subtotals.first().top());
        for (const QRectF &r : find_text(words, QStringLiteral("81-2202-2")))
            QVERIFY(r.top() > subtotals.first().top() && r.top() < subtotals.last().top());
    }

    void by_time_list_counts_every_listed_load()
    {
        Fixture f;
        f.search(4, 0, "2026-03-01", "2026-03-01");
        QTest::mouseClick(f.w->prn_btn, Qt::LeftButton);
        const QList<PdfWord> words = pdf_words(f.printed().value(0));
        const QString text = all_text(words);
        QVERIFY2(text.contains(QStringLiteral("[시간대별 출하일지]")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("일자 : 2026-03-01")));
        QVERIFY(!text.contains(QStringLiteral(">>")));
        QVERIFY(text.contains(QStringLiteral("1 09:20:00 대한건설")));
        QVERIFY(text.contains(QStringLiteral("2 08:30:00 한국토건 수원현장 1002 25-210-12 80-1101-1 6 회차")));
        QCOMPARE(footer_lines(words, QStringLiteral("[ 누 계 ]")), QStringList{"[ 누 계 ] 3 대 18"});
    }

    // Two pages: the number on each, the picture on the first only.
    void two_page_list()
    {
        Fixture f;
        for (int i = 0; i < 60; ++i)
            f.plant.exec("insert into r_suju (ilja, seq, v_inout, order_m3, v_outorder, v_ccount)"
                         " values ('2026-05-01', :s, '다량건설', 1, 1, 1)",
                         {{":s", QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'))}});
        f.search(0, 0, "2026-05-01", "2026-05-01");
        const report::Document doc = f.w->current_report();
        QCOMPARE(doc.pages.size(), 2);
        QVERIFY(darkness_of_picture_box(doc, 0) > 0.02);
        QCOMPARE(darkness_of_picture_box(doc, 1), 0.0);
        QTest::mouseClick(f.w->prn_btn, Qt::LeftButton);
        for (int page : {1, 2}) {
            const QList<PdfWord> words = pdf_words(f.printed().value(0), page);
            const QList<QRectF> caption = find_text(words, QStringLiteral("PAGE :"));
            QCOMPARE(caption.size(), 1);
            QCOMPARE(find_text(words, QStringLiteral("PAGE : %1").arg(page)).size(), 1);
            QVERIFY(std::abs(caption.first().left() - (10 + 96.8)) < 0.5);
            QCOMPARE(find_text(words, QStringLiteral("[거래처별 출하현황]")).size(), 1);
            QCOMPARE(find_text(words, QStringLiteral("수주량")).size(), 1);
        }
        QCOMPARE(footer_lines(pdf_words(f.printed().value(0), 2), QStringLiteral("[ 누 계 ]")),
                 QStringList{"[ 누 계 ] 60 60 60"});
    }

    // The vehicle totals fill the left half of a page before the right.
    void vehicle_totals_fill_the_left_half_first()
    {
        Fixture f;
        for (int d = 1; d <= 50; ++d)
            f.plant.exec("insert into cholha (o_date, o_fdate, o_otime, o_scode, o_count, o_carnum, o_outorder)"
                         " values (:d, :d, '08:00:00', '01', '001', '90-0001-1', 6)",
                         {{":d", QDate(2026, 6, 1).addDays(d).toString(QStringLiteral("yyyy-MM-dd"))}});
        f.search(3, 0, "2026-06-01", "2026-07-31");
        QTest::mouseClick(f.w->prn_btn, Qt::LeftButton);
        const QList<PdfWord> words = pdf_words(f.printed().value(0));
        const QList<QRectF> first = find_text(words, QStringLiteral("2026-06-02"));
        const QList<QRectF> last = find_text(words, QStringLiteral("2026-07-21"));
        QCOMPARE(first.size(), 1);
        QCOMPARE(last.size(), 1);
        QVERIFY(first.first().right() < 10 + 95);
        QVERIFY(last.first().left() > 10 + 95);
        QCOMPARE(find_text(words, QStringLiteral("차량번호")).size(), 2);  // a header per column
        QCOMPARE(footer_lines(words, QStringLiteral("[ 소 계 ]"), 90), QStringList{"[ 소 계 ] 300 50 대"});
    }

    // The list prints without the picture and says once why.
    void missing_approval_picture_prints_without_it()
    {
        Fixture f;
        QTemporaryDir empty;
        const QByteArray old = qgetenv("VELDARO_DATA_DIR");
        qputenv("VELDARO_DATA_DIR", empty.path().toUtf8());
        f.search(0, 0, "2026-03-01", "2026-03-03");
        QTest::mouseClick(f.w->prn_btn, Qt::LeftButton);
        const report::Document doc = f.w->current_report();
        qputenv("VELDARO_DATA_DIR", old);
        QCOMPARE(f.plant.prompter.shown.size(), 1);
        QVERIFY2(f.plant.prompter.shown.first().startsWith(QStringLiteral("결재 그림을 읽을 수 없습니다"))
                     && f.plant.prompter.shown.first().endsWith(QStringLiteral("결재란 없이 출력합니다.")),
                 qPrintable(f.plant.prompter.shown.first()));
        QCOMPARE(f.printed().size(), 1);
        QCOMPARE(darkness_of_picture_box(doc, 0), 0.0);
    }

    void preview_shows_the_list()
    {
        Fixture f;
        f.search(4, 0, "2026-03-01", "2026-03-01");
        QString title;
        on_next_modal([&](QWidget *m) {
            title = m->windowTitle();
            m->close();
        });
        QTest::mouseClick(f.w->pre_btn, Qt::LeftButton);
        QCOMPARE(title, QStringLiteral("시간대별 출하일지"));
        QCOMPARE(f.plant.prompter.shown, QStringList());
    }

    // The rows of the area shown, as a spreadsheet program reads them back.
    void csv_file_holds_the_grid()
    {
        Fixture f;
        f.search(3, 1, "2026-03-01", "2026-03-03");
        QString proposed;
        const QString path = f.pdfs.filePath(QStringLiteral("out.csv"));
        f.w->ask_export_path = [&](const QString &name) {
            proposed = name;
            return path;
        };
        QTest::mouseClick(f.w->excel_btn, Qt::LeftButton);
        QCOMPARE(f.plant.prompter.shown, QStringList());
        QCOMPARE(proposed, QStringLiteral("차량_일지_2026-03-01_2026-03-03"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QStringList grid;
        QStringList titles;
        const QAbstractItemModel *m = f.w->list_grid->model();
        for (int c = 0; c < m->columnCount(); ++c)
            if (!f.w->list_grid->isColumnHidden(c))
                titles << m->headerData(c, Qt::Horizontal).toString();
        grid << titles.join(QLatin1Char(','));
        for (int r = 0; r < m->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < m->columnCount(); ++c)
                if (!f.w->list_grid->isColumnHidden(c))
                    cells << m->index(r, c).data().toString();
            grid << cells.join(QLatin1Char(','));
        }
        QCOMPARE(lines.mid(0, lines.size() - 1), grid);
        QCOMPARE(lines.last(), QStringLiteral("합계,,,,,,6 대,36.00,"));
        QCOMPARE(lines.size(), 8);
    }

    // With loads without a vehicle code, without a return mark and of a
    // deleted order: the grid's rows and the line about the loads without
    // order add up to the totals above them; the printed list and the
    // workbook hold the grid's rows and figures.
    void lists_add_up_data()
    {
        QTest::addColumn<int>("choice");
        QTest::addColumn<int>("view");
        QTest::addColumn<QStringList>("totals");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("without_order");
        QTest::addColumn<QString>("printed_summary");
        QTest::addColumn<QString>("printed_note");
        QTest::newRow("vehicle totals") << 3 << 0 << QStringList{"50.00", "10"} << 5 << "" << "[ 누 계 ] 50 10 대"
                                        << "";
        QTest::newRow("vehicle log") << 3 << 1 << QStringList{"50.00", "10"} << 8
                                     << "주문 없는 출하 2건 / 5.00 m³" << "[ 누 계 ] 8 대 45"
                                     << "주문 없는 출하 2건 / 5.00 m³";
        // Returned loads are listed but not counted in the window; the
        // printed list counts every listed load.
        QTest::newRow("by time") << 4 << 0 << QStringList{"19.00", "4"} << 4 << "주문 없는 출하 1건 / 3.00 m³"
                                 << "[ 누 계 ] 4 대 22" << "주문 없는 출하 2건 / 5.00 m³";
    }

    void lists_add_up()
    {
        QFETCH(int, choice);
        QFETCH(int, view);
        QFETCH(QStringList, totals);
        QFETCH(int, rows);
        QFETCH(QString, without_order);
        QFETCH(QString, printed_summary);
        QFETCH(QString, printed_note);
        Fixture f;
        fill_odd_loads(f.plant);
        f.search(choice, view, "2026-03-01", "2026-03-03");
        TF_CUSTLIST &w = *f.w;
        QCOMPARE(f.plant.prompter.shown, QStringList());
        const bool brief_totals = choice == 3 && view == 0;
        auto *model = static_cast<RecordTableModel *>(brief_totals ? w.DBGrid2->model() : w.list_grid->model());
        const QTableView *grid = brief_totals ? static_cast<QTableView *>(w.DBGrid2) : w.list_grid;
        QCOMPARE(model->rowCount(), rows);
        QCOMPARE(brief_totals ? (QStringList{w.car_tot_pan1->text(), w.car_tot_pan2->text()})
                              : (QStringList{w.car_list_pan1->text(), w.car_list_pan2->text()}),
                 totals);
        QCOMPARE(w.without_order_pan->isVisible(), !without_order.isEmpty());
        QCOMPARE(w.without_order_pan->text(), without_order);
        QCOMPARE(w.returns_note->isVisible(), choice == 4);
        if (qEnvironmentVariableIsSet("VELDARO_SHOTS"))
            w.grab().save(qEnvironmentVariable("VELDARO_SHOTS") + QStringLiteral("/status_%1_%2.png").arg(choice).arg(view));
        // Rows + loads without order = totals.
        double quantity = 0, count = 0;
        for (int r = 0; r < model->rowCount(); ++r) {
            if (brief_totals) {
                quantity += model->value(r, "sum_chol_m3").toDouble();
                count += model->value(r, "sum_ca_count").toDouble();
            } else if (choice == 3 || model->text(r, "o_return") != QStringLiteral("회차")) {
                quantity += model->value(r, "o_outorder").toDouble();
                count += 1;
            }
        }
        const QStringList figures = without_order.isEmpty()
                                        ? QStringList{"0", "0"}
                                        : QStringList{without_order.section(QLatin1Char(' '), 3, 3).chopped(1),
                                                      without_order.section(QLatin1Char(' '), 5, 5)};
        QCOMPARE(number_2n(quantity + figures[1].toDouble()), totals[0]);
        QCOMPARE(number_0n(count + figures[0].toDouble()), totals[1]);
        if (brief_totals)  // the loads without a vehicle under a blank vehicle, first
            QCOMPARE(model->text(0, "o_carnum"), QString());
        else if (choice == 3)
            QVERIFY(model->value(0, "o_carnum").isNull());

        // The printed list: the rows, their summary and the note.
        QTest::mouseClick(w.prn_btn, Qt::LeftButton);
        const QList<PdfWord> words = pdf_words(f.printed().value(0));
        QCOMPARE(footer_lines(words, QStringLiteral("[ 누 계 ]")), QStringList{printed_summary});
        const QString text = all_text(words);
        QCOMPARE(text.count(QStringLiteral("주문 없는 출하")), printed_note.isEmpty() ? 0 : 1);
        QVERIFY2(text.contains(printed_note), qPrintable(text));

        // The workbook: the grid's rows, cell by cell, and the totals.
        const QString path = f.pdfs.filePath(QStringLiteral("list.xlsx"));
        w.ask_export_path = [&](const QString &) { return path; };
        QTest::mouseClick(w.excel_btn, Qt::LeftButton);
        QCOMPARE(f.plant.prompter.shown, QStringList());
        if (qEnvironmentVariableIsSet("VELDARO_SHOTS"))
            QFile::copy(path, qEnvironmentVariable("VELDARO_SHOTS") + QStringLiteral("/status_%1_%2.xlsx").arg(choice).arg(view));
        const XlsxSheet x = read_xlsx(path);
        QCOMPARE(x.frozen_rows, 4);
        QStringList captions;
        QList<int> shown;
        for (int c = 0; c < model->columnCount(); ++c)
            if (!grid->isColumnHidden(c)) {
                shown << c;
                captions << model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
            }
        QCOMPARE(x.texts(3), captions);
        for (int r = 0; r < model->rowCount(); ++r) {
            QStringList cells;
            for (int c : shown)
                cells << model->index(r, c).data().toString();
            QCOMPARE(trimmed(x.texts(4 + r)), trimmed(cells));
            for (int i = 0; i < shown.size(); ++i) {
                const QString field = model->columns()[shown[i]].field.toLower();
                const bool number = field.startsWith(QLatin1String("sum_")) || field == QLatin1String("o_outorder");
                if (!x.rows[4 + r].value(i).text.isEmpty())
                    QVERIFY2(x.rows[4 + r][i].number == number, qPrintable(field));
            }
        }
        const QStringList total_row = trimmed(x.texts(4 + rows));
        QCOMPARE(total_row.first(), choice == 4 ? QStringLiteral("합계 (회차 제외)") : QStringLiteral("합계"));
        QVERIFY(total_row.contains(QString::number(totals[0].toDouble())));
        QVERIFY(total_row.contains(QString::number(totals[1].toDouble())));
        QCOMPARE(x.texts(5 + rows), without_order.isEmpty() ? QStringList() : QStringList{without_order});
    }

    // The detailed order view saves the per-load log it prints.
    void detailed_order_view_saves_its_log()
    {
        Fixture f;
        fill_odd_loads(f.plant);
        f.search(0, 1, "2026-03-01", "2026-03-03");
        const QString path = f.pdfs.filePath(QStringLiteral("log.xlsx"));
        QString proposed;
        f.w->ask_export_path = [&](const QString &name) {
            proposed = name;
            return path;
        };
        QTest::mouseClick(f.w->excel_btn, Qt::LeftButton);
        QTest::mouseClick(f.w->prn_btn, Qt::LeftButton);
        QCOMPARE(f.plant.prompter.shown, QStringList());
        QCOMPARE(proposed, QStringLiteral("거래처_일지_2026-03-01_2026-03-03"));
        const XlsxSheet x = read_xlsx(path);
        QCOMPARE(x.name, QStringLiteral("거래처별 출하일지"));
        QCOMPARE(x.texts(3),
                 (QStringList{"일  자", "순번", "거 래 처 명", "현 장 명", "코 드", "규  격", "시  간", "차량번호", "출하량"}));
        QCOMPARE(x.texts(4), (QStringList{"2026-03-01", "01", "대한건설", "강남현장", "1001", "25-240-15", "08:10:00",
                                          "80-1101-1", "6"}));
        QVERIFY(!x.rows[4][1].number && x.rows[4][8].number);
        // Returned loads are left out as on paper; the one without a return
        // mark and the one without a vehicle are in.
        int listed = 0;
        double sum = 0;
        for (int r = 4; r < x.rows.size() && x.texts(r).value(0) != QStringLiteral("합계"); ++r) {
            ++listed;
            sum += x.rows[r][8].value;
        }
        QCOMPARE(listed, 7);
        QCOMPARE(sum, 39.0);
        QCOMPARE(trimmed(x.texts(4 + listed)), (QStringList{"합계", "", "", "", "", "", "", "7", "39"}));
        const QList<PdfWord> words = pdf_words(f.printed().value(0));
        QCOMPARE(footer_lines(words, QStringLiteral("[ 누 계 ]")), QStringList{"[ 누 계 ] 7 대 39"});
    }

    void csv_quotes_what_needs_it()
    {
        Fixture f;
        f.plant.exec("update r_suju set v_station = '강남, \"A\"동' where v_station = '강남현장'");
        f.plant.exec("update r_suju set v_station = '=HYPERLINK(1)' where v_station = '수원현장'");
        f.search(0, 0, "2026-03-01", "2026-03-01");
        const QString path = f.pdfs.filePath(QStringLiteral("orders.csv"));
        f.w->ask_export_path = [&](const QString &) { return path; };
        QTest::mouseClick(f.w->excel_btn, Qt::LeftButton);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll().mid(3));
        QVERIFY2(text.contains(QStringLiteral("대한건설,\"강남, \"\"A\"\"동\",1001")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("한국토건,'=HYPERLINK(1),1002")), qPrintable(text));
        QVERIFY(text.endsWith(QStringLiteral("합계,,,,,,50.00,18.00,3\r\n")));
    }
};

QTEST_MAIN(TestStatusWindow)
#include "tst_status_window_db.moc"
