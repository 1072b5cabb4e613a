// Fills a database with ten years of a busy plant, for the benchmarks:
// 60 trucks, 99 orders on every working day, about 1.5 million loads.
//
//   make_plant_db [--years N] [--end yyyy-mm-dd]
//
// The database is the one the program would use (Connection.ini or the
// VELDARO_DB_* variables); it must be empty.
#include "app/connection_settings.h"
#include "app/data_module.h"
#include "app/schema.h"
#include "framework/database.h"
#include "framework/stored_text.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QTextStream>

namespace {
QTextStream out(stdout);

// Multi-row inserts: far fewer round trips to a server than one row each.
class BulkInsert {
public:
    BulkInsert(const Database &db, QString table, QStringList columns, int rows_per_statement = 100)
        : db_(db), table_(std::move(table)), columns_(std::move(columns)), per_(rows_per_statement) {}
    ~BulkInsert() { flush(); }

    void add(const QVariantList &row)
    {
        pending_ << row;
        if (pending_.size() == per_)
            flush();
    }

    void flush()
    {
        if (pending_.isEmpty())
            return;
        const QString one = QLatin1Char('(') + QStringList(columns_.size(), QStringLiteral("?")).join(QLatin1Char(',')) + QLatin1Char(')');
        const QString sql = QStringLiteral("insert into %1 (%2) values %3")
                                .arg(table_, columns_.join(QLatin1Char(',')),
                                     QStringList(pending_.size(), one).join(QLatin1Char(',')));
        QSqlQuery q(db_.connection());
        if (!q.prepare(sql))
            throw DbError(describe_error(q.lastError()));
        for (const QVariantList &row : pending_)
            for (const QVariant &v : row)
                q.addBindValue(v);
        if (!q.exec())
            throw DbError(describe_error(q.lastError()));
        pending_.clear();
    }

private:
    const Database &db_;
    QString table_;
    QStringList columns_;
    int per_;
    QList<QVariantList> pending_;
};

QString two(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }
QString three(int n) { return QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0')); }
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int years = 10;
    QDate end = QDate::currentDate();
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--years"))
            years = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--end"))
            end = stored::parse_date(args[i + 1]);
    }
    const ConnectionSettings connection = ConnectionSettings::load(QString());
    TF_DBMDL dbm(QString(), connection);
    try {
        dbm.connect_database();
        const Database &db = dbm.db();
        schema::create_missing(db);
        if (number_or_zero(db.scalar(QStringLiteral("select count(*) from cholha"))) > 0) {
            out << "the database already holds loads\n";
            return 1;
        }
        QRandomGenerator rnd(20261210);
        QElapsedTimer t;
        t.start();
        Transaction tx(db);

        QStringList trucks, numbers;
        {
            BulkInsert cars(db, QStringLiteral("car_code"),
                            {"saup", "code", "scode", "name", "m3", "c_state", "c_dsum", "c_msum", "c_station", "c_otime", "c_bool", "sudang"});
            for (int i = 0; i < 60; ++i) {
                const QString number = QStringLiteral("%1").arg(1000 + i * 131 % 9000, 4, 10, QLatin1Char('0'));
                const QString code = QStringLiteral("%1-%2-%3").arg(70 + i % 30).arg(number).arg(i % 10);
                trucks << code;
                numbers << number;
                cars.add({"AA", code, number, QStringLiteral("기사%1").arg(i + 1), 6.0, "YES", 0, 0, "", "00:00", "Y", "0"});
            }
        }
        const QDate start = end.addYears(-years).addDays(1);
        qint64 loads = 0, orders = 0;
        {
            BulkInsert suju(db, QStringLiteral("r_suju"),
                            {"ilja", "seq", "grcd", "v_inout", "code", "v_station", "time_", "saup", "remi_code",
                             "v_rule", "order_m3", "danga", "vat", "v_outorder", "v_reorder", "v_ccount", "v_state"});
            BulkInsert cholha(db, QStringLiteral("cholha"),
                              {"o_date", "o_fdate", "o_otime", "o_scode", "o_count", "o_carnum", "o_hogi",
                               "o_outorder", "o_moltal", "o_ccode", "o_return"});
            for (QDate day = start; day <= end; day = day.addDays(1)) {
                if (day.dayOfWeek() == 7)
                    continue;
                const QString ilja = stored::date(day);
                const QString next_day = stored::date(day.addDays(1));
                for (int o = 1; o <= 99; ++o) {
                    const int trips = 1 + rnd.bounded(9);
                    const double order_m3 = 6.0 * trips + rnd.bounded(6);
                    double shipped = 0;
                    const int first_minutes = 7 * 60 + rnd.bounded(9 * 60);
                    for (int trip = 1; trip <= trips; ++trip) {
                        const int minutes = first_minutes + (trip - 1) * (12 + rnd.bounded(20));
                        const bool after_midnight = minutes >= 24 * 60;
                        const int m = minutes % (24 * 60);
                        const QString time = QStringLiteral("%1:%2:%3").arg(two(m / 60), two(m % 60), two(rnd.bounded(60)));
                        const int truck = rnd.bounded(60);
                        const double qty = trip == trips ? 6.0 - rnd.bounded(4) * 0.5 : 6.0;
                        shipped += qty;
                        cholha.add({after_midnight ? next_day : ilja, ilja, time, two(o), three(trip), trucks[truck],
                                    QString::number(1 + trip % 2), qty, 0.0, numbers[truck],
                                    rnd.bounded(200) == 0 ? QStringLiteral("회차") : QStringLiteral("**")});
                        ++loads;
                    }
                    suju.add({ilja, two(o), QStringLiteral("A%1").arg(three(1 + o % 200)), QStringLiteral("거래처%1").arg(o),
                              "001", QStringLiteral("현장%1").arg(o), QStringLiteral("%1:00").arg(two(7 + o % 10)), "AA",
                              "1004", "25-210-12", order_m3, 65000.0, "V", shipped, qMax(0.0, order_m3 - shipped), trips,
                              "YES"});
                    ++orders;
                }
            }
        }
        tx.commit();
        out << orders << " orders, " << loads << " loads from " << stored::date(start) << " to "
            << stored::date(end) << " in " << t.elapsed() / 1000.0 << " s\n";
        db.exec(QStringLiteral("analyze"));
    } catch (const DbError &e) {
        out << e.message() << "\n";
        return 1;
    }
    return 0;
}
