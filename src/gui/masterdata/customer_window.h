#pragma once
#include "gui/masterdata/master_form.h"

class QComboBox;

// 거래처 관리: lists the customers and registers new ones.
class TF_CUSTOMER : public MasterDataForm {
    Q_OBJECT
public:
    explicit TF_CUSTOMER(AppContext &ctx, QWidget *parent = nullptr);

    QLineEdit *code_edt1;  // code group letter
    QLineEdit *code_edt2;  // sequence number in the group
    QLineEdit *name_edt;
    QComboBox *kwansa_edt;  // never shown
    QTableView *cust_grd;

private:
    void FormShow() override;
    void new_btnClick();
    void sav_btnClick();
    void cust_grdTitleClick(int column);
    bool code_edt1KeyPress(QChar c);
    void code_edt1Enter();
    void code_edt2Enter();
    void name_edtEnter();
    void load_list();
    void show_current_row() override;

    RecordTableModel *cust_qry;
    // The code this window proposed: at save it is drawn anew when another
    // PC has taken it; a code typed by hand is saved as typed or refused.
    QString proposed_code_;
};
