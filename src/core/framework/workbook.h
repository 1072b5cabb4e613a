#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// A list saved for a spreadsheet: one sheet with the list's title and
// period, the column captions, the rows, the totals row and notes under
// it.  A number value is written as a number in its display format
// (see format_number); anything else as text, so that codes such as "01"
// keep their zeros and a text that starts like a formula stays a text.
namespace workbook {

struct Cell {
    QVariant value;
    // Of a number: "#,##0.00", "%.2n", "%.0n", a picture with a quoted text
    // after it ("#,##0\" 대\""); empty: general.
    QString format;
};

struct Column {
    QString caption;
    QString format;         // of the column's numbers
    double width_chars = 10;  // at least the caption's
    Qt::Alignment alignment = {};  // of its texts, as in the grid; none: left
};

struct Sheet {
    QString name;   // the sheet's tab and file, e.g. "차량별 출하일지"
    QString title;  // first line
    QString period; // second line; empty: none
    QList<Column> columns;
    QList<QVariantList> rows;
    QList<Cell> totals;  // empty: no totals row
    QStringList notes;   // lines under the totals
};

// Whether a value is written as a number.
bool is_number(const QVariant &v);

// The Excel number format of a display format.
QString excel_format(const QString &format);

// The sheet as an Excel workbook (.xlsx), written whole or not at all;
// throws ActionError saying what was not saved.
void write_xlsx(const QString &path, const Sheet &sheet);

// The same lines as CSV text fields (numbers in their display format).
QList<QStringList> csv_lines(const Sheet &sheet);
// Writes CSV (see csv_export) or xlsx by the file's suffix.
void write(const QString &path, const Sheet &sheet);

}
