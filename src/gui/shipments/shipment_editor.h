#pragma once
#include "core/shipments/shipment_edit_db.h"

#include <QDialog>
#include <QList>
#include <functional>
#include <optional>

struct AppContext;
class BoardGrid;
class DateBox;
class FieldKeys;
class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class RecordTableModel;
class RunningClock;
class TimeBox;
struct TicketData;

// The shipment editor "수동송장": the open orders of a working date and the
// shipments of the picked order; shipments entered by hand, corrected and
// deleted; orders closed and reopened; tickets printed.  Modal over the
// console, made anew each time.
//
// It keeps the keys it works on (working date, order, the shipment as it
// was loaded) and asks its questions before it writes: a controller report
// can record a load while a question is open.
class TF_CHOLHAEDIT : public QDialog {
    Q_OBJECT
public:
    explicit TF_CHOLHAEDIT(AppContext &ctx, QWidget *parent = nullptr);
    ~TF_CHOLHAEDIT() override;

    // The order grid's "수기송장": opens the hand ticket for an order.
    std::function<void(const QString &date, const QString &seq)> open_hand_ticket;
    // "엑셀" over each list: the save dialog, or a test's answer.
    std::function<QString(const QString &proposed)> ask_export_path;

    QString working_date() const { return working_date_; }
    QString edit_mode() const { return edit_mode_; }

    QLabel *title_pan;
    RunningClock *time_edit;
    QPushButton *new_btn, *edt_btn, *del_btn, *can_btn, *sav_btn, *hlp_btn, *prn_btn, *cls_btn;
    QCheckBox *songjang_chk;
    DateBox *ilja_combo;
    QLineEdit *dam_edit;

    DateBox *hy01;
    TimeBox *hy02;
    QLineEdit *hy03, *hy04, *hy05, *hy06, *hy07, *hy08, *hy09, *hy10;
    QComboBox *hy11;
    QLineEdit *hy12;

    QFrame *order_head_pan;  // "출    하    예    정"
    QPushButton *makam_btn;
    QPushButton *suju_excel_btn;    // the orders of the day as a workbook
    QPushButton *cholha_excel_btn;  // the loads of the order as a workbook
    QCheckBox *makam_chk;
    BoardGrid *suju_grid;
    BoardGrid *cholha_grid;
    RecordTableModel *suju_query;
    RecordTableModel *cholha_query;
    QFrame *total_display_bar;
    QList<QLabel *> total_panels;
    QMenu *PopupMenu1;
    QAction *N6;

    QFrame *Pnl_Print;
    QLineEdit *Edt_Sujuno, *first_seq_edit, *last_seq_edit;
    QPushButton *Btn_Ok, *Btn_Cancel;

    void new_btnClick();
    void edt_btnClick();
    void del_btnClick();
    void can_btnClick();
    void sav_btnClick();
    void prn_btnClick();
    void makam_chkClick();
    void makam_btnClick();
    void export_grid(const QString &title, BoardGrid *grid, RecordTableModel *model);
    void songjang_chkClick();
    void Btn_OkClick();
    void Btn_CancelClick();
    void ilja_comboChange();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void build();
    QWidget *build_details();
    QWidget *build_grids();
    QFrame *build_print_panel();
    void FormShow();

    bool act(const std::function<void()> &action);
    void say(const QString &text);
    QString today() const;
    QString shown_state() const;
    bool board_day() const;

    // Reloads of the grids (the console's follow): `keep_seq` and
    // `keep_shipment` are found again afterwards when they still exist.
    void load_orders(const QString &keep_seq = QString());
    void load_shipments(const std::optional<shipment_edit_db::Shipment> &keep = std::nullopt);
    void show_day_totals();
    // A load recorded by the console while the editor is open.
    void follow_recording();
    QString current_seq() const;

    void pick_order(bool reload_shipments);
    void show_current_shipment();
    void clear_details();
    void lock_detail_fields(bool locked);
    void set_browse_state(bool on);
    void back_to_browse();

    void vehicle_enter();
    void vehicle_left();
    bool look_up_vehicle();
    void unit_enter();
    bool details_complete() const;
    shipment_edit_db::Shipment typed_shipment() const;

    void print_tickets(const QList<TicketData> &tickets);
    void order_no_enter();
    void trip_enter(QLineEdit *box, QWidget *next);

    bool eventFilter(QObject *watched, QEvent *event) override;

    AppContext &ctx_;
    FieldKeys *keys_;
    QString working_date_;
    QString edit_mode_;
    // The order being worked on: picked in the grid, or the loaded
    // shipment's; never re-read from a grid after a question.
    QString order_seq_;
    std::optional<shipment_edit_db::Shipment> loaded_;    // in the detail fields
    std::optional<shipment_edit_db::Shipment> previous_;  // when edit began
    QString order_bookmark_;
    QString vehicle_looked_up_;  // hy05's text the last lookup resolved
    bool in_vehicle_lookup_ = false;
    bool following_ = false;  // reloading after the console's own reload
};
