#include "gui/framework/board_grid.h"
#include "gui/console/navigation.h"
#include "gui/console/order_board.h"
#include "gui/console/vehicle_board.h"
#include "console_fixture.h"
#include "fake_console.h"
#include "gui/framework/date_box.h"
#include "core/framework/record_table_model.h"
#include "gui/framework/report_output.h"
#include "gui/framework/time_box.h"
#include "gui/framework/two_state_switch.h"
#include "core/plantlink/plant_link.h"
#include "gui/plantlink/ticket_report.h"
#include "report_check.h"
#include "gui/shipments/shipment_editor.h"
#include "window_support.h"
#include "xlsx_check.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>
#include <QToolButton>

// 수동송장: loads entered, corrected and deleted by hand, orders closed and
// tickets printed, driven as the office does it.
class TestShipmentEditor : public QObject {
    Q_OBJECT

    static constexpr const char *day = "2026-03-02";

    struct Editor {
        WindowPlant plant;
        FakeConsoleOps console;
        QString pdf_folder;
        std::unique_ptr<ReportOutput> reports;
        std::unique_ptr<TF_QR_SONGJANG> ticket;
        std::unique_ptr<TF_CHOLHAEDIT> w;

        Editor()
        {
            plant.clock.set(QDateTime(QDate(2026, 3, 2), QTime(10, 0, 0)));
            plant.ctx.console = &console;
            pdf_folder = plant.dir.filePath(QStringLiteral("printed"));
            QDir().mkpath(pdf_folder);
            reports = std::make_unique<ReportOutput>(pdf_folder);
            ticket = std::make_unique<TF_QR_SONGJANG>(*plant.dbm, plant.prompter, plant.clock, *reports);
            plant.ctx.reports = reports.get();
            plant.ctx.qr_songjang = ticket.get();
            plant.dbm->settings.top_margin = QStringLiteral("2");
            plant.dbm->settings.left_margin = QStringLiteral("1");
            add_order(plant, day, "01", 30, 0);
            add_order(plant, day, "02", 12, 0);
            add_order(plant, day, "03", 9, 0, "NO");
            add_truck(plant, "81-1111-1", "1111", "YES", "옛현장");
            add_truck(plant, "81-2222-2", "2222", "YES", "옛현장");
            plant.exec(QStringLiteral("insert into r_size (remi_code, standard, rul_ks) values ('1004', '25-210-12', 'KS')"));
        }
        ~Editor() { w.reset(); }

        // A load counted into its order as the recording does.
        void load(const char *seq, const char *count, const char *car, const char *number, const char *time,
                  double m3) const
        {
            plant.exec(QStringLiteral("insert into cholha (o_date, o_fdate, o_otime, o_scode, o_count, o_carnum,"
                                      " o_hogi, o_outorder, o_moltal, o_ccode, o_return) values"
                                      " (:d, :d, :t, :s, :c, :car, '1', :q, 0, :n, '**')"),
                       {{":d", QString::fromLatin1(day)}, {":t", QString::fromLatin1(time)},
                        {":s", QString::fromLatin1(seq)}, {":c", QString::fromLatin1(count)},
                        {":car", QString::fromLatin1(car)}, {":n", QString::fromLatin1(number)}, {":q", m3}});
            plant.exec(QStringLiteral("update r_suju set v_outorder = v_outorder + :q, v_reorder = order_m3 - v_outorder - :q,"
                                      " v_ccount = v_ccount + 1 where ilja = :d and seq = :s"),
                       {{":q", m3}, {":d", QString::fromLatin1(day)}, {":s", QString::fromLatin1(seq)}});
        }

        void open()
        {
            w = std::make_unique<TF_CHOLHAEDIT>(plant.ctx);
            w->resize(1200, 800);
            w->show();
            QVERIFY(QTest::qWaitForWindowActive(w.get()));
        }

        QStringList loads(const QString &seq) const
        {
            QSqlQuery q = plant.db().query(QStringLiteral("select o_count, o_otime, o_ccode, o_carnum, o_outorder, o_moltal,"
                                                          " o_return, o_hogi from cholha where o_fdate = :f and o_scode = :s"
                                                          " order by o_date, o_otime"),
                                           {{":f", QString::fromLatin1(day)}, {":s", seq}});
            QStringList rows;
            while (q.next())
                rows << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8")
                            .arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString())
                            .arg(number_or_zero(q.value(4)))
                            .arg(number_or_zero(q.value(5)))
                            .arg(q.value(6).toString(), q.value(7).toString());
            return rows;
        }
        QString order(const QString &seq) const
        {
            QSqlQuery q = plant.db().query(QStringLiteral("select v_outorder, v_reorder, v_ccount, v_state from r_suju"
                                                          " where ilja = :d and seq = :s"),
                                           {{":d", QString::fromLatin1(day)}, {":s", seq}});
            if (!q.next())
                return QStringLiteral("missing");
            return QStringLiteral("%1 %2 %3 %4").arg(number_or_zero(q.value(0))).arg(number_or_zero(q.value(1)))
                .arg(number_or_zero(q.value(2))).arg(q.value(3).toString());
        }
        QString truck(const QString &code) const
        {
            QSqlQuery q = plant.db().query(QStringLiteral("select c_dsum, c_station from car_code where code = :c"),
                                           {{":c", code}});
            return q.next() ? QStringLiteral("%1 %2").arg(q.value(0).toInt()).arg(q.value(1).toString()) : QString();
        }
        QStringList column(BoardGrid *grid, const char *field) const
        {
            QStringList values;
            for (int r = 0; r < grid->records()->rowCount(); ++r)
                values << grid->records()->text(r, QString::fromLatin1(field));
            return values;
        }
        // new, edit, delete, save, cancel, order grid, shipment grid
        QList<bool> state() const
        {
            return {w->new_btn->isEnabled(), w->edt_btn->isEnabled(), w->del_btn->isEnabled(),
                    w->sav_btn->isEnabled(), w->can_btn->isEnabled(), w->suju_grid->isEnabled(),
                    w->cholha_grid->isEnabled()};
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
        void enter(QWidget *field) const
        {
            field->setFocus();
            QTest::keyClick(field, Qt::Key_Return);
        }
        // Picks the vehicle by its number as the operator does: typed, Enter.
        void vehicle(const QString &number) const
        {
            type(w->hy05, number);
            enter(w->hy05);
        }
        QStringList printed() const
        {
            QStringList files = QDir(pdf_folder).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name);
            for (QString &f : files)
                f = QDir(pdf_folder).filePath(f);
            return files;
        }
        void shoot(const char *name) const
        {
            const QString folder = qEnvironmentVariable("VELDARO_SCREENSHOTS");
            if (!folder.isEmpty())
                w->grab().save(QDir(folder).filePath(QString::fromLatin1(name) + QStringLiteral(".png")));
        }
    };

    static QRectF word(const QList<PdfWord> &words, const QString &text)
    {
        const QList<QRectF> found = find_text(words, text);
        return found.isEmpty() ? QRectF() : found.first();
    }

private Q_SLOTS:
    void opening_shows_the_days_open_orders_and_the_latest_load()
    {
        Editor e;
        e.load("01", "001", "81-1111-1", "1111", "08:00:00", 6);
        e.load("01", "002", "81-2222-2", "2222", "09:00:00", 6);
        e.open();
        QCOMPARE(e.w->objectName(), QStringLiteral("F_CHOLHAEDIT"));
        QCOMPARE(e.w->windowTitle(), QStringLiteral("수동송장"));
        QCOMPARE(e.w->working_date(), QString::fromLatin1(day));
        QCOMPARE(e.w->dam_edit->text(), QStringLiteral("홍길동"));
        QCOMPARE(e.column(e.w->suju_grid, "seq"), (QStringList{"01", "02"}));
        QCOMPARE(e.column(e.w->cholha_grid, "o_count"), (QStringList{"002", "001"}));
        QCOMPARE(e.w->hy02->time_text(), QStringLiteral("09:00:00"));
        QCOMPARE(e.w->hy05->text(), QStringLiteral("2222"));
        QCOMPARE(e.w->hy06->text(), QStringLiteral("002"));
        QCOMPARE(e.w->hy07->text(), QStringLiteral("거래처01"));
        QCOMPARE(e.w->hy10->text(), QStringLiteral("81-2222-2"));
        QCOMPARE(e.state(), (QList<bool>{true, true, true, false, false, true, true}));
        QVERIFY(!e.w->hy03->isEnabled());
        QVERIFY(e.w->Pnl_Print->isHidden());
        // All orders of the day count, the closed one too.
        QCOMPARE(e.w->total_panels[1]->text(), QStringLiteral("51"));
        QCOMPARE(e.w->total_panels[3]->text(), QStringLiteral("12"));
        QCOMPARE(e.w->total_panels[7]->text(), QStringLiteral("2"));
        QVERIFY(e.console.calls.contains(QStringLiteral("load_orders 2026-03-02 YES")));
        QVERIFY(e.console.calls.contains(QStringLiteral("load_shipments 2026-03-02 01")));
        QVERIFY(!e.w->N6->isEnabled());  // until the hand ticket is wired
        e.shoot("editor_browse");
    }

    void both_lists_save_as_workbooks()
    {
        Editor e;
        e.load("01", "001", "81-1111-1", "1111", "08:00:00", 6);
        e.load("01", "002", "81-2222-2", "2222", "09:00:00", 6.5);
        e.open();
        QStringList proposed;
        e.w->ask_export_path = [&](const QString &name) {
            proposed << name;
            return e.plant.dir.filePath(name + QStringLiteral(".xlsx"));
        };
        e.w->suju_excel_btn->click();
        e.w->cholha_excel_btn->click();
        QCOMPARE(e.plant.prompter.shown, QStringList());
        QCOMPARE(proposed, (QStringList{QStringLiteral("출하예정_2026-03-02"), QStringLiteral("출하내역_2026-03-02")}));
        const XlsxSheet orders = read_xlsx(e.plant.dir.filePath(proposed[0] + QStringLiteral(".xlsx")));
        QCOMPARE(orders.texts(0), QStringList{QStringLiteral("[출하예정]")});
        QCOMPARE(orders.texts(1), QStringList{QStringLiteral("일자 : 2026-03-02")});
        // The rows as the grid shows them, numbers that are names kept as text with their zeros.
        const auto texts_among = [](const XlsxSheet &x, const QStringList &wanted) {
            QStringList found;
            for (int row = 4; row < x.rows.size(); ++row)
                for (const XlsxCell &c : x.rows[row])
                    if (!c.number && wanted.contains(c.text))
                        found << c.text;
            return found;
        };
        QCOMPARE(texts_among(orders, {QStringLiteral("01"), QStringLiteral("02")}),
                 (QStringList{QStringLiteral("01"), QStringLiteral("02")}));
        const XlsxSheet loads = read_xlsx(e.plant.dir.filePath(proposed[1] + QStringLiteral(".xlsx")));
        const QStringList trips = texts_among(loads, {QStringLiteral("001"), QStringLiteral("002")});
        QCOMPARE(trips, (QStringList{QStringLiteral("002"), QStringLiteral("001")}));
    }

    void a_new_load_with_mortar_goes_to_the_picked_order()
    {
        Editor e;
        e.open();
        e.w->new_btn->click();
        QCOMPARE(e.w->edit_mode(), QStringLiteral("insert"));
        QCOMPARE(e.state(), (QList<bool>{false, false, false, true, true, true, false}));
        e.click_row(e.w->suju_grid, 1);
        QCOMPARE(e.w->hy06->text(), QStringLiteral("001"));
        QCOMPARE(e.w->hy08->text(), QStringLiteral("현장02"));
        QCOMPARE(e.w->hy02->time_text(), QStringLiteral("10:00:00"));
        QCOMPARE(QApplication::focusWidget(), e.w->hy01);
        QTest::keyClick(e.w->hy01, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), e.w->hy02);
        QTest::keyClick(e.w->hy02, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), e.w->hy03);
        QTest::keyClick(e.w->hy03, Qt::Key_PageUp);
        QCOMPARE(QApplication::focusWidget(), e.w->hy02);
        e.type(e.w->hy03, QStringLiteral("2"));
        e.type(e.w->hy04, QStringLiteral("1"));
        e.vehicle(QStringLiteral("1111"));
        QCOMPARE(e.w->hy10->text(), QStringLiteral("81-1111-1"));
        QCOMPARE(QApplication::focusWidget(), e.w->hy12);
        e.shoot("editor_insert");
        e.enter(e.w->hy12);
        QCOMPARE(QApplication::focusWidget(), e.w->sav_btn);
        e.w->sav_btn->click();

        QCOMPARE(e.plant.prompter.shown, QStringList());
        QCOMPARE(e.loads(QStringLiteral("02")), QStringList{"001 10:00:00 1111 81-1111-1 3 1 ** 1"});
        QCOMPARE(e.order(QStringLiteral("02")), QStringLiteral("3 9 1 YES"));
        QCOMPARE(e.order(QStringLiteral("01")), QStringLiteral("0 30 0 YES"));
        QCOMPARE(e.truck(QStringLiteral("81-1111-1")), QStringLiteral("1 현장02"));
        QVERIFY(e.console.calls.contains(QStringLiteral("load_vehicles YES")));
        // Back to browsing, on the saved load, shown as quantity and mortar.
        QCOMPARE(e.state(), (QList<bool>{true, true, true, false, false, true, true}));
        QCOMPARE(e.w->hy03->text(), QStringLiteral("2"));
        QCOMPARE(e.w->hy04->text(), QStringLiteral("1"));
        QCOMPARE(e.w->hy06->text(), QStringLiteral("001"));
        QCOMPARE(e.column(e.w->suju_grid, "v_outorder"), (QStringList{"0", "3"}));
        QCOMPARE(e.w->total_panels[3]->text(), QStringLiteral("3"));
        QCOMPARE(QApplication::focusWidget(), e.w->prn_btn);
    }

    void a_vehicle_number_that_is_not_four_characters_is_emptied_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("three") << "111";
        QTest::newRow("five") << "11111";
    }
    void a_vehicle_number_that_is_not_four_characters_is_emptied()
    {
        QFETCH(QString, typed);
        Editor e;
        e.open();
        e.w->new_btn->click();
        e.click_row(e.w->suju_grid, 0);
        e.type(e.w->hy05, typed);
        e.w->hy12->setFocus();  // leaving the field
        QCOMPARE(e.w->hy05->text(), QString());
        QCOMPARE(e.w->hy10->text(), QString());
        e.w->sav_btn->click();
        QCOMPARE(e.plant.prompter.shown, QStringList{"일자,시간,수량,차량,호기를 등록하시오."});
        QCOMPARE(e.loads(QStringLiteral("01")), QStringList());
        QCOMPARE(e.order(QStringLiteral("01")), QStringLiteral("0 30 0 YES"));
        QCOMPARE(e.truck(QStringLiteral("81-1111-1")), QStringLiteral("7 옛현장"));
        QVERIFY(e.w->sav_btn->isEnabled());  // still entering
    }

    void leaving_four_characters_looks_the_vehicle_up()
    {
        Editor e;
        e.open();
        e.w->new_btn->click();
        e.click_row(e.w->suju_grid, 0);
        e.type(e.w->hy05, QStringLiteral("2222"));
        e.w->hy03->setFocus();
        QCOMPARE(e.w->hy05->text(), QStringLiteral("2222"));
        QCOMPARE(e.w->hy10->text(), QStringLiteral("81-2222-2"));
        QCOMPARE(QApplication::focusWidget(), e.w->hy03);
        e.w->sav_btn->click();
        QCOMPARE(e.plant.prompter.shown, QStringList());
        QCOMPARE(e.loads(QStringLiteral("01")), QStringList{"001 10:00:00 2222 81-2222-2 6 0 ** 1"});
    }

    void a_vehicle_list_closed_without_a_pick_is_not_found()
    {
        Editor e;
        e.load("01", "001", "81-1111-1", "1111", "08:00:00", 6);
        e.open();
        e.w->edt_btn->click();
        bool list_shown = false;
        on_next_modal([&](QWidget *list) {
            list_shown = true;
            QTest::keyClick(list, Qt::Key_Escape);
        });
        e.vehicle(QStringLiteral("9"));
        QVERIFY(list_shown);
        QCOMPARE(e.w->hy10->text(), QString());
        QTRY_COMPARE(QApplication::focusWidget(), e.w->hy05);
        e.w->sav_btn->click();
        QCOMPARE(e.plant.prompter.last(), QStringLiteral("일자,시간,수량,차량,호기를 등록하시오."));
        QCOMPARE(e.loads(QStringLiteral("01")), QStringList{"001 08:00:00 1111 81-1111-1 6 0 ** 1"});
    }

    void a_batch_unit_other_than_1_or_2_is_refused()
    {
        Editor e;
        e.open();
        e.w->new_btn->click();
        e.type(e.w->hy12, QStringLiteral("3"));
        e.enter(e.w->hy12);
        QCOMPARE(e.plant.prompter.shown, QStringList{"호기를 등록하시오."});
        QCOMPARE(QApplication::focusWidget(), e.w->hy12);
    }

    void an_edit_that_keeps_its_time_asks_first()
    {
        Editor e;
        e.load("01", "001", "81-1111-1", "1111", "08:00:00", 6);
        e.open();
        e.w->edt_btn->click();
        QCOMPARE(e.state(), (QList<bool>{false, false, false, true, true, false, false}));
        e.type(e.w->hy04, QStringLiteral("1"));
        e.w->hy11->setCurrentIndex(1);
        e.shoot("editor_edit");

        e.plant.prompter.answers = {false};
        e.w->sav_btn->click();
        QCOMPARE(e.plant.prompter.questions,
                 QStringList{"같은 시간의 자료가 이미 존재합니다.\n출하예정 01번, 차량 1111, 6 m3, 08:00:00\n 갱신하시겠습니까?"});
        QCOMPARE(e.loads(QStringLiteral("01")), QStringList{"001 08:00:00 1111 81-1111-1 6 0 ** 1"});
        QCOMPARE(e.order(QStringLiteral("01")), QStringLiteral("6 24 1 YES"));
        QCOMPARE(e.w->edit_mode(), QStringLiteral("edit"));
        QVERIFY(e.w->sav_btn->isEnabled());

        e.w->sav_btn->click();  // answered OK
        QCOMPARE(e.loads(QStringLiteral("01")), QStringList{"001 08:00:00 1111 81-1111-1 7 1 회차 1"});
        QCOMPARE(e.order(QStringLiteral("01")), QStringLiteral("7 23 1 YES"));
        QCOMPARE(e.truck(QStringLiteral("81-1111-1")), QStringLiteral("1 현장01"));
        QCOMPARE(e.w->hy11->currentText(), QStringLiteral("회차"));
        QVERIFY(!e.w->sav_btn->isEnabled());
    }

    void a_mark_written_by_other_software_is_kept()
    {
        Editor e;
        e.load("01", "001", "81-1111-1", "1111", "08:00:00", 6);
        e.plant.exec(QStringLiteral("update cholha set o_return = 'R'"));
        e.open();
        QCOMPARE(e.w->hy11->currentText(), QStringLiteral("R"));
        e.w->edt_btn->click();
        e.type(e.w->hy03, QStringLiteral("5"));
        e.w->sav_btn->click();
        QCOMPARE(e.loads(QStringLiteral("01")), QStringList{"001 08:00:00 1111 81-1111-1 5 0 R 1"});
        e.w->new_btn->click();
        QCOMPARE(e.w->hy11->count(), 2);
    }

    void cancel_brings_back_the_stored_values()
    {
        Editor e;
        e.load("01", "001", "81-1111-1", "1111", "08:00:00", 6);
        e.open();
        e.w->edt_btn->click();
        e.type(e.w->hy03, QStringLiteral("9"));
        e.w->can_btn->click();
        QCOMPARE(e.w->hy03->text(), QStringLiteral("6"));
        QCOMPARE(e.state(), (QList<bool>{true, true, true, false, false, true, true}));
        QCOMPARE(e.loads(QStringLiteral("01")), QStringList{"001 08:00:00 1111 81-1111-1 6 0 ** 1"});
    }

    void deleting_asks_renumbers_and_shows_the_next_load()
    {
        Editor e;
        e.load("01", "001", "81-1111-1", "1111", "08:00:00", 6);
        e.load("01", "002", "81-2222-2", "2222", "09:00:00", 6);
        e.load("01", "003", "81-1111-1", "1111", "10:00:00", 6);
        e.open();
        e.click_row(e.w->cholha_grid, 1);  // trip 002
        QCOMPARE(e.w->hy06->text(), QStringLiteral("002"));
        e.plant.prompter.answers = {false};
        e.w->del_btn->click();
        QCOMPARE(e.plant.prompter.questions, QStringList{"삭제하겠습니까?"});
        QCOMPARE(e.loads(QStringLiteral("01")).size(), 3);

        e.w->del_btn->click();
        QCOMPARE(e.loads(QStringLiteral("01")), (QStringList{"001 08:00:00 1111 81-1111-1 6 0 ** 1",
                                                             "002 10:00:00 1111 81-1111-1 6 0 ** 1"}));
        QCOMPARE(e.order(QStringLiteral("01")), QStringLiteral("12 18 2 YES"));
        QCOMPARE(e.truck(QStringLiteral("81-2222-2")), QStringLiteral("0 "));
        QCOMPARE(e.column(e.w->cholha_grid, "o_count"), (QStringList{"002", "001"}));
        QCOMPARE(e.w->hy06->text(), QStringLiteral("002"));
        QCOMPARE(e.w->total_panels[7]->text(), QStringLiteral("2"));
    }

    void deleting_nothing_says_so()
    {
        Editor e;
        e.open();
        e.w->del_btn->click();
        QCOMPARE(e.plant.prompter.shown, QStringList{"삭제할 데이타가 없습니다."});
    }

    void a_change_on_another_day_leaves_the_vehicle_board_alone()
    {
        Editor e;
        e.console.day = QStringLiteral("2026-03-03");
        e.load("01", "001", "81-1111-1", "1111", "08:00:00", 6);
        e.open();
        e.w->del_btn->click();
        QCOMPARE(e.loads(QStringLiteral("01")), QStringList());
        QCOMPARE(e.order(QStringLiteral("01")), QStringLiteral("0 30 0 YES"));
        QCOMPARE(e.truck(QStringLiteral("81-1111-1")), QStringLiteral("7 옛현장"));
        QVERIFY(!e.console.calls.contains(QStringLiteral("load_vehicles YES")));
    }

    void closing_and_reopening_an_order()
    {
        Editor e;
        e.open();
        e.w->makam_btn->click();
        QCOMPARE(e.order(QStringLiteral("01")), QStringLiteral("0 30 0 NO"));
        QCOMPARE(e.column(e.w->suju_grid, "seq"), QStringList{"02"});
        QCOMPARE(e.w->total_panels[1]->text(), QStringLiteral("51"));

        e.w->makam_chk->click();
        QCOMPARE(e.column(e.w->suju_grid, "seq"), (QStringList{"01", "03"}));
        QCOMPARE(e.w->makam_btn->text(), QStringLiteral("재 개"));
        QCOMPARE(e.w->suju_grid->palette().color(QPalette::Base), QColor(Qt::green));
        QVERIFY(e.console.calls.contains(QStringLiteral("load_orders 2026-03-02 NO")));
        e.shoot("editor_closed_view");
        e.w->makam_btn->click();
        QCOMPARE(e.order(QStringLiteral("01")), QStringLiteral("0 30 0 YES"));
        QCOMPARE(e.column(e.w->suju_grid, "seq"), QStringList{"03"});

        e.w->makam_chk->click();
        QCOMPARE(e.w->makam_btn->text(), QStringLiteral("마 감"));
        QCOMPARE(e.column(e.w->suju_grid, "seq"), (QStringList{"01", "02"}));
    }

    void another_working_date()
    {
        Editor e;
        add_order(e.plant, "2026-02-27", "07", 18, 0);
        e.open();
        e.w->ilja_combo->set_text_date(QStringLiteral("2026-02-27"));
        QCOMPARE(e.w->working_date(), QStringLiteral("2026-02-27"));
        QCOMPARE(e.column(e.w->suju_grid, "seq"), QStringList{"07"});
        QCOMPARE(e.w->total_panels[1]->text(), QStringLiteral("18"));
        QCOMPARE(QApplication::focusWidget(), e.w->suju_grid);
    }

    void the_hand_ticket_entry_calls_its_hook()
    {
        Editor e;
        QStringList opened;
        e.w = std::make_unique<TF_CHOLHAEDIT>(e.plant.ctx);
        e.w->open_hand_ticket = [&](const QString &date, const QString &seq) { opened << date + QLatin1Char(' ') + seq; };
        e.w->show();
        QVERIFY(QTest::qWaitForWindowActive(e.w.get()));
        QCOMPARE(e.w->N6->text(), QStringLiteral("수기송장"));
        QVERIFY(e.w->suju_grid->actions().contains(e.w->N6));
        e.click_row(e.w->suju_grid, 1);
        e.w->N6->trigger();
        QCOMPARE(opened, QStringList{"2026-03-02 02"});
    }

    void the_ticket_of_the_third_of_five_loads()
    {
        Editor e;
        for (const char *t : {"08:00:00", "08:30:00", "09:00:00", "09:30:00", "10:00:00"}) {
            const QString count = QStringLiteral("%1").arg(e.loads(QStringLiteral("01")).size() + 1, 3, 10, QLatin1Char('0'));
            e.load("01", count.toLatin1().constData(), "81-1111-1", "1111", t, 6);
        }
        e.load("02", "001", "81-2222-2", "2222", "08:40:00", 6);
        e.open();
        e.click_row(e.w->cholha_grid, 2);  // newest first: trip 003
        QCOMPARE(e.w->hy06->text(), QStringLiteral("003"));
        e.w->prn_btn->click();
        QCOMPARE(e.plant.prompter.shown, QStringList());
        QCOMPARE(e.printed().size(), 1);
        const QList<PdfWord> words = pdf_words(e.printed().first());
        // Design places plus the margins 2 (top) and 1 (left).
        const QRectF trip = word(words, QStringLiteral("3"));
        QVERIFY2(std::abs(trip.left() - (1 + 9.8)) < 1 && std::abs(trip.top() - (2 + 32.0)) < 1.5,
                 qPrintable(all_text(words)));
        const QRectF cumulative = word(words, QStringLiteral("18.00"));
        QVERIFY2(std::abs(cumulative.right() - (1 + 92.9 + 22.0)) < 1, qPrintable(all_text(words)));
        QVERIFY(!word(words, QStringLiteral("6.00")).isNull());
        QVERIFY(!word(words, QStringLiteral("홍길동")).isNull());
        QVERIFY(!word(words, QStringLiteral("09")).isNull());
        QVERIFY(e.plant.dbm->ticket_data.is_empty());
        QCOMPARE(QApplication::focusWidget(), e.w->new_btn);
    }

    void an_empty_shipment_grid_prints_nothing()
    {
        Editor e;
        e.open();
        e.w->prn_btn->click();
        QCOMPARE(e.printed(), QStringList());
        QCOMPARE(e.plant.prompter.shown, QStringList{"출하 자료가 없습니다. 송장을 발행하지 않았습니다."});
    }

    void a_range_of_tickets_skips_and_names_missing_trips()
    {
        Editor e;
        e.load("01", "001", "81-1111-1", "1111", "08:00:00", 6);
        e.load("01", "002", "81-1111-1", "1111", "08:30:00", 6);
        e.load("01", "003", "81-2222-2", "2222", "09:00:00", 6);
        e.load("01", "005", "81-1111-1", "1111", "09:30:00", 6);
        e.open();
        QTest::mouseClick(e.w->songjang_chk, Qt::LeftButton);
        QVERIFY(e.w->Pnl_Print->isVisible());
        QCOMPARE(QApplication::focusWidget(), e.w->Edt_Sujuno);
        e.type(e.w->Edt_Sujuno, QStringLiteral("1"));
        e.enter(e.w->Edt_Sujuno);
        QCOMPARE(e.w->Edt_Sujuno->text(), QStringLiteral("01"));
        QCOMPARE(QApplication::focusWidget(), e.w->first_seq_edit);
        e.type(e.w->first_seq_edit, QStringLiteral("2"));
        e.enter(e.w->first_seq_edit);
        QCOMPARE(e.w->first_seq_edit->text(), QStringLiteral("002"));
        e.type(e.w->last_seq_edit, QStringLiteral("6"));
        e.enter(e.w->last_seq_edit);
        QCOMPARE(QApplication::focusWidget(), e.w->Btn_Ok);
        e.shoot("editor_range_panel");
        e.w->Btn_Ok->click();

        const QStringList files = e.printed();
        QCOMPARE(files.size(), 3);
        QStringList trips;
        for (const QString &f : files) {
            const QList<PdfWord> words = pdf_words(f);
            for (const PdfWord &w : words)
                if (std::abs(w.box.left() - (1 + 9.8)) < 1 && std::abs(w.box.top() - (2 + 32.0)) < 1.5)
                    trips << w.text;
        }
        trips.sort();
        QCOMPARE(trips, (QStringList{"2", "3", "4"}));  // trip 005 is the fourth load
        QCOMPARE(e.plant.prompter.shown, QStringList{"출하 자료가 없는 순번은 발행하지 않았습니다: 004, 006"});

        e.plant.prompter.clear();
        e.type(e.w->first_seq_edit, QStringLiteral("007"));
        e.type(e.w->last_seq_edit, QStringLiteral("009"));
        e.w->Btn_Ok->click();
        QCOMPARE(e.printed().size(), 3);
        QCOMPARE(e.plant.prompter.shown,
                 QStringList{"01번 출하예정에 007부터 009까지의 출하 자료가 없습니다. 송장을 발행하지 않았습니다."});

        e.plant.prompter.clear();
        e.type(e.w->first_seq_edit, QStringLiteral("003"));
        e.type(e.w->last_seq_edit, QStringLiteral("001"));
        e.w->Btn_Ok->click();
        QCOMPARE(e.printed().size(), 3);

        e.type(e.w->Edt_Sujuno, QStringLiteral("8"));
        e.enter(e.w->Edt_Sujuno);
        QCOMPARE(e.plant.prompter.last(), QStringLiteral("등록한 출하예정순번이 없습니다."));
        QCOMPARE(e.w->Edt_Sujuno->text(), QString());

        e.w->Btn_Cancel->click();
        QVERIFY(e.w->Pnl_Print->isHidden());
        QVERIFY(!e.w->songjang_chk->isChecked());
    }

    void the_console_opens_the_editor_and_shows_its_own_day_after_data()
    {
        QTest::addColumn<bool>("closed_shown");
        QTest::addColumn<QStringList>("orders");
        QTest::newRow("open orders") << false << QStringList{"02"};
        QTest::newRow("closed orders") << true << QStringList{"01", "03"};
    }
    void the_console_opens_the_editor_and_shows_its_own_day_after()
    {
        QFETCH(bool, closed_shown);
        QFETCH(QStringList, orders);
        ConsoleFixture f;
        add_order(f.plant, day, "01", 30, 0);
        add_order(f.plant, day, "02", 12, 0);
        add_order(f.plant, day, "03", 9, 0, "NO");
        add_order(f.plant, "2026-02-27", "07", 18, 0);
        f.open();
        if (closed_shown)
            f.console->orders->makam_chk->click();
        QString opened;
        on_next_modal([&](QWidget *m) {
            auto *editor = static_cast<TF_CHOLHAEDIT *>(m);
            opened = editor->objectName();
            editor->makam_btn->click();  // closes order 01
            editor->ilja_combo->set_text_date(QStringLiteral("2026-02-27"));
            editor->close();
        });
        QVERIFY(f.console->navigation->manual_btn->isEnabled());
        f.console->navigation->manual_btn->click();
        QCOMPARE(opened, QStringLiteral("F_CHOLHAEDIT"));
        QVERIFY(!f.console->findChild<TF_CHOLHAEDIT *>());
        QStringList shown;
        for (int r = 0; r < f.console->orders->suju_query->rowCount(); ++r)
            shown << f.console->orders->suju_query->text(r, QStringLiteral("seq"));
        QCOMPARE(shown, orders);
    }

    // A load recorded by batch unit 1 while the editor's question is open:
    // the save still goes to the order picked, with the figures as they
    // are after that load.
    void a_load_recorded_while_the_question_is_open()
    {
        struct AskingPrompter : FakePrompter {
            std::function<void()> while_asked;
            bool question(QWidget *parent, const QString &text) override
            {
                if (while_asked)
                    std::exchange(while_asked, {})();
                return FakePrompter::question(parent, text);
            }
        } prompter;

        ConsoleFixture f;
        f.plant.ctx.prompter = &prompter;
        add_order(f.plant, day, "01", 30, 0);
        add_order(f.plant, day, "02", 12, 0);
        add_truck(f.plant, "81-1111-1", "1111", "YES");
        add_truck(f.plant, "81-2222-2", "2222", "YES");
        f.plant.exec(QStringLiteral("insert into r_size (remi_code, standard, rul_ks) values ('1004', '25-210-12', 'KS')"));
        add_load(f.plant, day, day, "01", "001", "81-1111-1", "10:00:00", 6);
        f.plant.exec(QStringLiteral("update r_suju set v_outorder = 6, v_reorder = 24, v_ccount = 1 where seq = '01'"));
        f.open();
        QTest::mouseClick(f.console->comm_switch, Qt::LeftButton);
        f.double_click_row(f.console->orders->suju_grid, 1);  // order 02 into unit 1's first slot
        f.double_click_row(f.console->vehicles->car_grid, 1);  // truck 2222
        QTRY_VERIFY(!f.console->link->sending());

        TF_CHOLHAEDIT w(f.plant.ctx, f.console.get());
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.new_btn->click();
        f.click_row(w.suju_grid, 1);  // order 02, trip 001 as the grid shows it
        QCOMPARE(w.hy06->text(), QStringLiteral("001"));
        w.hy05->setFocus();
        QTest::keyClicks(w.hy05, QStringLiteral("1111"));
        QTest::keyClick(w.hy05, Qt::Key_Return);
        QCOMPARE(w.hy10->text(), QStringLiteral("81-1111-1"));

        int loads_before = 0;
        prompter.while_asked = [&] {
            loads_before = f.plant.db().scalar(QStringLiteral("select count(*) from cholha")).toInt();
            f.plant.clock.advance_secs(5);
            f.line1.feed("B");
            QTest::qWaitFor([&] { return f.plant.db().scalar(QStringLiteral("select count(*) from cholha")).toInt() > loads_before; });
        };
        w.sav_btn->click();  // 10:00:00 is order 01's load: the question
        QCOMPARE(prompter.questions.size(), 1);
        QCOMPARE(prompter.errors, QStringList());

        const auto loads = [&](const char *seq) {
            QSqlQuery q = f.plant.db().query(QStringLiteral("select o_count, o_otime, o_carnum, o_outorder from cholha"
                                                            " where o_fdate = :d and o_scode = :s order by o_otime"),
                                             {{":d", QString::fromLatin1(day)}, {":s", QString::fromLatin1(seq)}});
            QStringList rows;
            while (q.next())
                rows << QStringLiteral("%1 %2 %3 %4").arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString())
                            .arg(number_or_zero(q.value(3)));
            return rows;
        };
        const auto order = [&](const char *seq) {
            QSqlQuery q = f.plant.db().query(QStringLiteral("select v_outorder, v_reorder, v_ccount from r_suju"
                                                            " where ilja = :d and seq = :s"),
                                             {{":d", QString::fromLatin1(day)}, {":s", QString::fromLatin1(seq)}});
            q.next();
            return QStringLiteral("%1 %2 %3").arg(number_or_zero(q.value(0))).arg(number_or_zero(q.value(1)))
                .arg(number_or_zero(q.value(2)));
        };
        // The recorded load (10:00:05) and the hand-entered one, trip 002.
        QCOMPARE(loads("02"), (QStringList{"002 10:00:00 81-1111-1 6", "001 10:00:05 81-2222-2 6"}));
        QCOMPARE(order("02"), QStringLiteral("12 0 2"));
        // The replaced load's order lost it.
        QCOMPARE(loads("01"), QStringList());
        QCOMPARE(order("01"), QStringLiteral("0 30 0"));
        QCOMPARE(w.suju_query->text(w.suju_grid->cursor_row(), QStringLiteral("seq")), QStringLiteral("02"));
        QCOMPARE(w.hy06->text(), QStringLiteral("002"));
    }
};

QTEST_MAIN(TestShipmentEditor)
#include "tst_shipment_editor_db.moc"
