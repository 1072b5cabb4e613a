#pragma once
#include "app/app_context.h"

#include <QMainWindow>

class DateBox;
class QAction;
class QLabel;
class QLineEdit;
class TwoStateSwitch;

// The dispatch console, the program's main window.
class TF_MAIN : public QMainWindow {
    Q_OBJECT
public:
    explicit TF_MAIN(AppContext &ctx, QWidget *parent = nullptr);

    QString board_date() const { return board_date_; }

    // Controls named as on the console.
    QLineEdit *dam_edit;
    QLabel *display_lab1;
    QLabel *display_lab2;
    TwoStateSwitch *comm_switch;
    DateBox *ilja_combo;
    QAction *comm_menu;
    QAction *N9;
    QAction *Z1;

    QString enrol_name;
    QString enrol_product;

Q_SIGNALS:
    // The first working screen is up (after the login and the day's load).
    void ready();

protected:
    void showEvent(QShowEvent *event) override;
    bool event(QEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    void FormActivate();
    void build_menu();
    void comm_menuClick();
    void N9Click();

    AppContext &ctx_;
    QString board_date_;
    bool shown_ = false;
    bool enrol_error_shown_ = false;
};
