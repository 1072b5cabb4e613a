#pragma once
#include "core/framework/workbook.h"
#include "core/reports/status_db.h"

#include <QDialog>
#include <QStringList>
#include <functional>
#include <optional>

struct AppContext;
class DateBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QSplitter;
class QTimer;
class RecordTableModel;
class BoardGrid;
namespace report {
struct Document;
}

// 출하현황: orders and loads of a period by customer, site,
// specification, vehicle and time of day, and their five printed lists.
//
// Every search keeps its period, filter and rows with the area that shows
// them; a list prints exactly those, and only while the boxes still show
// what was searched (otherwise "검색버튼을 먼저 누르시오.").  Long results
// are read a page at a time as the grid scrolls; the totals come from
// aggregate statements.
class TF_CUSTLIST : public QDialog {
    Q_OBJECT
public:
    explicit TF_CUSTLIST(AppContext &ctx, QWidget *parent = nullptr);
    ~TF_CUSTLIST() override;

    QComboBox *find_combo;
    QLabel *view_label;
    QComboBox *view_combo;
    DateBox *first_date;
    QLabel *first_label;
    DateBox *last_date;
    QLabel *last_label;
    QLineEdit *find_edit;
    QPushButton *find_btn;
    QPushButton *sel_btn;
    QPushButton *pre_btn;
    QPushButton *prn_btn;
    QPushButton *excel_btn;
    QPushButton *cls_btn;
    QTimer *Timer1;

    QFrame *cust_list_pan;
    QLabel *order_m3_pan, *outorder_pan, *ca_count_pan;
    QSplitter *spl_line;
    BoardGrid *suju_grid;
    BoardGrid *cholha_grid;

    QFrame *car_list_pan;
    QLabel *list_pan;
    QLabel *car_list_pan1, *car_list_pan2;
    // "(회차 제외)" beside the by-time totals.
    QLabel *returns_note;
    BoardGrid *list_grid;
    // "주문 없는 출하 n건 / x m³": loads in the totals missing from the list.
    QLabel *without_order_pan;

    QFrame *car_totlist_pan;
    QLabel *car_tot_pan1, *car_tot_pan2;
    BoardGrid *DBGrid2;

    RecordTableModel *suju_query;
    RecordTableModel *cholha_query;
    RecordTableModel *car_totlist_query;
    RecordTableModel *car_list_query;
    RecordTableModel *timeseq_query;

    void find_comboChange();
    void view_comboChange();
    void find_btnClick();
    void find_editEnter();
    void sel_btnClick();
    void suju_gridClick();
    void pre_btnClick();
    void prn_btnClick();
    void excel_btnClick();
    void Timer1Timer();

    // The list the report buttons would print now; throws ActionError
    // "검색버튼을 먼저 누르시오." when the boxes do not show a search.  Why
    // the approval picture is left out goes to `picture_error`.
    report::Document current_report(QString *picture_error = nullptr);
    // The sheet "엑셀" saves for the area shown (every row read).
    workbook::Sheet current_sheet();
    // The file name proposed for the area shown, without suffix.
    QString proposed_file_name() const;
    // Asks where to save the workbook (a save dialog, .xlsx or .csv);
    // empty: cancelled.
    std::function<QString(const QString &proposed)> ask_export_path;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool brief() const;
    bool order_choice() const;
    status_db::Search boxes() const;
    void show_areas();
    void close_totals();
    void close_vehicle_list();
    void close_orders();
    void set_shipment_grid(bool open);
    void lookup();
    void search();
    void produce(bool preview);
    // The model and search of the area shown, with its totals row.
    struct Shown {
        RecordTableModel *model = nullptr;
        std::optional<status_db::Search> search;
        QList<workbook::Cell> totals;
    };
    Shown shown() const;

    AppContext &ctx_;
    bool shown_once_ = false;
    void show_without_order();
    // The last search of each area; none once the area is closed.
    std::optional<status_db::Search> orders_search_, totals_search_, vehicle_search_, day_search_;
    // The totals of the searches, and the loads of the list's search whose
    // order is gone: as counted in the window's totals and in the printed
    // list (the by-time list prints returned loads too).
    status_db::OrderTotals order_totals_;
    status_db::LoadTotals vehicle_totals_, list_totals_;
    status_db::LoadTotals without_order_, without_order_printed_;
};
