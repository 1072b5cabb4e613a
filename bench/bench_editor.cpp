// How fast the shipment editor works on a plant-scale database (see
// make_plant_db), through the window itself over a real console: opening
// it, saving a new load, saving a corrected load, deleting a load (with
// renumbering and recounts), and a range of 20 tickets to PDF files.
//
//   bench_editor [--day yyyy-mm-dd] [--runs N] [--pdf folder]
//
// It writes: run it on a copy of the plant database.  The database is the
// one the program would use (Connection.ini or the VELDARO_DB_* variables).
#include "bench_common.h"
#include "gui/data/app_context.h"
#include "core/data/data_module.h"
#include "gui/framework/board_grid.h"
#include "gui/console/main_window.h"
#include "core/framework/clock.h"
#include "core/framework/prompter.h"
#include "core/framework/record_table_model.h"
#include "gui/framework/report_output.h"
#include "core/framework/stored_text.h"
#include "gui/framework/time_box.h"
#include "gui/masterdata/list_window.h"
#include "core/masterdata/lookup_state.h"
#include "gui/plantlink/ticket_report.h"
#include "gui/shipments/shipment_editor.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>
#include <ctime>

namespace {
QTextStream out(stdout);

// The process's own processor time: on a machine shared with other work
// the wall-clock figures include waiting for a processor.
double cpu_ms()
{
    return 1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

QList<double> cpu_times;

double timed(const std::function<void()> &step)
{
    QElapsedTimer t;
    const double cpu = cpu_ms();
    t.start();
    step();
    cpu_times << cpu_ms() - cpu;
    return t.nsecsElapsed() / 1e6;
}
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const BenchArgs args = parse_bench_args(app.arguments(), 30);
    QString pdf_folder;
    const QStringList argv_list = app.arguments();
    if (const qsizetype at = argv_list.indexOf(QStringLiteral("--pdf")); at > 0 && at + 1 < argv_list.size())
        pdf_folder = argv_list[at + 1];
    QTemporaryDir scratch;
    if (pdf_folder.isEmpty())
        pdf_folder = scratch.path();
    QDir().mkpath(pdf_folder);

    TF_DBMDL dbm(QString(), ConnectionSettings::load(QString()));
    FakePrompter prompter;
    FakeClock clock;
    LookupState lookup;
    ReportOutput reports(pdf_folder);
    AppContext ctx;
    ctx.dbm = &dbm;
    ctx.prompter = &prompter;
    ctx.clock = &clock;
    ctx.lookup = &lookup;
    ctx.reports = &reports;
    TF_QR_SONGJANG ticket(dbm, prompter, clock, reports);
    ctx.qr_songjang = &ticket;
    dbm.settings.top_margin = QStringLiteral("2");
    dbm.settings.left_margin = QStringLiteral("1");
    try {
        dbm.connect_database();
        QString day = args.day;
        if (day.isEmpty())
            day = dbm.db().scalar(QStringLiteral("select max(ilja) from r_suju")).toString();
        clock.set(QDateTime(stored::parse_date(day), QTime(23, 0, 0)));
        out << "engine: " << (dbm.db().is_postgres() ? "PostgreSQL" : "SQLite") << ", "
            << dbm.db().scalar(QStringLiteral("select count(*) from cholha")).toLongLong() << " loads, "
            << "day " << day << " with "
            << dbm.db().scalar(QStringLiteral("select count(*) from r_suju where ilja = :d"), {{":d", day}}).toInt()
            << " orders\n";
        const QString vehicle = dbm.db().scalar(QStringLiteral("select min(scode) from car_code")).toString();

        TF_LIST list(ctx);
        ctx.list = &list;
        TF_MAIN console(ctx);  // the editor's console operations, on the same day
        console.load_orders(day, QStringLiteral("YES"));

        QList<double> opening_cpu, built, opening, figures, inserts, edits, deletes;
        for (int i = 0; i < args.runs; ++i) {
            std::unique_ptr<TF_CHOLHAEDIT> w;
            QElapsedTimer t;
            const double cpu = cpu_ms();
            t.start();
            w = std::make_unique<TF_CHOLHAEDIT>(ctx);
            built << t.nsecsElapsed() / 1e6;
            w->show();
            opening << t.nsecsElapsed() / 1e6;
            opening_cpu << cpu_ms() - cpu;
            figures << timed([&] { w->ilja_comboChange(); });
            // A new load of the fifth order, a minute apart each run.
            clock.set(QDateTime(stored::parse_date(day), QTime(23, 0, 0).addSecs(60 * i)));
            w->new_btnClick();
            w->suju_grid->set_cursor_row(4);
            Q_EMIT w->suju_grid->clicked(w->suju_grid->model()->index(4, 0));
            w->hy05->setText(vehicle);
            w->hy10->setText(dbm.db().scalar(QStringLiteral("select min(code) from car_code where scode = :s"),
                                             {{":s", vehicle}}).toString());
            w->hy12->setText(QStringLiteral("1"));
            inserts << timed([&] { w->sav_btnClick(); });
            // Correct it: another quantity and a minute later (renumbering).
            w->edt_btnClick();
            w->hy03->setText(QStringLiteral("5.5"));
            w->hy02->set_time_text(QTime(23, 0, 30).addSecs(60 * i).toString(QStringLiteral("HH:mm:ss")));
            edits << timed([&] { w->sav_btnClick(); });
            // Delete the oldest load of the order: every later trip is renumbered.
            w->cholha_grid->set_cursor_row(w->cholha_grid->records()->rowCount() - 1);
            Q_EMIT w->cholha_grid->clicked(w->cholha_grid->model()->index(w->cholha_grid->records()->rowCount() - 1, 0));
            deletes << timed([&] { w->del_btnClick(); });
        }
        print_figures(out, "opening the editor", opening);
        print_figures(out, "  processor time of this process", opening_cpu);
        print_figures(out, "  of it: making its widgets", built);
        print_figures(out, "  of it: the day's orders, totals, loads", figures);
        print_figures(out, "saving a new load", inserts);
        print_figures(out, "saving a corrected load", edits);
        print_figures(out, "deleting a load", deletes);
        print_figures(out, "processor time of figures, saves and deletes", cpu_times);

        // The order of the day with the most loads, its first 20 trips.
        TF_CHOLHAEDIT w(ctx);
        w.show();
        QString seq;
        int most = 0;
        for (int r = 0; r < w.suju_query->rowCount(); ++r) {
            const int n = w.suju_query->value(r, QStringLiteral("v_ccount")).toInt();
            if (n > most) {
                most = n;
                seq = w.suju_query->text(r, QStringLiteral("seq"));
            }
        }
        // Loads enough for 20 tickets (this is a copy of the plant database).
        for (int n = most + 1; n <= 20; ++n)
            dbm.db().exec(QStringLiteral("insert into cholha (o_date, o_fdate, o_otime, o_scode, o_count, o_carnum,"
                                         " o_hogi, o_outorder, o_moltal, o_ccode, o_return) select o_date, o_fdate,"
                                         " :t, o_scode, :c, o_carnum, o_hogi, o_outorder, o_moltal, o_ccode, o_return"
                                         " from cholha where o_fdate = :d and o_scode = :s and o_count = '001'"),
                          {{":t", QTime(22, 0, 0).addSecs(n).toString(QStringLiteral("HH:mm:ss"))},
                           {":c", QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'))}, {":d", day}, {":s", seq}});
        w.songjang_chk->click();
        w.Edt_Sujuno->setText(seq);
        w.first_seq_edit->setText(QStringLiteral("001"));
        w.last_seq_edit->setText(QStringLiteral("020"));
        const int before = QDir(pdf_folder).entryList({QStringLiteral("*.pdf")}).size();
        QList<double> range;
        range << timed([&] { w.Btn_OkClick(); });
        const int printed = QDir(pdf_folder).entryList({QStringLiteral("*.pdf")}).size() - before;
        out << "range of trips 001-020 of order " << seq << " (" << most << " trips): " << printed << " tickets, "
            << QString::number(range.first(), 'f', 1) << " ms\n";
        if (!prompter.shown.isEmpty())
            out << "messages: " << prompter.shown.join(QStringLiteral("; ")) << "\n";
    } catch (const DbError &e) {
        out << e.message() << "\n";
        return 1;
    }
    return 0;
}
