#include "gui/framework/board_grid.h"
#include "gui/console/navigation.h"
#include "core/framework/record_table_model.h"
#include "gui/console/order_board.h"
#include "gui/console/vehicle_board.h"
#include "console_fixture.h"
#include "gui/framework/two_state_switch.h"
#include "core/plantlink/plant_link.h"
#include "gui/console/reservation_desk.h"
#include "core/plantlink/reservation_slots.h"
#include "core/plantlink/send_frame.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using Slots = ReservationSlots;

// The console with both batch units on fake serial lines: slots filled
// from the boards, frames sent, status letters received, loads recorded.
class TestLink : public QObject {
    Q_OBJECT

    struct Plant : ConsoleFixture {
        Plant()
        {
            add_order(plant, "2026-03-02", "01", 30, 0);
            add_order(plant, "2026-03-02", "02", 12, 0);
            add_order(plant, "2026-03-02", "03", 18, 0);
            add_order(plant, "2026-03-02", "04", 6, 0);
            add_order(plant, "2026-03-02", "05", 9, 0, "NO");
            add_truck(plant, "81-1111-1", "1111", "YES");
            add_truck(plant, "81-2222-2", "2222", "YES");
            add_truck(plant, "81-3333-3", "3333", "YES");
            plant.exec(QStringLiteral("insert into r_size (remi_code, standard, rul_ks) values ('1004', '25-210-12', 'KS')"));
            open();
        }
        ReservationDesk *desk() const { return console->desk; }
        PlantLink *link() const { return console->link; }
        QString field(int row, int f) const { return desk()->slot_model->field(row, f); }
        QLineEdit *edit(int row, int f) const { return desk()->send[row - 1][f - 1]; }
        int loads() const { return plant.db().scalar(QStringLiteral("select count(*) from cholha")).toInt(); }
        void switch_on() { QTest::mouseClick(console->comm_switch, Qt::LeftButton); }
        void order_to_slot(int order_row)
        {
            double_click_row(console->orders->suju_grid, order_row);
        }
        void truck_to_slot(int truck_row)
        {
            double_click_row(console->vehicles->car_grid, truck_row);
        }
        // Feeds a report and lets a send and a recording it causes finish.
        void report(FakeSerialLine &line, const char *text)
        {
            QTRY_VERIFY(!link()->sending());
            line.feed(QByteArray(text));
            QTRY_VERIFY(!link()->sending());
            QTRY_COMPARE(console->loads_being_written(), 0);
        }
        void type(QLineEdit *e, const QString &text)
        {
            e->setFocus();
            e->selectAll();
            QTest::keyClicks(e, text);
            QTest::keyClick(e, Qt::Key_Return);
        }
    };

    static QByteArray unit1_frame(const QByteArray &slot1, const QByteArray &slot2, const QByteArray &slot3,
                                  const QString &site1, const QString &site2 = {}, const QString &site3 = {})
    {
        QByteArray f(1, send_frame::STX);
        f += slot1 + QByteArray(11, '0') + slot2 + slot3;
        for (const QString &s : {site1, site2, site3})
            f += send_frame::normalise_site_name(s).bytes;
        return f + QByteArray(1, send_frame::ETX);
    }
    static QByteArray zeros() { return QByteArray(11, '0'); }

private Q_SLOTS:
    void slots_fill_from_the_boards_and_go_out()
    {
        Plant p;
        p.order_to_slot(0);
        QCOMPARE(p.plant.prompter.last(), QStringLiteral("통신을 먼저 연결하시오"));
        QCOMPARE(p.field(1, Slots::OrderNo), QString());

        p.switch_on();
        QCOMPARE(p.console->comm_switch->state_text(), QStringLiteral("통신ON"));
        QVERIFY(!p.console->navigation->comm_menu->isEnabled());
        QVERIFY(p.line1.is_open() && p.line2.is_open());
        QCOMPARE(p.line1.opened_speed, 9600);
        QCOMPARE(p.link()->unit(1).last_status, QStringLiteral("U"));

        for (int order = 0; order < 3; ++order)
            p.order_to_slot(order);
        QCOMPARE(p.field(1, Slots::OrderNo), QStringLiteral("01"));
        QCOMPARE(p.field(2, Slots::OrderNo), QStringLiteral("02"));
        QCOMPARE(p.field(3, Slots::Site), QStringLiteral("현장03"));
        QCOMPARE(p.field(3, Slots::Quantity), QStringLiteral("6"));
        QCOMPARE(p.field(3, Slots::Customer), QStringLiteral("거래처03"));
        QCOMPARE(p.console->orders->cholha_query->rowCount(), 0);
        p.plant.prompter.clear();
        p.order_to_slot(3);
        QCOMPARE(p.plant.prompter.shown, QStringList{QStringLiteral("예약이 모두 등록되었습니다.")});
        QVERIFY(p.line1.written.isEmpty());  // orders alone never go out

        p.truck_to_slot(1);  // 2222 into slot 1; auto-send
        QCOMPARE(p.field(1, Slots::VehicleNo), QStringLiteral("2222"));
        QCOMPARE(p.field(1, Slots::VehicleCode), QStringLiteral("81-2222-2"));
        QCOMPARE(p.line1.written.size(), 1);
        QCOMPARE(p.line1.written[0], unit1_frame("10046002222", zeros(), zeros(), "현장01", "현장02", "현장03"));
        QVERIFY(p.line2.written.isEmpty());
        // The site names went back into the fields, padded.
        QCOMPARE(p.field(1, Slots::Site), send_frame::normalise_site_name(QStringLiteral("현장01")).text);
    }

    void a_load_goes_through_the_unit()
    {
        Plant p;
        p.switch_on();
        p.order_to_slot(0);
        p.order_to_slot(1);
        p.truck_to_slot(0);
        p.truck_to_slot(1);
        QTRY_VERIFY(!p.link()->sending());
        const int sent = p.line1.written.size();

        for (int i = 1; i <= 3; ++i) {
            p.report(p.line1, "B");
            QCOMPARE(p.desk()->display_lab1->text(), QStringLiteral("계량중 %1번째").arg(i));
            QCOMPARE(p.loads(), 1);
        }
        QCOMPARE(p.plant.prompter.shown, QStringList());
        QCOMPARE(p.console->Edit1->text(), QStringLiteral("B"));
        QCOMPARE(p.printed().size(), 1);
        QVERIFY(p.plant.dbm->ticket_data.is_empty());
        QCOMPARE(p.console->orders->suju_query->text(0, QStringLiteral("v_ccount")), QStringLiteral("1"));

        // No frame while the unit weighs, whatever changes in its slots.
        p.edit(2, Slots::Quantity)->setText(QStringLiteral("7"));
        p.desk()->slot_model->set_field(2, Slots::Quantity, QStringLiteral("7"));
        p.console->send_btn->click();
        QCOMPARE(p.line1.written.size(), sent);

        p.report(p.line1, "E");
        QCOMPARE(p.desk()->display_lab1->text(), QStringLiteral("배출중"));
        QCOMPARE(p.line1.written.size(), sent + 1);  // the change goes out now

        p.report(p.line1, "N");
        QCOMPARE(p.desk()->display_lab1->text(), QStringLiteral("계량완료"));
        QCOMPARE(p.field(1, Slots::OrderNo), QStringLiteral("02"));
        QCOMPARE(p.field(1, Slots::VehicleNo), QStringLiteral("2222"));
        QCOMPARE(p.field(2, Slots::OrderNo), QString());
        QCOMPARE(p.line1.written.last(), unit1_frame("10047002222", zeros(), zeros(), "현장02"));
        QCOMPARE(p.link()->unit(1).batch_count, 0);

        p.report(p.line1, "U");
        QCOMPARE(p.desk()->display_lab1->text(), QStringLiteral("대기중"));
        p.report(p.line1, "B");  // the next load is recorded
        QCOMPARE(p.loads(), 2);
        QCOMPARE(p.plant.db().scalar(QStringLiteral("select o_scode from cholha where o_carnum = '81-2222-2'")).toString(),
                 QStringLiteral("02"));
        QCOMPARE(p.plant.prompter.shown, QStringList());
    }

    void the_same_frame_goes_out_once_also_after_reconnecting()
    {
        Plant p;
        p.switch_on();
        p.order_to_slot(0);
        p.truck_to_slot(0);
        QTRY_VERIFY(!p.link()->sending());
        QCOMPARE(p.line1.written.size(), 1);
        p.console->send_btn->click();
        QTRY_VERIFY(!p.link()->sending());
        QCOMPARE(p.line1.written.size(), 1);
        p.switch_on();  // off
        QVERIFY(!p.line1.is_open());
        QVERIFY(p.console->navigation->comm_menu->isEnabled());
        QVERIFY(!p.console->send_btn->isEnabled());
        p.switch_on();  // on again
        p.console->send_btn->click();
        QCOMPARE(p.line1.written.size(), 1);
        QCOMPARE(p.line1.opens, 2);
    }

    void two_letters_in_one_report_of_unit_2()
    {
        Plant p;
        p.switch_on();
        p.desk()->hogi2_rad->click();
        QVERIFY(!p.desk()->hogi1_rad->isChecked());
        p.order_to_slot(0);
        p.truck_to_slot(0);
        QTRY_VERIFY(!p.link()->sending());
        QCOMPARE(p.line2.written.size(), 1);
        QCOMPARE(p.line2.written[0].size(), 46);
        p.report(p.line2, "BU");
        QCOMPARE(p.plant.prompter.shown, QStringList{QStringLiteral("데이타 수신오류")});
        // Both letters applied, in order.
        QCOMPARE(p.desk()->display_lab2->text(), QStringLiteral("대기중"));
        QCOMPARE(p.link()->unit(2).batch_count, 1);
        QCOMPARE(p.loads(), 1);
        QCOMPARE(p.plant.db().scalar(QStringLiteral("select o_hogi from cholha")).toString(), QStringLiteral("2"));
        // The last letter was "U": slot 1 may be deleted and frames go out.
        p.desk()->send_del_btn[3]->click();
        QCOMPARE(p.field(4, Slots::OrderNo), QString());
        QTRY_VERIFY(!p.link()->sending());
        p.console->send_btn->click();
        QCOMPARE(p.line2.written.size(), 2);
    }

    void deleting_slot_1_while_weighing_is_refused()
    {
        Plant p;
        p.switch_on();
        p.order_to_slot(0);
        p.order_to_slot(1);
        p.order_to_slot(2);
        p.report(p.line1, "N");  // shifts: 02 and 03 move up
        p.plant.prompter.clear();
        p.desk()->send_del_btn[0]->click();
        QCOMPARE(p.plant.prompter.shown, QStringList{QStringLiteral("계량중에는 삭제 할 수 없습니다.")});
        QCOMPARE(p.field(1, Slots::OrderNo), QStringLiteral("02"));
        p.desk()->send_del_btn[1]->click();  // slot 2 always
        QCOMPARE(p.field(2, Slots::OrderNo), QString());
        p.report(p.line1, "U");
        p.desk()->send_del_btn[0]->click();
        QCOMPARE(p.field(1, Slots::OrderNo), QString());
        // The emptied slot is the next one filled.
        p.order_to_slot(3);
        QCOMPARE(p.field(1, Slots::OrderNo), QStringLiteral("04"));
    }

    void manual_print_mode_records_without_a_ticket()
    {
        Plant p;
        p.console->prn_sel->setCurrentText(QStringLiteral("수동인쇄"));
        p.switch_on();
        p.order_to_slot(0);
        p.truck_to_slot(2);
        p.report(p.line1, "B");
        QCOMPARE(p.loads(), 1);
        QCOMPARE(p.printed().size(), 0);
        QCOMPARE(p.plant.dbm->ticket_data.vehicle_no, QStringLiteral("3333"));
        QCOMPARE(p.plant.dbm->ticket_data.trip_no, QStringLiteral("1"));
        QCOMPARE(p.plant.dbm->ticket_data.quantity, QStringLiteral("6.00"));
        QCOMPARE(p.plant.dbm->ticket_data.strength, QStringLiteral("210"));
    }

    void mortar_rides_on_the_load_above()
    {
        Plant p;
        p.switch_on();
        p.desk()->moltal_btn->click();
        QCOMPARE(p.plant.prompter.last(), QStringLiteral("예약1에는 몰탈을 얹을 수 없습니다."));
        p.order_to_slot(0);
        p.truck_to_slot(0);
        p.desk()->moltal_btn->click();
        QCOMPARE(p.field(2, Slots::OrderNo), QStringLiteral("99"));
        QCOMPARE(p.field(2, Slots::Product), QStringLiteral("9001"));
        QCOMPARE(p.field(2, Slots::SpecName), QStringLiteral("몰탈"));
        QCOMPARE(p.field(2, Slots::Quantity), QStringLiteral("0.5"));
        QCOMPARE(p.field(2, Slots::VehicleNo), QStringLiteral("1111"));
        p.report(p.line1, "B");
        QCOMPARE(p.plant.db().scalar(QStringLiteral("select o_outorder from cholha")).toDouble(), 6.5);
        QCOMPARE(p.plant.db().scalar(QStringLiteral("select o_moltal from cholha")).toDouble(), 0.5);
        p.report(p.line1, "E");
        p.report(p.line1, "N");
        QCOMPARE(p.field(1, Slots::OrderNo), QStringLiteral("99"));
        p.report(p.line1, "B");  // the mortar slot itself records nothing
        QCOMPARE(p.loads(), 1);
    }

    void typed_order_numbers_and_the_free_slot_keys()
    {
        Plant p;
        p.console->activateWindow();
        QTRY_VERIFY(p.console->isActiveWindow());
        p.type(p.edit(2, Slots::OrderNo), QStringLiteral("5"));  // closed, found all the same
        QCOMPARE(p.edit(2, Slots::OrderNo)->text(), QStringLiteral("05"));
        QCOMPARE(p.field(2, Slots::Product), QStringLiteral("1004"));
        QCOMPARE(p.field(2, Slots::Site), QStringLiteral("현장05"));
        QVERIFY(p.edit(2, Slots::Quantity)->hasFocus());
        p.type(p.edit(3, Slots::OrderNo), QStringLiteral("123"));
        QCOMPARE(p.plant.prompter.last(), QStringLiteral("등록된 출하예정 순번이 없습니다."));
        QCOMPARE(p.field(3, Slots::OrderNo), QString());

        p.desk()->send_del_btn[1]->click();
        p.type(p.edit(1, Slots::OrderNo), QStringLiteral("1"));
        p.type(p.edit(3, Slots::OrderNo), QStringLiteral("3"));
        p.plant.prompter.clear();
        p.console->activateWindow();
        QTRY_VERIFY(p.console->isActiveWindow());
        QTest::keyClick(p.console->windowHandle(), Qt::Key_F1);  // slots 1 and 3 filled: slot 2
        QCOMPARE(p.plant.prompter.shown, QStringList());
        QTRY_VERIFY(p.edit(2, Slots::OrderNo)->hasFocus());
        p.type(p.edit(2, Slots::OrderNo), QStringLiteral("2"));
        QTest::keyClick(p.console->windowHandle(), Qt::Key_F1);
        QCOMPARE(p.plant.prompter.shown, QStringList{QStringLiteral("예약이 모두 등록되었습니다.")});
    }

    void yusa_values_go_out_instead_of_the_slots()
    {
        Plant p;
        p.switch_on();
        p.order_to_slot(0);
        p.truck_to_slot(0);
        QTRY_VERIFY(!p.link()->sending());
        p.desk()->yusa_chk->click();
        QVERIFY(p.desk()->yusa_pan1->isVisible());
        QCOMPARE(p.desk()->slot_model->yusa(1, Slots::YusaProduct), QStringLiteral("1004"));
        QCOMPARE(p.desk()->slot_model->yusa(1, Slots::YusaVehicle), QStringLiteral("1111"));
        p.desk()->fsend[0][Slots::YusaProduct - 1]->setText(QStringLiteral("2001"));
        p.desk()->slot_model->set_yusa(1, Slots::YusaProduct, QStringLiteral("2001"));
        p.desk()->slot_model->set_yusa(1, Slots::YusaQuantity, QStringLiteral("5.5"));
        p.console->send_btn->click();
        QCOMPARE(p.line1.written.last().mid(1, 11), QByteArray("20015501111"));
        p.report(p.line1, "B");  // the shipment keeps the slot's own values
        QCOMPARE(p.plant.db().scalar(QStringLiteral("select o_outorder from cholha")).toDouble(), 6.0);

        p.desk()->hogi2_rad->click();
        p.order_to_slot(1);
        p.truck_to_slot(1);
        p.desk()->moltal_btn->click();
        QCOMPARE(p.desk()->slot_model->yusa(5, Slots::YusaProduct), QStringLiteral("9999"));
        QCOMPARE(p.desk()->slot_model->yusa(5, Slots::YusaVehicle), QStringLiteral("2222"));
    }

    void line_errors_and_failed_openings()
    {
        Plant p;
        p.switch_on();
        p.line1.fail(SerialLine::Framing);
        p.line2.fail(SerialLine::Break);
        p.line2.fail(12345);
        QCOMPARE(p.plant.prompter.errors, (QStringList{QStringLiteral("1호기 포트에서 프로그래밍 오류."),
                                                       QStringLiteral("2호기 포트에서 중지신호 수신"),
                                                       QStringLiteral("2호기 포트에서 알수없는 통신오류.")}));
        QVERIFY(p.link()->is_on());

        p.switch_on();  // off
        p.plant.prompter.clear();
        p.plant.dbm->settings.comm1_port = QStringLiteral("COM1;");
        p.switch_on();
        QCOMPARE(p.plant.prompter.errors.size(), 1);
        QVERIFY(p.plant.prompter.errors[0].contains(QStringLiteral("1호기")));
        QVERIFY(p.console->comm_switch->isChecked());  // stays on
        QVERIFY(!p.line2.is_open());                   // the rest was skipped

        p.switch_on();
        p.plant.dbm->settings.comm1_port = QStringLiteral("1");
        p.line2.refuse_open = QStringLiteral("/dev/ttyS1 포트를 열 수 없습니다: 포트가 없습니다");
        p.plant.prompter.clear();
        p.switch_on();
        QCOMPARE(p.plant.prompter.errors.size(), 1);
        QVERIFY(p.plant.prompter.errors[0].contains(QStringLiteral("포트가 없습니다")));
        QVERIFY(p.line1.is_open());
    }

    void a_burst_of_noise_shows_one_message_at_a_time()
    {
        // While a message box is open, further reports are handled inside it.
        struct Reentering : FakePrompter {
            FakeSerialLine *line = nullptr;
            void information(QWidget *parent, const QString &text) override
            {
                FakePrompter::information(parent, text);
                for (const char *noise : {"\xff\xfe", "ZZZZZZ", "NU"})
                    line->feed(noise);
            }
        } prompter;
        ConsoleFixture f;
        prompter.line = &f.line2;
        f.plant.ctx.prompter = &prompter;
        f.open();
        f.console->link->switch_on();
        f.line2.feed("UU");
        QCOMPARE(prompter.shown, QStringList{QStringLiteral("데이타 수신오류")});
        // Every report was still applied, noise skipped: the last letters were "NU".
        QTRY_COMPARE(f.console->link->unit(2).last_status, QStringLiteral("U"));
        QCOMPARE(f.console->desk->display_lab2->text(), QStringLiteral("대기중"));
        QCOMPARE(prompter.shown.size(), 1);
        f.line2.feed("EE");  // the box is closed again: the next burst is shown
        QTRY_COMPARE(prompter.shown.size(), 2);
    }

    void typed_vehicle_numbers()
    {
        Plant p;
        p.switch_on();
        p.order_to_slot(0);
        p.type(p.edit(1, Slots::VehicleNo), QStringLiteral("3333"));  // exactly one: at once
        QCOMPARE(p.field(1, Slots::VehicleCode), QStringLiteral("81-3333-3"));
        QCOMPARE(p.line1.written.size(), 1);
        QCOMPARE(p.line1.written[0].mid(1, 11), QByteArray("10046003333"));

        // No such number: the list opens; closed without a pick, nothing changes.
        QString list_title;
        on_next_modal([&](QWidget *list) {
            list_title = list->windowTitle();
            QTest::keyClick(list, Qt::Key_Escape);
        });
        p.type(p.edit(1, Slots::VehicleNo), QStringLiteral("9999"));
        QCOMPARE(list_title, QStringLiteral("차량코드조회"));
        QCOMPARE(p.field(1, Slots::VehicleCode), QStringLiteral("81-3333-3"));
        QCOMPARE(p.line1.written.size(), 1);

        // Picked from the list: the picked truck goes into the slot.
        on_next_modal([&](QWidget *list) { QTest::keyClick(list->focusWidget() ? list->focusWidget() : list, Qt::Key_Return); });
        p.type(p.edit(1, Slots::VehicleNo), QStringLiteral("99"));
        QCOMPARE(p.field(1, Slots::VehicleCode), QStringLiteral("81-1111-1"));
        QCOMPARE(p.field(1, Slots::VehicleNo), QStringLiteral("1111"));
        QTRY_COMPARE(p.line1.written.size(), 2);
    }

    void a_quantity_the_frame_cannot_carry_is_not_sent()
    {
        Plant p;
        p.switch_on();
        p.order_to_slot(0);
        p.desk()->slot_model->set_field(1, Slots::Quantity, QStringLiteral("12"));
        p.truck_to_slot(0);
        QCOMPARE(p.line1.written.size(), 0);
        QCOMPARE(p.plant.prompter.errors.size(), 1);
        QVERIFY(p.plant.prompter.errors[0].contains(QStringLiteral("1호기 예약1")));
        QCOMPARE(p.link()->unit(1).last_frame, QByteArray());
    }
};

QTEST_MAIN(TestLink)
#include "tst_link_db.moc"
