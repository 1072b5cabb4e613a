#include "gui/console/order_board.h"
#include "gui/data/app_context.h"
#include "core/data/data_module.h"
#include "gui/framework/board_grid.h"
#include "core/framework/guarded.h"
#include "core/framework/record_table_model.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
using Col = RecordTableModel::Column;
constexpr auto right = Qt::AlignRight | Qt::AlignVCenter;
constexpr auto centre = Qt::AlignCenter;
constexpr auto left = Qt::AlignLeft | Qt::AlignVCenter;

QList<Col> order_columns()
{
    return {
        {"SEQ", "순번", centre, {}, false, 4},
        {"v_inout", "거  래  처  명", left, {}, false, 17},
        {"v_station", "현  장  명", left, {}, false, 22},
        {"remi_code", "코드", centre, {}, false, 5},
        {"v_rule", "규  격  명", centre, Qt::red, true, 10},
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
        {"o_oTIME", "시간", centre, {}, false, 8},
        {"o_ccode", "차량번호", centre, {}, false, 6},
        {"o_outorder", "출하량", right, {}, false, 0},
    };
}
}

OrderBoard::OrderBoard(AppContext &ctx, std::function<QString()> board_date, QObject *parent)
    : QObject(parent), ctx_(ctx), board_date_(std::move(board_date))
{
    makam_chk = new QCheckBox(QStringLiteral("마감보기"));
    makam_chk->setObjectName(QStringLiteral("makam_chk"));

    Panel9 = new QFrame;
    Panel9->setObjectName(QStringLiteral("Panel9"));
    Panel9->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel9->setStyleSheet(QStringLiteral("QFrame#Panel9 { background: #24466e; }"
                                         " QFrame#Panel9 > QLabel { color: white; }"));
    auto *title = new QLabel(QStringLiteral("금  일   출  하   예  정"));
    title->setObjectName(QStringLiteral("Panel9_title"));
    QFont title_font = title->font();
    title_font.setPointSizeF(title_font.pointSizeF() + 3);
    title_font.setBold(true);
    title->setFont(title_font);
    dam_edit = new QLineEdit;
    dam_edit->setObjectName(QStringLiteral("dam_edit"));
    dam_edit->setFixedWidth(dam_edit->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 14);
    makam_btn = new QPushButton(QStringLiteral("마 감"));
    makam_btn->setObjectName(QStringLiteral("makam_btn"));
    refresh_btn = new QPushButton(QStringLiteral("갱 신"));
    refresh_btn->setObjectName(QStringLiteral("refresh_btn"));
    for (QPushButton *b : {makam_btn, refresh_btn}) {
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::NoFocus);
        b->setMinimumWidth(70);
    }
    auto *bar = new QHBoxLayout(Panel9);
    bar->setContentsMargins(8, 3, 8, 3);
    bar->addWidget(title);
    bar->addStretch();
    bar->addWidget(new QLabel(QStringLiteral("출하인")));
    bar->addWidget(dam_edit);
    bar->addSpacing(12);
    bar->addWidget(makam_btn);
    bar->addWidget(refresh_btn);

    suju_query = new RecordTableModel(order_columns(), this);
    suju_query->setObjectName(QStringLiteral("suju_query"));
    suju_grid = new BoardGrid(QStringLiteral("suju_grid"), suju_query);
    suju_grid->set_background(Qt::white);
    suju_grid->setContextMenuPolicy(Qt::ActionsContextMenu);

    cholha_query = new RecordTableModel(shipment_columns(), this);
    cholha_query->setObjectName(QStringLiteral("cholha_query"));
    cholha_grid = new BoardGrid(QStringLiteral("cholha_grid"), cholha_query);

    total_display_bar = new QFrame;
    total_display_bar->setObjectName(QStringLiteral("total_display_bar"));
    auto *totals = new QHBoxLayout(total_display_bar);
    totals->setContentsMargins(0, 0, 0, 0);
    totals->setSpacing(2);
    const QStringList captions{QStringLiteral("수주량"), {}, QStringLiteral("출하량"), {},
                               QStringLiteral("잔  량"), {}, QStringLiteral("횟  수"), {}};
    for (int i = 0; i < captions.size(); ++i) {
        auto *panel = new QLabel(captions[i]);
        panel->setObjectName(QStringLiteral("total_panel%1").arg(i));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setAlignment(i % 2 ? (Qt::AlignRight | Qt::AlignVCenter) : Qt::AlignCenter);
        panel->setMinimumHeight(panel->fontMetrics().height() + 8);
        if (i % 2) {
            QFont f = panel->font();
            f.setBold(true);
            panel->setFont(f);
            panel->setText(QStringLiteral("0"));
        }
        totals->addWidget(panel, i % 2 ? 3 : 2);
        total_panels << panel;
    }

    connect(makam_chk, &QCheckBox::clicked, this, &OrderBoard::makam_chkClick);
    connect(makam_btn, &QPushButton::clicked, this, &OrderBoard::makam_btnClick);
    connect(refresh_btn, &QPushButton::clicked, this, &OrderBoard::refresh_btnClick);
    connect(suju_grid, &QAbstractItemView::clicked, this, &OrderBoard::follow_cursor);
    connect(suju_grid, &BoardGrid::cursor_key_released, this, &OrderBoard::follow_cursor);
    connect(suju_grid, &QAbstractItemView::doubleClicked, this, &OrderBoard::suju_gridDblClick);
}

QWidget *OrderBoard::window() const
{
    return suju_grid->window();
}

void OrderBoard::load_orders(const QString &date, const QString &state)
{
    QSqlQuery q = orders_db::orders_of_day(ctx_.dbm->db(), date, state);
    suju_query->load(q);
    const orders_db::DayTotals t = orders_db::day_totals(ctx_.dbm->db(), date);
    total_panels[1]->setText(general_number(t.order_m3));
    total_panels[3]->setText(general_number(t.shipped));
    total_panels[5]->setText(general_number(t.remaining));
    total_panels[7]->setText(QString::number(t.trips));
}

void OrderBoard::find_order(const QString &date, const QString &seq)
{
    found_order = orders_db::find_order(ctx_.dbm->db(), date, seq);
}

void OrderBoard::load_shipments(const QString &date, const QString &seq)
{
    QSqlQuery q = orders_db::shipments_of_order(ctx_.dbm->db(), date, seq);
    cholha_query->load(q);
}

QString OrderBoard::current_seq() const
{
    return suju_query->text(suju_grid->cursor_row(), QStringLiteral("seq"));
}

QString OrderBoard::shown_state() const
{
    return makam_chk->isChecked() ? QStringLiteral("NO") : QStringLiteral("YES");
}

void OrderBoard::follow_cursor()
{
    guarded(*ctx_.prompter, window(), [this] { load_shipments(board_date_(), current_seq()); });
}

void OrderBoard::makam_chkClick()
{
    const bool closed = makam_chk->isChecked();
    guarded(*ctx_.prompter, window(), [&] { load_orders(board_date_(), shown_state()); });
    suju_grid->set_background(closed ? QColor(Qt::green) : QColor(Qt::white));
    makam_btn->setText(closed ? QStringLiteral("재 개") : QStringLiteral("마 감"));
}

void OrderBoard::makam_btnClick()
{
    guarded(*ctx_.prompter, window(), [this] {
        // Ticked: the closed orders are shown, so the button reopens.
        const QString state = makam_chk->isChecked() ? QStringLiteral("YES") : QStringLiteral("NO");
        orders_db::set_order_state(ctx_.dbm->db(), board_date_(), current_seq(), state);
        load_orders(board_date_(), shown_state());
    });
}

void OrderBoard::refresh_btnClick()
{
    guarded(*ctx_.prompter, window(), [this] {
        orders_db::recalculate_day(ctx_.dbm->db(), board_date_());
        load_orders(board_date_(), QStringLiteral("YES"));
    });
}
