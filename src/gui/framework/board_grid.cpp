#include "gui/framework/board_grid.h"
#include "core/framework/record_table_model.h"

#include <QHeaderView>
#include <QKeyEvent>

BoardGrid::BoardGrid(const QString &name, RecordTableModel *model, QWidget *parent) : QTableView(parent)
{
    setObjectName(name);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(false);
    setWordWrap(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setFixedWidth(16);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    show_records(model);
}

void BoardGrid::show_records(RecordTableModel *model)
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
            set_cursor_row(0);
    });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { model_->set_current_row(current.row()); });
}

int BoardGrid::cursor_row() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() : (model_->rowCount() > 0 ? 0 : -1);
}

void BoardGrid::set_cursor_row(int row)
{
    if (row < 0 || row >= model_->rowCount())
        return;
    const QModelIndex i = model_->index(row, currentIndex().isValid() ? currentIndex().column() : 0);
    setCurrentIndex(i);
    selectRow(row);
    model_->set_current_row(row);
}

void BoardGrid::set_background(const QColor &color)
{
    QPalette p = palette();
    p.setColor(QPalette::Base, color);
    setPalette(p);
}

void BoardGrid::keyReleaseEvent(QKeyEvent *event)
{
    QTableView::keyReleaseEvent(event);
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        Q_EMIT cursor_key_released(event->key());
        break;
    default:
        break;
    }
    Q_EMIT key_released(event->key());
}

void BoardGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    in_double_click_ = true;
    QTableView::mouseDoubleClickEvent(event);
}

void BoardGrid::mouseReleaseEvent(QMouseEvent *event)
{
    QTableView::mouseReleaseEvent(event);
    if (in_double_click_) {
        in_double_click_ = false;
        Q_EMIT double_click_released();
    }
}
