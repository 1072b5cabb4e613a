#include "gui/masterdata/list_window.h"
#include "gui/data/app_context.h"
#include "core/data/data_module.h"
#include "core/framework/guarded.h"
#include "core/masterdata/customer_db.h"
#include "gui/masterdata/list_grid.h"
#include "core/masterdata/lookup_state.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTableView>
#include <QVBoxLayout>

TF_LIST::TF_LIST(AppContext &ctx, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), ctx_(ctx)
{
    setObjectName(QStringLiteral("F_LIST"));
    S_Pan = new RecordTableModel({}, this);
    S_Pan->setObjectName(QStringLiteral("S_Pan"));
    Grd_pan = new QTableView;
    Grd_pan->setObjectName(QStringLiteral("Grd_pan"));
    set_up_list_grid(Grd_pan, S_Pan);
    Grd_pan->installEventFilter(this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(Grd_pan);

    connect(Grd_pan, &QAbstractItemView::clicked, this, &TF_LIST::Grd_panCellClick);
    connect(Grd_pan->horizontalHeader(), &QHeaderView::sectionClicked, this, &TF_LIST::Grd_panTitleClick);
}

void TF_LIST::fill(const QList<RecordTableModel::Column> &columns, const QList<QSqlRecord> &rows)
{
    S_Pan->set_columns(columns);
    show_rows(Grd_pan, rows);
}

void TF_LIST::pick_from_list()
{
    LookupState &s = *ctx_.lookup;
    copy_lookup_row(s, s.lookup_kind, current_record(Grd_pan), false);
    accept();
}

void TF_LIST::Grd_panCellClick(const QModelIndex &index)
{
    Grd_pan->setCurrentIndex(index);
    pick_from_list();
}

// Customers are listed again in full in the clicked column's order; sites
// and products keep their rows in that order; other lists stay as they are.
void TF_LIST::Grd_panTitleClick(int column)
{
    if (column < 0 || column >= S_Pan->columns().size())
        return;
    const QString field = S_Pan->columns().at(column).field;
    switch (ctx_.lookup->lookup_kind) {
    case lookup_kinds::customers:
        guarded(*ctx_.prompter, this, [&] { show_rows(Grd_pan, customers_ordered_by(ctx_.dbm->db(), field)); });
        break;
    case lookup_kinds::sites:
    case lookup_kinds::products:
        show_rows(Grd_pan, sorted_by(S_Pan->rows(), field));
        break;
    default:
        break;
    }
}

bool TF_LIST::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Grd_pan && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            pick_from_list();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
