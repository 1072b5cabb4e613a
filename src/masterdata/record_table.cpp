#include "masterdata/record_table.h"

#include <QFont>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableView>
#include <algorithm>

void RecordTableModel::set_columns(const QList<GridColumn> &columns)
{
    beginResetModel();
    columns_ = columns;
    endResetModel();
}

void RecordTableModel::set_rows(const QList<QSqlRecord> &rows)
{
    beginResetModel();
    rows_ = rows;
    current_ = rows_.isEmpty() ? -1 : 0;
    endResetModel();
}

QSqlRecord RecordTableModel::record(int row) const
{
    return row >= 0 && row < rows_.size() ? rows_.at(row) : QSqlRecord();
}

QList<QSqlRecord> sorted_by(QList<QSqlRecord> rows, const QString &field)
{
    std::stable_sort(rows.begin(), rows.end(), [&field](const QSqlRecord &a, const QSqlRecord &b) {
        return a.value(field).toString() < b.value(field).toString();
    });
    return rows;
}

void RecordTableModel::set_current_row(int row)
{
    const int before = current_;
    current_ = row;
    for (int r : {before, row})
        if (r >= 0 && r < rows_.size())
            Q_EMIT headerDataChanged(Qt::Vertical, r, r);
}

int RecordTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int RecordTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant RecordTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rows_.size() || index.column() >= columns_.size())
        return {};
    const GridColumn &c = columns_.at(index.column());
    if (role == Qt::DisplayRole)
        return rows_.at(index.row()).value(c.field).toString();
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(c.align | Qt::AlignVCenter);
    return {};
}

QVariant RecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section == current_ ? QStringLiteral("▶") : QString();
    return section < columns_.size() ? columns_.at(section).title : QString();
}

void set_up_list_grid(QTableView *view, RecordTableModel *model)
{
    view->setModel(model);
    view->setFont(QFont(QStringLiteral("굴림"), 10));
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setAlternatingRowColors(true);
    view->setWordWrap(false);
    QHeaderView *titles = view->horizontalHeader();
    QFont bold = view->font();
    bold.setBold(true);
    titles->setFont(bold);
    titles->setSectionsClickable(true);
    titles->setHighlightSections(false);
    titles->setStretchLastSection(true);
    QHeaderView *indicator = view->verticalHeader();
    indicator->setSectionResizeMode(QHeaderView::Fixed);
    indicator->setDefaultSectionSize(view->fontMetrics().height() + 6);
    indicator->setMinimumWidth(16);
    QObject::connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, model,
                     [model](const QModelIndex &current) { model->set_current_row(current.row()); });
}

void show_rows(QTableView *view, const QList<QSqlRecord> &rows)
{
    auto *model = static_cast<RecordTableModel *>(view->model());
    model->set_rows(rows);
    for (int i = 0; i < model->columns().size(); ++i) {
        const int width = model->columns().at(i).width;
        if (width > 0)
            view->setColumnWidth(i, width);
        else
            view->resizeColumnToContents(i);
    }
    if (!rows.isEmpty())
        view->setCurrentIndex(model->index(0, 0));
}

namespace {
class CursorKeys : public QObject {
public:
    CursorKeys(QObject *parent, std::function<void()> chosen) : QObject(parent), chosen_(std::move(chosen)) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyRelease) {
            switch (static_cast<QKeyEvent *>(event)->key()) {
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown:
            case Qt::Key_Home:
            case Qt::Key_End:
                chosen_();
                break;
            default:
                break;
            }
        }
        return false;
    }

private:
    std::function<void()> chosen_;
};
}

void on_row_chosen(QTableView *view, const std::function<void()> &chosen)
{
    QObject::connect(view, &QAbstractItemView::clicked, view, [chosen] { chosen(); });
    view->installEventFilter(new CursorKeys(view, chosen));
}

QSqlRecord current_record(const QTableView *view)
{
    const auto *model = static_cast<const RecordTableModel *>(view->model());
    const int row = view->currentIndex().isValid() ? view->currentIndex().row() : 0;
    return model->record(row);
}
