#pragma once
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class Database;
class QSqlRecord;

// Who makes a change: the operator logged in and the PC it is made on.
struct ChangeAuthor {
    QString operator_name;
    QString station;
    // This PC's name.
    static QString this_station();
};

// The change log: one entry per changed row of the shipments, orders, the
// auto ticket book and the vehicles' service state, written in the same
// transaction as the change, so both exist or neither.  Nothing in the
// program changes or deletes an entry.
namespace change_log {

enum class Kind {
    Recorded,      // by a batch unit, when it started weighing
    Entered,       // by hand
    Corrected,
    Replaced,      // another load took its working date and time
    Deleted,
    Renumbered,    // its trip number closed up after a change of its order
    Generated,     // the auto ticket book made the order's loads anew
    Closed,
    Reopened,
    Recalculated,  // the day's order figures rebuilt from the loads
};
const QList<Kind> &all_kinds();
// As stored ("recorded") and in the operator's words ("기록").
QString code(Kind kind);
QString words(Kind kind);
// The words of a stored code; the code itself when it is not known.
QString words_of(const QString &code);

// The author of the changes made on a connection (the console sets it at
// login and when the operator's name changes).  A connection without one
// writes an empty operator and this PC's name.
void set_author(const Database &db, const ChangeAuthor &author);
ChangeAuthor author(const Database &db);

// Every column of the row, lower-case names; numbers as numbers, NULL as null.
QJsonObject row_json(const QSqlRecord &row);
// The first row of the statement, nothing without one.
std::optional<QJsonObject> read_row(const Database &db, const QString &sql,
                                    const QList<QPair<QString, QVariant>> &params);
// The columns whose values differ, in the order of the row (before's first).
QStringList changed_fields(const std::optional<QJsonObject> &before, const std::optional<QJsonObject> &after);
QString json_text(const std::optional<QJsonObject> &row);
std::optional<QJsonObject> parse_json(const QString &text);

struct Entry {
    QString table;       // "cholha", "r_suju", "yu_suju", "yu_cholha", "car_code"
    QString key;         // the row's key in words
    Kind kind = Kind::Corrected;
    QString work_date;   // the order's or load's working date
    QString order_no;    // "05"; the auto book's "Y3"
    QString vehicle_code;
    QString vehicle_no;
    std::optional<QJsonObject> before;  // nothing: the row is new
    std::optional<QJsonObject> after;   // nothing: the row is gone
};

// The entries of one change, written together inside its transaction.
class Changes {
public:
    // An entry whose row did not change is left out.
    void add(Entry entry);
    bool isEmpty() const { return entries_.isEmpty(); }
    const QList<Entry> &entries() const { return entries_; }
    // Throws DbError; the caller's transaction then rolls the change back.
    void write(const Database &db, const ChangeAuthor &author) const;
    void write(const Database &db) const;

private:
    QList<Entry> entries_;
};

// Keys and entries of the rows the program changes.
QString order_key(const QString &date, const QString &seq);
QString load_key(const QJsonObject &cholha_row);
Entry order_entry(Kind kind, const std::optional<QJsonObject> &before, const std::optional<QJsonObject> &after);
Entry load_entry(Kind kind, const std::optional<QJsonObject> &before, const std::optional<QJsonObject> &after);
// The order's row as the locked transaction sees it.
std::optional<QJsonObject> order_row(const Database &db, const QString &date, const QString &seq);

}
