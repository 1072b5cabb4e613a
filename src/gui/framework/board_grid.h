#pragma once
#include <QTableView>

class RecordTableModel;

// The console's read-only grids: whole-row selection, a row marker for the
// cursor, titles that fit, and the column widths of the model's columns.
class BoardGrid : public QTableView {
    Q_OBJECT
public:
    BoardGrid(const QString &name, RecordTableModel *model, QWidget *parent = nullptr);

    RecordTableModel *records() const { return model_; }
    // Shows another model (a grid that shows several data sets in turn).
    void show_records(RecordTableModel *model);
    // The row of the cursor, -1 without rows.
    int cursor_row() const;
    // Puts the cursor on a row (the first after every load).
    void set_cursor_row(int row);
    void set_background(const QColor &color);

Q_SIGNALS:
    // Enter, Up, Down, Page Up or Page Down, after the cursor has moved.
    void cursor_key_released(int key);
    // Any key released.
    void key_released(int key);
    // The button released at the end of a double-click (Qt sends no click then).
    void double_click_released();

protected:
    void keyReleaseEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    RecordTableModel *model_ = nullptr;
    bool in_double_click_ = false;
};
