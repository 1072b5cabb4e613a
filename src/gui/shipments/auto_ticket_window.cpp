#include "gui/shipments/auto_ticket_window.h"
#include "gui/data/app_context.h"
#include "core/data/data_module.h"
#include "gui/data/console_ops.h"
#include "core/framework/clock.h"
#include "gui/framework/date_box.h"
#include "core/framework/guarded.h"
#include "core/framework/prompter.h"
#include "core/framework/record_table_model.h"
#include "gui/framework/time_box.h"
#include "gui/masterdata/code_lookup.h"
#include "core/masterdata/spec_db.h"
#include "gui/masterdata/field_keys.h"
#include "gui/masterdata/form_style.h"
#include "gui/masterdata/list_grid.h"
#include "gui/masterdata/number_box.h"
#include "core/masterdata/text_pad.h"
#include "gui/plantlink/ticket_report.h"
#include "core/shipments/auto_ticket_fill.h"

#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScreen>
#include <QShowEvent>
#include <QTableView>
#include <QVBoxLayout>

namespace {
const QString grey_box = QStringLiteral("background: #c0c0c0;");

QLabel *caption(const char *text)
{
    auto *label = new QLabel(QString::fromUtf8(text));
    label->setAlignment(Qt::AlignCenter);
    return label;
}

// A navy header strip over a part of the window.
QLabel *navy_header(const char *text, int point_size)
{
    auto *label = new QLabel(QString::fromUtf8(text));
    QFont f(QStringLiteral("굴림"), point_size);
    f.setBold(true);
    label->setFont(f);
    label->setAlignment(Qt::AlignCenter);
    label->setStyleSheet(QStringLiteral("color: white; background: navy; border: 1px solid black; padding: 3px;"));
    return label;
}

QPushButton *small_button(const char *name, const char *text)
{
    auto *b = new QPushButton(QString::fromUtf8(text));
    b->setObjectName(QString::fromLatin1(name));
    b->setMinimumHeight(26);
    return b;
}

NumberBox *number_box(const char *name, int width)
{
    auto *box = new NumberBox(10);
    box->setObjectName(QString::fromLatin1(name));
    box->setFixedWidth(width);
    return box;
}

TimeBox *time_box(const char *name)
{
    auto *box = new TimeBox(TimeBox::Form::HoursMinutes);
    box->setObjectName(QString::fromLatin1(name));
    box->setFixedWidth(56);
    return box;
}

QString three_digits(int n)
{
    return QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'));
}

const QString not_printed = QStringLiteral(" (인쇄하지 않았습니다.)");
}

TF_CHOLHAAUTO::TF_CHOLHAAUTO(AppContext &ctx, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      ctx_(ctx), keys_(new FieldKeys(*ctx.prompter, this))
{
    setObjectName(QStringLiteral("F_CHOLHAAUTO"));
    setWindowTitle(QStringLiteral("자동송장"));
    setFont(QFont(QStringLiteral("굴림"), 10));

    title_pan = navy_header("출   하   자   동   송   장", 16);
    title_pan->setObjectName(QStringLiteral("title_pan"));
    title_pan->setMinimumHeight(40);

    auto *bar = new QHBoxLayout;
    new_btn = add_bar_button(bar, "new_btn", "&A.등록");
    edt_btn = add_bar_button(bar, "edt_btn", "&E.수정");
    del_btn = add_bar_button(bar, "del_btn", "&D.삭제");
    can_btn = add_bar_button(bar, "can_btn", "&C.취소");
    sav_btn = add_bar_button(bar, "sav_btn", "&S.저장");
    hlp_btn = add_bar_button(bar, "hlp_btn", "&H.도움");
    ColorButton1 = add_bar_button(bar, "ColorButton1", "출   하");
    ColorButton1->setStyleSheet(QStringLiteral("QPushButton:enabled { color: white; background: #b00000; font-weight: bold; }"));
    cls_btn = add_bar_button(bar, "cls_btn", "&Z.닫기");

    // The yusa order panel.
    ilja_combo = new DateBox;
    ilja_combo->setObjectName(QStringLiteral("ilja_combo"));
    ilja_combo->setLocale(QLocale(QLocale::Korean, QLocale::SouthKorea));
    ilja_combo->setDisplayFormat(QStringLiteral("yyyy년 M월 d일 dddd"));
    ilja_combo->setMinimumWidth(190);
    dam_edit = make_text_box("dam_edit", 20, 110);
    e_hon = make_text_box("e_hon", 100, 220);
    su01 = make_text_box("su01", 10, 44);
    su02 = make_text_box("su02", 30, 150);
    su03 = make_text_box("su03", 40, 170);
    su04 = make_text_box("su04", 30, 96);
    su05 = number_box("su05", 70);
    su06 = time_box("su06");
    su07 = make_text_box("su07", 2, 30);
    su07->setInputMask(QStringLiteral("90;_"));
    su08 = make_text_box("su08", 100, 90);
    su09 = make_text_box("su09", 100, 90);
    su10 = make_text_box("su10", 100, 90);
    order_fields_ = {su01, su02, su03, su04, su05, su06, su07, su08, su09, su10, e_hon};

    auto *order_pan = make_entry_panel();
    auto *order_layout = new QGridLayout(order_pan);
    order_layout->setContentsMargins(8, 6, 8, 6);
    order_layout->setHorizontalSpacing(4);
    order_layout->setVerticalSpacing(3);
    auto *day_line = new QHBoxLayout;
    QLabel *day_label = caption("작 업 일 자");
    day_label->setStyleSheet(QStringLiteral("background: navy; color: white; padding: 3px 10px;"));
    day_line->addWidget(day_label);
    day_line->addWidget(ilja_combo);
    day_line->addSpacing(20);
    day_line->addWidget(caption("출 하 인"));
    day_line->addWidget(dam_edit);
    day_line->addSpacing(20);
    day_line->addWidget(caption("혼합재료사용량"));
    day_line->addWidget(e_hon);
    day_line->addStretch();
    order_layout->addLayout(day_line, 0, 0, 1, 10);
    const char *titles[] = {"순번", "거   래   처", "현        장", "규     격", "수  주  량",
                            "첫차시간/간격", nullptr, "시멘트", "골  재", "혼 화 제"};
    QWidget *row_fields[] = {su01, su02, su03, su04, su05, su06, su07, su08, su09, su10};
    for (int i = 0; i < 10; ++i) {
        if (titles[i])
            order_layout->addWidget(caption(titles[i]), 1, i, 1, i == 5 ? 2 : 1);
        order_layout->addWidget(row_fields[i], 2, i);
    }
    order_layout->setColumnStretch(10, 1);

    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    const Qt::Alignment centre = Qt::AlignCenter;
    suju_query = new RecordTableModel(
        {{.field = QStringLiteral("ysu_seq"), .title = QString(), .alignment = right, .width_chars = 4},
         {.field = QStringLiteral("ysu_cu_name"), .title = QString(), .width_chars = 18},
         {.field = QStringLiteral("ysu_hy_name"), .title = QString(), .width_chars = 20},
         {.field = QStringLiteral("ysu_ru_name"), .title = QString(), .width_chars = 11},
         {.field = QStringLiteral("ysu_order_m3"), .title = QString(), .alignment = right, .width_chars = 8,
          .format = QStringLiteral("0.##")},
         {.field = QStringLiteral("ysu_first_time"), .title = QString(), .alignment = centre, .width_chars = 6},
         {.field = QStringLiteral("ysu_wait_time"), .title = QString(), .alignment = centre, .width_chars = 4},
         {.field = QStringLiteral("ysu_cement"), .title = QString(), .width_chars = 10},
         {.field = QStringLiteral("ysu_gravel"), .title = QString(), .width_chars = 10},
         {.field = QStringLiteral("ysu_japum"), .title = QString()}},
        this);
    suju_query->setObjectName(QStringLiteral("suju_query"));
    suju_grid = new QTableView;
    suju_grid->setObjectName(QStringLiteral("suju_grid"));
    set_up_list_grid(suju_grid, suju_query);
    suju_grid->horizontalHeader()->hide();

    // The yusa shipment panel.
    chprn_btn = small_button("chprn_btn", "낱 장 인 쇄");
    cholha_query = new RecordTableModel(
        {{.field = QStringLiteral("ych_seq"), .title = QStringLiteral("순  번"), .alignment = centre, .width_chars = 6},
         {.field = QStringLiteral("ych_time"), .title = QStringLiteral("시    간"), .alignment = centre, .width_chars = 8},
         {.field = QStringLiteral("ych_ca_number"), .title = QStringLiteral("차 량 번 호"), .alignment = centre,
          .width_chars = 12},
         {.field = QStringLiteral("ych_chol_m3"), .title = QStringLiteral("출 하 량"), .alignment = right,
          .width_chars = 9, .format = QStringLiteral("0.##")},
         {.field = QStringLiteral("ych_nu_m3"), .title = QStringLiteral("누 계 량"), .alignment = right,
          .format = QStringLiteral("0.##")}},
        this);
    cholha_query->setObjectName(QStringLiteral("cholha_query"));
    cholha_grid = new QTableView;
    cholha_grid->setObjectName(QStringLiteral("cholha_grid"));
    set_up_list_grid(cholha_grid, cholha_query);

    ch01 = make_text_box("ch01", 3, 44);
    ch02 = time_box("ch02");
    ch03 = make_text_box("ch03", 9, 96);
    ch04 = number_box("ch04", 70);
    ch05 = number_box("ch05", 80);
    shipment_fields_ = {ch01, ch02, ch03, ch04, ch05};
    chnew_btn = small_button("chnew_btn", "등  록");
    chedt_btn = small_button("chedt_btn", "수  정");
    chdel_btn = small_button("chdel_btn", "삭  제");
    chcan_btn = small_button("chcan_btn", "취  소");
    chsav_btn = small_button("chsav_btn", "저  장");
    first_seq_edit = make_text_box("first_seq_edit", 3, 50);
    last_seq_edit = make_text_box("last_seq_edit", 3, 50);
    prn_btn = small_button("prn_btn", "&P.연 속 인 쇄");
    prn_btn->setMinimumHeight(40);

    cholha_pan = new QWidget;
    cholha_pan->setObjectName(QStringLiteral("cholha_pan"));
    auto *cholha_layout = new QHBoxLayout(cholha_pan);
    cholha_layout->setContentsMargins(0, 0, 0, 0);
    auto *left = new QVBoxLayout;
    auto *header = new QHBoxLayout;
    header->setSpacing(0);
    header->addWidget(navy_header("출    하    내    역", 12), 1);
    header->addWidget(chprn_btn);
    left->addLayout(header);
    left->addWidget(cholha_grid, 1);
    cholha_layout->addLayout(left, 3);

    auto *right_pan = make_entry_panel();
    auto *right_layout = new QGridLayout(right_pan);
    right_layout->setContentsMargins(8, 6, 8, 6);
    const char *ch_titles[] = {"순번", "첫차시간", "차 량 번 호", "출  하  량", "누  계  량"};
    for (int i = 0; i < 5; ++i) {
        right_layout->addWidget(caption(ch_titles[i]), 0, i);
        right_layout->addWidget(shipment_fields_[i], 1, i);
    }
    auto *ch_buttons = new QHBoxLayout;
    for (QPushButton *b : {chnew_btn, chedt_btn, chdel_btn, chcan_btn, chsav_btn})
        ch_buttons->addWidget(b);
    right_layout->addLayout(ch_buttons, 2, 0, 1, 5);
    auto *range = new QHBoxLayout;
    auto *vertical = new QLabel(QStringLiteral("송\n장\n번\n호"));
    vertical->setAlignment(Qt::AlignCenter);
    vertical->setStyleSheet(QStringLiteral("background: navy; color: white; padding: 2px 6px;"));
    range->addWidget(vertical);
    auto *range_fields = new QGridLayout;
    range_fields->addWidget(first_seq_edit, 0, 0);
    range_fields->addWidget(new QLabel(QStringLiteral("부터")), 0, 1);
    range_fields->addWidget(last_seq_edit, 1, 0);
    range_fields->addWidget(new QLabel(QStringLiteral("까지")), 1, 1);
    range->addLayout(range_fields);
    range->addWidget(prn_btn, 1);
    right_layout->addLayout(range, 3, 0, 1, 5);
    auto *maker = new QLabel(QStringLiteral("VELDARO 레미콘출하 V.1"));
    maker->setObjectName(QStringLiteral("maker_pan"));
    maker->setAlignment(Qt::AlignCenter);
    maker->setStyleSheet(QStringLiteral("color: yellow; background: #303030; padding: 8px;"));
    right_layout->addWidget(maker, 4, 0, 1, 5);
    right_layout->setRowStretch(5, 1);
    cholha_layout->addWidget(right_pan, 2);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(title_pan);
    layout->addLayout(bar);
    layout->addWidget(order_pan);
    layout->addWidget(suju_grid, 2);
    layout->addWidget(cholha_pan, 3);
    resize(1100, 760);

    for (QWidget *field : order_fields_)
        keys_->add(field);
    for (QWidget *field : shipment_fields_)
        keys_->add(field);
    keys_->add(first_seq_edit);
    keys_->add(last_seq_edit);
    const auto step = [this](void (TF_CHOLHAAUTO::*handler)()) {
        return [this, handler] { guarded(*ctx_.prompter, this, [this, handler] { (this->*handler)(); }); };
    };
    keys_->on_enter(su02, step(&TF_CHOLHAAUTO::su02Enter));
    keys_->on_enter(su03, step(&TF_CHOLHAAUTO::su03Enter));
    keys_->on_enter(su04, step(&TF_CHOLHAAUTO::su04Enter));
    keys_->on_enter(su05, step(&TF_CHOLHAAUTO::su05Enter));
    keys_->on_enter(su06, [this] {
        if (first_time_refused())
            return;
        keys_->focus_next(su06);
    });
    keys_->on_enter(e_hon, [this] { sav_btn->setFocus(); });
    keys_->on_enter(ch01, step(&TF_CHOLHAAUTO::ch01Enter));
    keys_->on_enter(ch03, step(&TF_CHOLHAAUTO::ch03Enter));
    keys_->on_enter(ch05, [this] { chsav_btn->setFocus(); });
    keys_->on_enter(first_seq_edit, [this] {
        first_seq_edit->setText(pad_zero(first_seq_edit->text(), 3));
        last_seq_edit->setFocus();
    });
    keys_->on_enter(last_seq_edit, [this] {
        last_seq_edit->setText(pad_zero(last_seq_edit->text(), 3));
        prn_btn->setFocus();
    });
    // The customer picked in su02 holds only while su02 shows it.
    connect(su02, &QLineEdit::textEdited, this, [this] { customer_code_.clear(); });

    const auto on_click = [this](QPushButton *b, void (TF_CHOLHAAUTO::*handler)()) {
        connect(b, &QPushButton::clicked, this,
                [this, handler] { guarded(*ctx_.prompter, this, [this, handler] { (this->*handler)(); }); });
    };
    on_click(new_btn, &TF_CHOLHAAUTO::new_btnClick);
    on_click(edt_btn, &TF_CHOLHAAUTO::edt_btnClick);
    on_click(del_btn, &TF_CHOLHAAUTO::del_btnClick);
    on_click(can_btn, &TF_CHOLHAAUTO::can_btnClick);
    on_click(sav_btn, &TF_CHOLHAAUTO::sav_btnClick);
    on_click(ColorButton1, &TF_CHOLHAAUTO::ColorButton1Click);
    on_click(chnew_btn, &TF_CHOLHAAUTO::chnew_btnClick);
    on_click(chedt_btn, &TF_CHOLHAAUTO::chedt_btnClick);
    on_click(chdel_btn, &TF_CHOLHAAUTO::chdel_btnClick);
    on_click(chcan_btn, &TF_CHOLHAAUTO::chcan_btnClick);
    on_click(chsav_btn, &TF_CHOLHAAUTO::chsav_btnClick);
    on_click(chprn_btn, &TF_CHOLHAAUTO::chprn_btnClick);
    on_click(prn_btn, &TF_CHOLHAAUTO::prn_btnClick);
    connect(cls_btn, &QPushButton::clicked, this, &QDialog::close);
    connect(ilja_combo, &QDateEdit::dateChanged, this,
            [this] { guarded(*ctx_.prompter, this, [this] { ilja_comboChange(); }); });
    on_row_chosen(suju_grid, [this] { guarded(*ctx_.prompter, this, [this] { show_current_order(); }); });
    on_row_chosen(cholha_grid, [this] { show_current_shipment(); });
}

void TF_CHOLHAAUTO::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    if (const QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
    FormShow();
}

void TF_CHOLHAAUTO::FormShow()
{
    {
        const QSignalBlocker quiet(ilja_combo);
        ilja_combo->setDate(ctx_.clock->today());
    }
    working_date = ilja_combo->text_date();
    dam_edit->setText(ctx_.console ? ctx_.console->operator_name() : QString());
    guarded(*ctx_.prompter, this, [this] { load_yusa_orders(); });
    lock_order_fields();
    set_order_browse_state(true);
    set_shipment_browse_state(true);
    new_btn->setFocus();
}

void TF_CHOLHAAUTO::ilja_comboChange()
{
    working_date = ilja_combo->text_date();
    lock_order_fields();
    set_order_browse_state(true);
    set_shipment_browse_state(true);
    new_btn->setFocus();
    load_yusa_orders();
}

// The order `current_seq` stays current when it is listed; else the first.
void TF_CHOLHAAUTO::load_yusa_orders(const QString &current_seq)
{
    show_rows(suju_grid, yusa_db::orders(ctx_.dbm->db(), working_date));
    for (int r = 0; r < suju_query->rowCount(); ++r)
        if (!current_seq.isEmpty() && suju_query->text(r, QStringLiteral("ysu_seq")) == current_seq)
            suju_grid->setCurrentIndex(suju_query->index(r, 0));
    show_current_order();
}

void TF_CHOLHAAUTO::load_yusa_shipments()
{
    show_rows(cholha_grid, yusa_db::loads(ctx_.dbm->db(), working_date, su01->text()));
    show_current_shipment();
}

void TF_CHOLHAAUTO::show_current_order()
{
    const yusa_db::YusaOrder o = yusa_db::order_from(current_record(suju_grid));
    su01->setText(o.seq);
    su02->setText(o.customer);
    su03->setText(o.site);
    su04->setText(o.spec);
    su05->set_value(o.quantity);
    su06->set_time_text(o.first_time);
    su07->setText(o.interval);
    su08->setText(o.cement);
    su09->setText(o.gravel);
    su10->setText(o.admixture);
    e_hon->setText(o.admixture_rate);
    customer_code_.clear();
    load_yusa_shipments();
}

void TF_CHOLHAAUTO::show_current_shipment()
{
    const QSqlRecord row = current_record(cholha_grid);
    const yusa_db::YusaLoad l = yusa_db::load_from(row);
    ch01->setText(l.seq);
    ch02->set_time_text(l.time);
    ch03->setText(l.vehicle_code);
    if (row.isEmpty()) {
        ch04->clear();
        ch05->clear();
    } else {
        ch04->set_value(l.m3);
        ch05->set_value(l.cumulative);
    }
}

void TF_CHOLHAAUTO::lock_order_fields()
{
    for (QWidget *f : order_fields_)
        f->setEnabled(false);
}

void TF_CHOLHAAUTO::unlock_order_fields()
{
    for (QWidget *f : order_fields_)
        f->setEnabled(true);
}

// The load panel and the generator wait while an order is being entered:
// loads made or saved now would belong to an order not yet saved.
void TF_CHOLHAAUTO::set_order_browse_state(bool on)
{
    suju_grid->setEnabled(on);
    cholha_grid->setEnabled(on);
    new_btn->setEnabled(on);
    edt_btn->setEnabled(on);
    del_btn->setEnabled(on);
    sav_btn->setEnabled(!on);
    can_btn->setEnabled(!on);
    cholha_pan->setEnabled(on);
    ColorButton1->setEnabled(on);
}

void TF_CHOLHAAUTO::lock_shipment_fields()
{
    for (QWidget *f : shipment_fields_)
        f->setEnabled(false);
}

void TF_CHOLHAAUTO::unlock_shipment_fields()
{
    for (QWidget *f : shipment_fields_)
        f->setEnabled(true);
}

// While a load is being entered the order stays where it is: another order
// or date chosen now would receive the load.
void TF_CHOLHAAUTO::set_shipment_browse_state(bool on)
{
    cholha_grid->setEnabled(on);
    chnew_btn->setEnabled(on);
    chedt_btn->setEnabled(on);
    chdel_btn->setEnabled(on);
    chsav_btn->setEnabled(!on);
    chcan_btn->setEnabled(!on);
    for (QWidget *w : std::initializer_list<QWidget *>{suju_grid, new_btn, edt_btn, del_btn, ColorButton1, ilja_combo})
        w->setEnabled(on);
}

void TF_CHOLHAAUTO::new_btnClick()
{
    // Cancel comes back to the order that was current.
    order_before_new_ = su01->text();
    unlock_order_fields();
    su01->setText(QString::number(suju_query->rowCount() + 1));
    su02->clear();
    su03->clear();
    su04->clear();
    su05->set_value(0);
    su06->set_time_text(QStringLiteral("00:00"));
    su07->setText(QStringLiteral("00"));
    const PlantSettings &s = ctx_.dbm->settings;
    su08->setText(s.cement_text);
    su09->setText(s.gravel_text);
    su10->setText(s.admixture_text);
    e_hon->setText(s.remark_text);
    customer_code_.clear();
    new_order_ = true;
    ilja_combo->setEnabled(false);
    set_order_browse_state(false);
    su02->setFocus();
}

void TF_CHOLHAAUTO::edt_btnClick()
{
    unlock_order_fields();
    new_order_ = false;
    su01->setEnabled(false);
    su01->setStyleSheet(grey_box);
    ilja_combo->setEnabled(false);
    su02->setFocus();
    set_order_browse_state(false);
}

void TF_CHOLHAAUTO::back_to_order_browse(const QString &current_seq)
{
    su01->setStyleSheet(QString());
    su01->setEnabled(true);
    ilja_combo->setEnabled(true);
    load_yusa_orders(current_seq);
    lock_order_fields();
    set_order_browse_state(true);
    new_btn->setFocus();
}

void TF_CHOLHAAUTO::can_btnClick()
{
    const QString current = new_order_ ? order_before_new_ : su01->text();
    new_order_ = false;
    back_to_order_browse(current);
}

bool TF_CHOLHAAUTO::first_time_refused()
{
    // A half-typed or impossible time would be stored as no time at all.
    if (su06->is_blank() || su06->has_time())
        return false;
    ctx_.prompter->information(this, QStringLiteral("첫차시간을 확인하시오. (시:분, 00:00 ~ 23:59)"));
    su06->setFocus();
    return true;
}

void TF_CHOLHAAUTO::su02Enter()
{
    ctx_.lookup->lookup_code = su02->text();
    if (!lookup_or_pick(ctx_, lookup_kinds::customers, this, wide_list_area(this))
        || ctx_.lookup->lookup_code.isEmpty())
        return;
    su02->setText(ctx_.lookup->lookup_name);
    customer_code_ = ctx_.lookup->lookup_code;
    su03->setFocus();
}

void TF_CHOLHAAUTO::su03Enter()
{
    if (customer_code_.isEmpty()) {
        ctx_.prompter->information(this, QStringLiteral("거래처를 먼저 조회하시오. (현장은 거래처의 현장에서 찾습니다.)"));
        su02->setFocus();
        return;
    }
    ctx_.lookup->lookup_key = customer_code_;
    ctx_.lookup->lookup_code = su03->text();
    if (!lookup_or_pick(ctx_, lookup_kinds::sites, this, wide_list_area(this)) || ctx_.lookup->lookup_code.isEmpty())
        return;
    su03->setText(ctx_.lookup->lookup_name);
    su04->setFocus();
}

void TF_CHOLHAAUTO::su04Enter()
{
    ctx_.lookup->lookup_code = su04->text();
    if (!lookup_or_pick(ctx_, lookup_kinds::products, this, wide_list_area(this)))
        return;
    su04->setText(ctx_.lookup->lookup_name);
    su05->setFocus();
}

void TF_CHOLHAAUTO::su05Enter()
{
    if (su05->value() != 0)
        su06->setFocus();
    else
        ctx_.prompter->information(this, QStringLiteral("수주량을 등록하시오."));
}

yusa_db::YusaOrder TF_CHOLHAAUTO::order_in_fields() const
{
    return {working_date, su01->text().trimmed(), su02->text(), su03->text(), su04->text(), su05->value(),
            su06->time_text(), su07->text(), su08->text(), su09->text(), su10->text(), e_hon->text()};
}

void TF_CHOLHAAUTO::sav_btnClick()
{
    const yusa_db::YusaOrder o = order_in_fields();
    if (o.seq.isEmpty() || o.customer.isEmpty() || o.site.isEmpty() || o.spec.isEmpty() || o.quantity == 0) {
        ctx_.prompter->information(this, QStringLiteral("순번,거래처, 현장, 규격, 출하량을 등록하시오."));
        return;
    }
    if (first_time_refused())
        return;
    const Database &db = ctx_.dbm->db();
    if (new_order_) {
        // The number shown is a proposal: another PC may have taken it.
        const yusa_db::NewOrder stored = yusa_db::insert_new_order(db, o);
        new_order_ = false;
        su01->setText(stored.seq);
        back_to_order_browse(stored.seq);
        if (stored.moved)
            ctx_.prompter->information(this, QStringLiteral("순번 %1은(는) 다른 곳에서 먼저 사용하여 %2(으)로 저장했습니다.")
                                                 .arg(o.seq, stored.seq));
        return;
    }
    if (!ctx_.prompter->question(this, QStringLiteral("자료가 이미 존재합니다.\n 갱신하시겠습니까?")))
        return;
    if (!yusa_db::update_order(db, o)) {
        back_to_order_browse(QString());
        ctx_.prompter->information(this, QStringLiteral("유사 수주 %1이(가) 다른 곳에서 삭제되었습니다. 저장하지 않았습니다.")
                                             .arg(o.seq));
        return;
    }
    back_to_order_browse(o.seq);
}

void TF_CHOLHAAUTO::del_btnClick()
{
    const QString date = working_date;
    const QString seq = su01->text();
    if (!ctx_.prompter->question(this, QStringLiteral("삭제하겠습니까?")))
        return;
    yusa_db::delete_order(ctx_.dbm->db(), date, seq);
    load_yusa_orders();
    lock_order_fields();
    set_order_browse_state(true);
}

void TF_CHOLHAAUTO::chnew_btnClick()
{
    unlock_shipment_fields();
    ch01->setText(three_digits(cholha_query->rowCount() + 1));
    ch02->set_time_text(QStringLiteral("00:00"));
    ch03->clear();
    ch04->set_value(0);
    ch05->set_value(0);
    set_shipment_browse_state(false);
    ch02->setFocus();
}

void TF_CHOLHAAUTO::chedt_btnClick()
{
    unlock_shipment_fields();
    ch01->setEnabled(false);
    ch01->setStyleSheet(grey_box);
    ch02->setFocus();
    set_shipment_browse_state(false);
}

void TF_CHOLHAAUTO::back_to_shipment_browse()
{
    ch01->setStyleSheet(QString());
    ch01->setEnabled(true);
    show_current_shipment();
    lock_shipment_fields();
    set_shipment_browse_state(true);
    chnew_btn->setFocus();
}

void TF_CHOLHAAUTO::chcan_btnClick()
{
    back_to_shipment_browse();
}

void TF_CHOLHAAUTO::ch01Enter()
{
    ch01->setText(pad_zero(ch01->text(), 3));
    ch02->setFocus();
}

void TF_CHOLHAAUTO::ch03Enter()
{
    ctx_.lookup->lookup_code = ch03->text();
    if (!lookup_or_pick(ctx_, lookup_kinds::vehicles, this, wide_list_area(this))
        || ctx_.lookup->lookup_code.isEmpty())
        return;
    ch03->setText(ctx_.lookup->lookup_code);
    ch04->setFocus();
}

yusa_db::YusaLoad TF_CHOLHAAUTO::load_in_fields() const
{
    // A number typed without Enter is zero-filled all the same.
    const QString seq = ch01->text().trimmed().isEmpty() ? QString() : pad_zero(ch01->text().trimmed(), 3);
    return {seq, ch02->time_text(), ch03->text(), ch04->value(), ch05->value()};
}

// True when su01 names a yusa order saved on the working date; says so
// otherwise.
bool TF_CHOLHAAUTO::saved_order_shown()
{
    if (!su01->text().isEmpty() && yusa_db::find_order(ctx_.dbm->db(), working_date, su01->text()))
        return true;
    ctx_.prompter->information(this, QStringLiteral("유사 수주를 먼저 등록하고 저장하시오."));
    return false;
}

void TF_CHOLHAAUTO::chsav_btnClick()
{
    const yusa_db::YusaLoad l = load_in_fields();
    if (l.seq.isEmpty() || l.time.isEmpty() || l.vehicle_code.isEmpty() || l.m3 == 0 || l.cumulative == 0) {
        ctx_.prompter->information(this, QStringLiteral("순번,시간,차량번호,출하량,누계량을 등록하시오."));
        return;
    }
    const QString date = working_date;
    const QString order_seq = su01->text();
    if (!saved_order_shown())
        return;
    const Database &db = ctx_.dbm->db();
    if (!yusa_db::load_exists(db, date, order_seq, l.seq)) {
        yusa_db::insert_load(db, date, order_seq, l);
    } else {
        if (!ctx_.prompter->question(this, QStringLiteral("자료가 이미 존재합니다.\n 갱신하시겠습니까?")))
            return;
        yusa_db::update_load(db, date, order_seq, l);
    }
    load_yusa_shipments();
    back_to_shipment_browse();
}

void TF_CHOLHAAUTO::chdel_btnClick()
{
    const QString date = working_date;
    const QString order_seq = su01->text();
    const QString seq = ch01->text();
    if (!ctx_.prompter->question(this, QStringLiteral("삭제하겠습니까?")))
        return;
    yusa_db::delete_load(ctx_.dbm->db(), date, order_seq, seq);
    load_yusa_shipments();
    lock_shipment_fields();
    set_shipment_browse_state(true);
}

void TF_CHOLHAAUTO::ColorButton1Click()
{
    const yusa_db::YusaOrder o = order_in_fields();
    if (o.seq.isEmpty() || o.customer.isEmpty() || o.site.isEmpty() || o.spec.isEmpty() || o.quantity == 0) {
        ctx_.prompter->information(this, QStringLiteral("데이타를 모두 등록하시오."));
        return;
    }
    const QString problem = load_order_problem({o.quantity, su06->is_blank() ? QString() : su06->displayText(), o.interval});
    if (!problem.isEmpty()) {
        ctx_.prompter->information(this, problem);
        return;
    }
    if (!saved_order_shown())
        return;
    const Database &db = ctx_.dbm->db();
    if (yusa_db::load_count(db, o.date, o.seq) > 0
        && !ctx_.prompter->question(this, QStringLiteral("출하자료가 이미 존재합니다. 다시 출하하시겠습니까?")))
        return;
    QRandomGenerator random(random_seed());
    yusa_db::generate(db, o.date, o.seq, random);
    load_yusa_shipments();
    first_seq_edit->setText(QStringLiteral("001"));
    last_seq_edit->setText(three_digits(cholha_query->rowCount()));
    prn_btn->setFocus();
}

bool TF_CHOLHAAUTO::print_load(const yusa_db::YusaOrder &order, const yusa_db::YusaLoad &load, YusaTicketKind kind)
{
    const Database &db = ctx_.dbm->db();
    fill_yusa_ticket(ctx_.dbm->ticket_data,
                     {working_date, order, load, yusa_db::ticket_vehicle(db, load.vehicle_code),
                      ks_mark_of_standard(db, order.spec), dam_edit->text()},
                     kind);
    return ctx_.qr_songjang->print_ticket();
}

void TF_CHOLHAAUTO::chprn_btnClick()
{
    const QSqlRecord row = current_record(cholha_grid);
    const Database &db = ctx_.dbm->db();
    const std::optional<yusa_db::YusaOrder> order = yusa_db::find_order(db, working_date, su01->text());
    std::optional<yusa_db::YusaLoad> load;
    if (order && !row.isEmpty())
        for (const QSqlRecord &r : yusa_db::loads(db, working_date, order->seq))
            if (r.value(QStringLiteral("ych_seq")) == row.value(QStringLiteral("ych_seq")))
                load = yusa_db::load_from(r);
    if (!load) {
        ctx_.prompter->information(this, QStringLiteral("인쇄할 출하 자료가 없습니다.") + not_printed);
        return;
    }
    print_load(*order, *load, YusaTicketKind::Single);
}

void TF_CHOLHAAUTO::prn_btnClick()
{
    bool first_ok = false;
    bool last_ok = false;
    const int a = first_seq_edit->text().trimmed().toInt(&first_ok);
    const int b = last_seq_edit->text().trimmed().toInt(&last_ok);
    if (!first_ok || !last_ok) {
        ctx_.prompter->information(this, QStringLiteral("송장 번호 \"%1\" - \"%2\"을(를) 숫자로 입력하시오.")
                                             .arg(first_seq_edit->text(), last_seq_edit->text())
                                         + not_printed);
        return;
    }
    if (b < a)
        return;
    const Database &db = ctx_.dbm->db();
    const std::optional<yusa_db::YusaOrder> order = yusa_db::find_order(db, working_date, su01->text());
    const QList<QSqlRecord> rows = order ? yusa_db::loads(db, working_date, order->seq) : QList<QSqlRecord>();
    // Places count from 1 in the list of loads by number.
    for (int place = qMax(a, 1); place <= qMin(b, int(rows.size())); ++place) {
        if (!print_load(*order, yusa_db::load_from(rows.at(place - 1)), YusaTicketKind::Range)) {
            ctx_.prompter->information(this, QStringLiteral("송장 %1번부터 %2번까지는 인쇄하지 않았습니다.")
                                                 .arg(place).arg(b));
            return;
        }
    }
    if (a < 1 || b > rows.size()) {
        const int loads = int(rows.size());
        ctx_.prompter->information(
            this, QStringLiteral("출하 자료는 %1번까지 %2건입니다. 범위 %3 - %4 중 자료가 없는 번호는 인쇄하지 않았습니다.")
                      .arg(three_digits(loads)).arg(loads).arg(three_digits(a), three_digits(b)));
    }
}
