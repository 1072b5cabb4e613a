#pragma once
#include "core/framework/record_table_model.h"

#include <QDialog>

struct AppContext;
class QTableView;

// The lookup list: the rows a code lookup could not narrow to one, for
// the operator to pick from.  One window for the whole run; code_lookup
// fills it, its caller shows it modally.
class TF_LIST : public QDialog {
    Q_OBJECT
public:
    explicit TF_LIST(AppContext &ctx, QWidget *parent = nullptr);

    QTableView *Grd_pan;

    // Shows `rows` under `columns`, the cursor on the first.
    void fill(const QList<RecordTableModel::Column> &columns, const QList<QSqlRecord> &rows);
    // Copies the current row into the lookup variables (empty values from
    // an empty list) and closes the window as accepted.
    void pick_from_list();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Grd_panCellClick(const QModelIndex &index);
    void Grd_panTitleClick(int column);

    AppContext &ctx_;
    RecordTableModel *S_Pan;
};
