#pragma once
#include <QDialog>
#include <QString>
#include <functional>
#include <optional>
#include <utility>

struct AppContext;
class DateBox;
class DecimalBox;
class FieldKeys;
class QComboBox;
class QFrame;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;
class RecordTableModel;
class TimeBox;
class ContractTabs;

// 수주관리: the delivery orders of a day entered, changed, looked up and
// deleted; customer, site and specification confirmed through the code
// lookup with a proposed unit price.
class TF_SUJU : public QDialog {
    Q_OBJECT
public:
    explicit TF_SUJU(AppContext &ctx, QWidget *parent = nullptr);

    // Date bar.
    DateBox *HY01;
    QLineEdit *HY02;
    // Customer and site.
    QLineEdit *HY03, *hy04, *HY05, *HY06;
    QLineEdit *HY07, *HY08, *HY09, *HY10, *HY11, *HY12, *HY13, *HY15, *HY16, *HY17, *HY18;
    DecimalBox *hy14;
    QLineEdit *hy36;
    // Order details.
    QComboBox *hy20, *hy21, *hy22, *hy23;
    QLineEdit *e_hon;
    TimeBox *HY24;
    DecimalBox *HY25;
    QComboBox *hy37;
    QLineEdit *HY27, *HY28, *HY29, *HY30, *hy38;
    DecimalBox *HY31, *HY32;
    // Contract, shipped and unshipped amounts of the contract tab.
    DecimalBox *HY33, *HY34, *HY35;
    // Button bar.
    QFrame *Panel12;
    QPushButton *newbtn, *edtbtn, *BitBtn3, *delbtn, *savbtn, *canbtn, *clsbtn, *prnbtn, *BitBtn1, *BitBtn2;
    // Tabs: 관수, 민수 (contracts of the customer and site), 금일 수주 현황.
    QTabWidget *PageControl1;
    QWidget *TabSheet1, *TabSheet2, *TabSheet3;
    QTableView *gridhord3;
    RecordTableModel *suju_query;
    // "엑셀": the day's orders saved as a workbook; ask_export_path is the
    // save dialog (a test's answer), empty: cancelled.
    QPushButton *excel_btn;
    std::function<QString(const QString &proposed)> ask_export_path;
    void excel_btnClick();

    int entry_mode() const { return entry_mode_; }
    QString cust_julsa() const { return cust_julsa_; }
    QString cust_vat() const { return cust_vat_; }

    // The window's steps that the contract tabs and the order sheet use.
    void opening_step();
    void load_day_orders();
    void clear_entry_fields();
    void lock_entry_fields();
    void unlock_entry_fields();
    // Fills the fields from the order (date, number); false when there is
    // no such order.
    bool load_order(const QString &date, const QString &seq);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void build_date_bar(class QVBoxLayout *column);
    void build_customer_block(QVBoxLayout *column);
    void build_order_block(QVBoxLayout *column);
    QFrame *build_button_bar();
    void build_tabs();
    void wire_keys();

    // Buttons.
    void newbtnClick();
    void edtbtnClick();
    void BitBtn3Click();
    void delbtnClick();
    void savbtnClick();
    void canbtnClick();
    void prnbtnClick();
    void BitBtn1Click();
    void BitBtn2Click();
    void set_browse_buttons();
    void back_to_browse();

    // Fields.
    void HY01Enter();
    void HY01CalendarPick();
    void HY02Enter();
    void pick_customer();
    void pick_site();
    void HY25Enter();
    void HY29Enter();
    void HY31Enter();
    // The unit price proposed for the confirmed customer, site and
    // specification (an earlier order's, else by the customer's class).
    void propose_price();
    void gridhord3CellClick();
    void PageControl1Change(int index);
    void show_order(const class QSqlRecord &row);
    void fill_item_lists();

    // The contract tabs (관수, 민수) follow the customer and site here.
    void clear_contract_tabs();
    void site_changed_for_tabs();

    // Save checks: the first missing or unconfirmed item (its message and
    // field), or nothing.
    std::pair<QString, QWidget *> missing_for_save() const;
    void act(const std::function<void()> &action);
    void say(const QString &text);

    AppContext &ctx_;
    ContractTabs *contracts_ = nullptr;  // the tabs 관수 and 민수
    FieldKeys *keys_;
    int entry_mode_ = 0;
    QString cust_julsa_;
    QString cust_vat_;
    // The codes last confirmed by a lookup or an order load: a code typed
    // over afterwards is not confirmed.
    QString confirmed_customer_, confirmed_site_, confirmed_spec_;
    // The customer the price was last proposed or loaded for.
    QString customer_priced_;
    // Government and private base prices of the confirmed specification;
    // unknown for an order loaded from the database.
    std::optional<std::pair<double, double>> spec_prices_;
};
