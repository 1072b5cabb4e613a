#pragma once
#include <QList>
#include <QStringList>

// Rows saved as a CSV file that spreadsheet programs open with their
// Korean text: UTF-8 with a byte-order mark, commas, CRLF line ends,
// fields quoted where they hold a comma, a quote or a line break; a text
// that a spreadsheet would take for a formula (=, +, -, @, Tab or CR
// first) gets a leading apostrophe.
namespace csv_export {

QByteArray bytes(const QList<QStringList> &lines);

// Writes the file whole or not at all; throws ActionError saying what
// was not saved.
void write(const QString &path, const QList<QStringList> &lines);

}
