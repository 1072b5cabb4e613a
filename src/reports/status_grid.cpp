#include "reports/status_grid.h"
#include "framework/record_table_model.h"

#include <QHeaderView>

StatusGrid::StatusGrid(const QString &name, RecordTableModel *model, QWidget *parent) : QTableView(parent)
{
    setObjectName(name);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setFixedWidth(16);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    show_records(model);
}

void StatusGrid::show_records(RecordTableModel *model)
{
    if (model == model_)
        return;
    if (model_)
        disconnect(model_, nullptr, this, nullptr);
    model_ = model;
    setModel(model);
    const int char_w = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    const auto &cols = model->columns();
    for (int i = 0; i < cols.size(); ++i)
        if (cols[i].width_chars > 0)
            setColumnWidth(i, cols[i].width_chars * char_w + 10);
    connect(model, &QAbstractItemModel::modelReset, this, [this] {
        if (model_->rowCount() > 0)
            selectRow(0);
    });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { model_->set_current_row(current.row()); });
}

int StatusGrid::cursor_row() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() : (model_->rowCount() > 0 ? 0 : -1);
}
