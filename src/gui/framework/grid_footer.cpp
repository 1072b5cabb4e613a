#include "gui/framework/grid_footer.h"
#include "core/framework/record_table_model.h"

#include <QPainter>
#include <QScrollBar>
#include <QTableView>

GridFooter::GridFooter(QTableView *grid, QWidget *parent)
    : QHeaderView(Qt::Horizontal, parent), grid_(grid)
{
    setObjectName(grid->objectName() + QStringLiteral("_footer"));
    setSectionsClickable(false);
    setSectionResizeMode(QHeaderView::Fixed);
    setFocusPolicy(Qt::NoFocus);
    // One row high: a header view would otherwise take what the layout offers.
    setFixedHeight(fontMetrics().height() + 8);
    follow_grid();
    QHeaderView *titles = grid->horizontalHeader();
    connect(titles, &QHeaderView::sectionResized, this,
            [this](int logical, int, int size) { resizeSection(logical, size); });
    connect(grid->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { setOffset(grid_->horizontalHeader()->offset()); });
    connect(titles, &QHeaderView::geometriesChanged, this, &GridFooter::follow_grid);
}

void GridFooter::set_colours(QColor text, QColor background)
{
    text_ = text;
    background_ = background;
    viewport()->update();
}

void GridFooter::follow_grid()
{
    if (model() != grid_->model())
        setModel(grid_->model());
    // The footer starts where the grid's cells start, right of its row header.
    const int left = grid_->verticalHeader()->isVisible() ? grid_->verticalHeader()->width() : 0;
    setViewportMargins(left + grid_->frameWidth(), 0, 0, 0);
    QHeaderView *titles = grid_->horizontalHeader();
    for (int i = 0; i < count(); ++i) {
        resizeSection(i, titles->sectionSize(i));
        setSectionHidden(i, titles->isSectionHidden(i));
    }
    setOffset(titles->offset());
}

void GridFooter::paintSection(QPainter *painter, const QRect &rect, int logical_index) const
{
    painter->save();
    painter->fillRect(rect, background_);
    painter->setPen(QColor(0x80, 0x80, 0x80));
    painter->drawRect(rect.adjusted(0, 0, -1, -1));
    const QString text = model() ? model()->headerData(logical_index, Qt::Horizontal, RecordTableModel::FooterRole).toString()
                                 : QString();
    if (!text.isEmpty()) {
        painter->setPen(text_);
        QFont f = font();
        f.setBold(true);
        painter->setFont(f);
        painter->drawText(rect.adjusted(3, 0, -3, 0), Qt::AlignRight | Qt::AlignVCenter, text);
    }
    painter->restore();
}
