// The order entry window's contract figures and the day's order sheet on a
// plant-scale database with contracts and ledger (make_plant_db):
//  - the tab "관수" chosen for the contract site with the most ledger rows
//    (five products in three periods each), a click on a product, the
//    quantity check's figures;
//  - a 99-order day from the print button to the first preview page.
// With the plans of the statements.
//
//   bench_contracts [--day yyyy-mm-dd] [--runs N]
//
// The database is the one the program would use (Connection.ini or the
// VELDARO_DB_* variables).
#include "bench_common.h"
#include "core/data/data_module.h"
#include "core/framework/clock.h"
#include "core/framework/korean_text.h"
#include "core/framework/prompter.h"
#include "gui/framework/report_output.h"
#include "core/orders/contract_db.h"
#include "gui/orders/contract_tabs.h"
#include "core/orders/order_sheet.h"
#include "gui/orders/order_sheet_preview.h"

#include <QApplication>
#include <ctime>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

namespace {
QTextStream out(stdout);

// Wall-clock figures and the mean processor time: the machine may be busy
// with other work, which stretches the first but not the second.
void timed(const char *what, int runs, const std::function<void(int)> &step)
{
    const std::clock_t cpu = std::clock();
    print_figures(out, what, measure(runs, step));
    out << QStringLiteral("%1  cpu %2 ms per run\n").arg(QString(), -44)
               .arg(double(std::clock() - cpu) * 1000 / CLOCKS_PER_SEC / runs, 0, 'f', 3);
}
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    install_korean_fonts();
    const BenchArgs args = parse_bench_args(app.arguments(), 50);
    TF_DBMDL dbm(QString(), ConnectionSettings::load(QString()));
    FakePrompter prompter;
    SystemClock clock;
    try {
        dbm.connect_database();
        const Database &db = dbm.db();
        QString grcd, code;
        double ledger_rows = 0;
        {
            QSqlQuery q = db.query(QStringLiteral("select grcd, code, count(*) as n from r_mast"
                                                  " group by grcd, code order by n desc"));
            if (!q.next()) {
                out << "no ledger rows: make the database with make_plant_db\n";
                return 1;
            }
            grcd = q.value(0).toString();
            code = q.value(1).toString();
            ledger_rows = number_or_zero(q.value(2));
        }
        const double periods = number_or_zero(db.scalar(
            QStringLiteral("select count(*) from r_hyun_order where grcd = :g and code = :c"), {{":g", grcd}, {":c", code}}));
        out << "engine: " << (db.is_postgres() ? "PostgreSQL" : "SQLite") << ", site " << grcd << "/" << code << ": "
            << periods << " contract periods, " << ledger_rows << " ledger rows of the site, "
            << number_or_zero(db.scalar(QStringLiteral("select count(*) from r_mast"))) << " in all\n";

        QWidget contract_page, sums_page;
        ContractTabs tabs(db, prompter, &contract_page, &sums_page);
        timed("tab gwansu (contracts) chosen", args.runs,
              [&](int) { tabs.show_contracts(grcd, code, QStringLiteral("관수1")); });
        timed("click on a product", args.runs, [&](int i) { tabs.show_periods(i % 5); });
        timed("quantity check", args.runs,
              [&](int) { tabs.order_exceeds_unshipped(grcd, code, QStringLiteral("관수1"), 6, 65000); });
        timed("tab minsu (product sums) chosen", args.runs,
              [&](int) { tabs.show_product_sums(grcd, code, QStringLiteral("민수1")); });

        QString day = args.day;
        if (day.isEmpty())
            day = db.scalar(QStringLiteral("select max(ilja) from r_suju")).toString();
        const double orders = number_or_zero(
            db.scalar(QStringLiteral("select count(*) from r_suju where ilja = :d"), {{":d", day}}));
        QTemporaryDir dir;
        ReportOutput reports(dir.path());
        reports.default_printer_name = [] { return QString(); };
        QElapsedTimer t;
        QList<double> to_preview;
        const int sheet_runs = std::max(1, args.runs / 5);
        for (int i = 0; i < sheet_runs; ++i) {
            // The preview draws its pages when it is shown; the first turn of
            // its event loop finds them drawn.
            QTimer::singleShot(0, [&] {
                to_preview << t.nsecsElapsed() / 1e6;
                if (QWidget *w = QApplication::activeModalWidget())
                    w->close();
            });
            t.start();
            preview_order_sheet(db, prompter, reports, clock, nullptr, day);
        }
        out << "order sheet of " << day << ", " << orders << " orders\n";
        print_figures(out, "print button to the preview shown", to_preview);
        timed("order sheet read and laid out", args.runs, [&](int) {
            QString error;
            order_sheet(db, clock, day, &error);
        });

        out << "\nplans of the tab 관수:";
        print_plans(out, db, [&] { tabs.show_contracts(grcd, code, QStringLiteral("관수1")); });
        out << "\nplans of the tab 민수 and the order sheet:";
        print_plans(out, db, [&] {
            tabs.show_product_sums(grcd, code, QStringLiteral("민수1"));
            order_sheet_db::day_orders(db, day);
        });
    } catch (const DbError &e) {
        out << e.message() << "\n";
        return 1;
    }
    return 0;
}
