#pragma once
#include "gui/masterdata/master_form.h"

class QTabWidget;

// 현장 관리: a customer's sites, and new sites under a chosen customer.
class TF_HYUNJANG : public MasterDataForm {
    Q_OBJECT
public:
    explicit TF_HYUNJANG(AppContext &ctx, QWidget *parent = nullptr);

    QLineEdit *code_edt;   // the chosen customer's code
    QLineEdit *name_edt;   // its name; also the customer search box
    QLineEdit *code1_edt;  // site code
    QLineEdit *name1_edt;  // site name
    QLineEdit *code2_edt;  // sales person in charge
    QLineEdit *name2_edt;
    QTabWidget *tab_s;
    QWidget *cus_tab;
    QWidget *hyu_tab;
    QTableView *cust_grd;
    QTableView *hyun_grd;

private:
    void FormShow() override;
    void new_btnClick();
    void sav_btnClick();
    void cust_grdCellClick();
    void cust_grdTitleClick(int column);
    void hyun_grdTitleClick(int column);
    void name_edtEnter();
    void code1_edtEnter();
    void name1_edtEnter();
    void code2_edtEnter();
    void load_sites();
    void show_current_row() override;

    RecordTableModel *cust_qry;
    RecordTableModel *hyun_qry;
    // The customer and site code this window proposed: at save it is drawn
    // anew when another PC has taken it; a code typed by hand is saved as
    // typed or refused.
    QString proposed_code_;
};
