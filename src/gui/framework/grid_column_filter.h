#pragma once
#include <QObject>
#include <QString>

class QMenu;
class QTableView;

// The column filter of one grid column: a click on the column's title
// lists the column's values ("(전체)" first); choosing one shows only the
// rows with that value, "(전체)" shows them all again.  New rows in the grid
// (the model reset) show unfiltered.
class GridColumnFilter : public QObject {
    Q_OBJECT
public:
    GridColumnFilter(QTableView *grid, int column);

    static QString all_text() { return QStringLiteral("(전체)"); }

    // Shows only the rows whose text in the column is `value`; all rows
    // for an empty value.
    void set_value(const QString &value);
    QString value() const { return value_; }

    // The list of values offered by a click on the title (opened by it).
    QMenu *menu() const { return menu_; }

private:
    void open_menu();
    void apply();

    QTableView *grid_;
    int column_;
    QString value_;
    QMenu *menu_;
};
