#pragma once
#include <QDialog>

class PictureButton;
class QLabel;
class QLineEdit;
class Prompter;
class TF_DBMDL;

// 사용자 암호 입력: asks for the operator's name and connects the database.
class TF_PASS : public QDialog {
    Q_OBJECT
public:
    // How the window ended.
    enum Outcome { LoggedIn = QDialog::Accepted + 1, LoggedOut };

    // `dam_edit` is the console's operator box that a login fills.
    TF_PASS(TF_DBMDL &dbm, Prompter &prompter, QLineEdit *dam_edit, QWidget *parent = nullptr);

    QLabel *main_img;
    QLabel *company_name;
    QLineEdit *useredt;
    PictureButton *login_btn;
    PictureButton *logout_btn;

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void FormCreate();
    void login_btnClick();
    void logout_btnClick();

    TF_DBMDL &dbm_;
    Prompter &prompter_;
    QLineEdit *dam_edit_;
};
