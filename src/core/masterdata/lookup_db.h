#pragma once
#include "core/framework/database.h"
#include "core/framework/record_table_model.h"

#include <QList>
#include <QSqlRecord>

// What the statements of one code lookup gave.
struct LookupOutcome {
    bool ran = false;           // false: the kind has no statement for this text
    bool found = false;         // exactly one row matched: rows[0]
    QList<QSqlRecord> rows;     // the match, or the list to pick from
    QList<RecordTableModel::Column> columns;  // the list's columns
};

// The list window's caption for `kind`; empty for kinds it does not know.
QString lookup_title(int kind);

// Runs the statements of the lookup of `kind` for the typed `text` (and,
// for sites, the customer code `key`): the code or the name search, as
// the text decides, then the list to pick from when not exactly one
// row matched.
LookupOutcome find_codes(const Database &db, int kind, const QString &text, const QString &key);
