#pragma once
#include <QList>
#include <QString>
#include <QStringList>

// A saved workbook's first sheet as a spreadsheet program reads it: each
// cell's type, value and number format, the frozen rows and the column
// widths.  Read with `unzip`; fails the running test when it cannot.
struct XlsxCell {
    bool number = false;
    QString text;  // a text cell's text, a number cell's value as written
    double value = 0;
    QString format;  // "General", "@", "#,##0.00", ...
    bool bold = false;
    QString align;  // "center", "right", ...; empty: general
};

struct XlsxSheet {
    QString name;
    QList<QList<XlsxCell>> rows;  // every row and column up to the last used, empty cells blank
    int frozen_rows = 0;
    QList<double> widths;  // per column, 0 when not set

    // The texts of a row as shown in a grid: numbers in the general format.
    QStringList texts(int row) const;
};

XlsxSheet read_xlsx(const QString &path);
