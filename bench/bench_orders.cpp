// Order entry on a plant-scale database (see make_plant_db): opening the
// window (four lists of distinct values and the day's orders) and the
// Enter handlers of customer, site, distance and specification with the
// price proposal, run through the window itself, with their plans.
//
//   bench_orders [--day yyyy-mm-dd] [--runs N] [--statistics stale|fresh]
//
// --statistics stale measures with the statistics a plant's server has
// after a day of writes on a table analyzed before: the value texts are
// emptied, the table analyzed and the texts put back, so the statistics
// say no order has them.  --statistics fresh analyzes first.
//
// It writes: where the database has no master data yet (make_plant_db
// makes orders and loads only), it adds customers, sites, specifications
// and transport fees for the orders' codes, gives the orders' cement,
// gravel, product and concrete texts a few plant-like values when they
// have none, and adds the indexes of order entry to an older database.  Run
// it on a copy.
#include "bench_common.h"
#include "gui/data/app_context.h"
#include "core/data/data_module.h"
#include "core/data/schema.h"
#include "core/framework/clock.h"
#include "core/framework/prompter.h"
#include "core/masterdata/lookup_state.h"
#include "core/orders/order_db.h"
#include "gui/framework/decimal_box.h"
#include "gui/orders/suju_window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace {
QTextStream out(stdout);

int count(const Database &db, const QString &sql)
{
    return int(number_or_zero(db.scalar(sql)));
}

void add_master_data(const Database &db)
{
    const Database::NoStatementLimit unlimited;
    Transaction tx(db);
    if (db.is_postgres())
        db.exec(QStringLiteral("set local statement_timeout = 0"));
    if (count(db, QStringLiteral("select count(*) from customer")) == 0) {
        QSqlQuery codes = db.query(QStringLiteral("select distinct grcd from r_suju"));
        QStringList grcds;
        while (codes.next())
            grcds << codes.value(0).toString();
        const char *classes[] = {"S", "T", "K", "L"};
        const char *vats[] = {"V", "N", "X"};
        const char *cuts[] = {"0", "1", "10", "100"};
        for (int i = 0; i < grcds.size(); ++i)
            db.exec(QStringLiteral("insert into customer (saup, grcd, name, kawn_sa, vat, misu, rank, julsa)"
                                   " values ('AA', :g, :n, :k, :v, 'H', 'A', :j)"),
                    {{":g", grcds[i]}, {":n", QStringLiteral("거래처 %1").arg(grcds[i])},
                     {":k", QString::fromLatin1(classes[i % 4])}, {":v", QString::fromLatin1(vats[i % 3])},
                     {":j", QString::fromLatin1(cuts[i % 4])}});
    }
    if (count(db, QStringLiteral("select count(*) from r_hyunjang")) == 0)
        db.exec(QStringLiteral("insert into r_hyunjang (saup, grcd, code, name, man_code, man_name, misu, order_nul)"
                               " select distinct 'AA', grcd, code, v_station, '001', '영업1', 'H', 95 from r_suju"));
    if (count(db, QStringLiteral("select count(*) from r_size")) == 0)
        db.exec(QStringLiteral("insert into r_size (remi_code, standard, kind, gubun, kwan_danga, sa_danga)"
                               " select distinct remi_code, v_rule, '보통', '2', 68000, 70000 from r_suju"));
    if (count(db, QStringLiteral("select count(*) from carry")) == 0)
        for (int km = 1; km <= 60; ++km)
            db.exec(QStringLiteral("insert into carry (code, dis_kum) values (:c, :k)"),
                    {{":c", QString::number(km)}, {":k", 3000 + km * 150}});
    if (count(db, QStringLiteral("select count(*) from r_suju where cement is not null")) == 0) {
        db.exec(QStringLiteral("update r_suju set cement = case when seq < '40' then '보통시멘트'"
                               " when seq < '80' then '고로슬래그' else '조강시멘트' end,"
                               " gravel = case when seq < '50' then '쇄석' else '강자갈' end,"
                               " japum = '일반', con = case when seq < '90' then '레미콘' else '몰탈' end"));
    }
    tx.commit();
    // A database made before order entry lacks the indexes its lookups use.
    schema::create_missing(db);
}

void set_statistics(const Database &db, const QString &how)
{
    const Database::NoStatementLimit unlimited;
    const auto untimed = [&] {
        if (db.is_postgres())
            db.exec(QStringLiteral("set local statement_timeout = 0"));
    };
    if (how == QLatin1String("fresh")) {
        db.exec(QStringLiteral("analyze r_suju"));
        return;
    }
    if (how != QLatin1String("stale"))
        return;
    {
        Transaction tx(db);
        untimed();
        db.exec(QStringLiteral("create table bench_values (ilja varchar(10), seq varchar(2), cement varchar(100),"
                               " gravel varchar(100), japum varchar(100), con varchar(100), primary key (ilja, seq))"));
        db.exec(QStringLiteral("insert into bench_values select ilja, seq, cement, gravel, japum, con from r_suju"));
        db.exec(QStringLiteral("update r_suju set cement = null, gravel = null, japum = null, con = null"));
        tx.commit();
    }
    db.exec(QStringLiteral("analyze r_suju"));
    Transaction tx(db);
    untimed();
    const QString from = QStringLiteral("(select b.%1 from bench_values b where b.ilja = r_suju.ilja and b.seq = r_suju.seq)");
    db.exec(QStringLiteral("update r_suju set cement = %1, gravel = %2, japum = %3, con = %4")
                .arg(from.arg(QStringLiteral("cement")), from.arg(QStringLiteral("gravel")),
                     from.arg(QStringLiteral("japum")), from.arg(QStringLiteral("con"))));
    db.exec(QStringLiteral("drop table bench_values"));
    tx.commit();
}

void press_enter(QWidget *field)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(field, &press);
}
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const BenchArgs args = parse_bench_args(app.arguments(), 50);
    TF_DBMDL dbm(QString(), ConnectionSettings::load(QString()));
    FakePrompter prompter;
    FakeClock clock;
    LookupState lookup;
    AppContext ctx;
    ctx.dbm = &dbm;
    ctx.prompter = &prompter;
    ctx.clock = &clock;
    ctx.lookup = &lookup;
    try {
        dbm.connect_database();
        const Database &db = dbm.db();
        add_master_data(db);
        QString statistics;
        for (int i = 1; i + 1 < app.arguments().size(); ++i)
            if (app.arguments()[i] == QLatin1String("--statistics"))
                statistics = app.arguments()[i + 1];
        set_statistics(db, statistics);
        if (db.is_postgres())
            out << "statistics: cement null_frac "
                << db.scalar(QStringLiteral("select null_frac from pg_stats where tablename = 'r_suju'"
                                            " and attname = 'cement'")).toString()
                << " (" << (statistics.isEmpty() ? QStringLiteral("as found") : statistics) << ")\n";
        else
            out << "statistics: " << (statistics.isEmpty() ? QStringLiteral("as found") : statistics) << "\n";
        const QString day = args.day.isEmpty()
                                ? db.scalar(QStringLiteral("select max(ilja) from r_suju")).toString()
                                : args.day;
        clock.set(QDateTime(QDate::fromString(day, QStringLiteral("yyyy-MM-dd")), QTime(9, 0)));
        QSqlQuery first = db.query(QStringLiteral("select grcd, code, remi_code from r_suju where ilja = :d"
                                                  " order by seq"),
                                   {{":d", day}});
        if (!first.next()) {
            out << "no orders on " << day << "\n";
            return 1;
        }
        const QString grcd = first.value(0).toString(), site = first.value(1).toString(),
                      spec = first.value(2).toString();
        first = QSqlQuery();
        out << "engine: " << (db.is_postgres() ? "PostgreSQL" : "SQLite") << ", "
            << count(db, QStringLiteral("select count(*) from r_suju")) << " orders, day " << day
            << "; customer " << grcd << ", site " << site << ", specification " << spec << " ("
            << count(db, QStringLiteral("select count(*) from r_suju where grcd = '%1' and code = '%2'"
                                        " and remi_code = '%3'").arg(grcd, site, spec))
            << " earlier orders)\n";

        print_figures(out, "opening the window", measure(args.runs, [&](int) {
                          TF_SUJU w(ctx);
                          w.show();
                      }));

        print_figures(out, "making the window (not shown)", measure(args.runs, [&](int) { TF_SUJU w(ctx); }));
        TF_SUJU w(ctx);
        w.show();
        print_figures(out, "opening step (four lists, the day's orders)",
                      measure(args.runs, [&](int) { w.opening_step(); }));
        for (const char *column : {"cement", "gravel", "japum", "con"})
            print_figures(out, qPrintable(QStringLiteral("  value list %1").arg(QString::fromLatin1(column))),
                          measure(args.runs, [&](int) { order_db::distinct_values(db, QString::fromLatin1(column)); }));
        w.newbtn->click();
        const auto handler = [&](QLineEdit *field, const QString &text) {
            return measure(args.runs, [&, field, text](int) {
                field->setText(text);
                press_enter(field);
            });
        };
        w.HY03->setText(grcd);
        print_figures(out, "Enter in the customer code", handler(w.HY03, grcd));
        print_figures(out, "Enter in the site code", handler(w.HY05, site));
        print_figures(out, "Enter in the distance", handler(w.HY25, QStringLiteral("12")));
        print_figures(out, "Enter in the specification (price proposal)", handler(w.HY29, spec));
        out << "proposed price " << w.HY32->plain() << "\n";
        if (!prompter.shown.isEmpty())
            out << "messages: " << prompter.shown.join(QStringLiteral("; ")) << "\n";

        out << "\nplans of opening the window:";
        print_plans(out, db, [&] { w.opening_step(); });
        w.newbtn->click();
        w.HY03->setText(grcd);
        w.HY05->setText(site);
        out << "\nplans of the Enter handlers:";
        print_plans(out, db, [&] {
            press_enter(w.HY03);
            press_enter(w.HY05);
            w.HY25->set_plain(QStringLiteral("12"));
            press_enter(w.HY25);
            w.HY29->setText(spec);
            press_enter(w.HY29);
        });
    } catch (const DbError &e) {
        out << e.message() << "\n";
        return 1;
    }
    return 0;
}
