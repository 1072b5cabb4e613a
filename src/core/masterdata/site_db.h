#pragma once
#include "core/framework/database.h"

#include <QList>
#include <QSqlRecord>
#include <optional>

// Sites of customers (table r_hyunjang) as the site window reads and adds them.

// code, name, man_code, man_name of the customer's sites by code.
QList<QSqlRecord> list_sites(const Database &db, const QString &grcd);
// The same of the customer's sites whose name contains `text`, by name.
QList<QSqlRecord> sites_named_like(const Database &db, const QString &grcd, const QString &text);
// The same in the order of `field` (a grid title).
QList<QSqlRecord> sites_ordered_by(const Database &db, const QString &grcd, const QString &field);

// The customer's next site code, three digits: "001" for a customer
// without sites, else the highest code plus one.
QString next_site_code(const Database &db, const QString &grcd);
bool site_exists(const Database &db, const QString &grcd, const QString &code);

struct NewSite {
    QString grcd;
    QString code;
    QString name;
    QString man_code;
    QString man_name;
    QString customer_name;
};

// Adds the site with the customer's demand class and receivables per site
// ("H"); grcode is the customer code followed by the site code.  When the
// site code is taken by now and `renumber` is set (the code was the
// window's proposal), the site gets the customer's next free code, drawn in
// the inserting transaction.  Gives the code stored; nothing when the code
// is taken and `renumber` is off (nothing is written).
std::optional<QString> add_site(const Database &db, const NewSite &site, bool renumber);
