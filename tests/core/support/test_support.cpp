#include "test_support.h"
#include "core/data/schema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <QUuid>

#include <barrier>
#include <exception>
#include <mutex>
#include <thread>

QString test_engine()
{
    const QString e = qEnvironmentVariable("VELDARO_TEST_DB");
    return e.isEmpty() ? QStringLiteral("sqlite") : e;
}

namespace {
void ensure_pg_database(const ConnectionSettings &c)
{
    const QString name = QStringLiteral("pg-admin");
    {
        QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        admin.setHostName(c.host);
        admin.setPort(c.port);
        admin.setUserName(c.user);
        admin.setPassword(c.password);
        admin.setDatabaseName(QStringLiteral("postgres"));
        if (admin.open()) {
            QSqlQuery q(admin);
            q.prepare(QStringLiteral("select 1 from pg_database where datname = :n"));
            q.bindValue(QStringLiteral(":n"), c.database);
            if (q.exec() && !q.next()) {
                // Identifiers cannot be bound; the name is the test's own.
                QSqlQuery create(admin);
                create.exec(QStringLiteral("create database \"%1\"").arg(c.database));
            }
            admin.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
}
}

ConnectionSettings test_connection(const QString &sqlite_file)
{
    ConnectionSettings c = ConnectionSettings::load(QString());
    if (test_engine() == QLatin1String("postgres")) {
        c.driver = ConnectionSettings::Driver::Postgres;
        ensure_pg_database(c);
    } else {
        c.driver = ConnectionSettings::Driver::Sqlite;
        c.sqlite_file = sqlite_file.isEmpty() ? QStringLiteral(":memory:") : sqlite_file;
    }
    return c;
}

void reset_schema(const Database &db)
{
    db.ensure_open();
    QStringList existing = db.connection().tables(QSql::Tables);
    for (QString &t : existing)
        t = t.toLower();
    for (const schema::Table &t : schema::tables())
        if (existing.contains(QString::fromLatin1(t.name)))
            db.exec(QStringLiteral("drop table %1").arg(QString::fromLatin1(t.name)));
    schema::create_missing(db);
}

TestPlant::TestPlant(Storage storage)
{
    settings_path = dir.filePath(QStringLiteral("Vorn.Ini"));
    const QString file = storage == OnDisk ? dir.filePath(QStringLiteral("rc_db.sqlite")) : QString();
    dbm = std::make_unique<TF_DBMDL>(settings_path, test_connection(file));
    dbm->connect_database();
    reset_schema(dbm->db());
}

TestPlant::~TestPlant() = default;

void TestPlant::exec(const QString &sql, const Params &params) const
{
    try {
        db().exec(sql, params);
    } catch (const DbError &e) {
        QTest::qFail(qPrintable(e.message()), __FILE__, __LINE__);
        throw;
    }
}

void add_order(const TestPlant &p, const char *day, const char *seq, double m3, double shipped, const char *state)
{
    p.exec(QStringLiteral("insert into r_suju (ilja, seq, v_inout, v_station, remi_code, v_rule, order_m3,"
                          " v_outorder, v_reorder, v_ccount, v_state, time_, cement, japum, v_hon) values"
                          " (:d, :s, :c, :st, '1004', '25-210-12', :m3, :o, :r, 0, :state, '08:00', '보통', 'AE', '0.8')"),
           {{":d", QString::fromLatin1(day)}, {":s", QString::fromLatin1(seq)},
            {":c", QStringLiteral("거래처%1").arg(QString::fromLatin1(seq))},
            {":st", QStringLiteral("현장%1").arg(QString::fromLatin1(seq))},
            {":m3", m3}, {":o", shipped}, {":r", m3 - shipped}, {":state", QString::fromLatin1(state)}});
}

void add_truck(const TestPlant &p, const char *code, const char *number, const char *state, const char *station)
{
    p.exec(QStringLiteral("insert into car_code (saup, code, scode, name, c_state, c_dsum, c_msum, c_station)"
                          " values ('AA', :c, :n, '기사', :s, 7, 7, :st)"),
           {{":c", QString::fromLatin1(code)}, {":n", QString::fromLatin1(number)},
            {":s", QString::fromLatin1(state)}, {":st", QString::fromUtf8(station)}});
}

void add_load(const TestPlant &p, const char *date, const char *fdate, const char *seq, const char *count,
              const char *car, const char *time, double m3)
{
    p.exec(QStringLiteral("insert into cholha (o_date, o_fdate, o_otime, o_scode, o_count, o_carnum,"
                          " o_hogi, o_outorder, o_moltal, o_ccode, o_return) values"
                          " (:d, :f, :t, :s, :c, :car, '1', :q, 0, '0000', '**')"),
           {{":d", QString::fromLatin1(date)}, {":f", QString::fromLatin1(fdate)},
            {":t", QString::fromLatin1(time)}, {":s", QString::fromLatin1(seq)},
            {":c", QString::fromLatin1(count)}, {":car", QString::fromLatin1(car)}, {":q", m3}});
}

QStringList run_together(const TestPlant &p, int pieces, const ConnectionWork &work)
{
    QStringList failures;
    std::mutex failures_lock;
    std::barrier start(pieces);
    std::vector<std::thread> threads;
    const QString source = p.db().connection_name();
    for (int piece = 0; piece < pieces; ++piece) {
        // Qt's connections belong to the thread that made them.
        const QString name = QStringLiteral("together-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
        threads.emplace_back([&, piece, name] {
            QString failure;
            {
                QSqlDatabase::cloneDatabase(source, name);
                Database db(name);
                try {
                    db.ensure_open();
                } catch (const DbError &e) {
                    failure = e.message();
                }
                start.arrive_and_wait();
                if (failure.isEmpty()) {
                    try {
                        work(db, piece);
                    } catch (const DbError &e) {
                        failure = e.message();
                    } catch (const std::exception &e) {
                        failure = QString::fromUtf8(e.what());
                    }
                }
                QSqlDatabase::database(name, false).close();
            }
            QSqlDatabase::removeDatabase(name);
            if (!failure.isEmpty()) {
                const std::lock_guard guard(failures_lock);
                failures << QStringLiteral("piece %1: %2").arg(piece).arg(failure);
            }
        });
    }
    for (std::thread &t : threads)
        t.join();
    return failures;
}

shipment_recording::Input test_load(const QTime &time, int unit)
{
    shipment_recording::Input in;
    in.unit = unit;
    in.order_no = QStringLiteral("01");
    in.product_code = QStringLiteral("1004");
    in.quantity = QStringLiteral("6");
    in.vehicle_no = QStringLiteral("1111");
    in.vehicle_code = QStringLiteral("81-1111-1");
    in.site_name = QStringLiteral("현장01");
    in.board_date = QStringLiteral("2026-03-02");
    in.today = QDate(2026, 3, 2);
    in.time = time;
    return in;
}
