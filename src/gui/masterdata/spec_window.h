#pragma once
#include "gui/masterdata/master_form.h"

class DateBox;
class QComboBox;

// 규격 관리: lists the concrete specifications and registers new ones.
class TF_RULE : public MasterDataForm {
    Q_OBJECT
public:
    explicit TF_RULE(AppContext &ctx, QWidget *parent = nullptr);

    QLineEdit *code_edt;
    QLineEdit *name_edt;
    QComboBox *ks_edt;
    DateBox *edt_date;
    QTableView *rule_grd;

private:
    void FormShow() override;
    void new_btnClick();
    void sav_btnClick();
    void rule_grdTitleClick(int column);
    void code_edtEnter();
    void name_edtEnter();
    void load_list();
    void show_current_row() override;

    RecordTableModel *rule_qry;
};
