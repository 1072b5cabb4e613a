#include "gui/framework/board_grid.h"
#include "gui/console/order_board.h"
#include "gui/console/vehicle_board.h"
#include "console_fixture.h"
#include "gui/framework/two_state_switch.h"
#include "core/plantlink/plant_link.h"
#include "gui/console/reservation_desk.h"
#include "core/plantlink/reservation_slots.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {
// Two orders and two trucks; auto-send off, so frames go out on demand only.
struct Console : ConsoleFixture {
    Console()
    {
        add_order(plant, "2026-03-02", "01", 30, 0);
        add_truck(plant, "81-1111-1", "1111", "YES");
        open();
        console->desk->autosend_chk->setChecked(false);
    }
    void queue_a_load()
    {
        double_click_row(console->orders->suju_grid, 0);
        double_click_row(console->vehicles->car_grid, 0);
    }
    void forced_send()
    {
        console->send_btn->click();
        QTRY_VERIFY(!console->link->sending());
    }
};
}

// "강 제 전 송": the selected unit's queue sent on demand.
class TestForcedSend : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void before_the_link_is_switched_it_says_the_line_is_closed()
    {
        Console c;
        QVERIFY(c.console->send_btn->isEnabled());  // until the link is first switched
        c.queue_a_load();
        c.forced_send();
        QCOMPARE(c.line1.written, QList<QByteArray>());
        QCOMPARE(c.plant.prompter.errors.size(), 1);
        QVERIFY(c.plant.prompter.errors.first().startsWith(QStringLiteral("1호기로 전송할 수 없습니다.")));
    }

    void it_sends_the_selected_units_queue_once()
    {
        Console c;
        QTest::mouseClick(c.console->comm_switch, Qt::LeftButton);
        QVERIFY(c.line1.is_open() && c.line2.is_open());
        c.queue_a_load();
        QCOMPARE(c.line1.written.size(), 0);  // auto-send is off
        c.forced_send();
        QCOMPARE(c.line1.written.size(), 1);
        QVERIFY(c.line1.written.first().contains("1111"));
        c.forced_send();  // nothing changed: not sent again
        QCOMPARE(c.line1.written.size(), 1);

        c.console->desk->hogi2_rad->click();
        c.forced_send();  // unit 2's empty queue, to unit 2 only
        QCOMPARE(c.line2.written.size(), 1);
        QCOMPARE(c.line2.written.first().size(), 46);
        QCOMPARE(c.line1.written.size(), 1);

        c.console->desk->hogi1_rad->click();
        c.line1.feed("B");
        QTRY_COMPARE(c.console->link->unit(1).last_status, QStringLiteral("B"));
        c.console->desk->slot_model->set_field(1, ReservationSlots::Quantity, QStringLiteral("7"));
        c.forced_send();  // weighing: not even a changed queue goes out
        QCOMPARE(c.line1.written.size(), 1);
        QCOMPARE(c.plant.prompter.errors, QStringList());
    }
};

QTEST_MAIN(TestForcedSend)
#include "tst_forced_send_db.moc"
