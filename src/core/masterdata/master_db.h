#pragma once
#include "core/framework/database.h"

#include <QList>
#include <QSqlRecord>
#include <functional>

// Database helpers shared by the code lookup and the master-data windows.

// Every row of a statement, read at once so that no statement stays open.
QList<QSqlRecord> fetch_records(const Database &db, const QString &sql, const Params &params = {});

// A LIKE pattern finding `text` anywhere in a column, its own '%', '_' and
// '!' taken literally.  Use it with `like :p escape '!'`.
QString like_pattern(const QString &text);
// The same for texts that begin with `text`.
QString like_prefix_pattern(const QString &text);

// `field` as a column of `table` that an "order by" may name (a grid's
// title click); throws ActionError for anything else.
QString order_column(const char *table, const QString &field);

// Adds a row with a key that must be new.  False when `exists` finds the
// key already taken, also when another office PC took it between the check
// and the insert (the table's key refuses the second row).
bool insert_new_row(const std::function<bool()> &exists, const std::function<void()> &insert);

// Runs `attempt` in a transaction of its own and commits it.  The attempt
// draws the number it stores inside that transaction; on PostgreSQL two PCs
// can still both see the same number free, and the one whose insert meets
// the other's row (a duplicate key) rolls back and runs the attempt again,
// drawing anew, a few times.
void in_numbering_transaction(const Database &db, const std::function<void()> &attempt);
