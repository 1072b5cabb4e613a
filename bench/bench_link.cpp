// How fast the console answers its batch controllers on a plant-scale
// database (see make_plant_db): from a status letter to the next frame on
// the line, the first weighing report handled on the console's thread (the
// load journalled), and from it to the shipment committed (on the recording thread),
// both boards reloaded and the ticket handed to the printer (a PDF file).
// Then what the outage journal costs: a recording with and without it (the
// journal's line flushed to disk, removed after the commit), and 100 loads
// journalled during an outage replayed into the database.
//
//   bench_link [--day yyyy-mm-dd] [--runs N]
//
// The database is the one the program would use (Connection.ini or the
// VELDARO_DB_* variables).  Loads are recorded into it.
#include "bench_common.h"
#include "bench_link_rig.h"
#include "gui/data/app_context.h"
#include "core/data/data_module.h"
#include "gui/console/main_window.h"
#include "core/framework/clock.h"
#include "core/masterdata/lookup_state.h"
#include "gui/framework/date_box.h"
#include "core/framework/prompter.h"
#include "gui/framework/report_output.h"
#include "core/framework/serial_line.h"
#include "core/framework/stored_text.h"
#include "core/plantlink/load_recorder.h"
#include "core/plantlink/plant_link.h"
#include "core/plantlink/shipment_recording.h"
#include "gui/console/reservation_desk.h"
#include "core/plantlink/reservation_slots.h"
#include "gui/plantlink/ticket_report.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>

namespace {
QTextStream out(stdout);
using Slots = ReservationSlots;

void fill_slot(ReservationSlots &s, int slot, const QString &seq, const QString &number, const QString &code)
{
    const int row = Slots::row_of(1, slot);
    s.set_field(row, Slots::OrderNo, seq);
    s.set_field(row, Slots::Product, QStringLiteral("1004"));
    s.set_field(row, Slots::SpecName, QStringLiteral("25-210-12"));
    s.set_field(row, Slots::Quantity, QStringLiteral("6"));
    s.set_field(row, Slots::VehicleNo, number);
    s.set_field(row, Slots::VehicleCode, code);
    s.set_field(row, Slots::Site, QStringLiteral("동탄 현장 %1").arg(seq));
}

void settle(const PlantLink &link)
{
    while (link.sending())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const BenchArgs args = parse_bench_args(app.arguments(), 30);
    const int runs = args.runs;
    QString day = args.day;
    LinkRig rig(ConnectionSettings::load(QString()));
    TF_DBMDL &dbm = rig.dbm;
    FakePrompter &prompter = rig.prompter;
    FakeSerialLine &line1 = rig.line1;
    ReportOutput &reports = rig.reports;
    AppContext &ctx = rig.ctx;
    try {
        dbm.connect_database();
        if (day.isEmpty())
            day = dbm.db().scalar(QStringLiteral("select max(ilja) from r_suju")).toString();
        const QString code = dbm.db().scalar(QStringLiteral("select min(code) from car_code")).toString();
        const QString number = dbm.db().scalar(QStringLiteral("select scode from car_code where code = :c"),
                                               {{":c", code}}).toString();
        out << "engine: " << (dbm.db().is_postgres() ? "PostgreSQL" : "SQLite") << ", "
            << dbm.db().scalar(QStringLiteral("select count(*) from cholha")).toLongLong() << " loads, day " << day << "\n";

        TF_MAIN console(ctx);
        // Another day first: the change loads the boards (the console may
        // be on that day already).
        console.ilja_combo->setDate(stored::parse_date(day).addDays(-1));
        console.ilja_combo->setDate(stored::parse_date(day));
        console.link->switch_on();
        ReservationSlots &s = *console.desk->slot_model;

        QList<double> to_frame, b_handled, to_ticket;
        for (int i = 0; i < runs; ++i) {
            // Weighing complete: the queue moves up and goes out again.
            fill_slot(s, 1, QStringLiteral("01"), number, code);
            fill_slot(s, 2, QStringLiteral("%1").arg(2 + i % 90, 2, 10, QLatin1Char('0')), number, code);
            settle(*console.link);
            const int sent = line1.written.size();
            QElapsedTimer t;
            t.start();
            line1.feed("N");
            to_frame << t.nsecsElapsed() / 1e6;
            if (line1.written.size() != sent + 1)
                out << "no frame after N\n";
            settle(*console.link);

            // The first weighing report of that load.
            const QString printed_before = QString::number(QDir(reports.pdf_folder()).entryList(QDir::Files).size());
            t.restart();
            line1.feed("B");
            b_handled << t.nsecsElapsed() / 1e6;
            while (console.loads_being_written() > 0)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            to_ticket << t.nsecsElapsed() / 1e6;
            if (QString::number(QDir(reports.pdf_folder()).entryList(QDir::Files).size()) == printed_before)
                out << "no ticket after B\n";
        }
        if (!prompter.shown.isEmpty())
            out << "messages: " << prompter.shown.join(QStringLiteral("; ")) << "\n";
        print_figures(out, "status letter to the next frame on the line", to_frame);
        print_figures(out, "first B handled on the console's thread", b_handled);
        print_figures(out, "first B to committed, boards, ticket printed", to_ticket);

        // The journal's cost: the same recording straight into the database
        // and through the journal, in turn.
        LoadRecorder recorder(dbm.db(), rig.tmp.filePath(QStringLiteral("cost/outage_journal.jsonl")));
        QList<double> direct, journalled;
        QTime at(5, 0, 0);
        const auto next_load = [&](int i) {
            shipment_recording::Input in;
            in.unit = 1;
            in.order_no = QStringLiteral("%1").arg(2 + i % 90, 2, 10, QLatin1Char('0'));
            in.product_code = QStringLiteral("1004");
            in.quantity = QStringLiteral("6");
            in.vehicle_no = number;
            in.vehicle_code = code;
            in.site_name = QStringLiteral("동탄 현장");
            in.board_date = day;
            in.today = QDate::currentDate();
            in.time = at = at.addSecs(7);
            return in;
        };
        for (int i = 0; i < runs; ++i) {
            QElapsedTimer t;
            t.start();
            shipment_recording::record(dbm.db(), next_load(i), {});
            direct << t.nsecsElapsed() / 1e6;
            t.restart();
            if (!recorder.record(next_load(i), {}).recorded)
                out << "a load stayed in the journal\n";
            journalled << t.nsecsElapsed() / 1e6;
        }
        print_figures(out, "recording straight into the database", direct);
        print_figures(out, "recording through the outage journal", journalled);
        std::sort(direct.begin(), direct.end());
        std::sort(journalled.begin(), journalled.end());
        out << QStringLiteral("the journal adds (median): %1 ms\n")
                   .arg(journalled[journalled.size() / 2] - direct[direct.size() / 2], 0, 'f', 3);

        // 100 loads left in the journal by an outage, replayed.
        const QString replay_path = rig.tmp.filePath(QStringLiteral("replay/outage_journal.jsonl"));
        {
            OutageJournal journal(replay_path);
            QString error;
            for (int i = 0; i < 100; ++i)
                if (!journal.append(journal.make_entry(next_load(i)), &error))
                    out << error << "\n";
        }
        QElapsedTimer t;
        t.start();
        LoadRecorder after_outage(dbm.db(), replay_path);
        const int written = after_outage.replay();
        out << QStringLiteral("replaying 100 journalled loads: %1 ms (%2 written, %3 left)\n")
                   .arg(t.nsecsElapsed() / 1e6, 0, 'f', 1).arg(written).arg(after_outage.waiting());
    } catch (const DbError &e) {
        out << e.message() << "\n";
        return 1;
    }
    return 0;
}
