#pragma once
#include "core/framework/record_table_model.h"

#include <QList>
#include <QSqlRecord>
#include <functional>

class QTableView;

// The list grids of the lookup and the master-data windows.

// Makes `view` a list grid for `model`: read only, whole rows, one at a
// time, a row indicator, clickable bold titles, font 굴림.
void set_up_list_grid(QTableView *view, RecordTableModel *model);

// Fills the grid, puts the cursor on its first row and gives the columns
// their widths.
void show_rows(QTableView *view, const QList<QSqlRecord> &rows);

// The grid's current row (the first when none is current), or an empty
// record for an empty grid.
QSqlRecord current_record(const QTableView *view);

// Runs `chosen` when the operator clicks a row of the grid or moves its
// cursor with the arrow and page keys.
void on_row_chosen(QTableView *view, const std::function<void()> &chosen);

// The same rows in the order of `field` (text order, stable).
QList<QSqlRecord> sorted_by(QList<QSqlRecord> rows, const QString &field);
