#include "gui/shipments/shipment_editor.h"
#include "gui/shipments/hand_ticket.h"
#include "gui/data/app_context.h"
#include "core/data/data_module.h"
#include "gui/framework/board_grid.h"
#include "gui/data/console_ops.h"
#include "core/orders/order_queries.h"
#include "core/framework/clock.h"
#include "gui/framework/date_box.h"
#include "gui/framework/grid_export.h"
#include "core/framework/guarded.h"
#include "core/framework/number_text.h"
#include "core/framework/prompter.h"
#include "core/framework/record_table_model.h"
#include "gui/framework/running_clock.h"
#include "core/framework/stored_text.h"
#include "gui/framework/time_box.h"
#include "gui/masterdata/code_lookup.h"
#include "gui/masterdata/field_keys.h"
#include "gui/masterdata/form_style.h"
#include "core/masterdata/text_pad.h"
#include "gui/plantlink/ticket_report.h"
#include "core/shipments/editor_ticket.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QSplitter>
#include <QVBoxLayout>

using shipment_edit_db::Shipment;
using Col = RecordTableModel::Column;

namespace {
constexpr auto right = Qt::AlignRight | Qt::AlignVCenter;
constexpr auto centre = Qt::AlignCenter;
constexpr auto left = Qt::AlignLeft | Qt::AlignVCenter;

const QString insert_mode = QStringLiteral("insert");
const QString edit_mode_text = QStringLiteral("edit");

QList<Col> order_columns()
{
    return {
        {"SEQ", "순번", centre, {}, false, 4},
        {"v_inout", "거  래  처  명", left, {}, false, 16},
        {"v_station", "현  장  명", left, {}, false, 20},
        {"remi_code", "코드", centre, {}, false, 5},
        {"v_rule", "규   격", centre, Qt::red, true, 10},
        {"ORDER_M3", "예정량", right, {}, false, 6},
        {"v_OUTORDER", "출하량", right, Qt::blue, true, 6},
        {"v_REORDER", "잔  량", right, {}, false, 6},
        {"v_cCOUNT", "횟수", right, {}, false, 4},
        {"TIME_", "시간", centre, {}, false, 5},
        {"memo", "메  모", left, {}, false, 0},
    };
}

QList<Col> shipment_columns()
{
    return {
        {"o_count", "순번", centre, {}, false, 4},
        {"o_otime", "시간", centre, {}, false, 8},
        {"o_ccode", "차량번호", centre, {}, false, 6},
        {"o_outorder", "출하량", right, {}, false, 6},
        {"o_RETURN", "회차", centre, {}, false, 0},
    };
}

QLabel *panel_label(const QString &text)
{
    auto *l = new QLabel(text);
    l->setAlignment(Qt::AlignCenter);
    l->setMinimumWidth(l->fontMetrics().horizontalAdvance(QStringLiteral("작 업 일 자")) + 16);
    l->setStyleSheet(QStringLiteral("color: white; background: black; padding: 3px;"));
    return l;
}

QFrame *black_head(const char *name, const QString &caption)
{
    auto *head = new QFrame;
    head->setObjectName(QString::fromLatin1(name));
    head->setStyleSheet(QStringLiteral("QFrame#%1 { background: black; } QLabel { color: white; }"
                                       " QCheckBox { color: white; }")
                            .arg(QString::fromLatin1(name)));
    auto *row = new QHBoxLayout(head);
    row->setContentsMargins(8, 3, 8, 3);
    auto *title = new QLabel(caption);
    QFont f = title->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() + 2);
    title->setFont(f);
    row->addWidget(title);
    row->addStretch();
    return head;
}

QLineEdit *number_field(const char *name)
{
    auto *box = new QLineEdit;
    box->setObjectName(QString::fromLatin1(name));
    box->setAlignment(Qt::AlignRight);
    box->setFixedWidth(80);
    box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,4}(\\.\\d{0,2})?")), box));
    return box;
}

double number_of(const QLineEdit *box)
{
    return box->text().toDouble();
}
}

TF_CHOLHAEDIT::TF_CHOLHAEDIT(AppContext &ctx, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                          | Qt::WindowMaximizeButtonHint),
      ctx_(ctx), keys_(new FieldKeys(*ctx.prompter, this))
{
    setObjectName(QStringLiteral("F_CHOLHAEDIT"));
    setWindowTitle(QStringLiteral("수동송장"));
    setFont(QFont(QStringLiteral("굴림"), 10));
    build();
    setWindowState(windowState() | Qt::WindowMaximized);
    if (LoadNotices *notices = ctx_.console ? ctx_.console->load_notices() : nullptr)
        connect(notices, &LoadNotices::load_recorded, this, &TF_CHOLHAEDIT::follow_recording);
}

TF_CHOLHAEDIT::~TF_CHOLHAEDIT() = default;

void TF_CHOLHAEDIT::build()
{
    auto *title = new QFrame;
    title->setObjectName(QStringLiteral("Panel1"));
    title->setStyleSheet(QStringLiteral("QFrame#Panel1 { background: navy; border: 1px solid black; }"
                                        " QLabel { color: white; }"));
    auto *title_row = new QHBoxLayout(title);
    title_row->setContentsMargins(12, 4, 12, 4);
    title_pan = new QLabel(QStringLiteral("출   하   수   동   송   장"));
    title_pan->setObjectName(QStringLiteral("title_pan"));
    QFont big(QStringLiteral("굴림"), 16);
    big.setBold(true);
    title_pan->setFont(big);
    time_edit = new RunningClock;
    time_edit->setObjectName(QStringLiteral("time_edit"));
    time_edit->set_clock(ctx_.clock);
    QFont clock_font(QStringLiteral("굴림"), 12);
    clock_font.setBold(true);
    time_edit->setFont(clock_font);
    title_row->addStretch();
    title_row->addWidget(title_pan);
    title_row->addStretch();
    title_row->addWidget(time_edit);

    auto *bar = new QHBoxLayout;
    bar->setSpacing(4);
    new_btn = add_bar_button(bar, "new_btn", "&A.등록");
    edt_btn = add_bar_button(bar, "edt_btn", "&E.수정");
    del_btn = add_bar_button(bar, "del_btn", "&D.삭제");
    can_btn = add_bar_button(bar, "can_btn", "&C.취소");
    sav_btn = add_bar_button(bar, "sav_btn", "&S.저장");
    hlp_btn = add_bar_button(bar, "hlp_btn", "&H.도움");
    prn_btn = add_bar_button(bar, "prn_btn", "&P.송 장 발 행");
    songjang_chk = new QCheckBox(QStringLiteral("송장연속출력"));
    songjang_chk->setObjectName(QStringLiteral("songjang_chk"));
    bar->addWidget(songjang_chk);
    cls_btn = add_bar_button(bar, "cls_btn", "&Z.닫기");
    for (QPushButton *b : {new_btn, edt_btn, del_btn, can_btn, sav_btn, hlp_btn, prn_btn, cls_btn})
        b->setAutoDefault(false);

    auto *top = new QHBoxLayout;
    top->addWidget(build_details(), 0);
    Pnl_Print = build_print_panel();
    top->addWidget(Pnl_Print, 0, Qt::AlignTop);
    top->addStretch(1);

    auto *body = new QVBoxLayout(this);
    body->setContentsMargins(4, 4, 4, 4);
    body->setSpacing(4);
    body->addWidget(title);
    body->addLayout(bar);
    body->addLayout(top);
    body->addWidget(build_grids(), 1);

    connect(new_btn, &QPushButton::clicked, this, &TF_CHOLHAEDIT::new_btnClick);
    connect(edt_btn, &QPushButton::clicked, this, &TF_CHOLHAEDIT::edt_btnClick);
    connect(del_btn, &QPushButton::clicked, this, &TF_CHOLHAEDIT::del_btnClick);
    connect(can_btn, &QPushButton::clicked, this, &TF_CHOLHAEDIT::can_btnClick);
    connect(sav_btn, &QPushButton::clicked, this, &TF_CHOLHAEDIT::sav_btnClick);
    connect(prn_btn, &QPushButton::clicked, this, &TF_CHOLHAEDIT::prn_btnClick);
    connect(cls_btn, &QPushButton::clicked, this, &QDialog::close);
    connect(songjang_chk, &QCheckBox::clicked, this, &TF_CHOLHAEDIT::songjang_chkClick);
    connect(makam_chk, &QCheckBox::clicked, this, &TF_CHOLHAEDIT::makam_chkClick);
    connect(makam_btn, &QPushButton::clicked, this, &TF_CHOLHAEDIT::makam_btnClick);
    ask_export_path = [this](const QString &proposed) { return grid_export::ask_path(this, proposed); };
    connect(suju_excel_btn, &QPushButton::clicked, this,
            [this] { export_grid(QStringLiteral("출하예정"), suju_grid, suju_query); });
    connect(cholha_excel_btn, &QPushButton::clicked, this,
            [this] { export_grid(QStringLiteral("출하내역"), cholha_grid, cholha_query); });
    connect(Btn_Ok, &QPushButton::clicked, this, &TF_CHOLHAEDIT::Btn_OkClick);
    connect(Btn_Cancel, &QPushButton::clicked, this, &TF_CHOLHAEDIT::Btn_CancelClick);
    connect(ilja_combo, &QDateEdit::dateChanged, this, &TF_CHOLHAEDIT::ilja_comboChange);
    connect(suju_grid, &QAbstractItemView::clicked, this, [this] { pick_order(true); });
    connect(suju_grid, &BoardGrid::cursor_key_released, this,
            [this](int key) { pick_order(key != Qt::Key_Return && key != Qt::Key_Enter); });
    connect(cholha_grid, &QAbstractItemView::clicked, this, &TF_CHOLHAEDIT::show_current_shipment);
    connect(cholha_grid, &BoardGrid::cursor_key_released, this, [this](int key) {
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            show_current_shipment();
    });
    // The long-lived hand ticket, filled from the order at the cursor.
    if (ctx_.handprint)
        open_hand_ticket = [this](const QString &date, const QString &) {
            ctx_.handprint->fill_hand_ticket(suju_query->rows().value(suju_grid->cursor_row()), date,
                                             dam_edit->text());
        };
    connect(N6, &QAction::triggered, this, [this] {
        if (open_hand_ticket)
            open_hand_ticket(working_date_, current_seq());
    });
}

QWidget *TF_CHOLHAEDIT::build_details()
{
    auto *panel = make_entry_panel();
    auto *grid = new QGridLayout(panel);
    grid->setContentsMargins(10, 8, 10, 8);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(5);

    ilja_combo = new DateBox;
    ilja_combo->setObjectName(QStringLiteral("ilja_combo"));
    // The working date as the console shows its day.
    ilja_combo->setLocale(QLocale(QLocale::Korean, QLocale::SouthKorea));
    ilja_combo->setDisplayFormat(QStringLiteral("yyyy년 M월 d일 dddd"));
    dam_edit = make_text_box("dam_edit", 10, 110);
    hy01 = new DateBox;
    hy01->setObjectName(QStringLiteral("hy01"));
    hy02 = new TimeBox(TimeBox::Form::HoursMinutesSeconds);
    hy02->setObjectName(QStringLiteral("hy02"));
    hy02->setFixedWidth(90);
    hy03 = number_field("hy03");
    hy04 = number_field("hy04");
    hy05 = make_text_box("hy05", 10, 80);
    hy06 = make_text_box("hy06", 3, 60);
    hy07 = make_text_box("hy07", 30, 230);
    hy08 = make_text_box("hy08", 40, 230);
    hy09 = make_text_box("hy09", 10, 110);
    hy10 = make_text_box("hy10", 9, 110);
    hy11 = new QComboBox;
    hy11->setObjectName(QStringLiteral("hy11"));
    hy11->addItems({QStringLiteral("**"), QStringLiteral("회차")});
    hy12 = make_text_box("hy12", 1, 40);
    hy12->setText(QStringLiteral("1"));
    for (QLineEdit *never : {hy06, hy07, hy08, hy09, hy10}) {
        never->setReadOnly(true);
        never->setFocusPolicy(Qt::NoFocus);
        QPalette shown = never->palette();
        shown.setColor(QPalette::Base, QColor(0xf0, 0xf0, 0xd8));
        never->setPalette(shown);
    }

    int r = 0;
    grid->addWidget(panel_label(QStringLiteral("작 업 일 자")), r, 0);
    grid->addWidget(ilja_combo, r, 1);
    grid->addWidget(new QLabel(QStringLiteral("출 하 인")), r, 2, Qt::AlignRight);
    grid->addWidget(dam_edit, r, 3);
    ++r;
    grid->addWidget(new QLabel(QStringLiteral("일       자")), r, 0);
    grid->addWidget(hy01, r, 1);
    grid->addWidget(new QLabel(QStringLiteral("거 래 처")), r, 2, Qt::AlignRight);
    grid->addWidget(hy07, r, 3);
    ++r;
    grid->addWidget(new QLabel(QStringLiteral("시      간")), r, 0);
    grid->addWidget(hy02, r, 1);
    grid->addWidget(new QLabel(QStringLiteral("현    장")), r, 2, Qt::AlignRight);
    grid->addWidget(hy08, r, 3);
    ++r;
    grid->addWidget(new QLabel(QStringLiteral("출하량")), r, 0);
    grid->addWidget(side_by_side({hy03, new QLabel(QStringLiteral("몰탈")), hy04}), r, 1);
    grid->addWidget(new QLabel(QStringLiteral("규   격")), r, 2, Qt::AlignRight);
    grid->addWidget(hy09, r, 3);
    ++r;
    grid->addWidget(new QLabel(QStringLiteral("차량번호")), r, 0);
    grid->addWidget(side_by_side({hy05, hy10}), r, 1);
    grid->addWidget(new QLabel(QStringLiteral("순  번")), r, 2, Qt::AlignRight);
    grid->addWidget(side_by_side({hy06, new QLabel(QStringLiteral("호기")), hy12,
                                  new QLabel(QStringLiteral("회  차")), hy11}),
                    r, 3);

    for (QWidget *field : QList<QWidget *>{hy01, hy02, hy03, hy04, hy05, hy12, hy11})
        keys_->add(field);
    keys_->on_enter(hy05, [this] { vehicle_enter(); });
    keys_->on_enter(hy12, [this] { unit_enter(); });
    keys_->on_enter(hy11, [this] { sav_btn->setFocus(); });
    hy05->installEventFilter(this);
    return panel;
}

QFrame *TF_CHOLHAEDIT::build_print_panel()
{
    auto *panel = new QFrame;
    panel->setObjectName(QStringLiteral("Pnl_Print"));
    panel->setStyleSheet(QStringLiteral("QFrame#Pnl_Print { background: #c00000; border: 2px outset #e06060; }"
                                        " QLabel { color: white; }"));
    auto *grid = new QGridLayout(panel);
    grid->setContentsMargins(10, 8, 10, 8);
    auto *caption = new QLabel(QStringLiteral("송  장  연  속  출  력"));
    QFont f = caption->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() + 2);
    caption->setFont(f);
    caption->setAlignment(Qt::AlignCenter);
    Edt_Sujuno = make_text_box("Edt_Sujuno", 2, 50);
    first_seq_edit = make_text_box("first_seq_edit", 3, 60);
    last_seq_edit = make_text_box("last_seq_edit", 3, 60);
    Btn_Ok = new QPushButton(QStringLiteral("출   력"));
    Btn_Ok->setObjectName(QStringLiteral("Btn_Ok"));
    Btn_Cancel = new QPushButton(QStringLiteral("닫   기"));
    Btn_Cancel->setObjectName(QStringLiteral("Btn_Cancel"));
    for (QPushButton *b : {Btn_Ok, Btn_Cancel})
        b->setAutoDefault(false);
    grid->addWidget(caption, 0, 0, 1, 5);
    grid->addWidget(new QLabel(QStringLiteral("출하예정순번")), 1, 0);
    grid->addWidget(Edt_Sujuno, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("출 하   순 번")), 2, 0);
    grid->addWidget(first_seq_edit, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("부터")), 2, 2);
    grid->addWidget(last_seq_edit, 2, 3);
    grid->addWidget(new QLabel(QStringLiteral("까지")), 2, 4);
    grid->addWidget(side_by_side({Btn_Ok, Btn_Cancel}), 3, 0, 1, 5);
    panel->hide();

    auto *print_keys = new FieldKeys(*ctx_.prompter, panel);
    for (QLineEdit *box : {Edt_Sujuno, first_seq_edit, last_seq_edit})
        print_keys->add(box);
    print_keys->on_enter(Edt_Sujuno, [this] { order_no_enter(); });
    print_keys->on_enter(first_seq_edit, [this] { trip_enter(first_seq_edit, last_seq_edit); });
    print_keys->on_enter(last_seq_edit, [this] { trip_enter(last_seq_edit, Btn_Ok); });
    return panel;
}

QWidget *TF_CHOLHAEDIT::build_grids()
{
    auto *splitter = new QSplitter(Qt::Horizontal);
    splitter->setObjectName(QStringLiteral("splitter"));

    auto *left_side = new QWidget;
    auto *lv = new QVBoxLayout(left_side);
    lv->setContentsMargins(0, 0, 0, 0);
    lv->setSpacing(2);
    order_head_pan = black_head("order_head_pan", QStringLiteral("출    하    예    정"));
    makam_chk = new QCheckBox(QStringLiteral("마  감  보  기"));
    makam_chk->setObjectName(QStringLiteral("makam_chk"));
    makam_btn = new QPushButton(QStringLiteral("마 감"));
    makam_btn->setObjectName(QStringLiteral("makam_btn"));
    makam_btn->setAutoDefault(false);
    makam_btn->setMinimumWidth(70);
    suju_excel_btn = new QPushButton(QStringLiteral("엑셀"));
    suju_excel_btn->setObjectName(QStringLiteral("suju_excel_btn"));
    suju_excel_btn->setAutoDefault(false);
    suju_excel_btn->setFocusPolicy(Qt::NoFocus);
    order_head_pan->layout()->addWidget(makam_chk);
    order_head_pan->layout()->addWidget(makam_btn);
    order_head_pan->layout()->addWidget(suju_excel_btn);
    suju_query = new RecordTableModel(order_columns(), this);
    suju_query->setObjectName(QStringLiteral("suju_query"));
    suju_grid = new BoardGrid(QStringLiteral("suju_grid"), suju_query);
    suju_grid->set_background(Qt::white);
    suju_grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    N6 = PopupMenu1->addAction(QStringLiteral("수기송장"));
    N6->setObjectName(QStringLiteral("N6"));
    suju_grid->addAction(N6);

    total_display_bar = new QFrame;
    total_display_bar->setObjectName(QStringLiteral("total_display_bar"));
    auto *totals = new QHBoxLayout(total_display_bar);
    totals->setContentsMargins(0, 0, 0, 0);
    totals->setSpacing(2);
    const QStringList captions{QStringLiteral("수주량"), {}, QStringLiteral("출하량"), {},
                               QStringLiteral("잔  량"), {}, QStringLiteral("횟  수"), {}};
    for (int i = 0; i < captions.size(); ++i) {
        auto *panel = new QLabel(captions[i]);
        panel->setObjectName(QStringLiteral("total_panel%1").arg(i + 1));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setAlignment(i % 2 ? right : centre);
        panel->setMinimumHeight(panel->fontMetrics().height() + 8);
        totals->addWidget(panel, i % 2 ? 3 : 2);
        total_panels << panel;
    }
    lv->addWidget(order_head_pan);
    lv->addWidget(suju_grid, 1);
    lv->addWidget(total_display_bar);

    auto *right_side = new QWidget;
    auto *rv = new QVBoxLayout(right_side);
    rv->setContentsMargins(0, 0, 0, 0);
    rv->setSpacing(2);
    cholha_query = new RecordTableModel(shipment_columns(), this);
    cholha_query->setObjectName(QStringLiteral("cholha_query"));
    cholha_grid = new BoardGrid(QStringLiteral("cholha_grid"), cholha_query);
    QFrame *shipment_head = black_head("shipment_head_pan", QStringLiteral("출   하   내   역"));
    cholha_excel_btn = new QPushButton(QStringLiteral("엑셀"));
    cholha_excel_btn->setObjectName(QStringLiteral("cholha_excel_btn"));
    cholha_excel_btn->setAutoDefault(false);
    cholha_excel_btn->setFocusPolicy(Qt::NoFocus);
    shipment_head->layout()->addWidget(cholha_excel_btn);
    rv->addWidget(shipment_head);
    rv->addWidget(cholha_grid, 1);

    splitter->addWidget(left_side);
    splitter->addWidget(right_side);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({760, 300});
    return splitter;
}

void TF_CHOLHAEDIT::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TF_CHOLHAEDIT::FormShow()
{
    N6->setEnabled(bool(open_hand_ticket));
    {
        const QSignalBlocker quiet(ilja_combo);
        ilja_combo->set_text_date(today());
    }
    working_date_ = today();
    if (ctx_.console)
        dam_edit->setText(ctx_.console->operator_name());
    act([this] {
        load_orders();
        show_day_totals();
        order_seq_ = current_seq();
        order_bookmark_ = order_seq_;
        load_shipments();
    });
    show_current_shipment();
    lock_detail_fields(true);
    set_browse_state(true);
    new_btn->setFocus();
}

bool TF_CHOLHAEDIT::act(const std::function<void()> &action)
{
    return guarded(*ctx_.prompter, this, action);
}

void TF_CHOLHAEDIT::say(const QString &text)
{
    ctx_.prompter->information(this, text);
}

QString TF_CHOLHAEDIT::today() const
{
    return stored::date(ctx_.clock->today());
}

QString TF_CHOLHAEDIT::shown_state() const
{
    return makam_chk->isChecked() ? QStringLiteral("NO") : QStringLiteral("YES");
}

bool TF_CHOLHAEDIT::board_day() const
{
    return ctx_.console && ctx_.console->board_date() == working_date_;
}

QString TF_CHOLHAEDIT::current_seq() const
{
    return suju_query->text(suju_grid->cursor_row(), QStringLiteral("seq"));
}

void TF_CHOLHAEDIT::follow_recording()
{
    // The grids, the totals and the trip number offered follow the plant;
    // the order worked on keeps the cursor, fields being typed stay.
    following_ = true;
    act([this] {
        const std::optional<Shipment> keep = edit_mode_ == edit_mode_text && previous_ ? previous_ : loaded_;
        load_orders(order_seq_);
        show_day_totals();
        load_shipments(keep);
    });
    following_ = false;
    if (sav_btn->isEnabled()) {
        const int row = suju_grid->cursor_row();
        if (edit_mode_ == insert_mode && row >= 0 && current_seq() == order_seq_) {
            const long long trips = static_cast<long long>(number_or_zero(suju_query->value(row, QStringLiteral("v_ccount"))));
            hy06->setText(QStringLiteral("%1").arg(trips + 1, 3, 10, QLatin1Char('0')));
        }
        return;
    }
    show_current_shipment();
}

void TF_CHOLHAEDIT::load_orders(const QString &keep_seq)
{
    QSqlQuery q = orders_db::orders_of_day(ctx_.dbm->db(), working_date_, shown_state());
    suju_query->load(q);
    int row = suju_query->rowCount() > 0 ? 0 : -1;
    for (int i = 0; i < suju_query->rowCount(); ++i)
        if (!keep_seq.isEmpty() && suju_query->text(i, QStringLiteral("seq")) == keep_seq)
            row = i;
    suju_grid->set_cursor_row(row);
    if (ctx_.console && !following_)
        ctx_.console->load_orders(working_date_, shown_state());
}

void TF_CHOLHAEDIT::load_shipments(const std::optional<Shipment> &keep)
{
    const QString seq = current_seq();
    QSqlQuery q = orders_db::shipments_of_order(ctx_.dbm->db(), working_date_, seq);
    cholha_query->load(q);
    int row = cholha_query->rowCount() > 0 ? 0 : -1;
    if (keep) {
        for (int i = 0; i < cholha_query->rowCount(); ++i) {
            const Shipment s = Shipment::from_record(cholha_query->rows().at(i));
            if (s.o_date == keep->o_date && s.o_otime == keep->o_otime && s.o_hogi == keep->o_hogi
                && s.o_carnum == keep->o_carnum)
                row = i;
        }
    }
    cholha_grid->set_cursor_row(row);
    if (ctx_.console && !following_)
        ctx_.console->load_shipments(working_date_, seq);
}

void TF_CHOLHAEDIT::show_day_totals()
{
    const orders_db::DayTotals t = orders_db::day_totals(ctx_.dbm->db(), working_date_);
    total_panels[1]->setText(general_number(t.order_m3));
    total_panels[3]->setText(general_number(t.shipped));
    total_panels[5]->setText(general_number(t.remaining));
    total_panels[7]->setText(QString::number(t.trips));
}

void TF_CHOLHAEDIT::clear_details()
{
    hy01->set_text_date(today());
    hy02->clear_time();
    for (QLineEdit *box : {hy03, hy04, hy05, hy06, hy07, hy08, hy09, hy10})
        box->clear();
    while (hy11->count() > 2)
        hy11->removeItem(2);
    hy11->setCurrentIndex(0);
    hy12->setText(QStringLiteral("1"));
    vehicle_looked_up_.clear();
}

void TF_CHOLHAEDIT::show_current_shipment()
{
    const int order_row = suju_grid->cursor_row();
    const int row = cholha_grid->cursor_row();
    clear_details();
    loaded_.reset();
    if (row >= 0) {
        const Shipment s = Shipment::from_record(cholha_query->rows().at(row));
        hy01->set_text_date(s.o_date);
        hy02->set_time_text(s.o_otime);
        hy03->setText(format_number(s.o_outorder - s.o_moltal, QStringLiteral("0.##")));
        hy04->setText(format_number(s.o_moltal, QStringLiteral("0.##")));
        hy05->setText(s.o_ccode);
        hy06->setText(s.o_count);
        hy10->setText(s.o_carnum);
        // A mark written by other software stays as it is unless changed.
        if (hy11->findText(s.o_return) < 0)
            hy11->addItem(s.o_return);
        hy11->setCurrentIndex(hy11->findText(s.o_return));
        hy12->setText(s.o_hogi);
        vehicle_looked_up_ = s.o_ccode;
        loaded_ = s;
    }
    if (order_row >= 0) {
        hy07->setText(suju_query->text(order_row, QStringLiteral("v_inout")));
        hy08->setText(suju_query->text(order_row, QStringLiteral("v_station")));
        hy09->setText(suju_query->text(order_row, QStringLiteral("v_rule")));
    }
}

void TF_CHOLHAEDIT::pick_order(bool reload_shipments)
{
    if (reload_shipments)
        act([this] { load_shipments(); });
    const QString seq = current_seq();
    if (edit_mode_ != insert_mode) {
        order_seq_ = seq;
        show_current_shipment();
    } else {
        const int row = suju_grid->cursor_row();
        order_seq_ = seq;
        hy01->set_text_date(today());
        hy02->set_time_text(stored::time_hms(ctx_.clock->time()));
        if (row >= 0) {
            const long long trips = static_cast<long long>(number_or_zero(suju_query->value(row, QStringLiteral("v_ccount"))));
            hy06->setText(QStringLiteral("%1").arg(trips + 1, 3, 10, QLatin1Char('0')));
            hy07->setText(suju_query->text(row, QStringLiteral("v_inout")));
            hy08->setText(suju_query->text(row, QStringLiteral("v_station")));
            hy09->setText(suju_query->text(row, QStringLiteral("v_rule")));
        }
        hy01->setFocus();
    }
    order_bookmark_ = seq;
}

void TF_CHOLHAEDIT::lock_detail_fields(bool locked)
{
    for (QWidget *w : QList<QWidget *>{hy01, hy02, hy03, hy04, hy05, hy11, hy12})
        w->setEnabled(!locked);
}

void TF_CHOLHAEDIT::set_browse_state(bool on)
{
    for (QWidget *w : QList<QWidget *>{suju_grid, cholha_grid, new_btn, edt_btn, del_btn})
        w->setEnabled(on);
    // The day and the order list stay put while a shipment is typed.
    for (QWidget *w : QList<QWidget *>{ilja_combo, makam_chk, makam_btn})
        w->setEnabled(on);
    sav_btn->setEnabled(!on);
    can_btn->setEnabled(!on);
}

void TF_CHOLHAEDIT::back_to_browse()
{
    lock_detail_fields(true);
    set_browse_state(true);
    edit_mode_ = edit_mode_text;
}

void TF_CHOLHAEDIT::new_btnClick()
{
    edit_mode_ = insert_mode;
    lock_detail_fields(false);
    clear_details();
    hy02->set_time_text(stored::time_hms(ctx_.clock->time()));
    hy03->setText(QStringLiteral("6"));
    hy04->setText(QStringLiteral("0"));
    loaded_.reset();
    set_browse_state(false);
    suju_grid->setEnabled(true);
    suju_grid->setFocus();
}

void TF_CHOLHAEDIT::edt_btnClick()
{
    if (!loaded_) {
        say(QStringLiteral("수정할 데이타가 없습니다."));
        return;
    }
    lock_detail_fields(false);
    edit_mode_ = edit_mode_text;
    previous_ = loaded_;
    order_seq_ = loaded_->o_scode;
    hy01->setFocus();
    set_browse_state(false);
}

void TF_CHOLHAEDIT::can_btnClick()
{
    show_current_shipment();
    lock_detail_fields(true);
    set_browse_state(true);
    edit_mode_ = edit_mode_text;
    new_btn->setFocus();
}

bool TF_CHOLHAEDIT::details_complete() const
{
    return !hy01->text_date().isEmpty() && hy02->has_time()
        && number_of(hy03) != 0 && !hy05->text().isEmpty() && !hy06->text().isEmpty()
        && !hy07->text().isEmpty() && !hy08->text().isEmpty() && !hy09->text().isEmpty()
        && !hy10->text().isEmpty() && !hy12->text().isEmpty();
}

Shipment TF_CHOLHAEDIT::typed_shipment() const
{
    Shipment s;
    s.o_fdate = working_date_;
    s.o_date = hy01->text_date();
    s.o_otime = hy02->time_text();
    s.o_outorder = number_of(hy03) + number_of(hy04);
    s.o_moltal = number_of(hy04);
    s.o_ccode = hy05->text();
    s.o_count = hy06->text();
    s.o_carnum = hy10->text();
    s.o_scode = order_seq_;
    s.o_return = hy11->currentText();
    s.o_hogi = hy12->text();
    return s;
}

void TF_CHOLHAEDIT::sav_btnClick()
{
    if (!details_complete()) {
        say(QStringLiteral("일자,시간,수량,차량,호기를 등록하시오."));
        return;
    }
    if (hy12->text() != QLatin1String("1") && hy12->text() != QLatin1String("2")) {
        say(QStringLiteral("호기를 등록하시오."));
        hy12->setFocus();
        return;
    }
    // Everything the save needs is taken now: a load recorded while the
    // question is open must not change what is saved or where.
    shipment_edit_db::SaveRequest request;
    request.mode = edit_mode_ == insert_mode ? shipment_edit_db::SaveRequest::Mode::Insert
                                             : shipment_edit_db::SaveRequest::Mode::Edit;
    request.shipment = typed_shipment();
    request.previous = previous_;
    request.site = hy08->text();
    if (request.mode == shipment_edit_db::SaveRequest::Mode::Edit && !previous_) {
        say(QStringLiteral("수정할 데이타가 없습니다."));
        return;
    }

    std::optional<Shipment> occupant;
    if (!act([&] { occupant = shipment_edit_db::occupant(ctx_.dbm->db(), working_date_, request.shipment.o_otime); }))
        return;
    if (occupant) {
        // The operator agrees to replace this very load, and only it.
        if (!ctx_.prompter->question(this, QStringLiteral("같은 시간의 자료가 이미 존재합니다.\n%1\n 갱신하시겠습니까?")
                                               .arg(shipment_edit_db::describe(*occupant))))
            return;
        request.replace_occupant = true;
        request.consented_occupant = occupant;
    }
    request.board_date = ctx_.console ? ctx_.console->board_date() : QString();

    Shipment saved = request.shipment;
    if (!act([&] { saved.o_count = shipment_edit_db::save(ctx_.dbm->db(), request).o_count; }))
        return;

    act([&] {
        if (ctx_.console && board_day())
            ctx_.console->load_vehicles(QStringLiteral("YES"));
        load_orders(saved.o_scode);
        load_shipments(saved);
        show_day_totals();
    });
    previous_.reset();
    show_current_shipment();
    back_to_browse();
    prn_btn->setFocus();
}

void TF_CHOLHAEDIT::del_btnClick()
{
    if (!loaded_) {
        say(QStringLiteral("삭제할 데이타가 없습니다."));
        return;
    }
    const Shipment row = *loaded_;
    const QString board_date = ctx_.console ? ctx_.console->board_date() : QString();
    if (!ctx_.prompter->question(this, QStringLiteral("삭제하겠습니까?")))
        return;
    if (!act([&] { shipment_edit_db::delete_shipment(ctx_.dbm->db(), row, board_date); }))
        return;
    act([&] {
        load_orders(row.o_scode);
        show_day_totals();
        if (ctx_.console && board_day())
            ctx_.console->load_vehicles(QStringLiteral("YES"));
        load_shipments();
    });
    order_bookmark_ = row.o_scode;
    show_current_shipment();
    back_to_browse();
}

void TF_CHOLHAEDIT::ilja_comboChange()
{
    working_date_ = ilja_combo->text_date();
    act([this] {
        load_orders();
        show_day_totals();
        load_shipments();
    });
    order_seq_ = current_seq();
    show_current_shipment();
    suju_grid->setFocus();
}

bool TF_CHOLHAEDIT::look_up_vehicle()
{
    in_vehicle_lookup_ = true;
    bool found = false;
    act([&] {
        ctx_.lookup->lookup_code = hy05->text();
        found = lookup_or_pick(ctx_, lookup_kinds::vehicles, this, wide_list_area(this))
            && !ctx_.lookup->lookup_code.isEmpty();
    });
    in_vehicle_lookup_ = false;
    if (found) {
        hy05->setText(ctx_.lookup->lookup_attr);
        hy10->setText(ctx_.lookup->lookup_code);
        vehicle_looked_up_ = hy05->text();
    } else {
        // Not found, or the list closed without a pick: no other vehicle's code stays.
        hy10->clear();
        vehicle_looked_up_.clear();
    }
    return found;
}

void TF_CHOLHAEDIT::vehicle_enter()
{
    if (look_up_vehicle())
        hy12->setFocus();
    else
        hy05->setFocus();
}

void TF_CHOLHAEDIT::vehicle_left()
{
    if (in_vehicle_lookup_ || !hy05->isEnabled())
        return;
    if (!hy10->text().isEmpty() && hy05->text() == vehicle_looked_up_)
        return;
    if (hy05->text().size() == 4) {
        // Not found: the operator stays on the vehicle, as with Enter.
        if (!look_up_vehicle())
            QMetaObject::invokeMethod(hy05, [this] { hy05->setFocus(Qt::OtherFocusReason); }, Qt::QueuedConnection);
    } else {
        hy05->clear();
        hy10->clear();
        vehicle_looked_up_.clear();
    }
}

bool TF_CHOLHAEDIT::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == hy05 && event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        // A box or the list opening is not the operator leaving the field.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            vehicle_left();
    }
    return QDialog::eventFilter(watched, event);
}

void TF_CHOLHAEDIT::unit_enter()
{
    if (hy12->text() == QLatin1String("1") || hy12->text() == QLatin1String("2"))
        sav_btn->setFocus();
    else
        say(QStringLiteral("호기를 등록하시오."));
}

void TF_CHOLHAEDIT::makam_chkClick()
{
    const bool closed = makam_chk->isChecked();
    suju_grid->set_background(closed ? QColor(Qt::green) : QColor(Qt::white));
    makam_btn->setText(closed ? QStringLiteral("재 개") : QStringLiteral("마 감"));
    act([this] {
        load_orders();
        load_shipments();
    });
    order_seq_ = current_seq();
    show_current_shipment();
}

// A list as it is shown, saved for a spreadsheet with its day.
void TF_CHOLHAEDIT::export_grid(const QString &title, BoardGrid *grid, RecordTableModel *model)
{
    const QString date = working_date_;
    grid_export::save(*ctx_.prompter, this, ask_export_path, grid_export::file_name({title, date}),
                      [grid, model, title, date] {
                          workbook::Sheet sheet = grid_export::sheet_of(grid, model);
                          sheet.name = title;
                          sheet.title = QStringLiteral("[%1]").arg(title);
                          sheet.period = QStringLiteral("일자 : ") + date;
                          return sheet;
                      });
}

void TF_CHOLHAEDIT::makam_btnClick()
{
    const QString seq = current_seq();
    if (seq.isEmpty())
        return;
    const QString state = makam_chk->isChecked() ? QStringLiteral("YES") : QStringLiteral("NO");
    act([&] {
        orders_db::set_order_state(ctx_.dbm->db(), working_date_, seq, state);
        load_orders();
        load_shipments();
    });
    order_seq_ = current_seq();
    show_current_shipment();
}

void TF_CHOLHAEDIT::print_tickets(const QList<TicketData> &tickets)
{
    for (qsizetype i = 0; i < tickets.size(); ++i) {
        ctx_.dbm->ticket_data = tickets[i];
        if (!ctx_.qr_songjang || !ctx_.qr_songjang->print_ticket()) {
            if (tickets.size() > 1)
                say(QStringLiteral("%1번부터의 송장 %2장은 발행하지 않았습니다.")
                        .arg(tickets[i].trip_no)
                        .arg(tickets.size() - i));
            return;
        }
    }
}

void TF_CHOLHAEDIT::prn_btnClick()
{
    const int row = cholha_grid->cursor_row();
    if (row < 0) {
        say(QStringLiteral("출하 자료가 없습니다. 송장을 발행하지 않았습니다."));
        return;
    }
    const Shipment s = Shipment::from_record(cholha_query->rows().at(row));
    std::optional<TicketData> ticket;
    if (!act([&] { ticket = editor_ticket::ticket_of(ctx_.dbm->db(), s, dam_edit->text()); }))
        return;
    if (!ticket) {
        say(QStringLiteral("%1 출하예정 %2번이 없습니다. 송장을 발행하지 않았습니다.").arg(s.o_fdate, s.o_scode));
        return;
    }
    print_tickets({*ticket});
    new_btn->setFocus();
}

void TF_CHOLHAEDIT::songjang_chkClick()
{
    Pnl_Print->setVisible(songjang_chk->isChecked());
    if (songjang_chk->isChecked()) {
        for (QLineEdit *box : {Edt_Sujuno, first_seq_edit, last_seq_edit})
            box->clear();
        Edt_Sujuno->setFocus();
    }
}

void TF_CHOLHAEDIT::Btn_CancelClick()
{
    Pnl_Print->hide();
    songjang_chk->setChecked(false);
}

void TF_CHOLHAEDIT::order_no_enter()
{
    Edt_Sujuno->setText(pad_zero(Edt_Sujuno->text(), 2));
    bool exists = false;
    if (!act([&] { exists = editor_ticket::order_exists(ctx_.dbm->db(), working_date_, Edt_Sujuno->text()); }))
        return;
    if (!exists) {
        say(QStringLiteral("등록한 출하예정순번이 없습니다."));
        Edt_Sujuno->clear();
        return;
    }
    first_seq_edit->setFocus();
}

void TF_CHOLHAEDIT::trip_enter(QLineEdit *box, QWidget *next)
{
    box->setText(pad_zero(box->text(), 3));
    next->setFocus();
}

void TF_CHOLHAEDIT::Btn_OkClick()
{
    bool first_ok = false, last_ok = false;
    const int first = first_seq_edit->text().trimmed().toInt(&first_ok);
    const int last = last_seq_edit->text().trimmed().toInt(&last_ok);
    if (!first_ok || !last_ok || first < 1 || last > 999) {
        say(QStringLiteral("출하 순번은 001부터 999까지의 숫자로 입력하시오. 송장을 발행하지 않았습니다."));
        return;
    }
    if (last < first) {
        say(QStringLiteral("끝 순번이 시작 순번보다 작습니다. 송장을 발행하지 않았습니다."));
        return;
    }
    const QString seq = pad_zero(Edt_Sujuno->text(), 2);
    editor_ticket::Range range;
    bool exists = false;
    if (!act([&] {
            exists = editor_ticket::order_exists(ctx_.dbm->db(), working_date_, seq);
            if (exists)
                range = editor_ticket::range(ctx_.dbm->db(), working_date_, seq, first, last, dam_edit->text());
        }))
        return;
    if (!exists) {
        say(QStringLiteral("등록한 출하예정순번이 없습니다."));
        return;
    }
    print_tickets(range.tickets);
    if (range.tickets.isEmpty())
        say(QStringLiteral("%1번 출하예정에 %2부터 %3까지의 출하 자료가 없습니다. 송장을 발행하지 않았습니다.")
                .arg(seq, range.skipped.value(0), range.skipped.value(range.skipped.size() - 1)));
    else if (!range.skipped.isEmpty())
        say(QStringLiteral("출하 자료가 없는 순번은 발행하지 않았습니다: %1").arg(range.skipped.join(QStringLiteral(", "))));
}
