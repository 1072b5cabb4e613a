#include "gui/masterdata/list_grid.h"

#include <QFont>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableView>
#include <algorithm>

namespace {
RecordTableModel *records(const QTableView *view)
{
    return static_cast<RecordTableModel *>(view->model());
}

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
    indicator->setFixedWidth(16);
    QObject::connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, model,
                     [model](const QModelIndex &current) { model->set_current_row(current.row()); });
}

void show_rows(QTableView *view, const QList<QSqlRecord> &rows)
{
    RecordTableModel *model = records(view);
    model->set_rows(rows);
    const int char_width = view->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    for (int i = 0; i < model->columns().size(); ++i) {
        const int chars = model->columns().at(i).width_chars;
        if (chars > 0)
            view->setColumnWidth(i, chars * char_width + 10);
        else
            view->resizeColumnToContents(i);
    }
    if (!rows.isEmpty())
        view->setCurrentIndex(model->index(0, 0));
}

QSqlRecord current_record(const QTableView *view)
{
    const RecordTableModel *model = records(view);
    const int row = view->currentIndex().isValid() ? view->currentIndex().row() : 0;
    return row < model->rows().size() ? model->rows().at(row) : QSqlRecord();
}

void on_row_chosen(QTableView *view, const std::function<void()> &chosen)
{
    QObject::connect(view, &QAbstractItemView::clicked, view, [chosen] { chosen(); });
    view->installEventFilter(new CursorKeys(view, chosen));
}

QList<QSqlRecord> sorted_by(QList<QSqlRecord> rows, const QString &field)
{
    std::stable_sort(rows.begin(), rows.end(), [&field](const QSqlRecord &a, const QSqlRecord &b) {
        return a.value(field).toString() < b.value(field).toString();
    });
    return rows;
}
