#pragma once
#include "core/framework/report.h"

#include <QList>
#include <QSqlRecord>
#include <QString>

// The window "변경 이력"'s lists on paper: A4 landscape, the title with the
// period and the page number on every page, column titles, one line per
// row (texts cut at their column), the count at the end.
namespace change_log_reports {

struct Column {
    QString caption;
    QString field;
    double width = 20;  // mm
    report::Align align = report::Align::Left;
};

// The columns each list prints.
QList<Column> log_columns();
QList<Column> register_columns();
QList<Column> unprinted_columns();

report::Document list(const QString &title, const QString &first_date, const QString &last_date,
                      const QList<Column> &columns, const QList<QSqlRecord> &rows);

}
