#include "console_fixture.h"
#include "core/plantlink/load_recorder.h"
#include "core/plantlink/plant_link.h"
#include "core/plantlink/recording_thread.h"
#include "core/plantlink/reservation_slots.h"
#include "gui/console/order_board.h"
#include "gui/console/reservation_desk.h"
#include "gui/framework/board_grid.h"
#include "core/framework/record_table_model.h"
#include "silent_proxy.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>

using Slots = ReservationSlots;

// The console with a server that stops answering after the connection is
// made: the letters of a whole load keep their effect and their frames at
// once, and the load goes in with its "B" time when the server answers.
class TestSilentConsole : public QObject {
    Q_OBJECT

    // The console and the test's own statements go through the proxy.
    struct Plant {
        Plant()
            : proxy(qEnvironmentVariable("VELDARO_DB_HOST"), qEnvironmentVariableIntValue("VELDARO_DB_PORT")),
              host(qgetenv("VELDARO_DB_HOST")), port(qgetenv("VELDARO_DB_PORT"))
        {
            qputenv("VELDARO_DB_HOST", "127.0.0.1");
            qputenv("VELDARO_DB_PORT", QByteArray::number(proxy.port()));
            f = std::make_unique<ConsoleFixture>();
            qputenv("VELDARO_DB_HOST", host);
            qputenv("VELDARO_DB_PORT", port);
            add_order(f->plant, "2026-03-02", "01", 30, 0);
            add_order(f->plant, "2026-03-02", "02", 30, 0);
            add_truck(f->plant, "81-1111-1", "1111", "YES");
            add_truck(f->plant, "81-2222-1", "2222", "YES");
            f->open();
            f->console->recording().set_retry_interval(200);
            f->console->link->switch_on();
            ReservationSlots &m = *f->console->desk->slot_model;
            for (int slot = 1; slot <= 2; ++slot) {
                const int row = Slots::row_of(1, slot);
                const QString n = QString::number(slot * 1111);
                m.set_field(row, Slots::OrderNo, QStringLiteral("0%1").arg(slot));
                m.set_field(row, Slots::Product, QStringLiteral("1004"));
                m.set_field(row, Slots::Quantity, QStringLiteral("6"));
                m.set_field(row, Slots::VehicleNo, n);
                m.set_field(row, Slots::VehicleCode, QStringLiteral("81-%1-1").arg(n));
                m.set_field(row, Slots::Site, QStringLiteral("현장0%1").arg(slot));
            }
        }
        // One read of the line, applied with every frame it causes.
        void feed(const char *letters)
        {
            f->line1.feed(letters);
            QTRY_VERIFY(!f->console->link->sending());
        }
        QString label() const { return f->console->desk->display_lab1->text(); }

        SilentProxy proxy;
        QByteArray host, port;
        std::unique_ptr<ConsoleFixture> f;
    };

private Q_SLOTS:
    void init()
    {
        if (test_engine() != QLatin1String("postgres"))
            QSKIP("a server on the network");
    }

    void a_whole_load_goes_through_the_unit_while_the_server_is_silent()
    {
        Plant p;
        p.f->console->send_btn->click();
        QTRY_VERIFY(!p.f->console->link->sending());
        const qsizetype frames = p.f->line1.written.size();
        p.proxy.set_silent(true);
        p.f->plant.clock.set(QDateTime(QDate(2026, 3, 2), QTime(10, 5, 30)));

        p.feed("U");
        QCOMPARE(p.label(), QStringLiteral("대기중"));
        p.feed("B");
        QCOMPARE(p.label(), QStringLiteral("계량중 1번째"));
        p.f->plant.clock.set(QDateTime(QDate(2026, 3, 2), QTime(10, 7, 0)));
        p.feed("E");
        QCOMPARE(p.label(), QStringLiteral("배출중"));
        p.feed("N");
        QCOMPARE(p.label(), QStringLiteral("계량완료"));
        // The queue moved up and went out to the unit...
        QCOMPARE(p.f->console->desk->slot_model->field(1, 1, Slots::OrderNo), QStringLiteral("02"));
        QCOMPARE(p.f->line1.written.size(), frames + 1);
        // ...while the load still waits for the server's answer.
        QCOMPARE(p.f->console->loads_being_written(), 1);
        QCOMPARE(p.f->plant.prompter.errors, QStringList());

        // The recording gives up within its limits and keeps the load.
        QTRY_COMPARE_WITH_TIMEOUT(p.f->console->loads_being_written(), 0,
                                  3 * static_cast<int>(Database::default_statement_limit.count()));
        QCOMPARE(p.f->console->load_recorder().waiting(), 1);
        QTRY_VERIFY(p.f->console->journal_lab->isVisible());
        if (const QString folder = qEnvironmentVariable("VELDARO_SCREENSHOTS"); !folder.isEmpty())
            p.f->console->grab().save(folder + QStringLiteral("/console_server_silent.png"));
        // Known to be away: an order queued from the board fills its slot at
        // once, without waiting out a refresh of the trips below the board.
        QVERIFY(p.f->console->database_away());
        p.f->console->desk->fill_from_order_board();
        QCOMPARE(p.f->console->desk->slot_model->field(1, 2, Slots::OrderNo),
                 p.f->console->orders->suju_query->text(p.f->console->orders->suju_grid->cursor_row(), QStringLiteral("seq")));
        // The ticket printed from the board's figures could not go into the register.
        QCOMPARE(p.f->plant.prompter.errors, QStringList{TF_QR_SONGJANG::not_registered_away_text()});

        p.proxy.set_silent(false);
        QTRY_COMPARE_WITH_TIMEOUT(p.f->console->load_recorder().waiting(), 0, 20000);
        QSqlQuery q = p.f->plant.db().query(QStringLiteral("select o_scode, o_count, o_ccode, o_otime from cholha"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString() + QLatin1Char(' ') + q.value(1).toString() + QLatin1Char(' ')
                     + q.value(2).toString() + QLatin1Char(' ') + q.value(3).toString(),
                 QStringLiteral("01 001 1111 10:05:30"));
        QVERIFY(!q.next());
        QTRY_VERIFY(!p.f->console->journal_lab->isVisible());
    }
};

QTEST_MAIN(TestSilentConsole)
#include "tst_silent_console_db.moc"
