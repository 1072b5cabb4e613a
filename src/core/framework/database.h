#pragma once
#include <QList>
#include <QPair>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <chrono>
#include <functional>
#include <stdexcept>

// A failed statement or connection.  Operations let it pass up to the
// window action that started them, which shows it and stops there.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString &message, bool unreachable = false, bool duplicate_key = false,
                     bool retry_later = false)
        : std::runtime_error(message.toStdString()), message_(message), unreachable_(unreachable),
          duplicate_key_(duplicate_key), retry_later_(retry_later || unreachable) {}
    QString message() const { return message_; }
    // The database could not be reached (server down, connection dropped,
    // the file locked by another program past the busy timeout): the same
    // statement may well succeed later.
    bool unreachable() const { return unreachable_; }
    // A row with the same key is there already (another PC inserted it
    // first): the transaction is lost, a new number may succeed.
    bool duplicate_key() const { return duplicate_key_; }
    // The same statement may succeed later: the database is unreachable,
    // timed out, chose this transaction as a deadlock's or serialization's
    // victim, has no connection left, is read-only for now (a standby), or
    // lacks its tables or is damaged until someone mends it.  Only other
    // errors are a refusal of this very statement.
    bool retry_later() const { return retry_later_; }

private:
    QString message_;
    bool unreachable_ = false;
    bool duplicate_key_ = false;
    bool retry_later_ = false;
};

// Named parameters of a statement: {{":ilja", date}, {":seq", seq}}.
using Params = QList<QPair<QString, QVariant>>;

// The one way statements reach the database: every value is a bound
// parameter, every failure is a DbError.  A connection that has dropped is
// opened again by the next statement.
class Database {
public:
    Database() = default;
    explicit Database(const QString &connection_name) : name_(connection_name) {}

    QSqlDatabase connection() const;
    QString connection_name() const { return name_; }
    bool is_postgres() const;
    bool is_open() const;
    // Which database this is ("QPSQL://dbserver:5432/rc_db",
    // "QSQLITE:/home/.../rc_db.sqlite"), to tell loads of one from another's.
    QString identity() const;

    // Opens the connection if it is not open; throws DbError.
    void ensure_open() const;

    // Runs a statement and returns it positioned before its first row.
    QSqlQuery query(const QString &sql, const Params &params = {}) const;
    // The same for a statement whose rows are read bit by bit while other
    // statements run (a grid that fetches as it scrolls).  PostgreSQL then
    // hands the whole result over at once, since a row-by-row result is
    // lost at the next statement on the connection; SQLite keeps a cursor.
    QSqlQuery query_kept(const QString &sql, const Params &params = {}) const;
    // Runs a statement that returns no rows; gives the rows affected.
    int exec(const QString &sql, const Params &params = {}) const;
    // First column of the first row, or a null QVariant without rows.
    QVariant scalar(const QString &sql, const Params &params = {}) const;

    // How long a statement may go without an answer before its connection
    // is cut and it fails as unreachable (the server's own statement
    // timeout is shorter, so a slow statement is stopped there first).
    static constexpr std::chrono::milliseconds default_statement_limit{5000};
    // Lifts that limit on this thread while it lives: the schema's indexes
    // made on a table of millions of rows.
    class NoStatementLimit {
    public:
        NoStatementLimit();
        ~NoStatementLimit();

    private:
        std::chrono::milliseconds before_;
    };

    // The last statement on any connection of the program found the
    // database unreachable (and none has reached it since): the console
    // leaves its display refreshes until it is back, instead of waiting
    // out a statement's limit on each.
    static bool seems_away();

    // Sees every statement before it runs (benchmarks print their plans).
    using Tracer = std::function<void(const QString &sql, const Params &params)>;
    static void set_tracer(Tracer tracer);

private:
    QSqlQuery run(const QString &sql, const Params &params, bool forward_only, bool retry_lost = true) const;

    QString name_;
};

// Turns a query error into the message shown to the operator.
QString describe_error(const QSqlError &error);

// All of an operation's statements or none: commits in commit(), rolls back
// when destroyed before that (an exception, an early return).  On SQLite it
// takes the write lock at once (BEGIN IMMEDIATE), so two programs on one
// file wait for each other instead of failing in the middle.
class Transaction {
public:
    explicit Transaction(const Database &db);
    ~Transaction();
    void commit();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

private:
    QSqlDatabase db_;
    bool done_ = false;
};

// Reads a number column that may be NULL (a sum over no rows) or text.
double number_or_zero(const QVariant &v);
