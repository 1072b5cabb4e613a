#pragma once
#include <QList>
#include <QString>
#include <QStringList>

class Database;

// The tables of rc_db as this program and the plant's other office software
// share them.  Names are lower-case, types portable.
namespace schema {

struct Column {
    const char *name;
    const char *type;
};

struct Table {
    const char *name;
    QList<Column> columns;
    QStringList primary_key;
    QList<QStringList> indexes;  // each: the indexed columns
    // Indexes added after databases were in use: made with the table, and
    // on a table that exists already when the index is missing (numbered
    // after `indexes`).  A last entry "where <condition>" makes the index
    // partial: only the rows that meet the condition.
    QList<QStringList> added_indexes = {};
    // A table of this program's own, added after databases were in use:
    // made where it is missing at every connection, on a server too, since
    // the recording cannot do without it.
    bool added = false;
};

const QList<Table> &tables();

// The tables of the schema that the database does not have yet.
QStringList missing_tables(const Database &db);

// Creates every missing table with its key and indexes in one transaction,
// and the added indexes that an existing table lacks; existing tables are
// not altered otherwise.  Returns the tables made.
QStringList create_missing(const Database &db);

// Creates the added tables that the database lacks (with their keys and
// indexes), in one transaction.  Returns the tables made.
QStringList create_added(const Database &db);

// What keeps the database from taking loads, in words for the status bar;
// empty when there is nothing to say.  Tables missing:
QString missing_tables_problem(const Database &db);
// An SQLite file that fails its quick integrity check (empty on a server).
// It reads the whole file, about 0.1 s a year of loads: the console runs it
// on a thread of its own with file_problem_on_own_connection.
QString file_problem(const Database &db);
// The same on a connection of its own to the database of `connection_name`,
// from any thread.
QString file_problem_on_own_connection(const QString &connection_name);
// Both.
QString problems(const Database &db);

// True when the database holds none of the schema's tables.
bool is_empty(const Database &db);

}
