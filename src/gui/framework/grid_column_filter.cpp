#include "gui/framework/grid_column_filter.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QMenu>
#include <QTableView>

GridColumnFilter::GridColumnFilter(QTableView *grid, int column)
    : QObject(grid), grid_(grid), column_(column), menu_(new QMenu(grid))
{
    menu_->setObjectName(grid->objectName() + QStringLiteral("_filter"));
    QHeaderView *titles = grid->horizontalHeader();
    titles->setSectionsClickable(true);
    connect(titles, &QHeaderView::sectionClicked, this, [this](int section) {
        if (section == column_)
            open_menu();
    });
    connect(menu_, &QMenu::triggered, this, [this](QAction *chosen) {
        set_value(chosen->data().toString());
    });
    if (grid->model())
        connect(grid->model(), &QAbstractItemModel::modelReset, this, [this] {
            value_.clear();
            apply();
        });
}

void GridColumnFilter::open_menu()
{
    QAbstractItemModel *model = grid_->model();
    QStringList values;
    for (int row = 0; row < model->rowCount(); ++row) {
        const QString text = model->index(row, column_).data().toString();
        if (!text.isEmpty() && !values.contains(text))
            values << text;
    }
    values.sort();
    menu_->clear();
    QAction *all = menu_->addAction(all_text());
    all->setCheckable(true);
    all->setChecked(value_.isEmpty());
    for (const QString &v : values) {
        QAction *a = menu_->addAction(v);
        a->setData(v);
        a->setCheckable(true);
        a->setChecked(!value_.isEmpty() && v == value_);
    }
    QHeaderView *titles = grid_->horizontalHeader();
    const QPoint at(titles->sectionViewportPosition(column_), titles->height());
    menu_->popup(titles->viewport()->mapToGlobal(at));
}

void GridColumnFilter::set_value(const QString &value)
{
    value_ = value;
    apply();
}

void GridColumnFilter::apply()
{
    QAbstractItemModel *model = grid_->model();
    for (int row = 0; row < model->rowCount(); ++row)
        grid_->setRowHidden(row, !value_.isEmpty() && model->index(row, column_).data().toString() != value_);
}
