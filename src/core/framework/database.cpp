#include "core/framework/database.h"
#include "core/framework/statement_watchdog.h"
#include "core/framework/support_log.h"

#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <atomic>

namespace {
thread_local std::chrono::milliseconds statement_limit = Database::default_statement_limit;
// Transactions open on this thread (a connection belongs to one thread).
thread_local int open_transactions = 0;
std::atomic<bool> away{false};

QString silent_server_text()
{
    return QStringLiteral("데이터베이스가 응답하지 않습니다 (%1초 안에 답이 없어 연결을 끊었습니다).\n"
                          "잠시 후 다시 하십시오.")
        .arg(statement_limit.count() / 1000);
}

Database::Tracer &tracer()
{
    static Database::Tracer t;
    return t;
}
}

bool Database::seems_away()
{
    return away;
}

void Database::set_tracer(Tracer t)
{
    tracer() = std::move(t);
}

QSqlDatabase Database::connection() const
{
    return QSqlDatabase::database(name_, false);
}

bool Database::is_postgres() const
{
    return connection().driverName() == QLatin1String("QPSQL");
}

QString Database::identity() const
{
    const QSqlDatabase db = connection();
    if (db.driverName() == QLatin1String("QSQLITE")) {
        const QString file = db.databaseName();
        return QStringLiteral("QSQLITE:") + (file == QLatin1String(":memory:") ? file : QFileInfo(file).absoluteFilePath());
    }
    return QStringLiteral("%1://%2:%3/%4").arg(db.driverName(), db.hostName()).arg(db.port()).arg(db.databaseName());
}

bool Database::is_open() const
{
    return connection().isOpen();
}

QString describe_error(const QSqlError &error)
{
    QString text = error.text().trimmed();
    if (text.isEmpty())
        text = QStringLiteral("알 수 없는 오류");
    return QStringLiteral("데이터베이스 오류\n%1").arg(text);
}

namespace {
// A failure that says nothing about the statement, only that the database
// is not there for now.  The connection is closed, so the next statement
// opens a fresh one instead of failing with an empty error.
bool connection_lost(QSqlDatabase &db, const QSqlError &err)
{
    const QString code = err.nativeErrorCode();
    bool lost = !db.isOpen() || !db.driver()->isOpen();
    if (db.driverName() == QLatin1String("QSQLITE")) {
        // SQLITE_BUSY, SQLITE_LOCKED: another connection holds the file.
        if (code == QLatin1String("5") || code == QLatin1String("6"))
            return true;
    } else if (code.startsWith(QLatin1String("08")) || code.startsWith(QLatin1String("57P"))) {
        lost = true;  // connection exceptions, server shut down or backend killed
    }
    if (lost)
        db.close();
    return lost;
}
}

namespace {
bool is_duplicate_key(const QSqlDatabase &db, const QSqlError &err)
{
    const QString code = err.nativeErrorCode();
    if (db.driverName() == QLatin1String("QSQLITE"))  // SQLITE_CONSTRAINT_PRIMARYKEY, _UNIQUE
        return code == QLatin1String("1555") || code == QLatin1String("2067")
               || (code == QLatin1String("19") && err.databaseText().contains(QLatin1String("UNIQUE")));
    return code == QLatin1String("23505");
}
}

namespace {
bool worth_retrying(const QSqlDatabase &db, const QSqlError &err)
{
    const QString code = err.nativeErrorCode();
    if (db.driverName() == QLatin1String("QSQLITE")) {
        // SQLITE_BUSY, _LOCKED, _IOERR, _CORRUPT, _FULL, _CANTOPEN, _NOTADB
        // (extended codes keep the primary one in the low byte), and a file
        // without its tables.
        const int primary = code.toInt() & 0xff;
        return primary == 5 || primary == 6 || primary == 10 || primary == 11 || primary == 13 || primary == 14
               || primary == 26 || err.databaseText().contains(QLatin1String("no such table"));
    }
    static const QStringList codes{
        QStringLiteral("40001"),  // serialization failure
        QStringLiteral("40P01"),  // deadlock
        QStringLiteral("55P03"),  // lock not available (lock timeout)
        QStringLiteral("57014"),  // statement timeout, cancelled
        QStringLiteral("25006"),  // read-only transaction: a standby
        QStringLiteral("42P01"),  // a table missing
    };
    // 08: connection, 53: no resources (too many connections, disk full),
    // 57P: shut down, 58: system errors.
    return codes.contains(code) || code.startsWith(QLatin1String("08")) || code.startsWith(QLatin1String("53"))
           || code.startsWith(QLatin1String("57P")) || code.startsWith(QLatin1String("58"));
}
}

void Database::ensure_open() const
{
    QSqlDatabase db = connection();
    if (!db.isValid())
        throw DbError(QStringLiteral("데이터베이스 오류\n연결이 설정되지 않았습니다."));
    if (db.isOpen())
        return;
    if (!db.open()) {
        away = true;
        qCWarning(lc_db).noquote() << "cannot connect to" << identity() << "-" << db.lastError().text().trimmed();
        throw DbError(describe_error(db.lastError()), true);
    }
}

QSqlQuery Database::query(const QString &sql, const Params &params) const
{
    return run(sql, params, true);
}

QSqlQuery Database::query_kept(const QString &sql, const Params &params) const
{
    return run(sql, params, !is_postgres());
}

QSqlQuery Database::run(const QString &sql, const Params &params, bool forward_only, bool retry_lost) const
{
    ensure_open();
    if (tracer())
        tracer()(sql, params);
    QSqlDatabase db = connection();
    QSqlQuery q(db);
    q.setForwardOnly(forward_only);
    // Statements without values run directly: PostgreSQL cannot prepare DDL.
    const StatementWatchdog::Watch watch(db, statement_limit);
    const bool ok = params.isEmpty() ? q.exec(sql) : [&] {
        if (!q.prepare(sql))
            return false;
        for (const auto &[name, value] : params)
            q.bindValue(name, value);
        return q.exec();
    }();
    if (!ok) {
        const QSqlError err = q.lastError();
        q = QSqlQuery();
        const bool lost = connection_lost(db, err);
        qCWarning(lc_db).noquote() << "statement failed on" << identity() << "-" << (watch.fired() ? QStringLiteral("no answer, connection cut") : err.text().trimmed())
                                   << "- code" << err.nativeErrorCode() << "-" << sql.simplified().left(300);
        if (watch.fired()) {
            db.close();
            away = true;
            throw DbError(silent_server_text(), true);
        }
        // A connection the server dropped while it sat idle (a restart, an
        // outage that is over) fails its next statement: a read outside a
        // transaction is simply asked again on a fresh one.
        if (lost && retry_lost && open_transactions == 0
            && sql.trimmed().startsWith(QLatin1String("select"), Qt::CaseInsensitive))
            return run(sql, params, forward_only, false);
        away = lost;
        throw DbError(describe_error(err), lost, is_duplicate_key(db, err), worth_retrying(db, err));
    }
    away = false;
    return q;
}

int Database::exec(const QString &sql, const Params &params) const
{
    QSqlQuery q = query(sql, params);
    return q.numRowsAffected();
}

QVariant Database::scalar(const QString &sql, const Params &params) const
{
    QSqlQuery q = query(sql, params);
    return q.next() ? q.value(0) : QVariant();
}

Transaction::Transaction(const Database &db) : db_(db.connection())
{
    db.ensure_open();
    if (db_.driverName() == QLatin1String("QSQLITE")) {
        // The write lock at the start: two programs on one file queue here
        // (for the busy timeout) instead of one failing half-way, when its
        // first write finds the other's lock.
        QSqlQuery begin(db_);
        if (!begin.exec(QStringLiteral("begin immediate"))) {
            const QSqlError err = begin.lastError();
            qCWarning(lc_db).noquote() << "cannot begin a transaction:" << err.text().trimmed();
            begin = QSqlQuery();
            throw DbError(describe_error(err), connection_lost(db_, err), false, worth_retrying(db_, err));
        }
        ++open_transactions;
        return;
    }
    bool begun = false;
    {
        const StatementWatchdog::Watch watch(db_, statement_limit);
        begun = db_.transaction();
    }
    if (!begun) {
        // Beginning fails only when the connection does.
        const QSqlError err = db_.lastError();
        qCWarning(lc_db).noquote() << "cannot begin a transaction:" << err.text().trimmed();
        db_.close();
        throw DbError(describe_error(err), true);
    }
    ++open_transactions;
}

Transaction::~Transaction()
{
    if (!done_)
        db_.rollback();
    --open_transactions;
}

void Transaction::commit()
{
    const StatementWatchdog::Watch watch(db_, statement_limit);
    if (!db_.commit()) {
        qCWarning(lc_db).noquote() << "commit failed:" << (watch.fired() ? QStringLiteral("no answer, connection cut") : db_.lastError().text().trimmed());
        if (watch.fired()) {
            db_.close();
            done_ = true;
            throw DbError(silent_server_text(), true);
        }
        const QSqlError err = db_.lastError();
        const bool lost = connection_lost(db_, err);
        done_ = lost;  // a closed connection has nothing left to roll back
        throw DbError(describe_error(err), lost, false, worth_retrying(db_, err));
    }
    done_ = true;
}

Database::NoStatementLimit::NoStatementLimit() : before_(statement_limit)
{
    statement_limit = std::chrono::hours(24);
}

Database::NoStatementLimit::~NoStatementLimit()
{
    statement_limit = before_;
}

double number_or_zero(const QVariant &v)
{
    if (v.isNull())
        return 0.0;
    bool ok = false;
    const double d = v.toDouble(&ok);
    return ok ? d : 0.0;
}
