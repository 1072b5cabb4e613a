// How the console answers while the plant's server stops answering (a
// proxy on the loopback that swallows every packet, made here): a status
// letter to the next frame on the line, the first weighing report handled
// (journalled), a load queued from the boards and a slot deleted, and how
// long a window's statement takes to say the database does not answer.
// The same figures with the database healthy come first.
//
//   bench_silent [--runs N]
//
// PostgreSQL only: VELDARO_DB_HOST names the server's socket folder,
// VELDARO_DB_PORT its port, VELDARO_DB_NAME a database with the program's
// tables (make_plant_db); loads are recorded into it.
#include "bench_common.h"
#include "bench_link_rig.h"
#include "core/data/data_module.h"
#include "core/framework/clock.h"
#include "core/framework/prompter.h"
#include "core/framework/serial_line.h"
#include "core/masterdata/lookup_state.h"
#include "core/orders/order_queries.h"
#include "core/plantlink/load_recorder.h"
#include "core/plantlink/plant_link.h"
#include "core/plantlink/recording_thread.h"
#include "core/plantlink/reservation_slots.h"
#include "gui/console/main_window.h"
#include "gui/console/order_board.h"
#include "gui/console/reservation_desk.h"
#include "gui/console/vehicle_board.h"
#include "gui/framework/board_grid.h"
#include "core/framework/record_table_model.h"
#include "gui/data/app_context.h"
#include "gui/framework/date_box.h"
#include "gui/framework/report_output.h"
#include "gui/plantlink/ticket_report.h"
#include "silent_proxy.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>

namespace {
QTextStream out(stdout);
using Slots = ReservationSlots;

void wait_for(const std::function<bool()> &done)
{
    while (!done())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

double ms_of(const std::function<void()> &step)
{
    QElapsedTimer t;
    t.start();
    step();
    return t.nsecsElapsed() / 1e6;
}
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const BenchArgs args = parse_bench_args(app.arguments(), 20);
    const QString folder = qEnvironmentVariable("VELDARO_DB_HOST");
    SilentProxy proxy(folder, qEnvironmentVariableIntValue("VELDARO_DB_PORT", nullptr) ?: 5432);
    ConnectionSettings c = ConnectionSettings::load(QString());
    if (!c.embedded()) {
        c.host = QStringLiteral("127.0.0.1");
        c.port = proxy.port();
    } else {
        out << "bench_silent needs a PostgreSQL server (VELDARO_DB_DRIVER=postgres)\n";
        return 1;
    }
    LinkRig rig(c);
    TF_DBMDL &dbm = rig.dbm;
    FakePrompter &prompter = rig.prompter;
    FakeSerialLine &line1 = rig.line1;
    ReportOutput &reports = rig.reports;
    AppContext &ctx = rig.ctx;
    try {
        dbm.connect_database();
        const QString day = dbm.db().scalar(QStringLiteral("select max(ilja) from r_suju")).toString();
        out << "PostgreSQL through a proxy, " << dbm.db().scalar(QStringLiteral("select count(*) from cholha")).toLongLong()
            << " loads, day " << day << "\n";
        TF_MAIN console(ctx);
        // Another day first: the change loads the boards.
        console.ilja_combo->setDate(QDate::fromString(day, Qt::ISODate).addDays(-1));
        console.ilja_combo->setDate(QDate::fromString(day, Qt::ISODate));
        console.link->switch_on();
        console.recording().set_retry_interval(500);
        ReservationDesk &desk = *console.desk;
        // The first order and truck of the boards are the ones queued.
        console.orders->suju_grid->set_cursor_row(0);
        console.vehicles->car_grid->set_cursor_row(0);
        if (console.orders->suju_query->rowCount() == 0 || console.vehicles->car_query->rowCount() == 0) {
            out << "no order or no truck on the boards of " << day << "\n";
            return 1;
        }

        // One load through unit 1: queued from the boards, weighed,
        // discharged, done; the slot below it deleted and queued again.
        struct Figures {
            QList<double> letter_to_frame, b_handled, queue_order, queue_truck, delete_slot, b_to_ticket;
        };
        const auto one_load = [&](Figures &f, bool wait_for_ticket) {
            desk.select_unit(1);
            for (int slot = 1; slot <= 2; ++slot) {
                f.queue_order << ms_of([&] { desk.fill_from_order_board(); });
                f.queue_truck << ms_of([&] { desk.fill_from_vehicle_board(); });
                wait_for([&] { return !console.link->sending(); });
            }
            line1.feed("U");
            const int printed = QDir(reports.pdf_folder()).entryList(QDir::Files).size();
            QElapsedTimer ticket_time;
            ticket_time.start();
            f.b_handled << ms_of([&] { line1.feed("B"); });
            if (wait_for_ticket) {
                wait_for([&] { return console.loads_being_written() == 0; });
                if (QDir(reports.pdf_folder()).entryList(QDir::Files).size() == printed)
                    out << "no ticket after B\n";
                f.b_to_ticket << ticket_time.nsecsElapsed() / 1e6;
            }
            line1.feed("E");
            wait_for([&] { return !console.link->sending(); });
            const qsizetype sent = line1.written.size();
            f.letter_to_frame << ms_of([&] { line1.feed("N"); });
            if (line1.written.size() != sent + 1)
                out << "no frame after N\n";
            wait_for([&] { return !console.link->sending(); });
            line1.feed("U");  // slot 1 may be deleted only while the unit waits
            f.delete_slot << ms_of([&] { desk.delete_slot(Slots::row_of(1, 1)); });
            wait_for([&] { return !console.link->sending(); });
        };
        const auto print = [](const Figures &f, bool with_ticket) {
            print_figures(out, "status letter N to the next frame", f.letter_to_frame);
            print_figures(out, "first B handled on the console's thread", f.b_handled);
            if (with_ticket)
                print_figures(out, "first B to committed and ticket printed", f.b_to_ticket);
            print_figures(out, "order queued from the order board", f.queue_order);
            print_figures(out, "truck queued from the vehicle board", f.queue_truck);
            print_figures(out, "slot 1 deleted", f.delete_slot);
        };

        Figures healthy;
        for (int i = 0; i < args.runs; ++i)
            one_load(healthy, true);
        out << "-- the database healthy\n";
        print(healthy, true);

        proxy.set_silent(true);
        // A window's statement says so within the limit.
        QString said;
        const double window_ms = ms_of([&] {
            try {
                orders_db::orders_of_day(dbm.db(), day, QStringLiteral("YES"));
            } catch (const DbError &e) {
                said = e.message().section(QLatin1Char('\n'), 0, 0);
            }
        });
        Figures silent;
        for (int i = 0; i < args.runs; ++i)
            one_load(silent, false);
        out << "-- the database silent\n";
        print(silent, false);
        out << QStringLiteral("a window's statement gave up after %1 ms: %2\n").arg(window_ms, 0, 'f', 0).arg(said);
        const int waiting = console.load_recorder().waiting();
        proxy.set_silent(false);
        QElapsedTimer back;
        back.start();
        wait_for([&] { return console.load_recorder().waiting() == 0; });
        out << QStringLiteral("%1 loads journalled while silent, written %2 ms after it answered again\n")
                   .arg(waiting).arg(back.elapsed());
        if (!prompter.shown.isEmpty())
            out << "messages: " << prompter.shown.join(QStringLiteral("; ")).left(400) << "\n";
    } catch (const DbError &e) {
        out << e.message() << "\n";
        return 1;
    }
    return 0;
}
