#include "console/main_window.h"
#include "app/comm_dialog.h"
#include "app/data_module.h"
#include "app/login_window.h"
#include "app/option_dialog.h"
#include "framework/clock.h"
#include "framework/date_box.h"
#include "framework/guarded.h"
#include "framework/prompter.h"
#include "framework/stored_text.h"
#include "framework/two_state_switch.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QTimer>
#include <QVBoxLayout>

TF_MAIN::TF_MAIN(AppContext &ctx, QWidget *parent) : QMainWindow(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("F_MAIN"));
    setWindowTitle(QStringLiteral("VELDARO (V.1)"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);
    auto *top = new QHBoxLayout;
    display_lab1 = new QLabel;
    display_lab1->setObjectName(QStringLiteral("display_lab1"));
    display_lab2 = new QLabel;
    display_lab2->setObjectName(QStringLiteral("display_lab2"));
    comm_switch = new TwoStateSwitch;
    comm_switch->setObjectName(QStringLiteral("comm_switch"));
    ilja_combo = new DateBox;
    ilja_combo->setObjectName(QStringLiteral("ilja_combo"));
    dam_edit = new QLineEdit;
    dam_edit->setObjectName(QStringLiteral("dam_edit"));
    top->addWidget(display_lab1);
    top->addWidget(display_lab2);
    top->addStretch();
    top->addWidget(new QLabel(QStringLiteral("출하인")));
    top->addWidget(dam_edit);
    top->addWidget(ilja_combo);
    top->addWidget(comm_switch);
    layout->addLayout(top);
    layout->addStretch();
    setCentralWidget(central);

    build_menu();
    FormCreate();
}

void TF_MAIN::build_menu()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QMenu *settings_menu = bar->addMenu(QStringLiteral("[&C] 설  정"));
    comm_menu = settings_menu->addAction(QStringLiteral("통 신 설 정"));
    comm_menu->setObjectName(QStringLiteral("comm_menu"));
    N9 = settings_menu->addAction(QStringLiteral("환 경 설 정"));
    N9->setObjectName(QStringLiteral("N9"));
    Z1 = bar->addAction(QStringLiteral("[&Z] 종    료"));
    Z1->setObjectName(QStringLiteral("Z1"));
    connect(comm_menu, &QAction::triggered, this, &TF_MAIN::comm_menuClick);
    connect(N9, &QAction::triggered, this, &TF_MAIN::N9Click);
    connect(Z1, &QAction::triggered, this, &QWidget::close);
}

// Runs before the data module exists: touches no database.
void TF_MAIN::FormCreate()
{
    for (QLabel *lab : {display_lab1, display_lab2}) {
        lab->setText(QStringLiteral("대기중"));
        lab->setStyleSheet(QStringLiteral("color: white; background: black;"));
    }
    comm_switch->set_state_texts(QStringLiteral("통신ON"), QStringLiteral("통신OFF"));
    comm_switch->set_state_colors(Qt::blue, Qt::red);
    comm_switch->setChecked(false);
}

void TF_MAIN::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    // After the show has finished, so that the login runs over a console
    // that is on the screen.
    QTimer::singleShot(0, this, &TF_MAIN::FormShow);
}

void TF_MAIN::FormShow()
{
    {
        TF_PASS login(*ctx_.dbm, *ctx_.prompter, dam_edit, this);
        if (login.exec() == TF_PASS::LoggedOut) {
            close();
            return;
        }
    }
    ilja_combo->setDate(ctx_.clock->today());
    board_date_ = stored::date(ctx_.clock->today());
    // Opens the connection when the login window was closed without logging in.
    guarded(*ctx_.prompter, this, [this] { ctx_.dbm->connect_database(); });
    FormActivate();
    Q_EMIT ready();
}

bool TF_MAIN::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QMainWindow::event(event);
}

void TF_MAIN::FormActivate()
{
    if (!ctx_.dbm || !ctx_.dbm->db().is_open())
        return;
    try {
        const EnrolRow row = read_enrol(ctx_.dbm->db());
        enrol_name = row.name;
        enrol_product = row.japum;
        enrol_error_shown_ = false;
    } catch (const DbError &e) {
        // Shown once: the box itself re-activates the console when it closes.
        if (!enrol_error_shown_) {
            enrol_error_shown_ = true;
            ctx_.prompter->error(this, e.message());
        }
    }
}

void TF_MAIN::comm_menuClick()
{
    TF_COMM dialog(*ctx_.dbm, *ctx_.prompter, this);
    dialog.exec();
}

void TF_MAIN::N9Click()
{
    TF_OPTION dialog(*ctx_.dbm, *ctx_.prompter, this);
    dialog.exec();
}
