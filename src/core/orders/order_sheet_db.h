#pragma once
#include "core/framework/database.h"

#include <QList>
#include <QString>

// The orders of a day as the order sheet lists them.
struct OrderSheetRow {
    QString seq;
    QString v_inout;
    QString v_station;
    QString ground_tel;  // empty when the site row is missing
    QString v_rule;
    QString man;         // empty when the site or sales person row is missing
    double order_m3 = 0;
    QString memo;
    QString time_;
};

struct OrderSheetData {
    QList<OrderSheetRow> rows;
    double private_total = 0;     // customers of any class but "K" ("L" included)
    double government_total = 0;  // customers of class "K"
};

namespace order_sheet_db {

// Every order of the day, open or closed, by number.  An order whose site,
// sales person or customer row is missing is still listed, so that the
// rows add up to the totals; an order without a customer row counts as
// private.
OrderSheetData day_orders(const Database &db, const QString &date);

}
