#pragma once
#include "core/shipments/load_generator.h"
#include "core/shipments/yusa_db.h"

#include <QDialog>
#include <functional>

struct AppContext;
class DateBox;
class FieldKeys;
class NumberBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class RecordTableModel;
class TimeBox;
enum class YusaTicketKind;

// 자동송장: the auto ticket book.  Per working date a list of yusa orders
// and their loads, kept apart from the console's orders and shipments; the
// loads are generated from the order (출하) or entered by hand, and their
// delivery tickets printed one at a time or as a run.
class TF_CHOLHAAUTO : public QDialog {
    Q_OBJECT
public:
    explicit TF_CHOLHAAUTO(AppContext &ctx, QWidget *parent = nullptr);

    QLabel *title_pan;
    QPushButton *new_btn, *edt_btn, *del_btn, *can_btn, *sav_btn, *hlp_btn, *ColorButton1, *cls_btn;

    // The yusa order panel.
    DateBox *ilja_combo;
    QLineEdit *dam_edit;  // the shipper printed on the tickets
    QLineEdit *e_hon;
    QLineEdit *su01, *su02, *su03, *su04;
    NumberBox *su05;
    TimeBox *su06;
    QLineEdit *su07;
    QLineEdit *su08, *su09, *su10;
    QTableView *suju_grid;
    RecordTableModel *suju_query;

    // The yusa shipment panel.
    QWidget *cholha_pan;
    QTableView *cholha_grid;
    RecordTableModel *cholha_query;
    QPushButton *chprn_btn;
    QLineEdit *ch01;
    TimeBox *ch02;
    QLineEdit *ch03;
    NumberBox *ch04, *ch05;
    QPushButton *chnew_btn, *chedt_btn, *chdel_btn, *chcan_btn, *chsav_btn;
    QLineEdit *first_seq_edit, *last_seq_edit;
    QPushButton *prn_btn;

    QString working_date;  // "yyyy-mm-dd"
    // Seeds the generator made at each generation (the clock; tests fix it).
    std::function<quint32()> random_seed = clock_seed;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void ilja_comboChange();
    void new_btnClick();
    void edt_btnClick();
    void can_btnClick();
    void sav_btnClick();
    void del_btnClick();
    void chnew_btnClick();
    void chedt_btnClick();
    void chcan_btnClick();
    void chsav_btnClick();
    void chdel_btnClick();
    void ColorButton1Click();
    void chprn_btnClick();
    void prn_btnClick();
    void su02Enter();
    void su03Enter();
    void su04Enter();
    void su05Enter();
    void ch01Enter();
    void ch03Enter();

    void load_yusa_orders(const QString &current_seq = QString());
    void load_yusa_shipments();
    void show_current_order();
    void show_current_shipment();
    void lock_order_fields();
    void unlock_order_fields();
    void set_order_browse_state(bool on);
    void lock_shipment_fields();
    void unlock_shipment_fields();
    void set_shipment_browse_state(bool on);
    void back_to_order_browse(const QString &current_seq);
    void back_to_shipment_browse();

    yusa_db::YusaOrder order_in_fields() const;
    yusa_db::YusaLoad load_in_fields() const;
    bool saved_order_shown();
    // Fills ticket_data for the load and prints it; false when it failed.
    bool print_load(const yusa_db::YusaOrder &order, const yusa_db::YusaLoad &load, YusaTicketKind kind);

    AppContext &ctx_;
    FieldKeys *keys_;
    QList<QWidget *> order_fields_;
    QList<QWidget *> shipment_fields_;
    QString customer_code_;  // the customer picked in su02, for the site lookup
    bool new_order_ = false;  // the order panel holds a new order, not a loaded one
    // The first-load time typed is no valid time: said, focus there.
    bool first_time_refused();
    QString order_before_new_;
};
