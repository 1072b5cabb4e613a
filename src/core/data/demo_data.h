#pragma once
#include <QDate>
#include <QString>

class Database;

// A small believable plant for trying the program and for newcomers:
// customers of every class with their sites, specifications, trucks,
// haulage companies, fees, a few government contracts with ledger rows,
// and about fifteen orders for `today` with their first loads.
namespace demo {

// Fills an empty database in one transaction.  Throws DbError; refuses
// (with a DbError message) a database that already holds customers or orders.
void fill(const Database &db, const QDate &today);

// Writes plant-like settings into a settings file that does not exist yet.
// Returns false when the file exists (it is left alone) or cannot be written.
bool write_default_settings(const QString &settings_path);

}
