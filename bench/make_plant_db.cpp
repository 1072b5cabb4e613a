// Fills a database with ten years of a busy plant, for the benchmarks:
// 60 trucks, 99 orders on every working day, about 1.5 million loads; the
// customers with their sites and sales persons, and the contracts of the
// government customers (300 contract sites, five products in three
// periods each) with a ledger row for every load of theirs.
//
//   make_plant_db [--years N] [--end yyyy-mm-dd]
//   make_plant_db --contracts-only
//   make_plant_db --change-log [--log-days N]
//
// The database is the one the program would use (Connection.ini or the
// VELDARO_DB_* variables); it must be empty.  --contracts-only adds the
// customers, sites, contracts and ledger to a database that has the orders
// and loads but none of those yet.  --change-log adds the last year (or N
// days) of the change log and the ticket register to a database with its
// loads: every load recorded (the load and its order's figures), one load
// in fifty corrected afterwards, every load's ticket printed and one in
// twenty printed again.
#include "core/data/change_log.h"
#include "core/data/connection_settings.h"
#include "core/data/data_module.h"
#include "core/data/schema.h"
#include "core/framework/database.h"
#include "core/framework/stored_text.h"

#include <QCoreApplication>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlRecord>
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

// Every fourth customer is a government one ("K") with six sites in turn
// over the years, each under contract for five products in three periods
// at rising prices; the others are "L", "S" and "T" with one site.
constexpr int customer_count = 200;
constexpr int sites_per_government_customer = 6;
const char *const class_codes = "KLST";  // by i % 4: every fourth is government

QString customer_code(int i) { return QStringLiteral("A%1").arg(three(i)); }
bool government(int i) { return i % 4 == 0; }

struct SitePeriod {
    QString code;
    QDate from;
    QDate until;  // exclusive
    QStringList products;
};

// The sites of a government customer, each busy for an equal part of the
// years from `start` to `end`.
QList<SitePeriod> contract_sites(int customer, const QDate &start, const QDate &end)
{
    QList<SitePeriod> sites;
    const qint64 span = std::max<qint64>(3, start.daysTo(end) / sites_per_government_customer + 1);
    for (int s = 0; s < sites_per_government_customer; ++s) {
        SitePeriod site{three(s + 1), start.addDays(s * span), start.addDays((s + 1) * span), {}};
        for (int p = 0; p < 5; ++p)
            site.products << QString::number(1001 + (customer + s + p) % 8);
        sites << site;
    }
    return sites;
}

double contract_price(const QString &product, int period) { return 60000 + (product.toInt() - 1000) * 1000 + period * 2000; }
QString product_standard(const QString &product) { return QStringLiteral("25-%1-15").arg(180 + (product.toInt() - 1000) * 10); }

void fill_contracts(const Database &db, QRandomGenerator &rnd)
{
    QElapsedTimer t;
    t.start();
    if (number_or_zero(db.scalar(QStringLiteral("select count(*) from r_hyun_order"))) > 0
        || number_or_zero(db.scalar(QStringLiteral("select count(*) from customer"))) > 0) {
        out << "the database already holds customers or contracts\n";
        return;
    }
    const QDate start = stored::parse_date(db.scalar(QStringLiteral("select min(ilja) from r_suju")).toString());
    const QDate end = stored::parse_date(db.scalar(QStringLiteral("select max(ilja) from r_suju")).toString()).addDays(1);
    Transaction tx(db);
    {
        BulkInsert men(db, QStringLiteral("youngup"), {"code", "man"});
        for (int m = 1; m <= 10; ++m)
            men.add({three(m), QStringLiteral("영업%1").arg(m)});
    }
    qint64 contract_rows = 0;
    QHash<QString, QList<SitePeriod>> sites_of;
    {
        BulkInsert customers(db, QStringLiteral("customer"),
                             {"saup", "cust_set", "cust_seq", "grcd", "name", "kawn_sa", "vat", "misu", "rank", "julsa"});
        BulkInsert sites(db, QStringLiteral("r_hyunjang"),
                         {"saup", "grcd", "code", "name", "man_code", "man_name", "misu", "grcd_name", "grcode",
                          "kawn_sa", "ground_tel", "order_nul"});
        BulkInsert contracts(db, QStringLiteral("r_hyun_order"),
                             {"grcd", "code", "remi_code", "kind", "standard", "demand1", "demand2", "amount", "cost",
                              "order_num", "delivery", "memo"});
        for (int i = 1; i <= customer_count; ++i) {
            const QString grcd = customer_code(i);
            const QString kawn_sa = QString(QLatin1Char(class_codes[i % 4]));
            const QString name = QStringLiteral("거래처%1").arg(i);
            customers.add({"AA", "A", i, grcd, name, kawn_sa, "V", "H", "A", "100"});
            const int site_count = government(i) ? sites_per_government_customer : 1;
            const QList<SitePeriod> periods = contract_sites(i, start, end);
            for (int s = 0; s < site_count; ++s) {
                const int man = 1 + (i + s) % 10;
                sites.add({"AA", grcd, three(s + 1), QStringLiteral("현장%1-%2").arg(i).arg(s + 1), three(man),
                           QStringLiteral("영업%1").arg(man), "H", name, grcd + three(s + 1), kawn_sa,
                           QStringLiteral("010-%1-%2").arg(1000 + i).arg(2000 + s), 95.0});
                if (!government(i))
                    continue;
                const SitePeriod &site = periods[s];
                const qint64 third = std::max<qint64>(1, site.from.daysTo(site.until) / 3);
                for (const QString &product : site.products) {
                    for (int p = 0; p < 3; ++p) {
                        const QDate from = site.from.addDays(p * third);
                        const QDate until = p == 2 ? site.until : site.from.addDays((p + 1) * third);
                        contracts.add({grcd, site.code, product, QStringLiteral("보통"), product_standard(product),
                                       stored::date(from), stored::date(until),
                                       p == 0 ? 300.0 + rnd.bounded(500) : double(rnd.bounded(3) * 100),
                                       contract_price(product, p), QStringLiteral("%1-%2-%3").arg(grcd, site.code).arg(p + 1),
                                       stored::date(until), QStringLiteral("조달계약")});
                        ++contract_rows;
                    }
                }
            }
            if (government(i))
                sites_of.insert(grcd, periods);
        }
    }
    // A ledger row for every load of a government customer's order, on the
    // site that was busy that day; now and then a product without contract.
    struct Load {
        QString grcd, day;
        double m3;
    };
    QList<Load> loads;
    {
        QSqlQuery q = db.query(QStringLiteral("select s.grcd, c.o_date, c.o_outorder from cholha c"
                                              " join r_suju s on s.ilja = c.o_fdate and s.seq = c.o_scode"
                                              " join customer cu on cu.grcd = s.grcd where cu.kawn_sa = 'K'"));
        while (q.next())
            loads << Load{q.value(0).toString(), q.value(1).toString(), number_or_zero(q.value(2))};
    }
    BulkInsert ledger(db, QStringLiteral("r_mast"),
                      {"grcd", "code", "remi_code", "remi_code1", "standard", "kind", "ilja", "m3", "kum", "vatkum", "hap"});
    for (const Load &l : loads) {
        const QDate day = stored::parse_date(l.day);
        for (const SitePeriod &site : sites_of.value(l.grcd)) {
            if (day < site.from || day >= site.until)
                continue;
            const bool contracted = rnd.bounded(50) != 0;
            const QString product = contracted ? site.products[rnd.bounded(5)] : QStringLiteral("2001");
            const int period = std::min<qint64>(2, site.from.daysTo(day) * 3 / std::max<qint64>(1, site.from.daysTo(site.until)));
            const double kum = std::round(l.m3 * contract_price(contracted ? product : QStringLiteral("1001"), period));
            ledger.add({l.grcd, site.code, product, product, product_standard(product), QStringLiteral("보통"), l.day,
                        l.m3, kum, std::round(kum / 10), kum + std::round(kum / 10)});
            break;
        }
    }
    ledger.flush();
    tx.commit();
    out << contract_rows << " contract periods, " << loads.size() << " ledger rows in " << t.elapsed() / 1000.0 << " s\n";
}

QString compact(const QJsonObject &o)
{
    return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}

void fill_change_log(const Database &db, int days, QRandomGenerator &rnd)
{
    QElapsedTimer t;
    t.start();
    if (number_or_zero(db.scalar(QStringLiteral("select count(*) from change_log"))) > 0) {
        out << "the database already holds a change log\n";
        return;
    }
    const QDate end = stored::parse_date(db.scalar(QStringLiteral("select max(o_fdate) from cholha")).toString());
    const QDate start = end.addDays(1 - days);
    const QStringList operators{QStringLiteral("김반장"), QStringLiteral("이주임"), QStringLiteral("박과장")};
    const QStringList stations{QStringLiteral("CONSOLE-PC"), QStringLiteral("OFFICE-1"), QStringLiteral("OFFICE-2")};
    qint64 entries = 0, tickets = 0;
    for (QDate day = start; day <= end; day = day.addDays(1)) {
        const QString ilja = stored::date(day);
        QHash<QString, QJsonObject> orders;
        {
            QSqlQuery q = db.query(QStringLiteral("select * from r_suju where ilja = :d"), {{":d", ilja}});
            while (q.next()) {
                QJsonObject o = change_log::row_json(q.record());
                o.insert(QStringLiteral("v_outorder"), 0.0);
                o.insert(QStringLiteral("v_ccount"), 0);
                o.insert(QStringLiteral("v_reorder"), o.value(QLatin1String("order_m3")));
                orders.insert(o.value(QLatin1String("seq")).toString(), o);
            }
        }
        QList<QJsonObject> loads;
        {
            QSqlQuery q = db.query(QStringLiteral("select * from cholha where o_fdate = :d order by o_otime"), {{":d", ilja}});
            while (q.next())
                loads << change_log::row_json(q.record());
        }
        if (loads.isEmpty())
            continue;
        Transaction tx(db);
        BulkInsert log(db, QStringLiteral("change_log"),
                       {"entry_id", "logged_at", "op_name", "station", "tbl_name", "row_key", "kind", "work_date",
                        "order_no", "vehicle_code", "vehicle_no", "changed", "before_json", "after_json"},
                       50);
        BulkInsert reg(db, QStringLiteral("ticket_register"),
                       {"entry_id", "printed_at", "op_name", "station", "print_path", "reprint", "output", "book",
                        "work_date", "order_no", "trip_no", "load_time", "vehicle_no", "ticket_json"},
                       50);
        int ms = 0;
        const auto add = [&](const QDateTime &at, int who, const change_log::Entry &e) {
            log.add({QStringLiteral("%1-%2-%3").arg(at.toString(QStringLiteral("yyyyMMddHHmmss")) + QStringLiteral("%1").arg(ms++ % 1000, 3, 10, QLatin1Char('0')))
                         .arg(rnd.generate(), 8, 16, QLatin1Char('0')).arg(0, 4, 10, QLatin1Char('0')),
                     at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), operators[who], stations[who], e.table, e.key,
                     change_log::code(e.kind), e.work_date, e.order_no, e.vehicle_code, e.vehicle_no,
                     change_log::changed_fields(e.before, e.after).join(QLatin1Char(',')),
                     e.before ? QVariant(compact(*e.before)) : QVariant(QMetaType(QMetaType::QString)),
                     e.after ? QVariant(compact(*e.after)) : QVariant(QMetaType(QMetaType::QString))});
            ++entries;
        };
        for (const QJsonObject &load : loads) {
            const QDateTime at(day, QTime::fromString(load.value(QLatin1String("o_otime")).toString(), QStringLiteral("HH:mm:ss")));
            const QString seq = load.value(QLatin1String("o_scode")).toString();
            QJsonObject &order = orders[seq];
            const QJsonObject before = order;
            const double q = load.value(QLatin1String("o_outorder")).toDouble();
            const double shipped = order.value(QLatin1String("v_outorder")).toDouble() + q;
            order.insert(QStringLiteral("v_outorder"), shipped);
            order.insert(QStringLiteral("v_ccount"), order.value(QLatin1String("v_ccount")).toInt() + 1);
            order.insert(QStringLiteral("v_reorder"), qMax(0.0, order.value(QLatin1String("order_m3")).toDouble() - shipped));
            add(at, 0, change_log::load_entry(change_log::Kind::Recorded, std::nullopt, load));
            add(at, 0, change_log::order_entry(change_log::Kind::Recorded, before, order));
            const QString trip = load.value(QLatin1String("o_count")).toString();
            const QString number = load.value(QLatin1String("o_ccode")).toString();
            const QJsonObject ticket{{QStringLiteral("format"), QStringLiteral("veldaro-delivery-ticket")},
                                     {QStringLiteral("order_no"), seq}, {QStringLiteral("trip_no"), trip.toInt()},
                                     {QStringLiteral("quantity_m3"), q}, {QStringLiteral("vehicle"), number}};
            for (int copy = 0; copy < (rnd.bounded(20) == 0 ? 2 : 1); ++copy) {
                const QDateTime printed = at.addSecs(copy * 3600);
                reg.add({QStringLiteral("%1-%2").arg(printed.toString(QStringLiteral("yyyyMMddHHmmss")) + QStringLiteral("%1").arg(ms++ % 1000, 3, 10, QLatin1Char('0')))
                             .arg(rnd.generate(), 8, 16, QLatin1Char('0')),
                         printed.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), operators[copy], stations[copy],
                         copy ? QStringLiteral("reprint") : QStringLiteral("console"), copy ? "Y" : "N",
                         QStringLiteral("송장프린터"), QStringLiteral("cholha"), ilja, seq, trip,
                         load.value(QLatin1String("o_otime")).toString(), number, compact(ticket)});
                ++tickets;
            }
            if (rnd.bounded(50) == 0) {
                QJsonObject corrected = load;
                corrected.insert(QStringLiteral("o_outorder"), q - 0.5);
                QJsonObject order_after = order;
                order_after.insert(QStringLiteral("v_outorder"), shipped - 0.5);
                const QDateTime later = at.addSecs(5400);
                const int who = 1 + rnd.bounded(2);
                add(later, who, change_log::load_entry(change_log::Kind::Corrected, load, corrected));
                add(later, who, change_log::order_entry(change_log::Kind::Corrected, order, order_after));
            }
        }
        log.flush();
        reg.flush();
        tx.commit();
    }
    out << entries << " log entries, " << tickets << " registered tickets from " << stored::date(start) << " to "
        << stored::date(end) << " in " << t.elapsed() / 1000.0 << " s\n";
}
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int years = 10;
    QDate end = QDate::currentDate();
    const QStringList args = app.arguments();
    const bool contracts_only = args.contains(QStringLiteral("--contracts-only"));
    const bool change_log_only = args.contains(QStringLiteral("--change-log"));
    int log_days = 365;
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--years"))
            years = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--end"))
            end = stored::parse_date(args[i + 1]);
        else if (args[i] == QLatin1String("--log-days"))
            log_days = args[i + 1].toInt();
    }
    const ConnectionSettings connection = ConnectionSettings::load(QString());
    TF_DBMDL dbm(QString(), connection);
    try {
        dbm.connect_database();
        const Database &db = dbm.db();
        schema::create_missing(db);
        QRandomGenerator rnd(20261210);
        if (change_log_only) {
            fill_change_log(db, log_days, rnd);
            db.exec(QStringLiteral("analyze"));
            return 0;
        }
        if (contracts_only) {
            fill_contracts(db, rnd);
            db.exec(QStringLiteral("analyze"));
            return 0;
        }
        if (number_or_zero(db.scalar(QStringLiteral("select count(*) from cholha"))) > 0) {
            out << "the database already holds loads\n";
            return 1;
        }
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
        fill_contracts(db, rnd);
        db.exec(QStringLiteral("analyze"));
    } catch (const DbError &e) {
        out << e.message() << "\n";
        return 1;
    }
    return 0;
}
