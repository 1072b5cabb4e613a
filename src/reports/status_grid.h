#pragma once
#include <QTableView>

class RecordTableModel;

// A read-only grid of the status window: whole rows, a marker on the
// cursor row, the widths of the model's columns.  list_grid shows the
// vehicle list and the by-time list in turn, so the model can change.
class StatusGrid : public QTableView {
    Q_OBJECT
public:
    StatusGrid(const QString &name, RecordTableModel *model, QWidget *parent = nullptr);

    RecordTableModel *records() const { return model_; }
    void show_records(RecordTableModel *model);
    // The row of the cursor, -1 without rows.
    int cursor_row() const;

private:
    RecordTableModel *model_ = nullptr;
};
