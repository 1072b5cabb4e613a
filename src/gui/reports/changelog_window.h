#pragma once
#include "core/reports/change_log_queries.h"

#include <QDialog>
#include <functional>

struct AppContext;
class BoardGrid;
class DateBox;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;
class RecordTableModel;

// 변경 이력: the change log of a period (who changed which load, order,
// auto-book row or vehicle's service state, when, and what it was before),
// and on a second tab the ticket register with the loads left without a
// ticket.  Read only: nothing here changes or deletes an entry.
class TF_CHANGELOG : public QDialog {
    Q_OBJECT
public:
    explicit TF_CHANGELOG(AppContext &ctx, QWidget *parent = nullptr);
    ~TF_CHANGELOG() override;

    DateBox *first_date;
    DateBox *last_date;
    QLineEdit *order_edit;     // order number
    QLineEdit *car_edit;       // vehicle number or code
    QComboBox *kind_combo;     // "(전체)", "기록", "입력", ...
    QComboBox *operator_combo; // "(전체)" and the period's operators
    QPushButton *sel_btn;
    QPushButton *pre_btn;
    QPushButton *prn_btn;
    QPushButton *excel_btn;
    QPushButton *cls_btn;
    QTabWidget *log_tabs;
    BoardGrid *log_grid;
    QTableWidget *detail_grid;  // the entry at the cursor: field, before, after
    QCheckBox *unprinted_chk;   // "미발행"
    BoardGrid *register_grid;
    QLabel *count_label;

    RecordTableModel *log_query;
    RecordTableModel *register_query;
    RecordTableModel *unprinted_query;

    // Where "엑셀" saves; empty: nothing saved.  Tests replace the dialog.
    std::function<QString(const QString &proposed)> ask_csv_path;

    void sel_btnClick();
    void pre_btnClick();
    void prn_btnClick();
    void excel_btnClick();

private:
    change_log_queries::Filter filter() const;
    void show_detail();
    void show_register();
    RecordTableModel *shown_model() const;
    void produce(bool preview);

    AppContext &ctx_;
    change_log_queries::Filter searched_;
    bool searched_once_ = false;
};
