// What the change log and the ticket register cost, and how fast the
// window "변경 이력" shows a month of a busy plant's log (see make_plant_db
// --change-log):
//
//   bench_change_log [--runs N]
//
// - a recording and an editor save, whole, and the part of them that is the
//   log's (building the entries and their one statement, plus the editor's
//   two reads of the order);
// - registering a printed ticket (its whole cost is added to a print);
// - the window's search over the last month of the log: to the first rows
//   on screen, and reading every row of the month.
//
// It writes loads of its own orders on 2099-01-05 and removes them with
// their entries afterwards; still, give it a copy of the plant database.
#include "bench_common.h"
#include "core/data/change_log.h"
#include "core/data/data_module.h"
#include "core/data/ticket_register.h"
#include "core/framework/clock.h"
#include "core/framework/korean_text.h"
#include "core/framework/prompter.h"
#include "core/framework/record_table_model.h"
#include "core/framework/stored_text.h"
#include "core/masterdata/lookup_state.h"
#include "core/plantlink/shipment_recording.h"
#include "core/shipments/shipment_edit_db.h"
#include "gui/data/app_context.h"
#include "gui/framework/date_box.h"
#include "gui/framework/report_output.h"
#include "gui/reports/changelog_window.h"

#include <QApplication>
#include <QJsonObject>
#include <QTemporaryDir>
#include <memory>

namespace {
QTextStream out(stdout);
const QString own_day = QStringLiteral("2099-01-05");

QString hms(int i)
{
    return QTime(6, 0).addSecs(i * 7).toString(QStringLiteral("HH:mm:ss"));
}

void clean(const Database &db)
{
    for (const char *sql : {"delete from cholha where o_fdate = :d", "delete from r_suju where ilja = :d",
                            "delete from change_log where work_date = :d", "delete from ticket_register where work_date = :d"})
        db.exec(QString::fromLatin1(sql), {{":d", own_day}});
}
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    install_korean_fonts();
    const BenchArgs args = parse_bench_args(app.arguments(), 200);
    TF_DBMDL dbm(QString(), ConnectionSettings::load(QString()));
    FakePrompter prompter;
    SystemClock clock;
    LookupState lookup;
    QTemporaryDir pdfs;
    ReportOutput reports(pdfs.path());
    AppContext ctx{&dbm, &prompter, &clock};
    ctx.lookup = &lookup;
    ctx.reports = &reports;
    try {
        dbm.connect_database();
        const Database &db = dbm.db();
        const ChangeAuthor author{QStringLiteral("김반장"), ChangeAuthor::this_station()};
        change_log::set_author(db, author);
        out << "engine: " << (db.is_postgres() ? "PostgreSQL" : "SQLite") << ", "
            << db.scalar(QStringLiteral("select count(*) from cholha")).toLongLong() << " loads, "
            << db.scalar(QStringLiteral("select count(*) from change_log")).toLongLong() << " log entries, "
            << db.scalar(QStringLiteral("select count(*) from ticket_register")).toLongLong() << " registered tickets\n\n";
        clean(db);
        const QString truck = db.scalar(QStringLiteral("select code from car_code order by code")).toString();
        const QString number = db.scalar(QStringLiteral("select scode from car_code where code = :c"), {{":c", truck}}).toString();
        db.exec(QStringLiteral("insert into r_suju (ilja, seq, v_inout, v_station, remi_code, v_rule, order_m3, v_outorder,"
                               " v_reorder, v_ccount, v_state, cement, japum, v_hon) values (:d, :s, '벤치건설',"
                               " '벤치현장', '1004', '25-210-12', 99999, 0, 99999, 0, 'YES', '보통', 'AE', '0.8')"),
                {{":d", own_day}, {":s", QStringLiteral("01")}});
        db.exec(QStringLiteral("insert into r_suju (ilja, seq, v_inout, v_station, remi_code, v_rule, order_m3, v_outorder,"
                               " v_reorder, v_ccount, v_state) values (:d, :s, '벤치건설', '벤치현장', '1004', '25-210-12',"
                               " 99999, 0, 99999, 0, 'YES')"),
                {{":d", own_day}, {":s", QStringLiteral("02")}});

        // A recording, whole.
        shipment_recording::Input in;
        in.unit = 1;
        in.order_no = QStringLiteral("01");
        in.product_code = QStringLiteral("1004");
        in.quantity = QStringLiteral("6");
        in.vehicle_no = number;
        in.vehicle_code = truck;
        in.site_name = QStringLiteral("벤치현장");
        in.board_date = own_day;
        in.today = QDate(2099, 1, 5);
        in.author = author;
        print_figures(out, "recording, with its log", measure(args.runs, [&](int i) {
                          in.time = QTime::fromString(hms(i), QStringLiteral("HH:mm:ss"));
                          shipment_recording::record(db, in, {});
                      }));
        // The log's part of it: the two entries built and written.
        const std::optional<QJsonObject> order = change_log::order_row(db, own_day, QStringLiteral("01"));
        const QJsonObject load = change_log::read_row(db, QStringLiteral("select * from cholha where o_fdate = :d"),
                                                      {{":d", own_day}}).value();
        QList<double> log_part;
        for (int i = 0; i < args.runs; ++i) {
            Transaction tx(db);
            QElapsedTimer t;
            t.start();
            change_log::Changes c;
            QJsonObject after = *order;
            after.insert(QStringLiteral("v_outorder"), 6.0 * (i + 1));
            after.insert(QStringLiteral("v_ccount"), i + 1);
            c.add(change_log::load_entry(change_log::Kind::Recorded, std::nullopt, load));
            c.add(change_log::order_entry(change_log::Kind::Recorded, order, after));
            c.write(db, author);
            log_part << t.nsecsElapsed() / 1e6;
        }
        print_figures(out, "  of it the log (built and written)", log_part);

        // An editor save (a new load), whole, and the log's part: the
        // order read after the change (the read before it gives the save
        // its trip count too), the entries built and written.
        using shipment_edit_db::SaveRequest;
        print_figures(out, "editor save, with its log", measure(args.runs, [&](int i) {
                          SaveRequest r;
                          r.board_date = QStringLiteral("2000-01-01");
                          r.shipment = {own_day, own_day, hms(i + 2000), 6, 0, number, QString(), truck, QStringLiteral("02"),
                                        QStringLiteral("**"), QStringLiteral("1")};
                          shipment_edit_db::save(db, r);
                      }));
        QList<double> editor_log;
        for (int i = 0; i < args.runs; ++i) {
            Transaction tx(db);
            QElapsedTimer t;
            t.start();
            const std::optional<QJsonObject> before = order;
            change_log::Changes c;
            c.add(change_log::load_entry(change_log::Kind::Entered, std::nullopt, load));
            QJsonObject after = change_log::order_row(db, own_day, QStringLiteral("02")).value();
            after.insert(QStringLiteral("v_ccount"), i + 1000);
            c.add(change_log::order_entry(change_log::Kind::Entered, before, after));
            c.write(db, author);
            editor_log << t.nsecsElapsed() / 1e6;
        }
        print_figures(out, "  of it the log (a read, built, written)", editor_log);

        // Registering a printed ticket.
        TicketData ticket;
        ticket.origin = {QStringLiteral("console"), QStringLiteral("cholha"), own_day, QStringLiteral("01"),
                         QStringLiteral("001"), QString(), QStringLiteral("25-210-12"), 0.0, truck};
        print_figures(out, "ticket registered", measure(args.runs, [&](int i) {
                          ticket.origin.load_time = hms(i);
                          ticket_register::record(db, author, ticket, QStringLiteral("송장프린터"),
                                                  QDateTime::currentDateTime(), {});
                      }));
        clean(db);

        // The window over the log's last month.
        const QString last_entry = db.scalar(QStringLiteral("select max(entry_id) from change_log")).toString();
        if (last_entry.isEmpty()) {
            out << "\nno change log: make_plant_db --change-log first\n";
            return 0;
        }
        const QDate last = QDate::fromString(last_entry.left(8), QStringLiteral("yyyyMMdd"));
        const QDate first = last.addMonths(-1).addDays(1);
        change_log_queries::Filter month{stored::date(first), stored::date(last)};
        print_figures(out, "  the log's first 200 rows (statements, rows)", measure(5, [&](int) {
                          const RecordTableModel::RowSource rows = change_log_queries::entries(db, month);
                          QSqlRecord r;
                          for (int i = 0; i < 200 && rows(r); ++i) {
                          }
                      }));
        print_figures(out, "  the register's first 200 rows", measure(5, [&](int) {
                          const RecordTableModel::RowSource rows = change_log_queries::register_rows(db, month);
                          QSqlRecord r;
                          for (int i = 0; i < 200 && rows(r); ++i) {
                          }
                      }));
        print_figures(out, "  the loads without a ticket", measure(5, [&](int) { change_log_queries::unprinted(db, month); }));
        print_figures(out, "  the operators", measure(5, [&](int) {
                          change_log_queries::operators(db, month.first_date, month.last_date);
                      }));
        // A window opened and searched, as the operator does; closed
        // outside the times.
        QList<double> first_rows, all;
        qsizetype rows = 0, registered = 0, unprinted = 0;
        for (int i = 0; i < 5; ++i) {
            auto w = std::make_unique<TF_CHANGELOG>(ctx);
            w->first_date->set_text_date(stored::date(first));
            w->last_date->set_text_date(stored::date(last));
            QElapsedTimer t;
            t.start();
            w->sel_btnClick();
            first_rows << t.nsecsElapsed() / 1e6;
            t.restart();
            w->log_query->fetch_all();
            all << t.nsecsElapsed() / 1e6;
            rows = w->log_query->rowCount();
            registered = w->register_query->rowCount();
            unprinted = w->unprinted_query->rowCount();
        }
        {
            // The same search again in a window that holds the whole month.
            TF_CHANGELOG w(ctx);
            w.first_date->set_text_date(stored::date(first));
            w.last_date->set_text_date(stored::date(last));
            w.sel_btnClick();
            w.log_query->fetch_all();
            print_figures(out, "window: the search again over a month read", measure(3, [&](int) {
                              w.sel_btnClick();
                              w.log_query->fetch_all();
                          }));
        }
        print_figures(out, "window: a month's search to its first rows", first_rows);
        print_figures(out, "  then every row of the month read", all);
        out << "  (" << rows << " entries from " << stored::date(first) << " to " << stored::date(last) << ", "
            << registered << " registered tickets on the first page, " << unprinted << " loads without a ticket)\n";
        if (!prompter.errors.isEmpty())
            out << "errors: " << prompter.errors.join(QStringLiteral("; ")) << "\n";
    } catch (const DbError &e) {
        out << e.message() << "\n";
        return 1;
    } catch (const ActionError &e) {
        out << e.message() << "\n";
        return 1;
    }
    return 0;
}
