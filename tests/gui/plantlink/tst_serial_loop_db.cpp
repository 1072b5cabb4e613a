#include "gui/framework/board_grid.h"
#include "gui/console/order_board.h"
#include "gui/console/vehicle_board.h"
#include "console_fixture.h"
#include "core/framework/record_table_model.h"
#include "gui/framework/two_state_switch.h"
#include "core/plantlink/plant_link.h"
#include "gui/console/reservation_desk.h"
#include "core/plantlink/reservation_slots.h"

#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QTest>

using Slots = ReservationSlots;

// The whole loop over real serial lines: the console's link on one end of
// a pty pair, the batch-controller simulator on the other.
class TestSerialLoop : public QObject {
    Q_OBJECT

    // A pty pair made by socat: `plant` for the controller, `console` for us.
    struct PtyPair {
        QProcess socat;
        QString plant, console;
        PtyPair(const QString &dir, const QString &name)
            : plant(dir + QStringLiteral("/plant_") + name), console(dir + QStringLiteral("/console_") + name)
        {
            start();
        }
        void start()
        {
            socat.start(QStringLiteral("socat"), {QStringLiteral("pty,raw,echo=0,link=") + plant,
                                                  QStringLiteral("pty,raw,echo=0,link=") + console});
            QVERIFY2(socat.waitForStarted(), "socat is needed for this test");
            QTRY_VERIFY(QFileInfo::exists(plant) && QFileInfo::exists(console));
        }
        void stop()
        {
            socat.kill();
            socat.waitForFinished();
        }
        ~PtyPair() { stop(); }
    };

    static QString tool(const char *name)
    {
        return qEnvironmentVariable("VELDARO_TOOLS_DIR") + QLatin1Char('/') + QString::fromLatin1(name);
    }

private Q_SLOTS:
    void a_load_from_the_slots_to_the_printed_ticket()
    {
        ConsoleFixture f(WindowPlant::InMemory, ConsoleFixture::RealLines);
        PtyPair unit1(f.plant.dir.path(), QStringLiteral("1"));
        PtyPair unit2(f.plant.dir.path(), QStringLiteral("2"));
        QProcess controller;
        controller.setProcessChannelMode(QProcess::MergedChannels);
        // Letters two at a time and CR LF after them, as some controllers send.
        controller.start(tool("batch_simulator"), {unit1.plant, QStringLiteral("--auto"),
                                                   QStringLiteral("--weighings"), QStringLiteral("2"),
                                                   QStringLiteral("--step-ms"), QStringLiteral("120"),
                                                   QStringLiteral("--together"), QStringLiteral("2"),
                                                   QStringLiteral("--crlf")});
        QVERIFY(controller.waitForStarted());

        add_order(f.plant, "2026-03-02", "01", 12, 0);
        add_order(f.plant, "2026-03-02", "02", 6, 0);
        add_truck(f.plant, "81-1111-1", "1111", "YES");
        add_truck(f.plant, "81-2222-2", "2222", "YES");
        f.plant.dbm->settings.comm1_port = unit1.console;
        f.plant.dbm->settings.comm2_port = unit2.console;
        f.open();
        QTest::mouseClick(f.console->comm_switch, Qt::LeftButton);
        QCOMPARE(f.plant.prompter.errors, QStringList());

        ReservationSlots &slots_model = *f.console->desk->slot_model;
        f.double_click_row(f.console->orders->suju_grid, 0);
        f.double_click_row(f.console->orders->suju_grid, 1);
        f.double_click_row(f.console->vehicles->car_grid, 1);  // slot 1 complete: the frame goes out
        f.double_click_row(f.console->vehicles->car_grid, 0);

        // "UB", "BE", "N" from the controller: one shipment, one ticket, the queue up.
        QTRY_COMPARE_WITH_TIMEOUT(f.plant.db().scalar(QStringLiteral("select count(*) from cholha")).toInt(), 1, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(slots_model.field(1, Slots::OrderNo), QStringLiteral("02"), 10000);
        QCOMPARE(f.printed().size(), 1);
        QCOMPARE(f.plant.db().scalar(QStringLiteral("select o_carnum from cholha")).toString(), QStringLiteral("81-2222-2"));
        QCOMPARE(slots_model.field(1, Slots::VehicleNo), QStringLiteral("1111"));
        // The second load goes through as well.
        QTRY_COMPARE_WITH_TIMEOUT(f.plant.db().scalar(QStringLiteral("select count(*) from cholha")).toInt(), 2, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(f.console->desk->display_lab1->text(), QStringLiteral("계량완료"), 10000);
        QCOMPARE(f.printed().size(), 2);
        QCOMPARE(f.plant.prompter.errors, QStringList());
        const QString seen = QString::fromUtf8(controller.readAll());
        QVERIFY2(seen.contains(QStringLiteral("product 1004, 6.00 m3, vehicle 2222")), qPrintable(seen));
        controller.kill();
        controller.waitForFinished();

        QVERIFY2(seen.contains(QStringLiteral("sent UB<CR><LF>")), qPrintable(seen));

        // The far end goes away: one message, not one per error event, and
        // the unit's label says the line is down.
        f.console->link->set_reopen_interval(1000);
        unit1.stop();
        QTRY_COMPARE(f.plant.prompter.errors.size(), 1);
        QVERIFY(f.plant.prompter.errors[0].startsWith(QStringLiteral("1호기 포트에서 알수없는 통신오류.")));
        QCOMPARE(f.console->desk->display_lab1->text(), PlantLink::line_down_text());
        QVERIFY(!f.console->link->line(1).is_open());

        // Back again: the console opens it by itself and sends the unit's frame again.
        unit1.start();
        QProcess again;
        again.setProcessChannelMode(QProcess::MergedChannels);
        again.start(tool("batch_simulator"), {unit1.plant});
        QVERIFY(again.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(f.console->link->line(1).is_open(), 10000);
        QByteArray heard;
        QTRY_VERIFY_WITH_TIMEOUT((heard += again.readAll()).contains("frame (109 bytes, unit 1)"), 10000);
        QCOMPARE(f.console->desk->display_lab1->text(), QStringLiteral("계량완료"));
        QCOMPARE(f.plant.prompter.errors.size(), 1);
        again.kill();
        again.waitForFinished();
    }

    void a_port_that_does_not_exist_or_is_busy()
    {
        ConsoleFixture f(WindowPlant::InMemory, ConsoleFixture::RealLines);
        PtyPair unit1(f.plant.dir.path(), QStringLiteral("1"));
        f.plant.dbm->settings.comm1_port = f.plant.dir.filePath(QStringLiteral("no_such_port"));
        f.open();
        QTest::mouseClick(f.console->comm_switch, Qt::LeftButton);
        QCOMPARE(f.plant.prompter.errors.size(), 1);
        QVERIFY(f.plant.prompter.errors[0].contains(QStringLiteral("포트가 없습니다")));

        // Busy: another program holds the port.
        SerialPortLine other;
        QString error;
        QVERIFY(other.open(unit1.console, 9600, &error));
        f.plant.dbm->settings.comm1_port = unit1.console;
        QTest::mouseClick(f.console->comm_switch, Qt::LeftButton);
        QTest::mouseClick(f.console->comm_switch, Qt::LeftButton);
        QCOMPARE(f.plant.prompter.errors.size(), 2);
        QVERIFY2(f.plant.prompter.errors[1].contains(QStringLiteral("다른 프로그램이 쓰고 있거나")),
                 qPrintable(f.plant.prompter.errors[1]));
    }

    // A setting that names a file: one box that says it is no serial port.
    void a_setting_that_is_not_a_serial_port()
    {
        ConsoleFixture f(WindowPlant::InMemory, ConsoleFixture::RealLines);
        f.plant.dbm->settings.comm1_port = f.plant.dir.path();
        f.open();
        QTest::mouseClick(f.console->comm_switch, Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(f.plant.prompter.errors.size(), 1);
        QVERIFY2(f.plant.prompter.errors[0].contains(QStringLiteral("직렬 포트가 아닙니다: ") + f.plant.dir.path()),
                 qPrintable(f.plant.prompter.errors[0]));
    }
};

QTEST_MAIN(TestSerialLoop)
#include "tst_serial_loop_db.moc"
