#pragma once
#include <QColor>
#include <QHeaderView>

class QTableView;

// The footer row under a grid: one cell per column, aligned with the grid's
// columns as they are resized and scrolled, showing the model's footer
// texts (RecordTableModel::FooterRole of the horizontal header).  Sums in
// magenta on silver, as the plant's grids always showed them.
class GridFooter : public QHeaderView {
    Q_OBJECT
public:
    // Place the footer right under `grid` in the grid's layout; it follows
    // the grid's model, column widths and horizontal scrolling.
    explicit GridFooter(QTableView *grid, QWidget *parent = nullptr);

    void set_colours(QColor text, QColor background);

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logical_index) const override;

private:
    void follow_grid();

    QTableView *grid_;
    QColor text_ = Qt::magenta;
    QColor background_ = QColor(0xC0, 0xC0, 0xC0);
};
