#include "console/main_window.h"
#include "app/comm_dialog.h"
#include "app/data_module.h"
#include "app/login_window.h"
#include "app/option_dialog.h"
#include "console/board_grid.h"
#include "console/navigation.h"
#include "console/order_board.h"
#include "console/vehicle_board.h"
#include "framework/clock.h"
#include "framework/date_box.h"
#include "framework/guarded.h"
#include "framework/prompter.h"
#include "framework/running_clock.h"
#include "framework/stored_text.h"
#include "framework/two_state_switch.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QString link_off_message = QStringLiteral("통신을 먼저 연결하시오");

QFrame *panel(const char *name, QFrame::Shape shape = QFrame::NoFrame)
{
    auto *p = new QFrame;
    p->setObjectName(QString::fromLatin1(name));
    p->setFrameShape(shape);
    return p;
}

QLabel *status_label(const QString &text, const char *name)
{
    auto *l = new QLabel(text);
    l->setObjectName(QString::fromLatin1(name));
    l->setAlignment(Qt::AlignCenter);
    return l;
}
}

TF_MAIN::TF_MAIN(AppContext &ctx, QWidget *parent) : QMainWindow(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("F_MAIN"));
    setWindowTitle(QStringLiteral("VELDARO (V.1)"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    ctx_.console = this;

    const auto day = [this] { return board_date_; };
    orders = new OrderBoard(ctx_, day, this);
    vehicles = new VehicleBoard(ctx_, day, this);
    navigation = new ConsoleNavigation(*this, ctx_);
    dam_edit = orders->dam_edit;

    auto *central = new QWidget;
    central->setObjectName(QStringLiteral("central"));
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(2, 2, 2, 0);
    layout->setSpacing(2);
    Panel1 = build_toolbar();
    layout->addWidget(Panel1);
    auto *body = new QHBoxLayout;
    body->setSpacing(2);
    Panel6 = build_centre();
    Panel5 = build_right_panel();
    body->addWidget(Panel6, 1);
    body->addWidget(Panel5);
    layout->addLayout(body, 1);
    setCentralWidget(central);
    build_status_bar();

    // The trip list floats over the right-hand part of the reservation panel.
    vehicles->RGrid->setParent(Panel6);
    vehicles->send_to_slot = [this] { car_gridSendToSlot(); };
    connect(orders, &OrderBoard::suju_gridDblClick, this, &TF_MAIN::suju_gridDblClick);
    orders->suju_grid->addAction(navigation->N6);
    connect(ilja_combo, &QDateEdit::dateChanged, this, &TF_MAIN::ilja_comboChange);

    wire_windows();
    FormCreate();
}

TF_MAIN::~TF_MAIN()
{
    if (ctx_.console == this)
        ctx_.console = nullptr;
}

QFrame *TF_MAIN::build_toolbar()
{
    QFrame *bar = panel("Panel1", QFrame::StyledPanel);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(4);
    for (QToolButton *b : navigation->toolbar_buttons())
        row->addWidget(b);
    row->addSpacing(8);

    yusa_chk = new QCheckBox(QStringLiteral("유      사"));
    yusa_chk->setObjectName(QStringLiteral("yusa_chk"));
    autosend_chk = new QCheckBox(QStringLiteral("자동전송"));
    autosend_chk->setObjectName(QStringLiteral("autosend_chk"));
    autosend_chk->setChecked(true);
    auto *checks = new QVBoxLayout;
    checks->setSpacing(1);
    checks->addWidget(orders->makam_chk);
    checks->addWidget(yusa_chk);
    checks->addWidget(autosend_chk);
    row->addLayout(checks);

    moltal_btn = new QPushButton(QStringLiteral("몰       탈 "));
    moltal_btn->setObjectName(QStringLiteral("moltal_btn"));
    send_btn = new QPushButton(QStringLiteral("강 제 전 송"));
    send_btn->setObjectName(QStringLiteral("send_btn"));
    prn_sel = new QComboBox;
    prn_sel->setObjectName(QStringLiteral("prn_sel"));
    prn_sel->addItems({QStringLiteral("자동인쇄"), QStringLiteral("수동인쇄")});
    Edit1 = new QLineEdit;
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    Edit1->setFixedWidth(Edit1->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 6);
    auto *buttons = new QVBoxLayout;
    buttons->setSpacing(2);
    for (QPushButton *b : {moltal_btn, send_btn}) {
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::NoFocus);
        buttons->addWidget(b);
    }
    auto *print_row = new QHBoxLayout;
    print_row->addWidget(prn_sel);
    print_row->addWidget(Edit1);
    buttons->addLayout(print_row);
    row->addLayout(buttons);
    // The reservation slots and the controller link arrive with their own
    // work; until then these controls have nothing to act on.
    for (QWidget *w : std::initializer_list<QWidget *>{yusa_chk, moltal_btn, send_btn})
        w->setEnabled(false);

    row->addStretch(1);

    ilja_combo = new DateBox;
    ilja_combo->setObjectName(QStringLiteral("ilja_combo"));
    ilja_combo->setLocale(QLocale(QLocale::Korean, QLocale::SouthKorea));
    ilja_combo->setDisplayFormat(QStringLiteral("yyyy년 M월 d일 dddd"));
    QFont date_font = ilja_combo->font();
    date_font.setPointSizeF(date_font.pointSizeF() + 2);
    date_font.setBold(true);
    ilja_combo->setFont(date_font);
    ilja_combo->setMinimumWidth(ilja_combo->fontMetrics().horizontalAdvance(QStringLiteral("2026년 12월 31일 수요일")) + 40);
    time_edit = new RunningClock;
    time_edit->setObjectName(QStringLiteral("time_edit"));
    time_edit->set_clock(ctx_.clock);
    time_edit->setFont(date_font);
    time_edit->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto *when = new QVBoxLayout;
    when->setSpacing(2);
    when->addWidget(ilja_combo);
    when->addWidget(time_edit);
    row->addLayout(when);

    comm_switch = new TwoStateSwitch;
    comm_switch->setObjectName(QStringLiteral("comm_switch"));
    comm_switch->setMinimumSize(110, 40);
    comm_switch->setEnabled(false);
    row->addWidget(comm_switch);
    return bar;
}

QFrame *TF_MAIN::build_centre()
{
    QFrame *centre = panel("Panel6");
    auto *col = new QVBoxLayout(centre);
    col->setContentsMargins(0, 0, 0, 0);
    col->setSpacing(2);

    Panel7 = panel("Panel7", QFrame::StyledPanel);
    Panel7->setMinimumHeight(250);
    auto *units = new QHBoxLayout(Panel7);
    display_lab1 = new QLabel;
    display_lab1->setObjectName(QStringLiteral("display_lab1"));
    display_lab2 = new QLabel;
    display_lab2->setObjectName(QStringLiteral("display_lab2"));
    for (QLabel *lab : {display_lab1, display_lab2}) {
        QFont f = lab->font();
        f.setPointSizeF(f.pointSizeF() + 4);
        f.setBold(true);
        lab->setFont(f);
        lab->setAlignment(Qt::AlignCenter);
        lab->setMinimumWidth(160);
        lab->setMinimumHeight(36);
    }
    units->addWidget(display_lab1, 0, Qt::AlignTop);
    units->addStretch();
    units->addWidget(display_lab2, 0, Qt::AlignTop);
    units->addStretch();

    col->addWidget(Panel7);
    col->addWidget(orders->Panel9);
    col->addWidget(orders->suju_grid, 1);
    col->addWidget(orders->total_display_bar);
    return centre;
}

QFrame *TF_MAIN::build_right_panel()
{
    QFrame *right = panel("Panel5");
    right->setFixedWidth(right->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 40);
    auto *col = new QVBoxLayout(right);
    col->setContentsMargins(0, 0, 0, 0);

    list_page = new QTabWidget;
    list_page->setObjectName(QStringLiteral("list_page"));
    list_page->setDocumentMode(true);
    list_page->setStyleSheet(QStringLiteral(
        "QTabBar::tab { padding: 6px 18px; margin-right: 3px; border: 1px solid #7a8ca3;"
        " border-radius: 3px; background: #e4e9f0; }"
        " QTabBar::tab:selected { background: #24466e; color: white; font-weight: bold; }"));
    car_tab = new QWidget;
    car_tab->setObjectName(QStringLiteral("car_tab"));
    auto *car_col = new QVBoxLayout(car_tab);
    car_col->setContentsMargins(2, 4, 2, 2);
    auto *car_row = new QHBoxLayout;
    car_row->addWidget(vehicles->car_chk);
    car_row->addStretch();
    car_row->addWidget(vehicles->car_yes_btn);
    car_col->addLayout(car_row);
    car_col->addWidget(vehicles->car_grid, 1);
    cholha_tab = new QWidget;
    cholha_tab->setObjectName(QStringLiteral("cholha_tab"));
    auto *chol_col = new QVBoxLayout(cholha_tab);
    chol_col->setContentsMargins(2, 4, 2, 2);
    chol_col->addWidget(orders->cholha_grid);
    list_page->addTab(car_tab, QStringLiteral("대기차량"));
    list_page->addTab(cholha_tab, QStringLiteral("출하내역"));
    col->addWidget(list_page, 1);
    return right;
}

void TF_MAIN::build_status_bar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("statusbar"));
    bar->setSizeGripEnabled(false);
    QLabel *message = status_label(QStringLiteral("메세지..."), "status_message");
    message->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    bar->addWidget(message, 3);
    QLabel *person = status_label(QStringLiteral("담  당  자"), "status_person");
    person->setFrameStyle(QFrame::Panel | QFrame::Raised);
    bar->addWidget(person, 1);
    bar->addWidget(status_label(QString(), "status_person_value"), 2);
    QLabel *company = status_label(QStringLiteral("상     호"), "status_company");
    company->setFrameStyle(QFrame::Panel | QFrame::Raised);
    bar->addWidget(company, 1);
    bar->addWidget(status_label(QString(), "status_company_value"), 2);
    QLabel *maker = status_label(QStringLiteral("VELDARO 레미콘출하 V.1"), "status_maker");
    maker->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    bar->addWidget(maker, 2);
}

// Which window each menu entry and button opens, and the refresh after it.
void TF_MAIN::wire_windows()
{
    navigation->wire(navigation->comm_menu, [this](QWidget *parent) {
        return std::make_unique<TF_COMM>(*ctx_.dbm, *ctx_.prompter, parent);
    });
    navigation->wire(navigation->N9, [this](QWidget *parent) {
        return std::make_unique<TF_OPTION>(*ctx_.dbm, *ctx_.prompter, parent);
    });
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
    place_trip_list();
    if (shown_)
        return;
    shown_ = true;
    // After the show has finished, so that the login runs over a console
    // that is on the screen.
    QTimer::singleShot(0, this, &TF_MAIN::FormShow);
}

void TF_MAIN::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    place_trip_list();
}

void TF_MAIN::place_trip_list()
{
    QTableWidget *list = vehicles->RGrid;
    const int w = qMin(Panel6->width() / 2, list->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 64);
    list->setGeometry(Panel6->width() - w, Panel7->y(), w, Panel7->height());
    list->raise();
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
    {
        const QSignalBlocker quiet(ilja_combo);
        ilja_combo->setDate(ctx_.clock->today());
    }
    vehicles->RGrid->hide();
    board_date_ = stored::date(ctx_.clock->today());
    guarded(*ctx_.prompter, this, [this] {
        // Opens the connection when the login window was closed without logging in.
        ctx_.dbm->connect_database();
        load_orders(board_date_, QStringLiteral("YES"));
        recount_all_vehicles(board_date_);
        load_vehicles(QStringLiteral("YES"));
        load_shipments(board_date_, orders->current_seq());
    });
    orders->suju_grid->setFocus();
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

void TF_MAIN::ilja_comboChange()
{
    board_date_ = ilja_combo->text_date();
    guarded(*ctx_.prompter, this, [this] {
        load_orders(board_date_, QStringLiteral("YES"));
        recount_all_vehicles(board_date_);
        load_vehicles(QStringLiteral("YES"));
        if (list_page->currentWidget() == cholha_tab)
            load_shipments(board_date_, orders->current_seq());
    });
    orders->suju_grid->setFocus();
}

void TF_MAIN::suju_gridDblClick()
{
    if (!comm_switch->isChecked())
        ctx_.prompter->information(this, link_off_message);
}

void TF_MAIN::car_gridSendToSlot()
{
    if (!comm_switch->isChecked())
        ctx_.prompter->information(this, link_off_message);
}

void TF_MAIN::load_orders(const QString &date, const QString &state)
{
    orders->load_orders(date, state);
}

void TF_MAIN::load_shipments(const QString &date, const QString &seq)
{
    orders->load_shipments(date, seq);
}

void TF_MAIN::find_order(const QString &date, const QString &seq)
{
    orders->find_order(date, seq);
}

void TF_MAIN::load_vehicles(const QString &state)
{
    vehicles->load_vehicles(state);
}

void TF_MAIN::recount_vehicle(const QString &date, const QString &vehicle_code, const QString &site_name)
{
    vehicles->recount_vehicle(date, vehicle_code, site_name);
}

void TF_MAIN::recount_all_vehicles(const QString &date)
{
    vehicles->recount_all_vehicles(date);
}

void TF_MAIN::show_vehicle_trips(const QString &vehicle_code)
{
    vehicles->show_vehicle_trips(vehicle_code);
}
