#pragma once
#include "core/framework/workbook.h"

#include <QString>
#include <functional>

class Prompter;
class QTableView;
class QWidget;
class RecordTableModel;

// A grid saved for a spreadsheet: its shown columns with their captions
// and formats, every row of its model.
namespace grid_export {

// The sheet of `grid` over `model` (every row already read); `totals` is
// per model column, like the model's footer.
workbook::Sheet sheet_of(const QTableView *grid, const RecordTableModel *model,
                         const QList<workbook::Cell> &totals = {});

// The save dialog: an Excel workbook (.xlsx) or CSV, with `proposed` (a
// file name without folder or suffix) in the documents folder.  Empty when
// cancelled; otherwise ends in .xlsx or .csv.
QString ask_path(QWidget *parent, const QString &proposed);

// The "엑셀" step of a window: `ask` (the save dialog, or a test's answer)
// gets the proposed name; the sheet is made after it, so it holds what the
// grid shows then; a failure is shown.
void save(Prompter &prompter, QWidget *parent, const std::function<QString(const QString &)> &ask,
          const QString &proposed, const std::function<workbook::Sheet()> &make);

// A file name from the parts of a list (title, dates, filter): anything a
// file system would refuse becomes "_".
QString file_name(const QStringList &parts);

}
