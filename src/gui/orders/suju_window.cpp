#include "gui/orders/suju_window.h"
#include "gui/data/app_context.h"
#include "core/data/data_module.h"
#include "core/framework/clock.h"
#include "gui/framework/date_box.h"
#include "core/framework/guarded.h"
#include "core/framework/prompter.h"
#include "core/framework/record_table_model.h"
#include "gui/framework/grid_export.h"
#include "gui/framework/report_output.h"
#include "gui/framework/time_box.h"
#include "gui/masterdata/code_lookup.h"
#include "gui/masterdata/customer_window.h"
#include "gui/masterdata/field_keys.h"
#include "gui/masterdata/form_style.h"
#include "gui/masterdata/list_grid.h"
#include "gui/masterdata/list_window.h"
#include "gui/masterdata/site_window.h"
#include "core/masterdata/text_pad.h"
#include "core/masterdata/lookup_db.h"
#include "core/orders/class_text.h"
#include "gui/framework/decimal_box.h"
#include "gui/orders/contract_tabs.h"
#include "core/orders/order_db.h"
#include "core/orders/order_sheet.h"
#include "gui/orders/order_sheet_preview.h"
#include "core/orders/price_rule.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QSqlRecord>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {
QLineEdit *box(const char *name, int chars, int width)
{
    return make_text_box(name, chars, width);
}

// A display field filled by a pick or a load, never typed into.
QLineEdit *shown(const char *name, int width, int chars = 100)
{
    QLineEdit *b = make_text_box(name, chars, width);
    b->setEnabled(false);
    return b;
}

DecimalBox *number_box(const char *name, const QString &format, int decimals, int max_chars, int width)
{
    auto *b = new DecimalBox(format, decimals, max_chars);
    b->setObjectName(QString::fromLatin1(name));
    b->setFixedWidth(width);
    return b;
}

QComboBox *drop_down(const char *name, int width, int chars)
{
    auto *c = new QComboBox;
    c->setObjectName(QString::fromLatin1(name));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->lineEdit()->setMaxLength(chars);
    c->setFixedWidth(width);
    return c;
}

QLabel *caption(const QString &text)
{
    auto *l = new QLabel(text);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

QString field(const QSqlRecord &row, const char *name)
{
    return row.value(QString::fromLatin1(name)).toString();
}

QString number_field(const QSqlRecord &row, const char *name)
{
    return plain_number(row.value(QString::fromLatin1(name)).toDouble());
}

const QString two_digits_pattern = QStringLiteral("^[0-9]{2}$");
}

TF_SUJU::TF_SUJU(AppContext &ctx, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      ctx_(ctx), keys_(new FieldKeys(*ctx.prompter, this))
{
    setObjectName(QStringLiteral("F_SUJU"));
    setWindowTitle(QStringLiteral("수주관리"));
    setFont(QFont(QStringLiteral("굴림"), 10));

    auto *left = new QVBoxLayout;
    left->setSpacing(4);
    build_date_bar(left);
    build_customer_block(left);
    build_order_block(left);
    left->addStretch();
    auto *top = new QHBoxLayout;
    top->setSpacing(4);
    top->addLayout(left, 1);
    top->addWidget(build_button_bar());
    build_tabs();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addLayout(top);
    layout->addWidget(PageControl1, 1);
    wire_keys();
    keep_open_on_escape(this);
    setFixedSize(1010, 760);
}

void TF_SUJU::build_date_bar(QVBoxLayout *column)
{
    auto *bar = make_entry_panel();
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(10, 6, 10, 6);
    HY01 = new DateBox;
    HY01->setObjectName(QStringLiteral("HY01"));
    HY01->setFixedWidth(120);
    HY02 = box("HY02", 2, 40);
    HY02->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), HY02));
    HY02->setAttribute(Qt::WA_InputMethodEnabled, false);
    row->addWidget(new QLabel(QStringLiteral("일       자")));
    row->addWidget(HY01);
    row->addSpacing(20);
    row->addWidget(new QLabel(QStringLiteral("순       번")));
    row->addWidget(HY02);
    row->addStretch();
    column->addWidget(bar);
}

void TF_SUJU::build_customer_block(QVBoxLayout *column)
{
    HY03 = box("HY03", 4, 52);
    hy04 = shown("hy04", 190, 30);
    HY05 = box("HY05", 3, 52);
    HY06 = shown("HY06", 190, 40);
    HY07 = shown("HY07", 70);
    HY08 = shown("HY08", 110);
    HY09 = shown("HY09", 250);
    HY10 = shown("HY10", 70);
    HY11 = shown("HY11", 110);
    HY12 = shown("HY12", 90);
    HY13 = shown("HY13", 70);
    hy14 = number_box("hy14", QStringLiteral("#,##0.#"), 2, 8, 60);
    hy14->setEnabled(false);
    HY15 = shown("HY15", 40);
    HY16 = shown("HY16", 110);
    HY17 = shown("HY17", 250);
    HY18 = shown("HY18", 110);
    hy36 = box("hy36", 1, 30);

    auto *panel = make_entry_panel();
    auto *g = new QGridLayout(panel);
    g->setContentsMargins(10, 6, 10, 6);
    g->setHorizontalSpacing(6);
    g->setVerticalSpacing(4);
    const struct {
        const char *label;
        QList<QWidget *> widgets;
        int row, column;
    } places[] = {
        {"거  래  처", {HY03, hy04}, 0, 0},
        {"현       장", {HY05, HY06}, 1, 0},
        {"메       모", {HY09}, 2, 0},
        {"수요 기관", {HY17}, 3, 0},
        {"관.민수 구분", {HY07}, 0, 2},
        {"담  당  자", {HY08}, 1, 2},
        {"연  락  처", {HY11}, 2, 2},
        {"수요기관번호", {HY18}, 3, 2},
        {"등       급", {HY15}, 0, 4},
        {"미 수 구 분", {HY10}, 1, 4},
        {"계 약 일 자", {HY12}, 2, 4},
        {"시  공  자", {HY16}, 3, 4},
    };
    for (const auto &p : places) {
        g->addWidget(caption(QString::fromUtf8(p.label)), p.row, p.column);
        g->addWidget(side_by_side(p.widgets), p.row, p.column + 1);
    }
    g->addWidget(caption(QStringLiteral("부가세 구분")), 0, 6);
    g->addWidget(side_by_side({HY13, new QLabel(QStringLiteral("구분")), hy36}), 0, 7);
    g->addWidget(caption(QStringLiteral("계  약  율")), 1, 6);
    g->addWidget(side_by_side({hy14, new QLabel(QStringLiteral("%"))}), 1, 7);
    g->setColumnStretch(8, 1);
    column->addWidget(panel);
}

void TF_SUJU::build_order_block(QVBoxLayout *column)
{
    hy20 = drop_down("hy20", 130, 100);
    hy21 = drop_down("hy21", 130, 100);
    hy22 = drop_down("hy22", 130, 100);
    hy23 = drop_down("hy23", 130, 100);
    e_hon = box("e_hon", 100, 80);
    HY24 = new TimeBox(TimeBox::Form::HoursMinutes);
    HY24->setObjectName(QStringLiteral("HY24"));
    HY24->setFixedWidth(60);
    HY25 = number_box("HY25", QStringLiteral("#,##0"), 1, 5, 60);
    hy37 = drop_down("hy37", 100, 10);
    hy37->addItems({QStringLiteral("도선아님"), QStringLiteral("도선")});
    HY27 = box("HY27", 30, 250);
    HY28 = box("HY28", 50, 330);
    HY29 = box("HY29", 4, 52);
    HY30 = shown("HY30", 150, 10);
    hy38 = shown("hy38", 100, 10);
    HY31 = number_box("HY31", QStringLiteral("#,##0.00"), 3, 7, 90);
    HY32 = number_box("HY32", QStringLiteral("#,##0.###"), 3, 9, 100);
    HY33 = number_box("HY33", QStringLiteral("#,##0"), 0, 15, 120);
    HY34 = number_box("HY34", QStringLiteral("#,##0"), 0, 15, 120);
    HY35 = number_box("HY35", QStringLiteral("#,##0"), 0, 15, 120);
    for (DecimalBox *amount : {HY33, HY34, HY35})
        amount->setEnabled(false);

    auto *panel = make_entry_panel();
    auto *g = new QGridLayout(panel);
    g->setContentsMargins(10, 6, 10, 6);
    g->setHorizontalSpacing(6);
    g->setVerticalSpacing(4);
    const struct {
        const char *label;
        QList<QWidget *> widgets;
        int row, column;
    } places[] = {
        {"시멘트종류", {hy20}, 0, 0},
        {"골 재 종 류", {hy21}, 1, 0},
        {"제 품 구 분", {hy22}, 2, 0},
        {"콘크리트종류", {hy23}, 3, 0},
        {"혼화제률:", {e_hon}, 4, 0},
        {"첫차시간", {HY24}, 0, 2},
        {"거       리", {HY25, new QLabel(QStringLiteral("km"))}, 1, 2},
        {"도  선", {hy37}, 2, 2},
        {"메      모", {HY27}, 3, 2},
        {"위     치", {HY28}, 4, 2},
        {"규격코드", {HY29}, 0, 4},
        {"규   격", {HY30}, 1, 4},
        {"종   류", {hy38}, 2, 4},
        {"수 주 량", {HY31}, 3, 4},
        {"단   가", {HY32}, 4, 4},
    };
    for (const auto &p : places) {
        g->addWidget(caption(QString::fromUtf8(p.label)), p.row, p.column);
        g->addWidget(side_by_side(p.widgets), p.row, p.column + 1);
    }
    auto *amounts = new QHBoxLayout;
    amounts->setSpacing(6);
    amounts->addWidget(new QLabel(QStringLiteral("계 약 금 액")));
    amounts->addWidget(HY33);
    amounts->addSpacing(12);
    amounts->addWidget(new QLabel(QStringLiteral("출 하 금 액")));
    amounts->addWidget(HY34);
    amounts->addSpacing(12);
    amounts->addWidget(new QLabel(QStringLiteral("미출하금액 ")));
    amounts->addWidget(HY35);
    amounts->addStretch();
    g->addLayout(amounts, 5, 0, 1, 6);
    g->setColumnStretch(6, 1);
    column->addWidget(panel);
}

QFrame *TF_SUJU::build_button_bar()
{
    Panel12 = new QFrame;
    Panel12->setObjectName(QStringLiteral("Panel12"));
    Panel12->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel12->setFixedWidth(150);
    auto *column = new QVBoxLayout(Panel12);
    column->setContentsMargins(6, 6, 6, 6);
    column->setSpacing(4);
    QLabel *heading = make_title_bar(QStringLiteral("수 주 관 리"));
    heading->setObjectName(QStringLiteral("Label1"));
    heading->setFont(QFont(QStringLiteral("굴림"), 12, QFont::Bold));
    column->addWidget(heading);
    auto *bar = new QHBoxLayout;  // add_bar_button wants a row; each button then moves to the column
    const auto button = [&](const char *name, const char *text) {
        QPushButton *b = add_bar_button(bar, name, text);
        column->addWidget(b);
        return b;
    };
    newbtn = button("newbtn", "[&1]등록");
    edtbtn = button("edtbtn", "[&2]수정");
    BitBtn3 = button("BitBtn3", "[&3]조회");
    delbtn = button("delbtn", "[&4]삭제");
    savbtn = button("savbtn", "[&5]저장");
    canbtn = button("canbtn", "[&6]취소");
    clsbtn = button("clsbtn", "[&7]닫기");
    column->addSpacing(8);
    prnbtn = button("prnbtn", "&[7].출력");
    BitBtn1 = button("BitBtn1", "[&A]거래처");
    BitBtn2 = button("BitBtn2", "[&B]현장");
    delete bar;
    column->addStretch();

    connect(newbtn, &QPushButton::clicked, this, &TF_SUJU::newbtnClick);
    connect(edtbtn, &QPushButton::clicked, this, &TF_SUJU::edtbtnClick);
    connect(BitBtn3, &QPushButton::clicked, this, &TF_SUJU::BitBtn3Click);
    connect(delbtn, &QPushButton::clicked, this, &TF_SUJU::delbtnClick);
    connect(savbtn, &QPushButton::clicked, this, &TF_SUJU::savbtnClick);
    connect(canbtn, &QPushButton::clicked, this, &TF_SUJU::canbtnClick);
    connect(clsbtn, &QPushButton::clicked, this, &QDialog::close);
    connect(prnbtn, &QPushButton::clicked, this, &TF_SUJU::prnbtnClick);
    connect(BitBtn1, &QPushButton::clicked, this, &TF_SUJU::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TF_SUJU::BitBtn2Click);
    return Panel12;
}

void TF_SUJU::build_tabs()
{
    PageControl1 = new QTabWidget;
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    TabSheet3 = new QWidget;
    TabSheet3->setObjectName(QStringLiteral("TabSheet3"));

    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    suju_query = new RecordTableModel(
        {{.field = QStringLiteral("seq"), .title = QStringLiteral("순번"), .width_chars = 4},
         {.field = QStringLiteral("v_inout"), .title = QStringLiteral("거래처명"), .width_chars = 18},
         {.field = QStringLiteral("v_station"), .title = QStringLiteral("현장명"), .width_chars = 22},
         {.field = QStringLiteral("remi_code"), .title = QStringLiteral("규격코드"), .width_chars = 8},
         {.field = QStringLiteral("v_rule"), .title = QStringLiteral("규격명"), .width_chars = 12},
         {.field = QStringLiteral("order_m3"), .title = QStringLiteral("수주량"), .alignment = right, .width_chars = 8,
          .format = QStringLiteral("#,##0.00")},
         {.field = QStringLiteral("danga"), .title = QStringLiteral("단가"), .alignment = right, .width_chars = 8,
          .format = QStringLiteral("#,##0")},
         {.field = QStringLiteral("time_"), .title = QStringLiteral("도착예정"), .width_chars = 8},
         {.field = QStringLiteral("ground"), .title = QStringLiteral("위치"), .width_chars = 16},
         {.field = QStringLiteral("dist"), .title = QStringLiteral("거리"), .alignment = right, .width_chars = 5},
         {.field = QStringLiteral("ondo"), .title = QStringLiteral("온도"), .alignment = right, .width_chars = 5},
         {.field = QStringLiteral("memo"), .title = QStringLiteral("메모"), .width_chars = 20}},
        this);
    suju_query->setObjectName(QStringLiteral("suju_query"));
    gridhord3 = new QTableView;
    gridhord3->setObjectName(QStringLiteral("gridhord3"));
    set_up_list_grid(gridhord3, suju_query);
    excel_btn = new QPushButton(QStringLiteral("엑셀"));
    excel_btn->setObjectName(QStringLiteral("excel_btn"));
    excel_btn->setAutoDefault(false);
    excel_btn->setFocusPolicy(Qt::NoFocus);
    ask_export_path = [this](const QString &proposed) { return grid_export::ask_path(this, proposed); };
    auto *page = new QVBoxLayout(TabSheet3);
    page->setContentsMargins(0, 0, 0, 0);
    page->setSpacing(2);
    auto *tools = new QHBoxLayout;
    tools->addStretch();
    tools->addWidget(excel_btn);
    page->addLayout(tools);
    page->addWidget(gridhord3);
    connect(excel_btn, &QPushButton::clicked, this, &TF_SUJU::excel_btnClick);

    PageControl1->addTab(TabSheet1, QStringLiteral("관수"));
    PageControl1->addTab(TabSheet2, QStringLiteral("민수"));
    PageControl1->addTab(TabSheet3, QStringLiteral("금일 수주 현황"));
    contracts_ = new ContractTabs(ctx_.dbm->db(), *ctx_.prompter, TabSheet1, TabSheet2, this);
    connect(PageControl1, &QTabWidget::currentChanged, this, &TF_SUJU::PageControl1Change);
    connect(gridhord3, &QAbstractItemView::clicked, this, &TF_SUJU::gridhord3CellClick);
}

void TF_SUJU::wire_keys()
{
    // The entry path: Enter and the page keys visit the fields in this order.
    for (QWidget *f : QList<QWidget *>{HY01, HY02, HY03, HY05, hy20, hy21, hy22, hy23, e_hon, HY24, HY25, hy37,
                                       HY27, HY28, HY29, HY31, HY32, hy36}) {
        keys_->add(f);
    }
    const QList<QWidget *> tab_order{HY01, HY02, HY03, HY05, hy20, hy21, hy22, hy23, e_hon,
                                     HY24, HY25, hy37, HY27, HY28, HY29, HY31, HY32, hy36, savbtn};
    for (int i = 1; i < tab_order.size(); ++i)
        setTabOrder(tab_order[i - 1], tab_order[i]);

    keys_->on_enter(HY01, [this] { act([this] { HY01Enter(); }); });
    keys_->on_enter(HY02, [this] { act([this] { HY02Enter(); }); });
    keys_->on_enter(HY03, [this] { act([this] { pick_customer(); }); });
    keys_->on_enter(HY05, [this] { act([this] { pick_site(); }); });
    keys_->on_enter(HY25, [this] { act([this] { HY25Enter(); }); });
    keys_->on_enter(HY29, [this] { act([this] { HY29Enter(); }); });
    keys_->on_enter(HY31, [this] { act([this] { HY31Enter(); }); });
    keys_->on_enter(hy36, [this] { savbtn->setFocus(); });
    connect(HY01, &DateBox::calendar_picked, this, [this] { act([this] { HY01CalendarPick(); }); });
}

void TF_SUJU::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        opening_step();
}

void TF_SUJU::act(const std::function<void()> &action)
{
    guarded(*ctx_.prompter, this, action);
}

void TF_SUJU::say(const QString &text)
{
    ctx_.prompter->information(this, text);
}

// ---- the window's steps -------------------------------------------------

void TF_SUJU::opening_step()
{
    HY01->setDate(ctx_.clock ? ctx_.clock->today() : QDate::currentDate());
    HY02->clear();
    entry_mode_ = 0;
    clear_entry_fields();
    lock_entry_fields();
    set_browse_buttons();
    act([this] { fill_item_lists(); });
    newbtn->setFocus();
    PageControl1->setCurrentWidget(TabSheet3);
    act([this] { load_day_orders(); });
}

void TF_SUJU::fill_item_lists()
{
    const QList<std::pair<QComboBox *, QString>> lists{
        {hy20, QStringLiteral("cement")}, {hy21, QStringLiteral("gravel")},
        {hy22, QStringLiteral("japum")}, {hy23, QStringLiteral("con")}};
    for (const auto &[combo, column] : lists) {
        combo->clear();
        combo->clearEditText();
    }
    for (const auto &[combo, column] : lists) {
        combo->addItems(order_db::distinct_values(ctx_.dbm->db(), column));
        combo->setCurrentIndex(-1);
        combo->clearEditText();
    }
}

void TF_SUJU::load_day_orders()
{
    show_rows(gridhord3, order_db::day_orders(ctx_.dbm->db(), HY01->text_date()));
}

void TF_SUJU::excel_btnClick()
{
    const QString date = HY01->text_date();
    grid_export::save(*ctx_.prompter, this, ask_export_path, grid_export::file_name({QStringLiteral("금일수주현황"), date}),
                      [this, date] {
                          // The day's orders as they stand now, not as last shown.
                          load_day_orders();
                          QList<workbook::Cell> totals(suju_query->columnCount());
                          totals[0] = {QStringLiteral("합계")};
                          totals[1] = {double(suju_query->rowCount()), QStringLiteral("#,##0\"건\"")};
                          totals[5] = {suju_query->sum(QStringLiteral("order_m3")), QStringLiteral("#,##0.00")};
                          workbook::Sheet sheet = grid_export::sheet_of(gridhord3, suju_query, totals);
                          sheet.name = QStringLiteral("금일 수주 현황");
                          sheet.title = QStringLiteral("[금일 수주 현황]");
                          sheet.period = QStringLiteral("일자 : ") + date;
                          return sheet;
                      });
}

void TF_SUJU::clear_entry_fields()
{
    for (QLineEdit *b : {HY03, hy04, HY05, HY06, HY07, HY08, HY09, HY10, HY11, HY12, HY13, HY15, HY16, HY17, HY18,
                         HY27, HY28, HY29, HY30, hy38, e_hon})
        b->clear();
    for (QComboBox *c : {hy20, hy21, hy22, hy23})
        c->setEditText(QString());
    for (DecimalBox *n : {hy14, HY25, HY31, HY32, HY33, HY34, HY35})
        n->set_plain(QStringLiteral("0"));
    HY24->set_time_text(QStringLiteral("00:00"));
    hy37->setEditText(QStringLiteral("NO"));
    confirmed_customer_.clear();
    confirmed_site_.clear();
    confirmed_spec_.clear();
    customer_priced_.clear();
    spec_prices_.reset();
    clear_contract_tabs();
}

namespace {
QList<QWidget *> lockable(TF_SUJU *w)
{
    return {w->HY01, w->HY02, w->HY03, w->HY05, w->hy20, w->hy21, w->hy22, w->hy23, w->HY24,
            w->HY25, w->HY27, w->HY28, w->HY29, w->HY31, w->HY32, w->hy37, w->e_hon};
}
}

void TF_SUJU::lock_entry_fields()
{
    for (QWidget *f : lockable(this))
        f->setEnabled(false);
}

void TF_SUJU::unlock_entry_fields()
{
    for (QWidget *f : lockable(this))
        f->setEnabled(true);
    PageControl1->setEnabled(true);
}

void TF_SUJU::set_browse_buttons()
{
    newbtn->setEnabled(true);
    edtbtn->setEnabled(true);
    delbtn->setEnabled(true);
    clsbtn->setEnabled(true);
    savbtn->setEnabled(false);
    canbtn->setEnabled(false);
}

void TF_SUJU::back_to_browse()
{
    clear_entry_fields();
    set_browse_buttons();
    lock_entry_fields();
    newbtn->setFocus();
}

// ---- buttons --------------------------------------------------------------

void TF_SUJU::newbtnClick()
{
    clear_entry_fields();
    unlock_entry_fields();
    newbtn->setEnabled(false);
    edtbtn->setEnabled(false);
    delbtn->setEnabled(false);
    savbtn->setEnabled(true);
    canbtn->setEnabled(true);
    clsbtn->setEnabled(true);
    entry_mode_ = 1;
    HY01->setFocus(Qt::TabFocusReason);
    const PlantSettings &s = ctx_.dbm->settings;
    hy20->setEditText(s.cement_text);
    hy21->setEditText(s.gravel_text);
    hy22->setEditText(s.admixture_text);
    hy23->setEditText(s.concrete_text);
}

void TF_SUJU::edtbtnClick()
{
    newbtn->setEnabled(false);
    edtbtn->setEnabled(false);
    delbtn->setEnabled(true);
    savbtn->setEnabled(true);
    canbtn->setEnabled(true);
    clsbtn->setEnabled(true);
    unlock_entry_fields();
    HY01->setEnabled(false);
    HY02->setEnabled(false);
    entry_mode_ = 2;
    HY03->setFocus(Qt::TabFocusReason);
}

void TF_SUJU::BitBtn3Click()
{
    lock_entry_fields();
    HY01->setEnabled(true);
    newbtn->setEnabled(false);
    edtbtn->setEnabled(false);
    delbtn->setEnabled(false);
    savbtn->setEnabled(false);
    canbtn->setEnabled(true);
    entry_mode_ = 4;
    HY01->setFocus(Qt::TabFocusReason);
}

void TF_SUJU::canbtnClick()
{
    HY02->clear();
    back_to_browse();
}

void TF_SUJU::prnbtnClick()
{
    // The sheet is shown over the window, which keeps whatever was typed.
    act([this] {
        const SystemClock system_clock;
        const ReportOutput default_output;
        const Clock &clock = ctx_.clock ? *ctx_.clock : static_cast<const Clock &>(system_clock);
        preview_order_sheet(ctx_.dbm->db(), *ctx_.prompter, ctx_.reports ? *ctx_.reports : default_output, clock,
                            this, HY01->text_date());
    });
}

void TF_SUJU::BitBtn1Click()
{
    TF_CUSTOMER w(ctx_, this);
    w.exec();
}

void TF_SUJU::BitBtn2Click()
{
    TF_HYUNJANG w(ctx_, this);
    w.exec();
}

std::pair<QString, QWidget *> TF_SUJU::missing_for_save() const
{
    if (!QRegularExpression(two_digits_pattern).match(HY02->text()).hasMatch() || HY02->text() == QLatin1String("00"))
        return {QStringLiteral("순번을 확인하세요"), HY02};
    if (HY03->text().isEmpty() || HY03->text() != confirmed_customer_ || hy04->text().isEmpty())
        return {QStringLiteral("거래처를 확인하세요"), HY03};
    if (HY05->text().isEmpty() || HY05->text() != confirmed_site_ || HY06->text().isEmpty())
        return {QStringLiteral("현장을 확인하세요"), HY05};
    if (HY29->text().isEmpty() || HY29->text() != confirmed_spec_)
        return {QStringLiteral("규격을 확인하세요"), HY29};
    if (!(HY31->value() > 0))
        return {QStringLiteral("수주량을 확인하세요"), HY31};
    if (!HY24->is_blank() && !HY24->has_time())
        return {QStringLiteral("첫차시간을 확인하세요"), HY24};
    return {};
}

void TF_SUJU::savbtnClick()
{
    if (const auto [message, field] = missing_for_save(); field) {
        say(message);
        if (field->isEnabled())
            field->setFocus();
        return;
    }
    order_db::OrderEntry o;
    o.ilja = HY01->text_date();
    o.seq = HY02->text();
    o.grcd = HY03->text();
    o.v_inout = hy04->text();
    o.code = HY05->text();
    o.v_station = HY06->text();
    o.time_ = HY24->has_time() ? HY24->time_text() : QStringLiteral("00:00");
    o.dist = HY25->plain();
    o.v_okno = hy37->currentText();
    o.memo = HY27->text();
    o.ground = HY28->text();
    o.remi_code = HY29->text();
    o.v_rule = HY30->text();
    o.kind = hy38->text();
    o.order_m3 = HY31->plain();
    o.danga = HY32->plain();
    o.vat = cust_vat_;
    o.cement = hy20->currentText();
    o.gravel = hy21->currentText();
    o.japum = hy22->currentText();
    o.con = hy23->currentText();
    o.v_hon = e_hon->text();
    if (HY32->value() == 0 && !ctx_.prompter->question(this, QStringLiteral("단가가 0원입니다.\r 저장하시겠습니까?"))) {
        HY32->setFocus();
        return;
    }
    act([&] {
        QString stored = o.seq;
        // A new order never replaces one: the number shown is a proposal.
        if (entry_mode_ == 1 || !order_db::order_exists(ctx_.dbm->db(), o.ilja, o.seq)) {
            stored = order_db::insert_order(ctx_.dbm->db(), o);
        } else {
            // Printed tickets keep the texts they were printed with.
            const Database &db = ctx_.dbm->db();
            const QStringList changed = order_db::changed_texts(db, o);
            const int loads = changed.isEmpty() ? 0 : order_db::load_count(db, o.ilja, o.seq);
            const QString question =
                loads > 0 ? QStringLiteral("이 수주에 출하된 자료가 %1건 있습니다.\r발행된 송장 %1장에는 이전 %2이(가) "
                                           "그대로 남습니다.\r 갱신하시겠습니까?")
                                .arg(loads)
                                .arg(changed.join(QStringLiteral(", ")))
                          : QStringLiteral("자료가 이미 존재합니다.\r 갱신하시겠습니까?");
            if (!ctx_.prompter->question(this, question))
                return;
            if (!order_db::update_order(ctx_.dbm->db(), o)) {
                // Deleted elsewhere meanwhile: the entry stays to be saved anew.
                say(QStringLiteral("수주 자료가 삭제되어 갱신하지 못했습니다. 다시 저장하시오."));
                return;
            }
        }
        back_to_browse();
        load_day_orders();
        if (stored != o.seq)
            say(code_taken_message(QStringLiteral("순번"), o.seq, stored));
    });
}

void TF_SUJU::delbtnClick()
{
    const QString date = HY01->text_date();
    const QString seq = HY02->text();
    if (!ctx_.prompter->question(this, QStringLiteral("삭제하겠습니까?")))
        return;
    act([&] {
        const order_db::DeleteOutcome out = order_db::delete_order(ctx_.dbm->db(), date, seq);
        if (out.loads > 0) {
            say(QStringLiteral("출하된 자료가 %1건 있어 삭제할 수 없습니다.").arg(out.loads));
            return;
        }
        if (!out.deleted)
            say(QStringLiteral("삭제할 수주 자료가 없습니다."));
        load_day_orders();
        HY02->clear();
        back_to_browse();
    });
}

// ---- fields ---------------------------------------------------------------

void TF_SUJU::HY01Enter()
{
    HY02->setText(order_db::next_seq(ctx_.dbm->db(), HY01->text_date()));
    load_day_orders();
    if (HY02->isEnabled()) {
        HY02->setFocus(Qt::TabFocusReason);
    } else {
        clear_entry_fields();
    }
}

void TF_SUJU::HY01CalendarPick()
{
    clear_entry_fields();
    load_day_orders();
}

void TF_SUJU::HY02Enter()
{
    HY02->setText(pad_zero(HY02->text(), 2));
    if (!load_order(HY01->text_date(), HY02->text()) && entry_mode_ == 1)
        HY03->setFocus(Qt::TabFocusReason);
}

bool TF_SUJU::load_order(const QString &date, const QString &seq)
{
    const std::optional<QSqlRecord> row = order_db::load_order(ctx_.dbm->db(), date, seq);
    if (!row)
        return false;
    show_order(*row);
    return true;
}

void TF_SUJU::show_order(const QSqlRecord &row)
{
    cust_julsa_ = field(row, "julsa");
    HY03->setText(field(row, "grcd"));
    hy04->setText(field(row, "cust_name"));
    HY05->setText(field(row, "code"));
    HY06->setText(field(row, "site_name"));
    HY08->setText(field(row, "man"));
    HY09->setText(field(row, "site_memo"));
    HY11->setText(field(row, "ground_tel"));
    HY12->setText(field(row, "ilja"));
    hy14->set_plain(number_field(row, "order_nul"));
    HY15->setText(field(row, "rank"));
    HY16->setText(field(row, "build"));
    HY17->setText(field(row, "gover"));
    HY18->setText(field(row, "gover_num"));
    hy20->setEditText(field(row, "cement"));
    hy21->setEditText(field(row, "gravel"));
    hy22->setEditText(field(row, "japum"));
    hy23->setEditText(field(row, "con"));
    HY07->setText(class_text::kawn_sa(field(row, "kawn_sa")));
    HY10->setText(class_text::misu(field(row, "cust_misu")));
    HY13->setText(class_text::vat(field(row, "cust_vat")));
    cust_vat_ = field(row, "cust_vat");
    hy36->setText(cust_vat_);
    HY24->set_time_text(field(row, "time_"));
    HY25->set_plain(number_field(row, "dist"));
    hy37->setEditText(field(row, "v_okno"));
    HY27->setText(field(row, "memo"));
    HY28->setText(field(row, "ground"));
    HY29->setText(field(row, "remi_code"));
    HY30->setText(field(row, "v_rule"));
    hy38->setText(field(row, "kind"));
    HY31->set_plain(number_field(row, "order_m3"));
    HY32->set_plain(number_field(row, "danga"));
    e_hon->setText(field(row, "v_hon"));
    confirmed_customer_ = HY03->text();
    confirmed_site_ = HY05->text();
    confirmed_spec_ = HY29->text();
    customer_priced_ = confirmed_customer_;
    spec_prices_.reset();
}

void TF_SUJU::gridhord3CellClick()
{
    const QSqlRecord current = current_record(gridhord3);
    if (current.isEmpty()) {
        clear_entry_fields();
        return;
    }
    act([&] {
        const QString seq = field(current, "seq");
        if (load_order(HY01->text_date(), seq))
            HY02->setText(seq);
    });
}

namespace {
// HY33..HY35 from a tab step; no figures leave the fields as they are.
void show_amounts(const std::optional<ContractAmounts> &a, DecimalBox *contract, DecimalBox *shipped,
                  DecimalBox *unshipped)
{
    if (!a)
        return;
    contract->set_value(a->contract);
    shipped->set_value(a->shipped);
    unshipped->set_value(a->unshipped);
}
}

void TF_SUJU::PageControl1Change(int index)
{
    if (PageControl1->widget(index) == TabSheet3)
        act([this] { load_day_orders(); });
    else if (PageControl1->widget(index) == TabSheet1)
        act([this] { show_amounts(contracts_->show_contracts(HY03->text(), HY05->text(), HY07->text()), HY33, HY34, HY35); });
    else if (PageControl1->widget(index) == TabSheet2)
        act([this] { show_amounts(contracts_->show_product_sums(HY03->text(), HY05->text(), HY07->text()), HY33, HY34, HY35); });
}

void TF_SUJU::pick_customer()
{
    LookupState &s = *ctx_.lookup;
    s.lookup_code = HY03->text();
    const bool taken = lookup_or_pick(ctx_, lookup_kinds::customers, this, narrow_list_area(this));
    if (!taken) {
        // Not picked is not found: nothing of another customer stays beside the code.
        for (QLineEdit *b : {hy04, HY07, HY13, HY15, hy36})
            b->clear();
        confirmed_customer_.clear();
        HY03->setFocus(Qt::TabFocusReason);
        return;
    }
    HY03->setText(s.lookup_code);
    hy04->setText(s.lookup_name);
    if (s.lookup_code.isEmpty()) {
        confirmed_customer_.clear();
        HY03->setFocus(Qt::TabFocusReason);
        return;
    }
    const QString rank = s.lookup_row.value(QStringLiteral("rank")).toString();
    if (rank == QLatin1String("F"))
        say(QStringLiteral("이 거래처의 등급은 F입니다."));
    cust_julsa_ = s.lookup_julsa;
    HY07->setText(class_text::kawn_sa(s.lookup_attr));
    HY13->setText(class_text::vat(s.lookup_key));
    HY15->setText(rank);
    cust_vat_ = s.lookup_key;
    hy36->setText(cust_vat_);
    if (confirmed_customer_ != s.lookup_code)
        confirmed_site_.clear();
    confirmed_customer_ = s.lookup_code;
    HY05->setFocus(Qt::TabFocusReason);
}

void TF_SUJU::pick_site()
{
    const QString site_before = confirmed_site_;
    site_changed_for_tabs();
    LookupState &s = *ctx_.lookup;
    s.lookup_key = HY03->text();
    s.lookup_code = HY05->text();
    const bool taken = lookup_or_pick(ctx_, lookup_kinds::sites, this, narrow_list_area(this));
    if (!taken) {
        for (QLineEdit *b : {HY06, HY08, HY09, HY10, HY11, HY12, HY16, HY17, HY18})
            b->clear();
        hy14->set_plain(QStringLiteral("0"));
        confirmed_site_.clear();
        HY05->setFocus(Qt::TabFocusReason);
        return;
    }
    HY05->setText(s.lookup_code);
    HY06->setText(s.lookup_name);
    if (s.lookup_code.isEmpty()) {
        confirmed_site_.clear();
        HY05->setFocus(Qt::TabFocusReason);
        return;
    }
    const QSqlRecord &row = s.lookup_row;
    HY10->setText(field(row, "misu") == QLatin1String("H") ? QStringLiteral("현장별") : QStringLiteral("현장통합"));
    HY09->setText(field(row, "memo"));
    HY11->setText(field(row, "ground_tel"));
    HY12->setText(field(row, "ilja"));
    hy14->set_plain(number_field(row, "order_nul"));
    HY16->setText(field(row, "build"));
    HY17->setText(field(row, "gover"));
    HY18->setText(field(row, "gover_num"));
    HY08->setText(field(row, "man_name"));
    confirmed_site_ = s.lookup_code;
    // The amounts the quantity check will use, not the previous site's.
    show_amounts(contracts_->check_amounts(HY03->text(), HY05->text(), HY07->text()), HY33, HY34, HY35);
    // Another customer or site than the price was proposed for: propose anew.
    if (!confirmed_spec_.isEmpty() && HY29->text() == confirmed_spec_
        && (site_before != confirmed_site_ || customer_priced_ != confirmed_customer_))
        propose_price();
    customer_priced_ = confirmed_customer_;
    HY24->setFocus(Qt::TabFocusReason);
}

void TF_SUJU::HY25Enter()
{
    if (HY25->value() != 0) {
        LookupState &s = *ctx_.lookup;
        const QString typed = HY25->plain();
        s.lookup_code = typed;
        // A distance missing from the fee table is common: a list closed
        // without a pick keeps the distance as typed and moves on.
        const bool taken = lookup_or_pick(ctx_, lookup_kinds::transport_fees, this, narrow_list_area(this));
        const QString code = taken ? s.lookup_code : typed;
        bool whole = false;
        const int km = code.trimmed().toInt(&whole);
        if (!whole) {
            HY25->setFocus(Qt::TabFocusReason);
            throw ActionError(QStringLiteral("'%1'은(는) 올바른 거리가 아닙니다.").arg(code));
        }
        HY25->set_plain(QString::number(km));
    }
    HY29->setFocus(Qt::TabFocusReason);
}

void TF_SUJU::HY29Enter()
{
    LookupState &s = *ctx_.lookup;
    s.lookup_code = HY29->text();
    if (!lookup_or_pick(ctx_, lookup_kinds::products, this, narrow_list_area(this))) {
        HY30->clear();
        hy38->clear();
        confirmed_spec_.clear();
        HY29->setFocus(Qt::TabFocusReason);
        return;
    }
    HY29->setText(s.lookup_code);
    HY30->setText(s.lookup_name);
    hy38->setText(s.lookup_attr);
    if (s.lookup_code.isEmpty()) {
        confirmed_spec_.clear();
        return;
    }
    confirmed_spec_ = s.lookup_code;
    spec_prices_ = std::make_pair(s.lookup_kwan_price, s.lookup_sa_price);
    propose_price();
    HY31->setFocus(Qt::TabFocusReason);
}

void TF_SUJU::propose_price()
{
    if (!spec_prices_) {
        // An order loaded from the database: the base prices of its specification.
        const LookupOutcome out = find_codes(ctx_.dbm->db(), lookup_kinds::products, HY29->text(), QString());
        if (!out.found)
            return;
        spec_prices_ = std::make_pair(number_or_zero(out.rows.first().value(QStringLiteral("kwan_danga"))),
                                      number_or_zero(out.rows.first().value(QStringLiteral("sa_danga"))));
    }
    const price_rule::Inputs in{
        .earlier_price = plain_number(
            order_db::last_price(ctx_.dbm->db(), HY03->text(), HY05->text(), HY29->text()).toDouble()),
        .class_text = HY07->text(),
        .vat_text = HY13->text(),
        .julsa = cust_julsa_,
        .contract_rate = hy14->plain(),
        .kwan_price = plain_number(spec_prices_->first),
        .sa_price = plain_number(spec_prices_->second),
    };
    if (const std::optional<QString> price = price_rule::propose(in))
        HY32->set_plain(*price);
}

void TF_SUJU::HY31Enter()
{
    // Advice only: the figures of the customer and site typed now, shown in
    // HY33..HY35; the order can still be saved.
    const ContractAmounts now = contracts_->check_amounts(HY03->text(), HY05->text(), HY07->text());
    show_amounts(now, HY33, HY34, HY35);
    if (is_contract_class(HY07->text()) && exceeds_unshipped(HY31->value(), HY32->value(), now.unshipped)) {
        say(unshipped_exceeded_message);
        HY31->setFocus();
        return;
    }
    keys_->focus_next(HY31);
}

// ---- the contract tabs ----------------------------------------------------

void TF_SUJU::clear_contract_tabs()
{
    if (contracts_)
        contracts_->clear();
    for (DecimalBox *n : {HY33, HY34, HY35})
        n->set_plain(QStringLiteral("0"));
}

void TF_SUJU::site_changed_for_tabs()
{
    contracts_->clear_product_sums();
}
