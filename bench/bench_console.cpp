// How fast the console follows the plant on a plant-scale database (see
// make_plant_db): the day change and the recalculation of a 99-order day,
// run through the console itself, and the plans of their statements.
//
//   bench_console [--day yyyy-mm-dd] [--runs N]
//
// The database is the one the program would use (Connection.ini or the
// VELDARO_DB_* variables).
#include "bench_common.h"
#include "gui/data/app_context.h"
#include "core/data/data_module.h"
#include "gui/console/main_window.h"
#include "gui/console/order_board.h"
#include "core/framework/clock.h"
#include "gui/framework/date_box.h"
#include "core/framework/prompter.h"
#include "core/framework/stored_text.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSqlDriver>
#include <QSqlField>
#include <QSqlQuery>
#include <QTextStream>
#include <algorithm>

namespace {
QTextStream out(stdout);
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const BenchArgs args = parse_bench_args(app.arguments(), 50);
    const int runs = args.runs;
    QString day = args.day;
    TF_DBMDL dbm(QString(), ConnectionSettings::load(QString()));
    FakePrompter prompter;
    SystemClock clock;
    AppContext ctx;
    ctx.dbm = &dbm;
    ctx.prompter = &prompter;
    ctx.clock = &clock;
    try {
        dbm.connect_database();
        if (day.isEmpty())
            day = dbm.db().scalar(QStringLiteral("select max(ilja) from r_suju")).toString();
        const QDate d = stored::parse_date(day);
        out << "engine: " << (dbm.db().is_postgres() ? "PostgreSQL" : "SQLite") << ", "
            << dbm.db().scalar(QStringLiteral("select count(*) from cholha")).toLongLong() << " loads, "
            << "day " << day << " with "
            << dbm.db().scalar(QStringLiteral("select count(*) from r_suju where ilja = :d"), {{":d", day}}).toInt()
            << " orders\n";

        TF_MAIN console(ctx);
        // Back and forth between the day and the one before, as an operator does.
        print_figures(out, "day change", measure(runs, [&](int i) { console.ilja_combo->setDate(i % 2 ? d : d.addDays(-1)); }));
        console.ilja_combo->setDate(d);
        print_figures(out, "recalculation (99 orders)", measure(runs, [&](int) { console.orders->refresh_btnClick(); }));
        if (!prompter.shown.isEmpty())
            out << "errors: " << prompter.shown.join(QStringLiteral("; ")) << "\n";

        out << "\nplans of the day change:";
        print_plans(out, dbm.db(), [&] { console.ilja_combo->setDate(d.addDays(-1)); });
        out << "\nplans of the recalculation:";
        print_plans(out, dbm.db(), [&] { console.orders->refresh_btnClick(); });
    } catch (const DbError &e) {
        out << e.message() << "\n";
        return 1;
    }
    return 0;
}
