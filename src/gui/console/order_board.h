#pragma once
#include "core/orders/order_queries.h"

#include <QList>
#include <QObject>
#include <functional>

struct AppContext;
class BoardGrid;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class RecordTableModel;

// The day's orders with their totals, and the loads of the order under the
// cursor.  Its widgets are placed by the console window.
class OrderBoard : public QObject {
    Q_OBJECT
public:
    OrderBoard(AppContext &ctx, std::function<QString()> board_date, QObject *parent = nullptr);

    // Operations offered to the rest of the program; they throw DbError.
    void load_orders(const QString &date, const QString &state);
    void find_order(const QString &date, const QString &seq);
    void load_shipments(const QString &date, const QString &seq);

    // The order number under the cursor, empty on an empty day.
    QString current_seq() const;
    // The state shown: "NO" while closed orders are shown, else "YES".
    QString shown_state() const;

    // The four texts the last find_order found.
    orders_db::OrderSummary found_order;

    QCheckBox *makam_chk;
    QFrame *Panel9;
    QLineEdit *dam_edit;
    QPushButton *makam_btn;
    QPushButton *refresh_btn;
    BoardGrid *suju_grid;
    QFrame *total_display_bar;
    QList<QLabel *> total_panels;  // the bar's eight panels
    BoardGrid *cholha_grid;
    RecordTableModel *suju_query;
    RecordTableModel *cholha_query;

    void makam_chkClick();
    void makam_btnClick();
    void refresh_btnClick();

Q_SIGNALS:
    void suju_gridDblClick();

private:
    QWidget *window() const;
    void follow_cursor();

    AppContext &ctx_;
    std::function<QString()> board_date_;
};
