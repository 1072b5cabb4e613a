// How fast the shipment status window answers on a plant-scale database
// (see make_plant_db): each search over one year from the button to its
// first rows and totals, a list of about 5,000 rows from the button to the
// preview and to a PDF file, and the plans of their statements.
//
//   bench_status [--day yyyy-mm-dd] [--runs N] [--statistics stale|fresh]
//
// --statistics stale measures with the statistics a server has a month of
// writes after its last analysis: the last 30 days' loads are taken out,
// the table analyzed and the loads put back (it writes: run it on a copy).
// --statistics fresh analyzes first.
//
// The year ends on --day (default: the last day with orders).  The
// database is the one the program would use (Connection.ini or the
// VELDARO_DB_* variables).
#include "bench_common.h"
#include "gui/data/app_context.h"
#include "core/data/data_module.h"
#include "core/framework/clock.h"
#include "gui/framework/date_box.h"
#include "core/framework/korean_text.h"
#include "core/framework/prompter.h"
#include "core/framework/record_table_model.h"
#include "gui/framework/report_output.h"
#include "core/framework/stored_text.h"
#include "core/masterdata/lookup_state.h"
#include "gui/reports/status_window.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

namespace {
QTextStream out(stdout);

struct Case {
    const char *what;
    int choice;
    int view;
    bool one_year;  // else the short period of the lists
    QString filter;
};
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    install_korean_fonts();
    const BenchArgs args = parse_bench_args(app.arguments(), 5);
    TF_DBMDL dbm(QString(), ConnectionSettings::load(QString()));
    FakePrompter prompter;
    SystemClock clock;
    LookupState lookup;
    QTemporaryDir pdfs;
    ReportOutput reports(pdfs.path());
    AppContext ctx;
    ctx.dbm = &dbm;
    ctx.prompter = &prompter;
    ctx.clock = &clock;
    ctx.lookup = &lookup;
    ctx.reports = &reports;
    try {
        dbm.connect_database();
        const Database &db = dbm.db();
        QString statistics;
        for (int i = 1; i + 1 < app.arguments().size(); ++i)
            if (app.arguments()[i] == QLatin1String("--statistics"))
                statistics = app.arguments()[i + 1];
        if (!statistics.isEmpty()) {
            const Database::NoStatementLimit unlimited;
            const auto untimed = [&] {
                if (db.is_postgres())
                    db.exec(QStringLiteral("set local statement_timeout = 0"));
            };
            if (statistics == QLatin1String("stale")) {
                const QString since = stored::date(stored::parse_date(
                    db.scalar(QStringLiteral("select max(o_fdate) from cholha")).toString()).addDays(-29));
                {
                    Transaction tx(db);
                    untimed();
                    db.exec(QStringLiteral("create table bench_month as select * from cholha where 1 = 0"));
                    db.exec(QStringLiteral("insert into bench_month select * from cholha where o_fdate >= :d"),
                            {{":d", since}});
                    db.exec(QStringLiteral("delete from cholha where o_fdate >= :d"), {{":d", since}});
                    tx.commit();
                }
                db.exec(QStringLiteral("analyze cholha"));
                Transaction tx(db);
                untimed();
                db.exec(QStringLiteral("insert into cholha select * from bench_month"));
                db.exec(QStringLiteral("drop table bench_month"));
                tx.commit();
            } else {
                db.exec(QStringLiteral("analyze cholha"));
            }
        }
        out << "statistics: " << (statistics.isEmpty() ? QStringLiteral("as found") : statistics) << "\n";
        QString day = args.day;
        if (day.isEmpty())
            day = db.scalar(QStringLiteral("select max(ilja) from r_suju")).toString();
        const QDate last = stored::parse_date(day);
        const QString year_start = stored::date(last.addYears(-1).addDays(1));
        // About 5,000 loads: the last ten days.
        const QString list_start = stored::date(last.addDays(-9));
        const QString customer = db.scalar(QStringLiteral("select v_inout from r_suju where ilja = :d"), {{":d", day}}).toString();
        const QString site = db.scalar(QStringLiteral("select v_station from r_suju where ilja = :d"), {{":d", day}}).toString();
        const QString spec = db.scalar(QStringLiteral("select v_rule from r_suju where ilja = :d"), {{":d", day}}).toString();
        const QString vehicle = db.scalar(QStringLiteral("select o_carnum from cholha where o_fdate = :d"), {{":d", day}}).toString();
        out << "engine: " << (db.is_postgres() ? "PostgreSQL" : "SQLite") << ", "
            << db.scalar(QStringLiteral("select count(*) from cholha")).toLongLong() << " loads, "
            << db.scalar(QStringLiteral("select count(*) from r_suju")).toLongLong() << " orders; year "
            << year_start << " to " << day << "\n\n";

        TF_CUSTLIST w(ctx);
        w.show();
        QApplication::processEvents();
        const auto choose = [&](const Case &c) {
            w.find_combo->setCurrentIndex(c.choice);
            w.view_combo->setCurrentIndex(c.view);
            w.first_date->set_text_date(c.choice == 4 ? day : (c.one_year ? year_start : list_start));
            w.last_date->set_text_date(day);
            w.find_edit->setText(c.filter);
        };
        const QList<Case> searches{
            {"customer, all, one year", 0, 0, true, {}},
            {"customer, one, one year, detailed", 0, 1, true, customer},
            {"site, one year", 1, 0, true, site},
            {"specification, one year", 2, 0, true, spec},
            {"vehicle totals, all, one year", 3, 0, true, {}},
            {"vehicle totals, one vehicle, one year", 3, 0, true, vehicle},
            {"vehicle log, all, one year", 3, 1, true, {}},
            {"vehicle log, one vehicle, one year", 3, 1, true, vehicle},
            {"by time, one day", 4, 0, true, {}},
        };
        out << "search: button to first rows and totals\n";
        for (const Case &c : searches) {
            choose(c);
            print_figures(out, c.what, measure(args.runs, [&](int) {
                              w.sel_btnClick();
                              QApplication::processEvents();
                          }));
        }

        const QList<Case> lists{
            {"order totals list (~5,000 orders, 50 days)", 0, 0, false, {}},
            {"order log (~5,000 loads)", 0, 1, false, {}},
            {"vehicle totals list (one year)", 3, 0, true, {}},
            {"vehicle log (~5,000 loads)", 3, 1, false, {}},
        };
        out << "\nlists: rows, pages; button to the preview shown; button to the PDF written\n";
        for (Case c : lists) {
            choose(c);
            if (c.choice == 0 && c.view == 0)
                w.first_date->set_text_date(stored::date(last.addDays(-57)));
            w.sel_btnClick();
            const report::Document doc = w.current_report();
            int rows = 0;
            for (const report::Page &p : doc.pages)
                for (const report::PlacedBand &b : p.bands)
                    rows += b.band.name == QLatin1String("detail");
            out << c.what << ": " << rows << " rows, " << doc.pages.size() << " pages\n";
            w.sel_btnClick();
            print_figures(out, "  to the preview", measure(args.runs, [&](int) {
                              QTimer::singleShot(0, [] {
                                  if (QWidget *m = QApplication::activeModalWidget())
                                      m->close();
                              });
                              w.pre_btnClick();
                          }));
            print_figures(out, "  to the PDF file", measure(args.runs, [&](int) { w.prn_btnClick(); }));
        }
        if (!prompter.shown.isEmpty())
            out << "messages: " << prompter.shown.join(QStringLiteral("; ")) << "\n";

        out << "\nplans:";
        for (const Case &c : searches) {
            choose(c);
            print_plans(out, db, [&] { w.sel_btnClick(); });
        }
        choose(lists[1]);
        w.sel_btnClick();
        print_plans(out, db, [&] { w.current_report(); });
    } catch (const std::exception &e) {
        out << e.what() << "\n";
        return 1;
    }
    return 0;
}
