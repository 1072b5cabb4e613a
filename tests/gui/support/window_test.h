#pragma once
#include <QAbstractItemModel>
#include <QHeaderView>
#include <QPushButton>
#include <QStringList>
#include <QTableView>
#include <QTest>

// Driving the master-data windows as the operator does.

inline QStringList grid_column(const QTableView *grid, int column)
{
    QStringList values;
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        values << grid->model()->index(r, column).data().toString();
    return values;
}

inline void click_row(QTableView *grid, int row, int column = 1)
{
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(row, column)).center());
}

inline void click_title(QTableView *grid, int section)
{
    QHeaderView *titles = grid->horizontalHeader();
    QTest::mouseClick(titles->viewport(), Qt::LeftButton, {},
                      QPoint(titles->sectionViewportPosition(section) + 5, titles->height() / 2));
}

inline void click(QPushButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

inline void press_enter(QWidget *field)
{
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Return);
}

// Shows the window and waits until it is the active one.
inline bool open_active(QWidget *window)
{
    window->show();
    return QTest::qWaitForWindowActive(window);
}
