#pragma once
#include "core/data/plant_settings.h"

#include <QDialog>
#include <QList>

class QLineEdit;
class QPushButton;
class Prompter;
class TF_DBMDL;

// 옵션: mortar, product texts, ticket margins and the default operator.
class TF_OPTION : public QDialog {
    Q_OBJECT
public:
    TF_OPTION(TF_DBMDL &dbm, Prompter &prompter, QWidget *parent = nullptr);

    QLineEdit *mol_code_edit;
    QLineEdit *mol_m3_edit;
    QLineEdit *cement_edit;
    QLineEdit *gravel_edit;
    QLineEdit *japum_edit;
    QLineEdit *con_edit;
    QLineEdit *dam_edit;
    QLineEdit *yum_edit;
    QLineEdit *kong_edit;
    QLineEdit *bigo_edit;
    QLineEdit *edt_top;
    QLineEdit *edt_left;
    QPushButton *But_Seting;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void But_SetingClick();

    TF_DBMDL &dbm_;
    Prompter &prompter_;
    QList<QPair<QLineEdit *, QString PlantSettings::*>> boxes_;
};
