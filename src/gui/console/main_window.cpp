#include "gui/console/main_window.h"
#include "core/data/change_log.h"
#include "core/masterdata/lookup_db.h"
#include "core/data/schema.h"
#include "gui/data/comm_dialog.h"
#include "core/data/data_module.h"
#include "gui/data/login_window.h"
#include "gui/data/option_dialog.h"
#include "gui/framework/board_grid.h"
#include "gui/console/navigation.h"
#include "gui/console/order_board.h"
#include "gui/console/vehicle_board.h"
#include "gui/masterdata/code_lookup.h"
#include "gui/masterdata/customer_window.h"
#include "gui/masterdata/site_window.h"
#include "gui/masterdata/spec_window.h"
#include "gui/masterdata/vehicle_window.h"
#include "gui/orders/suju_window.h"
#include "core/framework/clock.h"
#include "core/framework/database.h"
#include "gui/framework/date_box.h"
#include "core/framework/record_table_model.h"
#include "core/framework/guarded.h"
#include "core/framework/prompter.h"
#include "core/framework/record_table_model.h"
#include "gui/framework/running_clock.h"
#include "core/framework/stored_text.h"
#include "gui/framework/two_state_switch.h"
#include "core/framework/serial_line.h"
#include "core/plantlink/load_recorder.h"
#include "core/plantlink/recording_thread.h"
#include "core/plantlink/plant_link.h"
#include "gui/console/reservation_desk.h"
#include "core/plantlink/reservation_slots.h"
#include "core/plantlink/shipment_recording.h"
#include "gui/plantlink/ticket_report.h"
#include "core/plantlink/ticket_reprint.h"
#include "gui/shipments/hand_ticket.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QSqlRecord>
#include <QThread>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

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
    desk = new ReservationDesk(ctx_, *orders, *vehicles, this);
    dam_edit = orders->dam_edit;
    // Whatever a window opened from here changes on this connection is the
    // operator's of the moment.
    // The data module may come only after the console (the login makes it).
    connect(dam_edit, &QLineEdit::textChanged, this, [this](const QString &name) {
        if (ctx_.dbm)
            change_log::set_author(ctx_.dbm->db(), {name, ChangeAuthor::this_station()});
    });
    if (ctx_.dbm)
        change_log::set_author(ctx_.dbm->db(), {dam_edit->text(), ChangeAuthor::this_station()});
    display_lab1 = desk->display_lab1;
    display_lab2 = desk->display_lab2;
    yusa_chk = desk->yusa_chk;
    autosend_chk = desk->autosend_chk;
    moltal_btn = desk->moltal_btn;
    for (int u = 0; u < 2; ++u) {
        // Tests hand in lines of their own; otherwise the real serial ports.
        SerialLine *line = ctx_.serial_lines[u] ? ctx_.serial_lines[u] : new SerialPortLine(this);
        line->setObjectName(QStringLiteral("MSComm%1").arg(u + 1));
        comm_lines_[u] = line;
    }

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
    link = new PlantLink(*desk->slot_model, *comm_lines_[0], *comm_lines_[1], [this] { return ctx_.dbm->settings; },
                         *ctx_.prompter, *this, this, this);
    desk->set_link(link);
    vehicles->send_to_slot = [this] { desk->fill_from_vehicle_board(); };
    connect(orders, &OrderBoard::suju_gridDblClick, desk, &ReservationDesk::fill_from_order_board);
    connect(comm_switch, &QAbstractButton::clicked, this, &TF_MAIN::comm_switchClick);
    connect(send_btn, &QPushButton::clicked, this, [this] { link->send_frame(desk->selected_unit()); });
    // The console sees F1 and F2 before its controls.
    for (int unit = 1; unit <= 2; ++unit) {
        auto *key = new QShortcut(unit == 1 ? Qt::Key_F1 : Qt::Key_F2, this);
        key->setContext(Qt::WindowShortcut);
        connect(key, &QShortcut::activated, this, [this, unit] { desk->go_to_free_slot(unit); });
    }
    orders->suju_grid->addAction(navigation->N6);
    connect(ilja_combo, &QDateEdit::dateChanged, this, &TF_MAIN::ilja_comboChange);

    wire_windows();
    wire_lookups();
    FormCreate();
}

TF_MAIN::~TF_MAIN()
{
    if (ctx_.console == this)
        ctx_.console = nullptr;
    if (file_check_)
        file_check_->wait();
}

// The file's integrity check reads all of it: on a thread and a connection
// of its own, said on the status bar when it is done.
void TF_MAIN::check_database_file()
{
    if (file_check_ || ctx_.dbm->db().is_postgres())
        return;
    file_check_ = QThread::create([this, name = ctx_.dbm->db().connection_name()] {
        const QString problem = schema::file_problem_on_own_connection(name);
        if (problem.isEmpty())
            return;
        QMetaObject::invokeMethod(this, [this, problem] {
            database_problem_ = database_problem_.isEmpty() ? problem : database_problem_ + QStringLiteral(" / ") + problem;
            show_waiting_loads(load_recorder().waiting());
        }, Qt::QueuedConnection);
    });
    file_check_->setParent(this);
    file_check_->start();
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

    auto *checks = new QVBoxLayout;
    checks->setSpacing(1);
    checks->addWidget(orders->makam_chk);
    checks->addWidget(desk->yusa_chk);
    checks->addWidget(desk->autosend_chk);
    row->addLayout(checks);

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
    send_btn->setAutoDefault(false);
    send_btn->setFocusPolicy(Qt::NoFocus);
    buttons->addWidget(desk->moltal_btn);
    buttons->addWidget(send_btn);
    auto *print_row = new QHBoxLayout;
    print_row->addWidget(prn_sel);
    print_row->addWidget(Edit1);
    buttons->addLayout(print_row);
    row->addLayout(buttons);
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
    auto *units = new QHBoxLayout(Panel7);
    units->setContentsMargins(2, 2, 2, 2);
    units->setSpacing(4);
    units->addWidget(desk->Panel10, 1);
    units->addWidget(desk->Panel23, 1);

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
    auto *chol_title = panel("cholha_title", QFrame::StyledPanel);
    chol_title->setStyleSheet(QStringLiteral("QFrame#cholha_title { background: #24466e; }"));
    reprint_btn = new QPushButton(QStringLiteral("송 장 재 발 행"));
    reprint_btn->setObjectName(QStringLiteral("reprint_btn"));
    reprint_btn->setAutoDefault(false);
    reprint_btn->setFocusPolicy(Qt::NoFocus);
    auto *chol_bar = new QHBoxLayout(chol_title);
    chol_bar->setContentsMargins(8, 2, 4, 2);
    auto *chol_caption = new QLabel(QStringLiteral("출 하 내 역"));
    chol_caption->setStyleSheet(QStringLiteral("color: white; font-weight: bold;"));
    chol_bar->addWidget(chol_caption);
    chol_bar->addStretch();
    chol_bar->addWidget(reprint_btn);
    chol_col->addWidget(chol_title);
    chol_col->addWidget(orders->cholha_grid);
    connect(reprint_btn, &QPushButton::clicked, this, &TF_MAIN::reprint_btnClick);
    list_page->addTab(car_tab, QStringLiteral("대기차량"));
    list_page->addTab(cholha_tab, QStringLiteral("출하내역"));
    col->addWidget(list_page, 1);
    col->addWidget(desk->yusa_pan1);
    col->addWidget(desk->yusa_pan2);
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
    journal_lab = status_label(QString(), "journal_lab");
    journal_lab->setStyleSheet(QStringLiteral("color: white; background: #b00020; font-weight: bold; padding: 1px 6px;"));
    journal_lab->hide();
    bar->addWidget(journal_lab, 3);
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
    navigation->wire(navigation->N1, [this](QWidget *parent) { return std::make_unique<TF_CUSTOMER>(ctx_, parent); });
    navigation->wire(navigation->N2, [this](QWidget *parent) { return std::make_unique<TF_HYUNJANG>(ctx_, parent); });
    navigation->wire(navigation->N3, [this](QWidget *parent) { return std::make_unique<TF_RULE>(ctx_, parent); });
    const auto vehicles_window = [this](QWidget *parent) { return std::make_unique<TF_CAR>(ctx_, parent); };
    const auto recount = [this] { recount_all_vehicles(board_date_); };
    navigation->wire(navigation->N4, vehicles_window, recount);
    navigation->wire(navigation->car_btn, vehicles_window, recount);
    navigation->wire(navigation->suju_btn, [this](QWidget *parent) { return std::make_unique<TF_SUJU>(ctx_, parent); },
                     [this] { load_orders(board_date_, QStringLiteral("YES")); });
    // The hand ticket is a long-lived window: shown, never destroyed.
    navigation->E1->setEnabled(true);
    connect(navigation->E1, &QAction::triggered, this, [this] { open_hand_ticket(false); });
    navigation->N6->setEnabled(true);
    connect(navigation->N6, &QAction::triggered, this, [this] { open_hand_ticket(true); });
}

// "[&E] 수 기 송 장" shows the window as it is; the order grid's "수기송장"
// fills it from the order at the cursor first.
void TF_MAIN::open_hand_ticket(bool from_order)
{
    if (!ctx_.handprint)
        return;
    if (!from_order) {
        ctx_.handprint->exec();
        return;
    }
    const QSqlRecord order = orders->suju_query->rows().value(orders->suju_grid->cursor_row());
    ctx_.handprint->fill_hand_ticket(order, board_date_, operator_name());
}

// The ticket of the load at the shipments tab's cursor, as it would print
// now: the order's texts and the operator of the moment.
void TF_MAIN::reprint_btnClick()
{
    const int row = orders->cholha_grid->cursor_row();
    if (row < 0 || row >= orders->cholha_query->rowCount()) {
        ctx_.prompter->information(this, QStringLiteral("재발행할 출하내역이 없습니다. (송장 인쇄 안 됨)"));
        return;
    }
    const QSqlRecord load = orders->cholha_query->rows().at(row);
    shipment_recording::Recorded recorded;
    if (!guarded(*ctx_.prompter, this, [&] { recorded = ticket_reprint::read(ctx_.dbm->db(), load); }))
        return;
    shipment_recording::fill_ticket(ctx_.dbm->ticket_data, recorded, load.value(QStringLiteral("o_fdate")).toString(),
                                    load.value(QStringLiteral("o_scode")).toString(), operator_name());
    ctx_.dbm->ticket_data.origin.path = QStringLiteral("reprint");
    ctx_.dbm->ticket_data.origin.trip = load.value(QStringLiteral("o_count")).toString();
    if (prn_sel->currentText() != QStringLiteral("자동인쇄")) {
        ctx_.prompter->information(this, QStringLiteral("\"수동인쇄\" 상태이므로 송장을 인쇄하지 않았습니다. "
                                                        "인쇄하려면 \"자동인쇄\"로 바꾸고 다시 재발행하십시오."));
        return;
    }
    if (ctx_.qr_songjang)
        ctx_.qr_songjang->print_ticket();
}

// The vehicle lookups of the reservation slots and of the recording.
void TF_MAIN::wire_lookups()
{
    desk->choose_vehicle = [this](const QString &text) -> std::optional<std::pair<QString, QString>> {
        ctx_.lookup->lookup_code = text;
        if (!lookup_or_pick(ctx_, lookup_kinds::vehicles, this, wide_list_area(this)))
            return std::nullopt;
        return std::make_pair(ctx_.lookup->lookup_attr, ctx_.lookup->lookup_code);
    };
}

// Runs before the data module exists: touches no database.
void TF_MAIN::FormCreate()
{
    for (int unit = 1; unit <= 2; ++unit)
        desk->show_unit_status(unit, QStringLiteral("대기중"), Qt::black);
    comm_switch->set_state_texts(QStringLiteral("통신ON"), QStringLiteral("통신OFF"));
    comm_switch->set_state_colors(QColor(0, 150, 0), Qt::red);
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
        change_log::set_author(ctx_.dbm->db(), {dam_edit->text(), ChangeAuthor::this_station()});
        load_orders(board_date_, QStringLiteral("YES"));
        recount_all_vehicles(board_date_);
        load_vehicles(QStringLiteral("YES"));
        load_shipments(board_date_, orders->current_seq());
    });
    // Loads left in the outage journal by the last run go in now.
    if (ctx_.dbm->db().is_open()) {
        // A database without its tables or with a damaged file keeps loads
        // in the journal; the status bar says why until it is mended.
        guarded(*ctx_.prompter, this, [this] { database_problem_ = schema::missing_tables_problem(ctx_.dbm->db()); });
        check_database_file();
        guarded(*ctx_.prompter, this, [this] { ks_marks_ = shipment_recording::ks_marks(ctx_.dbm->db()); });
        recording().replay();
    }
    show_waiting_loads(load_recorder().waiting());
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
    // Every box that closes activates the console again: not a statement
    // to wait out each time while the database is away.
    if (!ctx_.dbm || !ctx_.dbm->db().is_open() || database_away())
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

void TF_MAIN::comm_switchClick()
{
    if (comm_switch->isChecked())
        link->switch_on();
    else
        link->switch_off();
}

int TF_MAIN::selected_unit() const
{
    return desk->selected_unit();
}

bool TF_MAIN::yusa_mode() const
{
    return desk->yusa_mode();
}

void TF_MAIN::show_unit_status(int unit, const QString &text, const QColor &background)
{
    desk->show_unit_status(unit, text, background);
}

void TF_MAIN::show_received(const QString &text)
{
    Edit1->setText(text);
}

void TF_MAIN::show_link_state(bool on)
{
    const QSignalBlocker quiet(comm_switch);
    comm_switch->setChecked(on);
    navigation->comm_menu->setEnabled(!on);
    send_btn->setEnabled(on);
}

void TF_MAIN::sweep_send_indicator(int unit, const std::function<void()> &done)
{
    desk->sweep_send_indicator(unit, done);
}

RecordingThread &TF_MAIN::recording()
{
    if (!recording_) {
        const QString path = ctx_.outage_journal.isEmpty() ? OutageJournal::default_path() : ctx_.outage_journal;
        recording_ = new RecordingThread(ctx_.dbm->db(), path, this);
        LoadRecorder *recorder = &recording_->recorder();
        connect(recorder, &LoadRecorder::said, this, [this](const QString &text) { link->messages().error(this, text); });
        connect(recorder, &LoadRecorder::waiting_changed, this, &TF_MAIN::show_waiting_loads);
        connect(recorder, &LoadRecorder::load_done, this, &TF_MAIN::load_done);
        connect(recorder, &LoadRecorder::replayed, this, [this] {
            // Loads went in: whatever kept them out is mended.
            database_problem_.clear();
            show_waiting_loads(load_recorder().waiting());
            reload_boards();
        });
        connect(recorder, &LoadRecorder::database_back, this, &TF_MAIN::reload_boards);
    }
    return *recording_;
}

void TF_MAIN::reload_boards()
{
    guarded(link->messages(), this, [this] {
        load_orders(board_date_, QStringLiteral("YES"));
        load_vehicles(QStringLiteral("YES"));
    });
    // An open shipment editor follows.
    Q_EMIT load_notices_.load_recorded();
}

bool TF_MAIN::database_away()
{
    if (!Database::seems_away())
        return false;
    // The recording thread finds out when it is back; the boards follow.
    recording().replay();
    return true;
}

LoadRecorder &TF_MAIN::load_recorder()
{
    return recording().recorder();
}

void TF_MAIN::show_waiting_loads(int loads)
{
    QStringList text;
    if (!database_problem_.isEmpty())
        text << database_problem_;
    if (loads > 0)
        text << QStringLiteral("데이터베이스 연결 대기: 기록 안 된 출하 %1건").arg(loads);
    if (const int held = recording_ ? load_recorder().held_in_memory() : 0; held > 0)
        text << QStringLiteral("출하 대기 파일에 쓰지 못한 %1건은 메모리에만 있습니다: 프로그램을 끄지 마십시오").arg(held);
    journal_lab->setText(text.join(QStringLiteral(" / ")));
    journal_lab->setVisible(!text.isEmpty());
}

// What the console knows of the load's order and truck, for a ticket
// printed while the database cannot be reached.
shipment_recording::Known TF_MAIN::known_of(const shipment_recording::Input &in) const
{
    shipment_recording::Known k;
    const RecordTableModel &board = *orders->suju_query;
    if (in.board_date == board_date_) {
        for (int row = 0; row < board.rowCount(); ++row) {
            if (board.text(row, QStringLiteral("seq")) != in.order_no)
                continue;
            k.order_found = true;
            k.shipped = number_or_zero(board.value(row, QStringLiteral("v_outorder")));
            k.trips = static_cast<int>(number_or_zero(board.value(row, QStringLiteral("v_ccount"))));
            k.v_rule = board.text(row, QStringLiteral("v_rule"));
            k.v_inout = board.text(row, QStringLiteral("v_inout"));
            k.v_station = board.text(row, QStringLiteral("v_station"));
            k.cement = board.text(row, QStringLiteral("cement"));
            k.japum = board.text(row, QStringLiteral("japum"));
            k.v_hon = board.text(row, QStringLiteral("v_hon"));
            break;
        }
    }
    const RecordTableModel &trucks = *vehicles->car_query;
    k.driver = drivers_.value(in.vehicle_code);
    for (int row = 0; row < trucks.rowCount(); ++row)
        if (trucks.text(row, QStringLiteral("code")) == in.vehicle_code)
            k.driver = trucks.text(row, QStringLiteral("name"));
    k.ks_mark = ks_marks_.value(in.product_code);
    return k;
}

// The first weighing report of the load in the unit's slot 1.  Runs while
// the link handles a report: every failure goes through `messages`.
QDateTime TF_MAIN::now() const
{
    return ctx_.clock->now();
}

// Only journalled here: the recorder writes it on its own thread and says
// what became of it in load_done().
bool TF_MAIN::record_shipment(int unit, Prompter &messages, const QDateTime &reported_at)
{
    shipment_recording::Input in = shipment_recording::input_from_slots(
        *desk->slot_model, unit, board_date_, reported_at.date(), reported_at.time());
    in.author = {operator_name(), ChangeAuthor::this_station()};
    QString id;
    if (!guarded(messages, this, [&] { id = recording().submit(in); }))
        return false;
    submitted_.insert(id, Submitted{unit, in});
    return true;
}

void TF_MAIN::load_done(const LoadRecorder::Result &result)
{
    using Slots = ReservationSlots;
    const auto found = submitted_.constFind(result.load_id);
    if (found == submitted_.cend())
        return;  // a load of the journal: the replay reloads the boards
    const Submitted load = *found;
    submitted_.erase(found);
    if (result.kind == LoadRecorder::Result::Refused)
        return;  // set aside and said: no order to print a ticket of
    const shipment_recording::Input &in = load.input;
    Prompter &messages = link->messages();
    shipment_recording::Recorded recorded;
    if (result.kind == LoadRecorder::Result::Written) {
        if (!result.recorded)
            return;  // written before by another program: its ticket is out
        recorded = *result.recorded;
        ks_marks_.insert(in.product_code, recorded.ks_mark);
        drivers_.insert(recorded.vehicle_code, recorded.driver);
        // The truck as the database has it, while the load is still in the slot.
        const int row = Slots::row_of(load.unit, 1);
        if (desk->slot_model->field(load.unit, 1, Slots::OrderNo) == in.order_no
            && desk->slot_model->field(load.unit, 1, Slots::VehicleNo) == in.vehicle_no) {
            desk->slot_model->set_field(row, Slots::VehicleNo, recorded.vehicle_no);
            desk->slot_model->set_field(row, Slots::VehicleCode, recorded.vehicle_code);
        }
        // The shipment is committed: what follows only shows and prints it.
        reload_boards();
    } else {
        // It waits in the journal: the ticket from what the console knows.
        shipment_recording::Known known = known_of(in);
        std::tie(known.waiting_loads, known.waiting_sum) = load_recorder().waiting_before(result.load_id);
        if (!guarded(messages, this, [&] { recorded = shipment_recording::estimate(in, known); }))
            return;
    }
    shipment_recording::fill_ticket(ctx_.dbm->ticket_data, recorded, board_date_, in.order_no, dam_edit->text());
    if (prn_sel->currentText() == QStringLiteral("자동인쇄") && ctx_.qr_songjang
        && ctx_.qr_songjang->print_ticket(messages) && result.kind == LoadRecorder::Result::Waiting)
        load_recorder().mark_provisional(result.load_id, recorded.trip_no, recorded.cumulative);
}

QString TF_MAIN::operator_name() const
{
    return dam_edit->text();
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
