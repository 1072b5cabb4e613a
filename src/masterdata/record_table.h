#pragma once
#include <QAbstractTableModel>
#include <QList>
#include <QSqlRecord>
#include <functional>

class QTableView;

// One column of a list grid: its title and the field it shows.
struct GridColumn {
    QString title;
    QString field;
    Qt::Alignment align = Qt::AlignLeft;
    int width = 0;  // 0: as wide as its contents
};

// Read-only rows of a statement for a list grid.  The rows are copies, so
// no statement stays open while the grid shows them.
class RecordTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void set_columns(const QList<GridColumn> &columns);
    void set_rows(const QList<QSqlRecord> &rows);
    const QList<GridColumn> &columns() const { return columns_; }
    const QList<QSqlRecord> &rows() const { return rows_; }
    // The row, or an empty record when there is none.
    QSqlRecord record(int row) const;
    // The row the indicator points at.
    void set_current_row(int row);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<GridColumn> columns_;
    QList<QSqlRecord> rows_;
    int current_ = -1;
};

// The same rows in the order of `field` (text order, stable).
QList<QSqlRecord> sorted_by(QList<QSqlRecord> rows, const QString &field);

// Makes `view` a list grid for `model`: read only, whole rows, one at a
// time, a row indicator, clickable bold titles, font 굴림.
void set_up_list_grid(QTableView *view, RecordTableModel *model);

// Fills the grid and puts the cursor on its first row; column widths
// follow the model's columns.
void show_rows(QTableView *view, const QList<QSqlRecord> &rows);

// Runs `chosen` when the operator clicks a row of the grid or moves its
// cursor with the arrow and page keys.
void on_row_chosen(QTableView *view, const std::function<void()> &chosen);

// The grid's current row (the first when none is current), or an empty
// record for an empty grid.
QSqlRecord current_record(const QTableView *view);
