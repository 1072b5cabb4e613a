#include "gui/framework/board_grid.h"
#include "console_fixture.h"
#include "fake_console.h"
#include "gui/console/main_window.h"
#include "gui/console/order_board.h"
#include "gui/console/vehicle_board.h"
#include "core/plantlink/plant_link.h"
#include "gui/framework/two_state_switch.h"
#include "gui/framework/date_box.h"
#include "core/framework/record_table_model.h"
#include "gui/framework/time_box.h"
#include "gui/shipments/shipment_editor.h"
#include "window_support.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// 수동송장 follows the plant: a load recorded by the console while the
// editor is open shows in its grids, totals and the trip number offered,
// and nothing being typed changes.  It fills the screen, shows its day as
// the console does and keeps the operator on a vehicle it cannot find.
class TestEditorFollows : public QObject {
    Q_OBJECT

    static constexpr const char *day = "2026-03-02";

    struct Editor {
        WindowPlant plant;
        FakeConsoleOps console;
        std::unique_ptr<TF_CHOLHAEDIT> w;

        Editor()
        {
            plant.clock.set(QDateTime(QDate(2026, 3, 2), QTime(10, 0, 0)));
            plant.ctx.console = &console;
            add_order(plant, day, "01", 30, 0);
            add_order(plant, day, "02", 12, 0);
            add_truck(plant, "81-1111-1", "1111", "YES", "옛현장");
            add_truck(plant, "81-2222-2", "2222", "YES", "옛현장");
        }
        ~Editor() { w.reset(); }

        // A load counted into its order as the recording does, then the
        // console's notice.
        void record(const char *seq, const char *count, const char *time, double m3)
        {
            plant.exec(QStringLiteral("insert into cholha (o_date, o_fdate, o_otime, o_scode, o_count, o_carnum,"
                                      " o_hogi, o_outorder, o_moltal, o_ccode, o_return) values"
                                      " (:d, :d, :t, :s, :c, '81-1111-1', '1', :q, 0, '1111', '**')"),
                       {{":d", QString::fromLatin1(day)}, {":t", QString::fromLatin1(time)},
                        {":s", QString::fromLatin1(seq)}, {":c", QString::fromLatin1(count)}, {":q", m3}});
            plant.exec(QStringLiteral("update r_suju set v_outorder = v_outorder + :q, v_reorder = order_m3 - v_outorder - :q,"
                                      " v_ccount = v_ccount + 1 where ilja = :d and seq = :s"),
                       {{":q", m3}, {":d", QString::fromLatin1(day)}, {":s", QString::fromLatin1(seq)}});
        }

        void open()
        {
            w = std::make_unique<TF_CHOLHAEDIT>(plant.ctx);
            w->show();
            QVERIFY(QTest::qWaitForWindowActive(w.get()));
        }

        void click_row(BoardGrid *grid, int row) const
        {
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                              grid->visualRect(grid->model()->index(row, 1)).center());
        }
        void type(QLineEdit *box, const QString &text) const
        {
            box->setFocus();
            box->selectAll();
            QTest::keyClicks(box, text);
        }
        QStringList column(BoardGrid *grid, const char *field) const
        {
            QStringList values;
            for (int r = 0; r < grid->records()->rowCount(); ++r)
                values << grid->records()->text(r, QString::fromLatin1(field));
            return values;
        }
        QString shipped_total() const { return w->total_panels[3]->text(); }
    };

private Q_SLOTS:
    void a_recorded_load_shows_while_the_editor_is_open_data()
    {
        QTest::addColumn<QString>("state");
        QTest::newRow("browsing") << "browse";
        QTest::newRow("typing a new load") << "new";
        QTest::newRow("correcting a load") << "edit";
    }

    void a_recorded_load_shows_while_the_editor_is_open()
    {
        QFETCH(QString, state);
        Editor e;
        e.record("02", "001", "08:00:00", 6);
        e.open();
        TF_CHOLHAEDIT &w = *e.w;
        e.click_row(w.suju_grid, 1);  // order 02, worked on
        QCOMPARE(w.suju_query->text(w.suju_grid->cursor_row(), "seq"), QStringLiteral("02"));
        QCOMPARE(e.shipped_total(), QStringLiteral("6"));
        if (state == QLatin1String("new")) {
            w.new_btn->click();
            e.click_row(w.suju_grid, 1);
            QCOMPARE(w.hy06->text(), QStringLiteral("002"));
            e.type(w.hy03, QStringLiteral("7"));
            e.type(w.hy05, QStringLiteral("22"));
        } else if (state == QLatin1String("edit")) {
            w.edt_btn->click();
            e.type(w.hy03, QStringLiteral("5.5"));
        }
        e.console.calls.clear();

        // Batch unit 1 records a load of order 02, unit 2 one of order 01.
        e.record("02", "002", "10:00:00", 6);
        e.record("01", "001", "10:00:05", 7);
        Q_EMIT e.console.notices.load_recorded();

        QCOMPARE(w.suju_query->text(w.suju_grid->cursor_row(), "seq"), QStringLiteral("02"));
        QCOMPARE(e.column(w.suju_grid, "v_outorder"), (QStringList{"7", "12"}));
        QCOMPARE(e.shipped_total(), QStringLiteral("19"));
        QCOMPARE(e.column(w.cholha_grid, "o_count"), (QStringList{"002", "001"}));
        QCOMPARE(e.console.calls, QStringList());  // the console has reloaded its own
        if (state == QLatin1String("new")) {
            QCOMPARE(w.hy06->text(), QStringLiteral("003"));
            QCOMPARE(w.hy03->text(), QStringLiteral("7"));
            QCOMPARE(w.hy05->text(), QStringLiteral("22"));
            QVERIFY(w.sav_btn->isEnabled());
        } else if (state == QLatin1String("edit")) {
            QCOMPARE(w.hy03->text(), QStringLiteral("5.5"));
            QCOMPARE(w.hy06->text(), QStringLiteral("001"));  // the load being corrected
            QVERIFY(w.sav_btn->isEnabled());
        } else {
            QCOMPARE(w.hy06->text(), QStringLiteral("001"));  // the load that was shown stays under the cursor
            QCOMPARE(w.cholha_grid->cursor_row(), 1);
        }
    }

    // The console's own recording, from batch unit 1's first "B".
    void the_consoles_recording_reaches_the_open_editor()
    {
        ConsoleFixture f;
        add_order(f.plant, day, "01", 30, 0);
        add_order(f.plant, day, "02", 12, 0);
        add_truck(f.plant, "81-1111-1", "1111", "YES");
        add_truck(f.plant, "81-2222-2", "2222", "YES");
        f.open();
        QTest::mouseClick(f.console->comm_switch, Qt::LeftButton);
        f.double_click_row(f.console->orders->suju_grid, 1);  // order 02 into unit 1's first slot
        f.double_click_row(f.console->vehicles->car_grid, 1);
        QTRY_VERIFY(!f.console->link->sending());

        TF_CHOLHAEDIT w(f.plant.ctx, f.console.get());
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        f.click_row(w.suju_grid, 1);
        QCOMPARE(w.cholha_query->rowCount(), 0);
        f.line1.feed("B");
        QTRY_COMPARE(w.cholha_query->rowCount(), 1);
        QCOMPARE(w.suju_query->text(w.suju_grid->cursor_row(), "seq"), QStringLiteral("02"));
        QCOMPARE(w.suju_query->text(w.suju_grid->cursor_row(), "v_outorder"), QStringLiteral("6"));
        QCOMPARE(w.total_panels[7]->text(), QStringLiteral("1"));
        QCOMPARE(w.hy06->text(), QStringLiteral("001"));
    }

    // A load saved after a recording gets the next trip of the order.
    void a_new_load_after_a_recording_takes_the_next_trip()
    {
        Editor e;
        e.open();
        TF_CHOLHAEDIT &w = *e.w;
        w.new_btn->click();
        e.click_row(w.suju_grid, 0);
        QCOMPARE(w.hy06->text(), QStringLiteral("001"));
        e.record("01", "001", "09:00:00", 6);
        Q_EMIT e.console.notices.load_recorded();
        QCOMPARE(w.hy06->text(), QStringLiteral("002"));
        e.type(w.hy05, QStringLiteral("2222"));
        QTest::keyClick(w.hy05, Qt::Key_Return);
        w.sav_btn->click();
        QCOMPARE(e.plant.prompter.shown, QStringList());
        QCOMPARE(e.column(w.cholha_grid, "o_count"), (QStringList{"002", "001"}));
    }

    void it_fills_the_screen_and_shows_its_day_as_the_console()
    {
        Editor e;
        e.open();
        QVERIFY(e.w->windowState() & Qt::WindowMaximized);
        QCOMPARE(e.w->ilja_combo->text(), QStringLiteral("2026년 3월 2일 월요일"));
        QCOMPARE(e.w->working_date(), QString::fromLatin1(day));
    }

    // Leaving a vehicle number the lookup cannot resolve keeps the focus
    // on it, as Enter does.
    void leaving_a_vehicle_that_is_not_found_stays_on_it()
    {
        Editor e;
        e.open();
        TF_CHOLHAEDIT &w = *e.w;
        w.new_btn->click();
        e.click_row(w.suju_grid, 0);
        e.type(w.hy05, QStringLiteral("9999"));
        bool listed = false;
        on_next_modal([&](QWidget *list) {
            listed = true;
            QTest::keyClick(list, Qt::Key_Escape);
        });
        w.hy03->setFocus();
        QTRY_VERIFY(listed);
        QTRY_COMPARE(QApplication::focusWidget(), w.hy05);
        QCOMPARE(w.hy10->text(), QString());
    }
};

QTEST_MAIN(TestEditorFollows)
#include "tst_editor_follows_db.moc"
