#pragma once
#include <QDialog>

class QComboBox;
class QPushButton;
class Prompter;
class TF_DBMDL;

// 통신설정: serial port and speed of both batch units.
class TF_COMM : public QDialog {
    Q_OBJECT
public:
    TF_COMM(TF_DBMDL &dbm, Prompter &prompter, QWidget *parent = nullptr);

    QComboBox *comm_port_edit1;
    QComboBox *comm_speed_edit1;
    QComboBox *comm_port_edit2;
    QComboBox *comm_speed_edit2;
    QPushButton *But_Seting;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void But_SetingClick();

    TF_DBMDL &dbm_;
    Prompter &prompter_;
};
