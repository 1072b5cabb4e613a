#include "gui/framework/board_grid.h"
#include "gui/console/main_window.h"
#include "gui/console/navigation.h"
#include "gui/console/order_board.h"
#include "gui/console/vehicle_board.h"
#include "core/masterdata/vehicle_queries.h"
#include "gui/data/login_window.h"
#include "gui/framework/date_box.h"
#include "core/framework/record_table_model.h"
#include "console_fixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QTest>

// The console on a small plant: three orders and two trucks on 2026-03-02,
// one order on 2026-03-01.
class TestConsole : public QObject {
    Q_OBJECT

    struct Fixture : ConsoleFixture {
        RecordTableModel *suju() const { return console->orders->suju_query; }
        RecordTableModel *cholha() const { return console->orders->cholha_query; }
        RecordTableModel *cars() const { return console->vehicles->car_query; }
        QString total(int panel) const { return console->orders->total_panels[panel]->text(); }
        QStringList column(RecordTableModel *m, const char *field) const
        {
            QStringList out;
            for (int r = 0; r < m->rowCount(); ++r)
                out << display_text(m->value(r, QString::fromLatin1(field)));
            return out;
        }
        QVariant car_value(const QString &code, const char *field) const
        {
            return plant.db().scalar(QStringLiteral("select %1 from car_code where code = :c").arg(QString::fromLatin1(field)),
                                     {{":c", code}});
        }
    };

    // Logs in and waits for the first working screen on 2026-03-02.
    static std::unique_ptr<Fixture> open_console()
    {
        auto f = std::make_unique<Fixture>();
        const WindowPlant &p = f->plant;
        add_order(p, "2026-03-02", "01", 12, 12);
        add_order(p, "2026-03-02", "02", 20, 6);
        add_order(p, "2026-03-02", "03", 30, 0);
        add_order(p, "2026-03-01", "01", 8, 0);
        add_truck(p, "81-1111-1", "1111", "YES");
        add_truck(p, "81-2222-2", "2222", "NO");
        add_load(p, "2026-03-02", "2026-03-02", "01", "001", "81-1111-1", "07:10:00", 6);
        add_load(p, "2026-03-02", "2026-03-02", "01", "002", "81-2222-2", "08:20:00", 6);
        add_load(p, "2026-03-02", "2026-03-02", "02", "001", "81-1111-1", "09:30:00", 6);
        f->open(QDate(2026, 3, 2));
        return f;
    }

private Q_SLOTS:
    void first_screen_shows_the_day()
    {
        auto f = open_console();
        QCOMPARE(f->column(f->suju(), "seq"), (QStringList{"01", "02", "03"}));
        QCOMPARE(f->console->orders->suju_grid->cursor_row(), 0);
        QCOMPARE(f->total(1), QStringLiteral("62"));
        QCOMPARE(f->total(3), QStringLiteral("18"));
        QCOMPARE(f->total(5), QStringLiteral("44"));
        // The out-of-service truck loaded today: the recount put it back.
        QCOMPARE(f->column(f->cars(), "scode"), (QStringList{"1111", "2222"}));
        QCOMPARE(f->column(f->cars(), "c_dsum"), (QStringList{"2", "1"}));
        QCOMPARE(f->column(f->cholha(), "o_count"), (QStringList{"002", "001"}));
        QVERIFY(f->console->vehicles->RGrid->isHidden());
        QCOMPARE(f->console->findChild<QCheckBox *>(QStringLiteral("autosend_chk"))->isChecked(), true);
        QCOMPARE(f->plant.prompter.shown, QStringList());
    }

    void day_change_reloads_orders_counts_and_shipments()
    {
        auto f = open_console();
        f->console->list_page->setCurrentWidget(f->console->cholha_tab);
        f->console->activateWindow();
        QTRY_VERIFY(f->console->isActiveWindow());
        f->console->dam_edit->setFocus();
        f->console->ilja_combo->setDate(QDate(2026, 3, 1));
        QCOMPARE(f->console->board_date(), QStringLiteral("2026-03-01"));
        QCOMPARE(f->column(f->suju(), "seq"), QStringList{"01"});
        QCOMPARE(f->total(1), QStringLiteral("8"));
        QCOMPARE(f->total(7), QStringLiteral("0"));
        QCOMPARE(f->cholha()->rowCount(), 0);
        // No load left on the 1st: counts zero for that day.
        QCOMPARE(f->column(f->cars(), "c_dsum"), (QStringList{"0", "0"}));
        QVERIFY(f->console->orders->suju_grid->hasFocus());

        f->console->ilja_combo->setDate(QDate(2026, 3, 3));  // a day without orders
        QCOMPARE(f->suju()->rowCount(), 0);
        for (int panel : {1, 3, 5, 7})
            QCOMPARE(f->total(panel), QStringLiteral("0"));
    }

    void the_shipments_follow_the_cursor()
    {
        auto f = open_console();
        BoardGrid *grid = f->console->orders->suju_grid;
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(grid->cursor_row(), 1);
        QCOMPARE(f->column(f->cholha(), "o_scode"), QStringList{"02"});
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(f->cholha()->rowCount(), 0);
        f->click_row(grid, 0);
        QCOMPARE(f->column(f->cholha(), "o_count"), (QStringList{"002", "001"}));
        QCOMPARE(f->column(f->cholha(), "o_outorder"), (QStringList{"6", "6"}));
    }

    void closing_and_reopening_with_the_board_modes()
    {
        auto f = open_console();
        OrderBoard *b = f->console->orders;
        b->suju_grid->set_cursor_row(1);
        QTest::mouseClick(b->makam_btn, Qt::LeftButton);  // closes order 02
        QCOMPARE(f->column(f->suju(), "seq"), (QStringList{"01", "03"}));
        QCOMPARE(f->total(1), QStringLiteral("62"));  // closed orders still count
        QCOMPARE(f->plant.db().scalar(QStringLiteral("select v_outorder from r_suju where ilja = '2026-03-02' and seq = '02'")).toDouble(), 6.0);

        QTest::mouseClick(b->makam_chk, Qt::LeftButton);
        QCOMPARE(f->column(f->suju(), "seq"), QStringList{"02"});
        QCOMPARE(b->suju_grid->palette().color(QPalette::Base), QColor(Qt::green));
        QCOMPARE(b->makam_btn->text(), QStringLiteral("재 개"));

        // A recalculation and a day change reload the open orders, the mode stays.
        QTest::mouseClick(b->refresh_btn, Qt::LeftButton);
        QCOMPARE(f->column(f->suju(), "seq"), (QStringList{"01", "03"}));
        QVERIFY(b->makam_chk->isChecked());
        QCOMPARE(b->makam_btn->text(), QStringLiteral("재 개"));

        QTest::mouseClick(b->makam_chk, Qt::LeftButton);
        QTest::mouseClick(b->makam_chk, Qt::LeftButton);
        QCOMPARE(f->column(f->suju(), "seq"), QStringList{"02"});
        QTest::mouseClick(b->makam_btn, Qt::LeftButton);  // reopens
        QCOMPARE(f->suju()->rowCount(), 0);
        QTest::mouseClick(b->makam_chk, Qt::LeftButton);
        QCOMPARE(f->column(f->suju(), "seq"), (QStringList{"01", "02", "03"}));
        QCOMPARE(b->suju_grid->palette().color(QPalette::Base), QColor(Qt::white));
        QCOMPARE(b->makam_btn->text(), QStringLiteral("마 감"));

        // Closed orders of a day without any: an empty green grid.
        f->console->ilja_combo->setDate(QDate(2026, 3, 1));
        QTest::mouseClick(b->makam_chk, Qt::LeftButton);
        QCOMPARE(f->suju()->rowCount(), 0);
        QCOMPARE(b->makam_btn->text(), QStringLiteral("재 개"));
        QTest::mouseClick(b->makam_btn, Qt::LeftButton);  // nothing under the cursor: changes nothing
        QCOMPARE(f->plant.prompter.shown, QStringList());
    }

    void recalculation_rebuilds_the_figures_from_the_loads()
    {
        auto f = open_console();
        const WindowPlant &p = f->plant;
        // Order 03 (30 m3) over-shipped by hand; order 01 shipped exactly;
        // a closed order counts as well; another day stays as it was.
        for (int i = 1; i <= 6; ++i)
            add_load(p, "2026-03-02", "2026-03-02", "03", qPrintable(QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0'))),
                 "81-1111-1", "11:00:00", 6);
        p.exec(QStringLiteral("update r_suju set v_state = 'NO', v_outorder = 99 where seq = '02' and ilja = '2026-03-02'"));
        p.exec(QStringLiteral("update r_suju set v_outorder = 5, v_reorder = 3, v_ccount = 9 where ilja = '2026-03-01'"));
        QTest::mouseClick(f->console->orders->refresh_btn, Qt::LeftButton);

        QCOMPARE(f->column(f->suju(), "seq"), (QStringList{"01", "03"}));
        QCOMPARE(f->column(f->suju(), "v_outorder"), (QStringList{"12", "36"}));
        QCOMPARE(f->column(f->suju(), "v_reorder"), (QStringList{"0", "0"}));
        QCOMPARE(f->column(f->suju(), "v_ccount"), (QStringList{"2", "6"}));
        QCOMPARE(p.db().scalar(QStringLiteral("select v_outorder from r_suju where ilja = '2026-03-02' and seq = '02'")).toDouble(), 6.0);
        QCOMPARE(f->total(3), QStringLiteral("54"));
        QCOMPARE(f->total(5), QStringLiteral("14"));
        QCOMPARE(f->total(7), QStringLiteral("9"));
        QCOMPARE(p.db().scalar(QStringLiteral("select v_ccount from r_suju where ilja = '2026-03-01'")).toInt(), 9);
    }

    void full_recount_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QStringList>("day_counts");    // per truck A, B, C
        QTest::addColumn<QStringList>("month_counts");
        QTest::addColumn<QStringList>("states");
        QTest::addColumn<QStringList>("stations");
        // A: loads on 3/1, 3/2 (two) and 3/16; B (out of service): one on 3/2;
        // C: none.  Every truck starts with counts of 7 and a site.
        QTest::newRow("first of the month: month = day")
            << "2026-03-01" << QStringList{"1", "0", "0"} << QStringList{"1", "0", "0"}
            << QStringList{"YES", "NO", "YES"} << QStringList{"현장A", "현장B", "현장C"};
        QTest::newRow("a day with loads; the out-of-service truck is back")
            << "2026-03-02" << QStringList{"2", "1", "0"} << QStringList{"3", "1", "0"}
            << QStringList{"YES", "YES", "YES"} << QStringList{"현장A", "현장B", "현장C"};
        QTest::newRow("the 15th counts the first fifteen days only")
            << "2026-03-15" << QStringList{"0", "0", "0"} << QStringList{"0", "0", "0"}
            << QStringList{"YES", "NO", "YES"} << QStringList{"", "현장B", ""};
        QTest::newRow("the 16th")
            << "2026-03-16" << QStringList{"1", "0", "0"} << QStringList{"4", "0", "0"}
            << QStringList{"YES", "NO", "YES"} << QStringList{"현장A", "현장B", "현장C"};
    }

    void full_recount()
    {
        QFETCH(QString, date);
        QFETCH(QStringList, day_counts);
        QFETCH(QStringList, month_counts);
        QFETCH(QStringList, states);
        QFETCH(QStringList, stations);
        WindowPlant p;
        add_truck(p, "A", "0001", "YES", "현장A");
        add_truck(p, "B", "0002", "NO", "현장B");
        add_truck(p, "C", "0003", "YES", "현장C");
        add_load(p, "2026-02-28", "2026-02-28", "01", "001", "A", "10:00:00", 6);
        add_load(p, "2026-03-01", "2026-03-01", "01", "001", "A", "10:00:00", 6);
        add_load(p, "2026-03-02", "2026-03-02", "01", "001", "A", "10:00:00", 6);
        add_load(p, "2026-03-02", "2026-03-01", "02", "001", "A", "11:00:00", 6);  // yesterday's order
        add_load(p, "2026-03-02", "2026-03-02", "03", "001", "B", "12:00:00", 6);
        add_load(p, "2026-03-16", "2026-03-16", "01", "001", "A", "12:00:00", 6);
        vehicles_db::recount_all_vehicles(p.db(), date);
        QSqlQuery q = p.db().query(QStringLiteral("select c_dsum, c_msum, c_state, c_station from car_code order by code"));
        QStringList d, m, s, st;
        while (q.next()) {
            d << q.value(0).toString();
            m << q.value(1).toString();
            s << q.value(2).toString();
            st << q.value(3).toString();
        }
        QCOMPARE(d, day_counts);
        QCOMPARE(m, month_counts);
        QCOMPARE(s, states);
        QCOMPARE(st, stations);
        // The plant's other software reads an emptied site as empty text, not NULL.
        QCOMPARE(p.db().scalar(QStringLiteral("select count(*) from car_code where c_station is null")).toInt(), 0);
    }

    void one_truck_recount_counts_by_order_date()
    {
        WindowPlant p;
        add_truck(p, "A", "0001", "YES");
        add_load(p, "2026-03-02", "2026-03-01", "01", "001", "A", "07:00:00", 6);  // left today, yesterday's order
        add_load(p, "2026-03-02", "2026-03-02", "01", "001", "A", "09:00:00", 6);
        vehicles_db::recount_vehicle(p.db(), QStringLiteral("2026-03-02"), QStringLiteral("A"), QStringLiteral("새 현장"));
        QCOMPARE(p.db().scalar(QStringLiteral("select c_dsum from car_code")).toInt(), 1);
        QCOMPARE(p.db().scalar(QStringLiteral("select c_msum from car_code")).toInt(), 7);
        QCOMPARE(p.db().scalar(QStringLiteral("select c_station from car_code")).toString(), QStringLiteral("새 현장"));
        vehicles_db::recount_all_vehicles(p.db(), QStringLiteral("2026-03-02"));
        QCOMPARE(p.db().scalar(QStringLiteral("select c_dsum from car_code")).toInt(), 2);
    }

    void vehicle_service_switching()
    {
        auto f = open_console();
        VehicleBoard *v = f->console->vehicles;
        f->plant.exec(QStringLiteral("update car_code set c_state = 'NO' where code = '81-2222-2'"));
        QTest::mouseClick(v->car_chk, Qt::LeftButton);  // all vehicles
        QCOMPARE(f->column(f->cars(), "c_state"), (QStringList{"YES", "NO"}));
        f->double_click_row(v->car_grid, 1);
        QCOMPARE(f->column(f->cars(), "c_state"), (QStringList{"YES", "YES"}));
        f->double_click_row(v->car_grid, 0);
        QCOMPARE(f->column(f->cars(), "c_state"), (QStringList{"NO", "YES"}));
        QCOMPARE(f->car_value(QStringLiteral("81-1111-1"), "c_state").toString(), QStringLiteral("NO"));
        QTest::mouseClick(v->car_chk, Qt::LeftButton);  // in service only
        QCOMPARE(f->column(f->cars(), "scode"), QStringList{"2222"});
        QTest::mouseClick(v->car_yes_btn, Qt::LeftButton);
        QCOMPARE(f->column(f->cars(), "scode"), (QStringList{"1111", "2222"}));
        QCOMPARE(f->plant.prompter.shown, QStringList());
    }

    void trip_list_opens_on_a_click_and_closes_on_a_double_click()
    {
        auto f = open_console();
        VehicleBoard *v = f->console->vehicles;
        f->click_row(v->car_grid, 0);
        QVERIFY(v->RGrid->isVisible());
        QCOMPARE(v->RGrid->rowCount(), 2);
        QCOMPARE(v->RGrid->item(0, 0)->text(), QStringLiteral("07:10:00"));
        QCOMPARE(v->RGrid->item(1, 1)->text(), QStringLiteral("거래처02"));
        QCOMPARE(v->RGrid->item(1, 2)->text(), QStringLiteral("현장02"));
        // The arrow key changes the list but not whether it shows.
        v->car_grid->setFocus();
        QTest::keyClick(v->car_grid, Qt::Key_Down);
        QCOMPARE(v->RGrid->rowCount(), 1);
        QVERIFY(v->RGrid->isVisible());

        // With the link off a double-click only says so, and hides the list.
        f->double_click_row(v->car_grid, 0);
        QVERIFY(v->RGrid->isHidden());
        QCOMPARE(f->plant.prompter.shown, QStringList{QStringLiteral("통신을 먼저 연결하시오")});
        QVERIFY(!v->trip_list_suppressed);
        f->click_row(v->car_grid, 0);
        QVERIFY(v->RGrid->isVisible());

        f->double_click_row(f->console->orders->suju_grid, 0);
        QCOMPARE(f->plant.prompter.shown.size(), 2);
        QCOMPARE(f->plant.prompter.last(), QStringLiteral("통신을 먼저 연결하시오"));
    }

    void closing_the_vehicle_window_recounts_the_trucks()
    {
        auto f = open_console();
        f->plant.exec(QStringLiteral("update car_code set c_dsum = 0, c_msum = 0, c_state = 'NO'"));
        QString opened;
        on_next_modal([&](QWidget *m) { opened = m->objectName(); m->close(); });
        f->console->navigation->car_btn->click();
        QCOMPARE(opened, QStringLiteral("F_CAR"));
        QCOMPARE(f->car_value(QStringLiteral("81-1111-1"), "c_dsum").toInt(), 2);
        QCOMPARE(f->car_value(QStringLiteral("81-2222-2"), "c_state").toString(), QStringLiteral("YES"));
        on_next_modal([&](QWidget *m) { opened = m->objectName(); m->close(); });
        f->console->navigation->N1->trigger();
        QCOMPARE(opened, QStringLiteral("F_CUSTOMER"));
    }

    void menus_open_their_windows_and_exit_ends()
    {
        auto f = open_console();
        ConsoleNavigation *n = f->console->navigation;
        QCOMPARE(n->comm_menu->text(), QStringLiteral("통 신 설 정"));
        QString opened;
        on_next_modal([&](QWidget *m) { opened = m->objectName(); m->close(); });
        n->comm_menu->trigger();
        QCOMPARE(opened, QStringLiteral("F_COMM"));
        on_next_modal([&](QWidget *m) { opened = m->objectName(); m->close(); });
        n->N9->trigger();
        QCOMPARE(opened, QStringLiteral("F_OPTION"));
        QVERIFY(!f->console->findChild<QDialog *>(QStringLiteral("F_OPTION")));  // destroyed
        for (const char *name : {"N1", "N2", "N3", "N4", "B1", "E1", "N11", "Z1", "N6"})
            QVERIFY2(f->console->findChild<QAction *>(QString::fromLatin1(name)), name);
        n->Z1->trigger();
        QVERIFY(!f->console->isVisible());
    }
};

QTEST_MAIN(TestConsole)
#include "tst_console_db.moc"
