// Two programs recording loads of one order at the same moment, against one
// program alone: the order's lock must keep every trip number and figure
// right without slowing the plant.
//
//   bench_shared [--loads N]
//
// The database is the one the program would use (Connection.ini or the
// VELDARO_DB_* variables); its tables are made where missing.  The loads go
// to orders of a day of their own (2099-01-01 on), removed at the end.
#include "bench_common.h"
#include "core/data/connection_settings.h"
#include "core/data/data_module.h"
#include "core/data/schema.h"
#include "core/framework/database.h"
#include "core/plantlink/shipment_recording.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSet>
#include <QTemporaryDir>
#include <QTextStream>
#include <QUuid>
#include <barrier>
#include <thread>

namespace {
QTextStream out(stdout);

shipment_recording::Input load_of(const QString &day, int unit, int n)
{
    shipment_recording::Input in;
    in.unit = unit;
    in.order_no = QStringLiteral("01");
    in.product_code = QStringLiteral("1004");
    in.quantity = QStringLiteral("6");
    in.vehicle_no = QStringLiteral("9999");
    in.vehicle_code = QStringLiteral("99-9999-9");
    in.site_name = QStringLiteral("시험 현장");
    in.board_date = day;
    in.today = QDate::currentDate();
    in.time = QTime(6, 0).addSecs(n * 10 + unit);
    in.load_id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    return in;
}

void add_order(const Database &db, const QString &day)
{
    db.exec(QStringLiteral("insert into r_suju (ilja, seq, v_inout, v_station, remi_code, v_rule, order_m3,"
                           " v_outorder, v_reorder, v_ccount, v_state) values"
                           " (:d, '01', '시험', '시험 현장', '1004', '25-210-12', 100000, 0, 100000, 0, 'YES')"),
            {{":d", day}});
}

// Trip numbers distinct, the order's figures what its loads add up to.
bool invariants_hold(const Database &db, const QString &day, int loads)
{
    QSqlQuery q = db.query(QStringLiteral("select o_count, o_outorder from cholha where o_fdate = :d and o_scode = '01'"),
                           {{":d", day}});
    QSet<QString> trips;
    double shipped = 0;
    int rows = 0;
    while (q.next()) {
        trips << q.value(0).toString();
        shipped += q.value(1).toDouble();
        ++rows;
    }
    const double stored = number_or_zero(db.scalar(
        QStringLiteral("select v_outorder from r_suju where ilja = :d and seq = '01'"), {{":d", day}}));
    const int count = db.scalar(QStringLiteral("select v_ccount from r_suju where ilja = :d and seq = '01'"),
                                {{":d", day}}).toInt();
    return rows == loads && trips.size() == loads && stored == shipped && count == loads;
}

void clean(const Database &db, const QString &day)
{
    db.exec(QStringLiteral("delete from cholha where o_fdate = :d"), {{":d", day}});
    db.exec(QStringLiteral("delete from cholha_ident where o_fdate = :d"), {{":d", day}});
    db.exec(QStringLiteral("delete from r_suju where ilja = :d"), {{":d", day}});
}
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int loads = 100;
    const QStringList args = app.arguments();
    if (const qsizetype i = args.indexOf(QStringLiteral("--loads")); i > 0 && i + 1 < args.size())
        loads = args.at(i + 1).toInt();

    QTemporaryDir tmp;
    TF_DBMDL dbm(tmp.filePath(QStringLiteral("Vorn.Ini")), ConnectionSettings::load(QString()));
    try {
        dbm.connect_database();
        schema::create_missing(dbm.db());
        const Database &db = dbm.db();
        out << "database: " << (db.is_postgres() ? "PostgreSQL" : "SQLite") << ", " << loads << " loads a program\n";
        db.exec(QStringLiteral("delete from car_code where code = '99-9999-9'"));
        db.exec(QStringLiteral("insert into car_code (saup, code, scode, name, c_state, c_dsum, c_msum)"
                               " values ('AA', '99-9999-9', '9999', '시험', 'YES', 0, 0)"));

        // One program alone.
        const QString alone = QStringLiteral("2099-01-01");
        clean(db, alone);
        add_order(db, alone);
        QElapsedTimer t;
        t.start();
        for (int n = 0; n < loads; ++n)
            shipment_recording::record(db, load_of(alone, 1, n), {});
        const double alone_ms = t.nsecsElapsed() / 1e6;
        out << QStringLiteral("one program:  %1 ms for %2 loads, %3 ms a load; invariants %4\n")
                   .arg(alone_ms, 0, 'f', 1).arg(loads).arg(alone_ms / loads, 0, 'f', 2)
                   .arg(invariants_hold(db, alone, loads) ? "hold" : "BROKEN");

        // Two programs, each with its connection, released together.
        const QString together = QStringLiteral("2099-01-02");
        clean(db, together);
        add_order(db, together);
        std::barrier start(2);
        double elapsed[2] = {0, 0};
        QString failure[2];
        std::vector<std::thread> programs;
        for (int p = 0; p < 2; ++p) {
            programs.emplace_back([&, p] {
                const QString name = QStringLiteral("bench-shared-%1").arg(p);
                {
                    QSqlDatabase::cloneDatabase(db.connection_name(), name);
                    Database mine(name);
                    try {
                        mine.ensure_open();
                        start.arrive_and_wait();
                        QElapsedTimer own;
                        own.start();
                        for (int n = 0; n < loads; ++n)
                            shipment_recording::record(mine, load_of(together, p + 1, n), {});
                        elapsed[p] = own.nsecsElapsed() / 1e6;
                    } catch (const std::exception &e) {
                        failure[p] = QString::fromUtf8(e.what());
                    }
                    QSqlDatabase::database(name, false).close();
                }
                QSqlDatabase::removeDatabase(name);
            });
        }
        for (std::thread &p : programs)
            p.join();
        for (int p = 0; p < 2; ++p) {
            if (!failure[p].isEmpty())
                out << "program " << p + 1 << " failed: " << failure[p] << "\n";
            out << QStringLiteral("two programs: program %1 %2 ms for %3 loads, %4 ms a load (%5 x alone)\n")
                       .arg(p + 1).arg(elapsed[p], 0, 'f', 1).arg(loads).arg(elapsed[p] / loads, 0, 'f', 2)
                       .arg(elapsed[p] / alone_ms, 0, 'f', 2);
        }
        out << QStringLiteral("two programs: invariants %1\n")
                   .arg(invariants_hold(db, together, 2 * loads) ? "hold" : "BROKEN");
        clean(db, alone);
        clean(db, together);
        db.exec(QStringLiteral("delete from car_code where code = '99-9999-9'"));
    } catch (const DbError &e) {
        out << e.message() << "\n";
        return 1;
    }
    return 0;
}
