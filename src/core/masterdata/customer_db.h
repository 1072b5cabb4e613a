#pragma once
#include "core/framework/database.h"

#include <QList>
#include <QSqlRecord>
#include <optional>

// Customers (table customer) as the master-data windows read and add them.

// grcd, name, kawn_sa of every customer by code.
QList<QSqlRecord> list_customers(const Database &db);
// The same columns of the customers whose name contains `text`, by name.
QList<QSqlRecord> customers_named_like(const Database &db, const QString &text);
// Every column of every customer in the order of `field` (a grid title).
QList<QSqlRecord> customers_ordered_by(const Database &db, const QString &field);

// The next free sequence number of the code group `letter`, three digits:
// "001" for an empty group, else the highest number plus one.
QString next_customer_seq(const Database &db, const QString &letter);
bool customer_exists(const Database &db, const QString &grcd);
// The customer's demand class, empty when there is no such customer.
QString customer_kawn_sa(const Database &db, const QString &grcd);

// Adds customer `letter` + `digits` as the program registers customers:
// private class 1 ("S"), VAT added ("V"), receivables per site ("H").
// When the code is taken by now and `renumber` is set (the digits were the
// window's proposal), the customer gets the group's next free number,
// drawn in the inserting transaction.  Gives the digits stored; nothing
// when the code is taken and `renumber` is off (nothing is written).
std::optional<QString> add_customer(const Database &db, const QString &letter, const QString &digits,
                                    const QString &name, bool renumber);
