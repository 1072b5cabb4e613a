#include "gui/reports/status_window.h"
#include "gui/data/app_context.h"
#include "core/data/data_files.h"
#include "core/data/data_module.h"
#include "core/framework/clock.h"
#include "gui/framework/date_box.h"
#include "core/framework/guarded.h"
#include "core/framework/number_text.h"
#include "core/framework/prompter.h"
#include "core/framework/record_table_model.h"
#include "gui/framework/report_output.h"
#include "gui/framework/grid_export.h"
#include "gui/masterdata/code_lookup.h"
#include "gui/masterdata/list_window.h"
#include "gui/framework/board_grid.h"
#include "core/reports/status_reports.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMouseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QStandardPaths>
#include <QTimer>
#include <QVBoxLayout>

namespace {
using Col = RecordTableModel::Column;
constexpr auto right = Qt::AlignRight | Qt::AlignVCenter;
constexpr auto centre = Qt::AlignCenter;
constexpr auto left = Qt::AlignLeft | Qt::AlignVCenter;

const QString search_first = QStringLiteral("검색버튼을 먼저 누르시오.");
const QString vehicle_title = QStringLiteral("차  량  별  출  하  현  황");
const QString day_title = QStringLiteral("시  간  대  별  출  하  현  황");

QList<Col> order_columns()
{
    return {{"ILJA", "일  자", centre, {}, false, 10},
            {"SEQ", "코드", centre, {}, false, 4},
            {"v_inout", "거  래  처", left, {}, false, 16},
            {"v_station", "현    장", left, {}, false, 20},
            {"remi_code", "코드", centre, {}, false, 5},
            {"v_rule", "규  격", centre, Qt::red, true, 10},
            {"SUM_ORDER_M3", "수주량", right, {}, false, 8},
            {"SUM_OUTORDER", "출하량", right, Qt::blue, true, 8},
            {"SUM_CA_COUNT", "횟 수", right, {}, false, 0}};
}

QList<Col> load_columns()
{
    return {{"o_fdate", "판매 일자", centre, {}, false, 10},
            {"o_date", "출하 일자", centre, {}, false, 10},
            {"o_otime", "시  간", centre, {}, false, 8},
            {"o_count", "순  번", centre, {}, false, 5},
            {"o_carnum", "차량코드", centre, {}, false, 9},
            {"o_outorder", "출  하  량", right, {}, false, 8},
            {"o_return", "회 차", centre, {}, false, 0}};
}

QList<Col> list_columns()
{
    return {{"o_fdate", "판 매 일 자", centre, {}, false, 10},
            {"o_date", "출 하 일 자", centre, {}, false, 10},
            {"o_otime", "출하시간", centre, {}, false, 8},
            {"v_inout", "거  래  처", left, {}, false, 16},
            {"v_station", "현    장", left, {}, false, 20},
            {"remi_code", "코드", centre, {}, false, 5},
            {"v_rule", "규  격", centre, {}, false, 10},
            {"o_carnum", "차량번호", centre, {}, false, 9},
            {"o_outorder", "출하량", right, {}, false, 7},
            {"O_RETURN", "회차", centre, {}, false, 0}};
}

QList<Col> vehicle_total_columns()
{
    return {{"o_fdate", "판 매 일 자", centre, {}, false, 12},
            {"o_carnum", "차량번호", centre, {}, false, 12},
            {"SUM_CHOL_M3", "출하량", right, {}, false, 10},
            {"SUM_CA_COUNT", "횟 수", right, {}, false, 0}};
}

// A yellow total box of a title bar.
QLabel *total_box(const char *name)
{
    auto *box = new QLabel(QStringLiteral("0"));
    box->setObjectName(QString::fromLatin1(name));
    box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    box->setMinimumWidth(110);
    box->setStyleSheet(QStringLiteral("background: yellow; color: black; font-weight: bold; padding: 1px 4px;"));
    return box;
}

// A title bar with its caption and total boxes.
QFrame *title_bar(const char *name, QLabel *caption, const QList<QPair<QString, QLabel *>> &boxes)
{
    auto *bar = new QFrame;
    bar->setObjectName(QString::fromLatin1(name) + QStringLiteral("_bar"));
    bar->setFrameStyle(QFrame::Panel | QFrame::Raised);
    bar->setStyleSheet(QStringLiteral("QFrame#%1_bar { background: #24466e; } QFrame#%1_bar > QLabel#%1_caption,"
                                      " QFrame#%1_bar > QLabel[box_caption=\"true\"] { color: white; }")
                           .arg(QString::fromLatin1(name)));
    caption->setObjectName(caption->objectName().isEmpty() ? QString::fromLatin1(name) + QStringLiteral("_caption")
                                                           : caption->objectName());
    QFont f = caption->font();
    f.setPointSizeF(f.pointSizeF() + 3);
    f.setBold(true);
    caption->setFont(f);
    caption->setStyleSheet(QStringLiteral("color: white;"));
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(8, 3, 8, 3);
    row->addWidget(caption);
    row->addStretch();
    for (const auto &[text, box] : boxes) {
        if (!text.isEmpty()) {
            auto *l = new QLabel(text);
            l->setStyleSheet(QStringLiteral("color: white;"));
            row->addWidget(l);
        }
        row->addWidget(box);
    }
    return bar;
}

// Every row of a search, for a list or a file: none that is missing.
void read_all(RecordTableModel *model)
{
    if (!model->fetch_all())
        throw ActionError(QStringLiteral("검색 결과를 끝까지 읽지 못했습니다. 다시 검색하십시오."));
}

void set_load_totals(QLabel *quantity, QLabel *count, const status_db::LoadTotals &t)
{
    quantity->setText(number_2n(t.quantity));
    count->setText(number_0n(t.count));
}

QPushButton *button(const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

QLabel *label(const char *name, const QString &caption)
{
    auto *l = new QLabel(caption);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}
}

TF_CUSTLIST::TF_CUSTLIST(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("F_CUSTLIST"));
    setWindowTitle(QStringLiteral("출하현황 - VELDARO 레미콘출하"));
    resize(1180, 760);

    find_combo = new QComboBox;
    find_combo->setObjectName(QStringLiteral("find_combo"));
    find_combo->addItems({QStringLiteral("거래처"), QStringLiteral("현  장"), QStringLiteral("규  격"),
                          QStringLiteral("차  량"), QStringLiteral("시간대별")});
    view_label = label("view_label", QStringLiteral("보  기"));
    view_combo = new QComboBox;
    view_combo->setObjectName(QStringLiteral("view_combo"));
    view_combo->addItems({QStringLiteral("간단히"), QStringLiteral("자세히")});
    first_date = new DateBox;
    first_date->setObjectName(QStringLiteral("first_date"));
    first_label = label("first_label", QStringLiteral("부터"));
    last_date = new DateBox;
    last_date->setObjectName(QStringLiteral("last_date"));
    last_label = label("last_label", QStringLiteral("까지"));
    find_edit = new QLineEdit;
    find_edit->setObjectName(QStringLiteral("find_edit"));
    find_edit->setMinimumWidth(160);
    find_btn = button("find_btn", QStringLiteral("..."));
    find_btn->setFixedWidth(find_btn->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 12);
    sel_btn = button("sel_btn", QStringLiteral("검   색"));
    pre_btn = button("pre_btn", QStringLiteral("미리보기"));
    prn_btn = button("prn_btn", QStringLiteral("프린트"));
    excel_btn = button("excel_btn", QStringLiteral("엑셀"));
    cls_btn = button("cls_btn", QStringLiteral("닫  기"));

    auto *top = new QFrame;
    top->setObjectName(QStringLiteral("top_pan"));
    top->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto *bar = new QHBoxLayout(top);
    bar->setContentsMargins(6, 4, 6, 4);
    bar->addWidget(find_combo);
    bar->addSpacing(6);
    bar->addWidget(view_label);
    bar->addWidget(view_combo);
    bar->addSpacing(6);
    bar->addWidget(first_date);
    bar->addWidget(first_label);
    bar->addWidget(last_date);
    bar->addWidget(last_label);
    bar->addSpacing(6);
    bar->addWidget(find_edit);
    bar->addWidget(find_btn);
    bar->addStretch();
    for (QPushButton *b : {sel_btn, pre_btn, prn_btn, excel_btn, cls_btn})
        bar->addWidget(b);

    suju_query = new RecordTableModel(order_columns(), this);
    suju_query->setObjectName(QStringLiteral("suju_query"));
    cholha_query = new RecordTableModel(load_columns(), this);
    cholha_query->setObjectName(QStringLiteral("cholha_query"));
    car_totlist_query = new RecordTableModel(vehicle_total_columns(), this);
    car_totlist_query->setObjectName(QStringLiteral("car_totlist_query"));
    car_list_query = new RecordTableModel(list_columns(), this);
    car_list_query->setObjectName(QStringLiteral("car_list_query"));
    timeseq_query = new RecordTableModel(list_columns(), this);
    timeseq_query->setObjectName(QStringLiteral("timeseq_query"));

    // Order area.
    cust_list_pan = new QFrame;
    cust_list_pan->setObjectName(QStringLiteral("cust_list_pan"));
    order_m3_pan = total_box("order_m3_pan");
    outorder_pan = total_box("outorder_pan");
    ca_count_pan = total_box("ca_count_pan");
    suju_grid = new BoardGrid(QStringLiteral("suju_grid"), suju_query);
    cholha_grid = new BoardGrid(QStringLiteral("cholha_grid"), cholha_query);
    cholha_grid->setColumnHidden(1, true);
    spl_line = new QSplitter(Qt::Vertical);
    spl_line->setObjectName(QStringLiteral("spl_line"));
    spl_line->addWidget(suju_grid);
    spl_line->addWidget(cholha_grid);
    spl_line->setChildrenCollapsible(false);
    spl_line->setStretchFactor(0, 1);
    spl_line->setStretchFactor(1, 0);
    auto *orders = new QVBoxLayout(cust_list_pan);
    orders->setContentsMargins(0, 0, 0, 0);
    orders->setSpacing(0);
    orders->addWidget(title_bar("cust_list_pan", new QLabel(QStringLiteral("출  하  예  정")),
                                {{QStringLiteral("수주량"), order_m3_pan},
                                 {QStringLiteral("출하량"), outorder_pan},
                                 {QStringLiteral("횟수"), ca_count_pan}}));
    orders->addWidget(spl_line, 1);

    // Vehicle list area (also the by-time list).
    car_list_pan = new QFrame;
    car_list_pan->setObjectName(QStringLiteral("car_list_pan"));
    list_pan = label("list_pan", QStringLiteral("차  량  별  출  하  현  황  리  스  트"));
    car_list_pan1 = total_box("car_list_pan1");
    car_list_pan2 = total_box("car_list_pan2");
    list_grid = new BoardGrid(QStringLiteral("list_grid"), car_list_query);
    list_grid->setColumnHidden(1, true);
    returns_note = label("returns_note", QStringLiteral("(회차 제외)"));
    returns_note->setStyleSheet(QStringLiteral("color: white; font-weight: bold;"));
    without_order_pan = label("without_order_pan", QString());
    without_order_pan->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold; padding: 2px 6px;"));
    without_order_pan->hide();
    auto *list = new QVBoxLayout(car_list_pan);
    list->setContentsMargins(0, 0, 0, 0);
    list->setSpacing(0);
    QFrame *list_bar = title_bar("car_list_pan", list_pan,
                                 {{QStringLiteral("출하량"), car_list_pan1}, {QStringLiteral("횟수"), car_list_pan2}});
    static_cast<QHBoxLayout *>(list_bar->layout())->insertWidget(2, returns_note);
    list->addWidget(list_bar);
    list->addWidget(list_grid, 1);
    list->addWidget(without_order_pan);

    // Vehicle totals area.
    car_totlist_pan = new QFrame;
    car_totlist_pan->setObjectName(QStringLiteral("car_totlist_pan"));
    car_tot_pan1 = total_box("car_tot_pan1");
    car_tot_pan2 = total_box("car_tot_pan2");
    DBGrid2 = new BoardGrid(QStringLiteral("DBGrid2"), car_totlist_query);
    auto *tot = new QVBoxLayout(car_totlist_pan);
    tot->setContentsMargins(0, 0, 0, 0);
    tot->setSpacing(0);
    tot->addWidget(title_bar("car_totlist_pan", new QLabel(QStringLiteral("차  량  별  출  하  현  황  집  계  표")),
                             {{QStringLiteral("출하량"), car_tot_pan1}, {QStringLiteral("횟수"), car_tot_pan2}}));
    tot->addWidget(DBGrid2, 1);

    auto *page = new QVBoxLayout(this);
    page->setContentsMargins(4, 4, 4, 4);
    page->addWidget(top);
    page->addWidget(cust_list_pan, 1);
    page->addWidget(car_list_pan, 1);
    page->addWidget(car_totlist_pan, 1);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(60000);

    ask_export_path = [this](const QString &proposed) { return grid_export::ask_path(this, proposed); };

    connect(find_combo, &QComboBox::currentIndexChanged, this, &TF_CUSTLIST::find_comboChange);
    connect(view_combo, &QComboBox::currentIndexChanged, this, &TF_CUSTLIST::view_comboChange);
    connect(find_btn, &QPushButton::clicked, this, &TF_CUSTLIST::find_btnClick);
    connect(find_edit, &QLineEdit::returnPressed, this, &TF_CUSTLIST::find_editEnter);
    connect(sel_btn, &QPushButton::clicked, this, &TF_CUSTLIST::sel_btnClick);
    connect(pre_btn, &QPushButton::clicked, this, &TF_CUSTLIST::pre_btnClick);
    connect(prn_btn, &QPushButton::clicked, this, &TF_CUSTLIST::prn_btnClick);
    connect(excel_btn, &QPushButton::clicked, this, &TF_CUSTLIST::excel_btnClick);
    connect(cls_btn, &QPushButton::clicked, this, &QDialog::reject);
    // Also a click on an empty grid, which Qt reports as no click at all.
    suju_grid->viewport()->installEventFilter(this);
    connect(Timer1, &QTimer::timeout, this, &TF_CUSTLIST::Timer1Timer);
    for (RecordTableModel *m : {suju_query, car_totlist_query, car_list_query, timeseq_query})
        connect(m, &RecordTableModel::fetch_failed, this, [this](const QString &message) {
            // Called from inside the grid's scrolling: shown once it is done.
            QMetaObject::invokeMethod(this, [this, message] { ctx_.prompter->error(this, message); },
                                      Qt::QueuedConnection);
        });

    const QString today = ctx_.clock ? ctx_.clock->today().toString(QStringLiteral("yyyy-MM-dd")) : QString();
    first_date->set_text_date(today);
    last_date->set_text_date(today);
    show_areas();
    Timer1->start();
}

TF_CUSTLIST::~TF_CUSTLIST() = default;

bool TF_CUSTLIST::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == suju_grid->viewport() && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
        suju_gridClick();
    return QDialog::eventFilter(watched, event);
}

void TF_CUSTLIST::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (shown_once_)
        return;
    shown_once_ = true;
    set_shipment_grid(!brief());
    find_combo->setFocus();
}

bool TF_CUSTLIST::brief() const
{
    return view_combo->currentIndex() != 1;
}

bool TF_CUSTLIST::order_choice() const
{
    return find_combo->currentIndex() < status_db::vehicle;
}

status_db::Search TF_CUSTLIST::boxes() const
{
    status_db::Search s;
    s.choice = find_combo->currentIndex();
    s.first = first_date->text_date();
    if (s.choice == status_db::by_time)
        return s;  // one day, no filter
    s.last = last_date->text_date();
    s.filter = find_edit->text();
    return s;
}

void TF_CUSTLIST::set_shipment_grid(bool open)
{
    spl_line->setHandleWidth(open ? 10 : 3);
    if (open) {
        cholha_grid->setMinimumHeight(0);
        cholha_grid->setMaximumHeight(QWIDGETSIZE_MAX);
        const int total = spl_line->height() - spl_line->handleWidth();
        spl_line->setSizes({std::max(0, total - 200), 200});
        cholha_grid->setMinimumHeight(200);
        cholha_grid->setMinimumHeight(0);
    } else {
        cholha_grid->setFixedHeight(5);
    }
}

void TF_CUSTLIST::close_orders()
{
    suju_query->clear();
    cholha_query->clear();
    orders_search_.reset();
    order_totals_ = {};
    for (QLabel *box : {order_m3_pan, outorder_pan, ca_count_pan})
        box->setText(QStringLiteral("0"));
}

void TF_CUSTLIST::close_totals()
{
    car_totlist_query->clear();
    totals_search_.reset();
    vehicle_totals_ = {};
    set_load_totals(car_tot_pan1, car_tot_pan2, {});
}

void TF_CUSTLIST::close_vehicle_list()
{
    car_list_query->clear();
    vehicle_search_.reset();
}

void TF_CUSTLIST::show_areas()
{
    const int choice = find_combo->currentIndex();
    const bool vehicles = choice == status_db::vehicle;
    const bool by_time = choice == status_db::by_time;
    cust_list_pan->setVisible(order_choice());
    car_totlist_pan->setVisible(vehicles && brief());
    car_list_pan->setVisible((vehicles && !brief()) || by_time);
    for (QWidget *w : {static_cast<QWidget *>(last_date), static_cast<QWidget *>(last_label),
                       static_cast<QWidget *>(find_edit), static_cast<QWidget *>(find_btn),
                       static_cast<QWidget *>(view_label), static_cast<QWidget *>(view_combo)})
        w->setVisible(!by_time);

    // What is no longer shown is closed.
    if (!order_choice())
        close_orders();
    else
        set_shipment_grid(!brief());
    if (!(vehicles && brief()))
        close_totals();
    if (!(vehicles && !brief()))
        close_vehicle_list();
    if (!by_time) {
        timeseq_query->clear();
        day_search_.reset();
    }
    returns_note->setVisible(by_time);
    if (by_time || (vehicles && !brief())) {
        list_pan->setText(by_time ? day_title : vehicle_title);
        list_grid->show_records(by_time ? timeseq_query : car_list_query);
        list_grid->setColumnHidden(1, true);
        if (!(by_time ? day_search_ : vehicle_search_)) {
            list_totals_ = without_order_ = without_order_printed_ = {};
            set_load_totals(car_list_pan1, car_list_pan2, {});
        }
    }
    show_without_order();
}

void TF_CUSTLIST::show_without_order()
{
    const QString line = status_db::without_order_line(without_order_);
    without_order_pan->setText(line);
    without_order_pan->setVisible(!line.isEmpty());
}

void TF_CUSTLIST::find_comboChange()
{
    find_edit->clear();
    show_areas();
}

void TF_CUSTLIST::view_comboChange()
{
    if (find_combo->currentIndex() == status_db::by_time)
        return;
    show_areas();
}

void TF_CUSTLIST::find_btnClick()
{
    ctx_.lookup->lookup_code.clear();
    lookup();
}

void TF_CUSTLIST::find_editEnter()
{
    ctx_.lookup->lookup_code = find_edit->text();
    lookup();
}

void TF_CUSTLIST::lookup()
{
    const int choice = find_combo->currentIndex();
    if (choice == status_db::by_time)
        return;
    guarded(*ctx_.prompter, this, [&] {
        LookupState &s = *ctx_.lookup;
        bool taken = false;
        if (choice == status_db::site) {
            // Sites of every customer: the window has no customer to narrow by.
            s.lookup_kind = lookup_kinds::sites;
            const LookupOutcome out = status_db::find_sites(ctx_.dbm->db(), s.lookup_code);
            if (out.found) {
                copy_lookup_row(s, lookup_kinds::sites, out.rows.first(), true);
                taken = true;
            } else if (ctx_.list) {
                const QRect area = wide_list_area(this);
                ctx_.list->setGeometry(area);
                ctx_.list->setWindowTitle(QStringLiteral("현장코드조회"));
                ctx_.list->fill(out.columns, out.rows);
                taken = ctx_.list->exec() == QDialog::Accepted;
                activateWindow();
            }
        } else {
            const int kind = choice == status_db::customer        ? lookup_kinds::customers
                             : choice == status_db::specification ? lookup_kinds::products
                                                                  : lookup_kinds::vehicles;
            taken = lookup_or_pick(ctx_, kind, this, wide_list_area(this));
        }
        // A list closed without a pick leaves the filter as typed.
        if (taken)
            find_edit->setText(choice == status_db::vehicle ? s.lookup_code : s.lookup_name);
    });
    find_edit->setFocus();
}

void TF_CUSTLIST::sel_btnClick()
{
    guarded(*ctx_.prompter, this, [this] { search(); });
}

void TF_CUSTLIST::search()
{
    const Database &db = ctx_.dbm->db();
    const status_db::Search s = boxes();
    const int choice = s.choice;
    if (choice < status_db::vehicle) {
        QSqlQuery rows = status_db::orders(db, s);
        const status_db::OrderTotals t = status_db::order_totals(db, s);
        suju_query->load_in_pages(std::move(rows));
        orders_search_ = s;
        order_totals_ = t;
        order_m3_pan->setText(number_2n(t.order_m3));
        outorder_pan->setText(number_2n(t.delivered));
        ca_count_pan->setText(number_0n(t.trips));
        cholha_query->clear();
        if (!brief() && suju_query->rowCount() > 0) {
            QSqlQuery loads = status_db::order_loads(db, suju_query->text(0, QStringLiteral("ilja")),
                                                     suju_query->text(0, QStringLiteral("seq")));
            cholha_query->load(loads);
        }
    } else if (choice == status_db::vehicle && brief()) {
        QSqlQuery rows = status_db::vehicle_totals(db, s);
        const status_db::LoadTotals t = status_db::vehicle_load_totals(db, s);
        car_totlist_query->load_in_pages(std::move(rows));
        totals_search_ = s;
        vehicle_totals_ = t;
        set_load_totals(car_tot_pan1, car_tot_pan2, t);
    } else if (choice == status_db::vehicle) {
        QSqlQuery rows = status_db::vehicle_loads(db, s);
        const status_db::LoadTotals t = status_db::vehicle_load_totals(db, s);
        const status_db::LoadTotals orphans = status_db::loads_without_order(db, s, false);
        car_list_query->load_in_pages(std::move(rows));
        vehicle_search_ = s;
        list_totals_ = t;
        without_order_ = without_order_printed_ = orphans;
        set_load_totals(car_list_pan1, car_list_pan2, t);
    } else {
        QSqlQuery rows = status_db::day_loads(db, s);
        const status_db::LoadTotals t = status_db::day_load_totals(db, s);
        // The window's totals leave returned loads out, the printed list not.
        const status_db::LoadTotals orphans = status_db::loads_without_order(db, s, true);
        const status_db::LoadTotals orphans_printed = status_db::loads_without_order(db, s, false);
        timeseq_query->load_in_pages(std::move(rows));
        day_search_ = s;
        list_totals_ = t;
        without_order_ = orphans;
        without_order_printed_ = orphans_printed;
        set_load_totals(car_list_pan1, car_list_pan2, t);
    }
    show_without_order();
}

void TF_CUSTLIST::suju_gridClick()
{
    if (brief())
        return;
    const int row = suju_grid->cursor_row();
    const QString date = suju_query->text(row, QStringLiteral("ilja"));
    if (date.isEmpty()) {
        ctx_.prompter->information(this, search_first);
        return;
    }
    guarded(*ctx_.prompter, this, [&] {
        QSqlQuery loads = status_db::order_loads(ctx_.dbm->db(), date, suju_query->text(row, QStringLiteral("seq")));
        cholha_query->load(loads);
    });
}

void TF_CUSTLIST::Timer1Timer()
{
    if (find_combo->currentIndex() == status_db::by_time)
        guarded(*ctx_.prompter, this, [this] { search(); });
}

TF_CUSTLIST::Shown TF_CUSTLIST::shown() const
{
    const QString total_caption = QStringLiteral("합계");
    const QString two = QStringLiteral("%.2n");
    const QString whole = QStringLiteral("%.0n");
    const QString whole_trucks = QStringLiteral("#,##0\" 대\"");
    Shown s;
    const int choice = find_combo->currentIndex();
    if (choice < status_db::vehicle) {
        s.model = suju_query;
        if (orders_search_ && orders_search_->choice == choice)
            s.search = orders_search_;
        s.totals = {{total_caption}, {}, {}, {}, {}, {}, {order_totals_.order_m3, two}, {order_totals_.delivered, two},
                    {order_totals_.trips, whole}};
    } else if (choice == status_db::vehicle && brief()) {
        s.model = car_totlist_query;
        s.search = totals_search_;
        s.totals = {{total_caption}, {}, {vehicle_totals_.quantity, two}, {vehicle_totals_.count, whole}};
    } else {
        s.model = choice == status_db::vehicle ? car_list_query : timeseq_query;
        s.search = choice == status_db::vehicle ? vehicle_search_ : day_search_;
        // The count under the vehicle column, the quantity under its own.
        s.totals = {{choice == status_db::by_time ? total_caption + QStringLiteral(" (회차 제외)") : total_caption},
                    {}, {}, {}, {}, {}, {}, {list_totals_.count, whole_trucks}, {list_totals_.quantity, two}};
    }
    // Dates or a filter changed since: the rows no longer answer the boxes.
    const status_db::Search now = boxes();
    if (s.search && (s.search->first != now.first || s.search->last != now.last || s.search->filter != now.filter))
        s.search.reset();
    return s;
}

report::Document TF_CUSTLIST::current_report(QString *picture_error)
{
    Shown s = shown();
    if (!s.search)
        throw ActionError(search_first);
    status_reports::Heading h{s.search->first, s.search->last, approval_picture(picture_error), {}};
    const int choice = s.search->choice;
    if (choice >= status_db::vehicle && !(choice == status_db::vehicle && brief()))
        h.note = status_db::without_order_line(without_order_printed_);
    if (choice < status_db::vehicle && !brief()) {
        QSqlQuery q = status_db::order_report_loads(ctx_.dbm->db(), *s.search);
        QList<QSqlRecord> loads;
        while (q.next())
            loads << q.record();
        return status_reports::qr_custlist(loads, h);
    }
    read_all(s.model);
    if (choice < status_db::vehicle)
        return status_reports::qr_custtot(s.model->rows(), h);
    if (choice == status_db::vehicle)
        return brief() ? status_reports::qr_cartot(s.model->rows(), h) : status_reports::qr_carlist(s.model->rows(), h);
    return status_reports::qr_timeseq(s.model->rows(), h);
}

void TF_CUSTLIST::produce(bool preview)
{
    if (!shown().search) {
        ctx_.prompter->information(this, search_first);
        return;
    }
    guarded(*ctx_.prompter, this, [&] {
        QString picture_error;
        const report::Document doc = current_report(&picture_error);
        if (!picture_error.isEmpty())
            ctx_.prompter->information(this, picture_error + QStringLiteral("\n결재란 없이 출력합니다."));
        if (preview)
            ctx_.reports->preview(doc, this);
        else
            ctx_.reports->print(doc);
    });
}

void TF_CUSTLIST::pre_btnClick()
{
    produce(true);
}

void TF_CUSTLIST::prn_btnClick()
{
    produce(false);
}

QString TF_CUSTLIST::proposed_file_name() const
{
    const status_db::Search s = boxes();
    QString what = find_combo->currentText().remove(QLatin1Char(' '));
    if (s.choice == status_db::vehicle)
        what += brief() ? QStringLiteral("_집계") : QStringLiteral("_일지");
    else if (s.choice < status_db::vehicle && !brief())
        what += QStringLiteral("_일지");
    return grid_export::file_name(
        {what, s.first, s.choice == status_db::by_time ? QString() : s.last, s.filter});
}

workbook::Sheet TF_CUSTLIST::current_sheet()
{
    // Read after any dialog: the search is what the grid shows now.
    Shown s = shown();
    if (!s.search)
        throw ActionError(search_first);
    const int choice = s.search->choice;
    workbook::Sheet sheet;
    if (choice < status_db::vehicle && !brief()) {
        // The per-load log the detailed view prints.
        QSqlQuery q = status_db::order_report_loads(ctx_.dbm->db(), *s.search);
        RecordTableModel log({{"ilja", "일  자", centre},
                              {"seq", "순번", centre},
                              {"v_inout", "거 래 처 명", left, {}, false, 16},
                              {"v_station", "현 장 명", left, {}, false, 20},
                              {"remi_code", "코 드", centre},
                              {"v_rule", "규  격", centre},
                              {"o_otime", "시  간", centre},
                              {"o_carnum", "차량번호", centre},
                              {"o_outorder", "출하량", right}});
        log.load(q);
        QList<workbook::Cell> totals(log.columnCount());
        totals[0] = {QStringLiteral("합계")};
        totals[7] = {double(log.rowCount()), QStringLiteral("#,##0\" 대\"")};
        totals[8] = {log.sum(QStringLiteral("o_outorder")), QStringLiteral("%.2n")};
        sheet = grid_export::sheet_of(nullptr, &log, totals);
        sheet.name = QStringLiteral("거래처별 출하일지");
    } else {
        read_all(s.model);
        const QTableView *grid = s.model == suju_query          ? static_cast<QTableView *>(suju_grid)
                                 : s.model == car_totlist_query ? static_cast<QTableView *>(DBGrid2)
                                                                : static_cast<QTableView *>(list_grid);
        sheet = grid_export::sheet_of(grid, s.model, s.totals);
        sheet.name = choice < status_db::vehicle    ? QStringLiteral("거래처별 출하현황")
                     : choice == status_db::by_time ? QStringLiteral("시간대별 출하일지")
                     : brief()                      ? QStringLiteral("차량별 출하집계표")
                                                    : QStringLiteral("차량별 출하일지");
        if (choice >= status_db::vehicle && s.model != car_totlist_query) {
            const QString note = status_db::without_order_line(without_order_);
            if (!note.isEmpty())
                sheet.notes << note;
        }
    }
    sheet.title = QStringLiteral("[") + sheet.name + QStringLiteral("]");
    sheet.period = QStringLiteral("일자 : ") + s.search->first;
    if (choice != status_db::by_time)
        sheet.period += QStringLiteral(" >> ") + s.search->last;
    if (!s.search->filter.isEmpty())
        sheet.period += QStringLiteral("   ") + find_combo->itemText(choice).remove(QLatin1Char(' '))
                        + QStringLiteral(" : ") + s.search->filter;
    return sheet;
}

void TF_CUSTLIST::excel_btnClick()
{
    if (!shown().search) {
        ctx_.prompter->information(this, search_first);
        return;
    }
    grid_export::save(*ctx_.prompter, this, ask_export_path, proposed_file_name(), [this] { return current_sheet(); });
}
