#pragma once
#include "core/framework/database.h"

#include <QList>
#include <QSqlRecord>

// Specifications (table r_size) as the specification window reads and adds them.

// Every column of every specification by code.
QList<QSqlRecord> list_specs(const Database &db);
// remi_code, standard, rul_ks of those whose name contains `text`, by name.
QList<QSqlRecord> specs_named_like(const Database &db, const QString &text);
// Every column in the order of `field` (a grid title).
QList<QSqlRecord> specs_ordered_by(const Database &db, const QString &field);

bool spec_exists(const Database &db, const QString &remi_code);

// Adds the specification with product class "0"; its product name,
// prices and second code stay empty.  False when the code exists.
bool add_spec(const Database &db, const QString &remi_code, const QString &standard,
              const QString &rul_ks, const QString &ilja);

// The KS mark ("KS" or another text) of the specification with that code,
// "" without one.
QString ks_mark_of_product(const Database &db, const QString &remi_code);
// The KS mark of the specification of that name (the lowest code when
// several share it), "" without one.
QString ks_mark_of_standard(const Database &db, const QString &standard);
