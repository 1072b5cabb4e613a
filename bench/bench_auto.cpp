// How fast the auto ticket book makes and prints a big yusa order: 100
// loads (600 m3) generated through the window's "출   하" (old loads
// deleted, new ones inserted, the grid reloaded), then the range 001-100
// printed through "&P.연 속 인 쇄" into PDF files (the same drawing a printer
// gets).
//
//   bench_auto [--day yyyy-mm-dd] [--runs N]
//
// The database is the one the program would use (Connection.ini or the
// VELDARO_DB_* variables).  One yusa order is added to the day (the next
// free number) and its loads are written again at every run.
#include "bench_common.h"
#include "gui/data/app_context.h"
#include "core/data/data_module.h"
#include "core/framework/clock.h"
#include "core/framework/korean_text.h"
#include "core/framework/prompter.h"
#include "gui/framework/report_output.h"
#include "core/framework/stored_text.h"
#include "core/masterdata/lookup_state.h"
#include "gui/plantlink/ticket_report.h"
#include "gui/shipments/auto_ticket_window.h"
#include "core/shipments/yusa_db.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextStream>

namespace {
QTextStream out(stdout);

int pdf_count(const QString &folder)
{
    return int(QDir(folder).entryList({QStringLiteral("*.pdf")}, QDir::Files).size());
}
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    install_korean_fonts();
    const BenchArgs args = parse_bench_args(app.arguments(), 5);
    QTemporaryDir tmp;
    TF_DBMDL dbm(tmp.filePath(QStringLiteral("Vorn.Ini")), ConnectionSettings::load(QString()));
    dbm.settings.top_margin = QStringLiteral("2");
    dbm.settings.left_margin = QStringLiteral("1");
    FakePrompter prompter;  // answers the regeneration question with OK
    FakeClock clock(QDateTime(args.day.isEmpty() ? QDate::currentDate() : stored::parse_date(args.day), QTime(8, 0)));
    ReportOutput reports(tmp.filePath(QStringLiteral("printed")));
    TF_QR_SONGJANG ticket(dbm, prompter, clock, reports);
    LookupState lookup;
    AppContext ctx;
    ctx.lookup = &lookup;
    ctx.dbm = &dbm;
    ctx.prompter = &prompter;
    ctx.clock = &clock;
    ctx.reports = &reports;
    ctx.qr_songjang = &ticket;

    try {
        dbm.connect_database();
        const Database &db = dbm.db();
        const QString day = stored::date(clock.today());
        const QString seq = QString::number(yusa_db::orders(db, day).size() + 1);
        yusa_db::insert_order(db, {day, seq, QStringLiteral("한빛건설 주식회사"), QStringLiteral("새솔아파트 3단지"),
                                   QStringLiteral("25-240-15"), 600, QStringLiteral("06:00"), QStringLiteral("10"),
                                   QStringLiteral("보통포틀랜드"), QStringLiteral("쇄석"), QStringLiteral("AE제"),
                                   QStringLiteral("0.5%")});
        out << "engine: " << (db.is_postgres() ? "PostgreSQL" : "SQLite") << ", "
            << db.scalar(QStringLiteral("select count(*) from cholha")).toLongLong() << " loads, "
            << db.scalar(QStringLiteral("select count(*) from yu_cholha")).toLongLong() << " yusa loads, "
            << yusa_db::vehicles_in_service(db).size() << " trucks in service; day " << day << ", yusa order "
            << seq << "\n";

        TF_CHOLHAAUTO w(ctx);
        w.show();
        QTableView *grid = w.suju_grid;
        for (int r = 0; r < grid->model()->rowCount(); ++r) {
            const QModelIndex at = grid->model()->index(r, 0);
            if (at.data().toString() == seq) {
                grid->setCurrentIndex(at);
                emit grid->clicked(at);
            }
        }
        if (w.su01->text() != seq) {
            out << "yusa order " << seq << " not shown\n";
            return 1;
        }

        QList<double> generate_ms, print_ms;
        for (int i = 0; i < args.runs; ++i) {
            QElapsedTimer t;
            t.start();
            w.ColorButton1->click();
            generate_ms << t.nsecsElapsed() / 1e6;
            if (w.cholha_grid->model()->rowCount() != 100 || w.last_seq_edit->text() != QLatin1String("100")) {
                out << "generation made " << w.cholha_grid->model()->rowCount() << " loads\n";
                return 1;
            }
            const int before = pdf_count(reports.pdf_folder());
            t.restart();
            w.prn_btn->click();
            print_ms << t.nsecsElapsed() / 1e6;
            if (pdf_count(reports.pdf_folder()) != before + 100) {
                out << "range printed " << pdf_count(reports.pdf_folder()) - before << " tickets\n";
                return 1;
            }
        }
        const QStringList unexpected = prompter.shown.filter(QStringLiteral("출하자료가 이미 존재합니다"),
                                                             Qt::CaseSensitive);
        if (prompter.shown.size() != unexpected.size())
            out << "messages: " << prompter.shown.join(QStringLiteral("; ")) << "\n";
        print_figures(out, "generate 100 loads (600 m3), grid reloaded", generate_ms);
        print_figures(out, "print the range 001-100 to PDF", print_ms);
        w.close();
        yusa_db::delete_order(db, day, seq);
    } catch (const DbError &e) {
        out << e.message() << "\n";
        return 1;
    }
    return 0;
}
