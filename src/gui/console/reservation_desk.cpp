#include "gui/console/reservation_desk.h"
#include "gui/data/app_context.h"
#include "core/data/data_module.h"
#include "gui/framework/board_grid.h"
#include "gui/data/console_ops.h"
#include "gui/console/order_board.h"
#include "gui/console/vehicle_board.h"
#include "core/framework/guarded.h"
#include "core/framework/prompter.h"
#include "core/framework/record_table_model.h"
#include "core/masterdata/text_pad.h"
#include "core/plantlink/plant_link.h"
#include "core/plantlink/reservation_slots.h"
#include "core/plantlink/send_frame.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using Slots = ReservationSlots;

namespace {
const QString all_filled = QStringLiteral("예약이 모두 등록되었습니다.");
const QString link_off = QStringLiteral("통신을 먼저 연결하시오");

QLabel *header(const QString &text)
{
    auto *l = new QLabel(text);
    l->setAlignment(Qt::AlignCenter);
    l->setStyleSheet(QStringLiteral("background: #d6dde8; border: 1px solid #9aa8bb; padding: 1px;"));
    return l;
}
}

ReservationDesk::ReservationDesk(AppContext &ctx, OrderBoard &orders, VehicleBoard &vehicles, QObject *parent)
    : QObject(parent), ctx_(ctx), orders_(orders), vehicles_(vehicles)
{
    slot_model = new ReservationSlots(this);
    yusa_chk = new QCheckBox(QStringLiteral("유      사"));
    yusa_chk->setObjectName(QStringLiteral("yusa_chk"));
    autosend_chk = new QCheckBox(QStringLiteral("자동전송"));
    autosend_chk->setObjectName(QStringLiteral("autosend_chk"));
    autosend_chk->setChecked(true);
    moltal_btn = new QPushButton(QStringLiteral("몰       탈 "));
    moltal_btn->setObjectName(QStringLiteral("moltal_btn"));
    moltal_btn->setAutoDefault(false);
    moltal_btn->setFocusPolicy(Qt::NoFocus);

    Panel10 = build_unit_panel(1);
    Panel23 = build_unit_panel(2);
    yusa_pan1 = build_yusa_panel(1);
    yusa_pan2 = build_yusa_panel(2);
    hogi1_rad->setChecked(true);

    connect(moltal_btn, &QPushButton::clicked, this, &ReservationDesk::moltal_btnClick);
    connect(yusa_chk, &QCheckBox::clicked, this, &ReservationDesk::yusa_chkClick);
    // The radio buttons sit on different panels: keep them exclusive here.
    connect(hogi1_rad, &QRadioButton::clicked, this, [this] { select_unit(1); });
    connect(hogi2_rad, &QRadioButton::clicked, this, [this] { select_unit(2); });
}

QFrame *ReservationDesk::build_unit_panel(int unit)
{
    auto *panel = new QFrame;
    panel->setObjectName(unit == 1 ? QStringLiteral("Panel10") : QStringLiteral("Panel23"));
    panel->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    auto *grid = new QGridLayout(panel);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(2);

    auto *label = new QLabel;
    label->setObjectName(QStringLiteral("display_lab%1").arg(unit));
    QFont big = label->font();
    big.setPointSizeF(big.pointSizeF() + 4);
    big.setBold(true);
    label->setFont(big);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumHeight(32);
    auto *radio = new QRadioButton(unit == 1 ? QStringLiteral("1   호  기") : QStringLiteral("2   호  기"));
    radio->setObjectName(QStringLiteral("hogi%1_rad").arg(unit));
    radio->setAutoExclusive(false);
    radio->setFont(big);
    auto *indicator = new QLabel(QStringLiteral("데이타 전송"), panel);
    indicator->setObjectName(QStringLiteral("send_img%1").arg(unit));
    indicator->setToolTip(QStringLiteral("컴퓨터에서 시스템으로 데이타를 전송"));
    indicator->setStyleSheet(QStringLiteral("background: yellow; border: 1px solid #806000; padding: 1px 4px;"));
    indicator->adjustSize();
    indicator->hide();
    if (unit == 1) {
        display_lab1 = label;
        hogi1_rad = radio;
        send_img1 = indicator;
    } else {
        display_lab2 = label;
        hogi2_rad = radio;
        send_img2 = indicator;
    }
    grid->addWidget(label, 0, 0, 1, 4);
    grid->addWidget(radio, 0, 4, 1, 3);

    const QStringList titles{QStringLiteral("순번"), QStringLiteral("규 격"), QStringLiteral("규 격 명"),
                             QStringLiteral("수량"), QStringLiteral("차번"), QStringLiteral("현   장   명")};
    const int char_w = panel->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    const int widths[] = {3, 5, 10, 5, 5};
    for (int c = 0; c < titles.size(); ++c) {
        QLabel *title = header(titles[c]);
        if (c < 5)
            title->setFixedWidth(widths[c] * char_w + 12);
        grid->addWidget(title, 1, c);
    }
    for (int slot = 1; slot <= 3; ++slot) {
        const int row = Slots::row_of(unit, slot);
        for (int f = 1; f <= Slots::field_count; ++f) {
            auto *edit = new QLineEdit;
            edit->setObjectName(QStringLiteral("send%1_%2").arg(row).arg(f));
            send[row - 1][f - 1] = edit;
            bind(edit, row, f, false);
            if (f <= 5) {
                edit->setFixedWidth(widths[f - 1] * char_w + 12);
                edit->setAlignment(f == 3 ? Qt::AlignLeft : Qt::AlignCenter);
                grid->addWidget(edit, slot + 1, f - 1);
            }
        }
        // The site-name column shows the site for unit 1, the customer for unit 2.
        QLineEdit *site = send[row - 1][Slots::Site - 1];
        QLineEdit *customer = send[row - 1][Slots::Customer - 1];
        QLineEdit *shown = unit == 1 ? site : customer;
        grid->addWidget(shown, slot + 1, 5);
        (unit == 1 ? customer : site)->hide();
        send[row - 1][Slots::VehicleCode - 1]->hide();
        if (unit == 1)
            site->setMaxLength(26);

        auto *del = new QPushButton(QStringLiteral("삭제"));
        del->setObjectName(QStringLiteral("send_del%1_btn").arg(row));
        del->setAutoDefault(false);
        del->setFocusPolicy(Qt::NoFocus);
        del->setFixedWidth(del->fontMetrics().horizontalAdvance(del->text()) + 20);
        send_del_btn[row - 1] = del;
        grid->addWidget(del, slot + 1, 6);
        connect(del, &QPushButton::clicked, this, [this, row] { delete_slot(row); });

        connect(send[row - 1][Slots::OrderNo - 1], &QLineEdit::returnPressed, this, [this, row] { typed_order_no(row); });
        connect(send[row - 1][Slots::Quantity - 1], &QLineEdit::returnPressed, this, [this, row] { typed_quantity(row); });
        connect(send[row - 1][Slots::VehicleNo - 1], &QLineEdit::returnPressed, this, [this, row] { typed_vehicle(row); });
        if (unit == 1)
            connect(site, &QLineEdit::returnPressed, this, [this, row] { typed_vehicle(row); });
    }
    grid->setColumnStretch(5, 1);
    return panel;
}

QFrame *ReservationDesk::build_yusa_panel(int unit)
{
    auto *panel = new QFrame;
    panel->setObjectName(QStringLiteral("yusa_pan%1").arg(unit));
    panel->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    auto *grid = new QGridLayout(panel);
    grid->setContentsMargins(4, 2, 4, 4);
    grid->setSpacing(2);
    auto *title = new QLabel(unit == 1 ? QStringLiteral("1 호 기") : QStringLiteral("2 호 기"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    grid->addWidget(title, 0, 0);
    grid->addWidget(header(QStringLiteral("규 격")), 0, 1);
    grid->addWidget(header(QStringLiteral("수 량")), 0, 2);
    grid->addWidget(header(QStringLiteral("차량번호")), 0, 3);
    for (int slot = 1; slot <= 3; ++slot) {
        const int row = Slots::row_of(unit, slot);
        grid->addWidget(new QLabel(QString::number(slot)), slot, 0, Qt::AlignCenter);
        for (int f = 1; f <= Slots::yusa_count; ++f) {
            auto *edit = new QLineEdit;
            edit->setObjectName(QStringLiteral("fsend%1_%2").arg(row).arg(f));
            edit->setAlignment(Qt::AlignCenter);
            fsend[row - 1][f - 1] = edit;
            bind(edit, row, f, true);
            grid->addWidget(edit, slot, f);
        }
        connect(fsend[row - 1][Slots::YusaProduct - 1], &QLineEdit::returnPressed, this,
                [this, row] { typed_order_no(row); });
    }
    panel->hide();
    return panel;
}

void ReservationDesk::bind(QLineEdit *edit, int row, int field, bool yusa)
{
    connect(edit, &QLineEdit::textEdited, this, [this, row, field, yusa](const QString &text) {
        yusa ? slot_model->set_yusa(row, field, text) : slot_model->set_field(row, field, text);
    });
    connect(slot_model, yusa ? &ReservationSlots::yusa_changed : &ReservationSlots::field_changed, edit,
            [edit, row, field](int r, int f, const QString &text) {
                if (r == row && f == field && edit->text() != text)
                    edit->setText(text);
            });
}

QWidget *ReservationDesk::window() const
{
    return Panel10->window();
}

void ReservationDesk::message(const QString &text)
{
    ctx_.prompter->information(window(), text);
}

void ReservationDesk::focus(int row, int field)
{
    send[row - 1][field - 1]->setFocus();
}

int ReservationDesk::selected_unit() const
{
    return hogi2_rad->isChecked() ? 2 : 1;
}

void ReservationDesk::select_unit(int unit)
{
    hogi1_rad->setChecked(unit == 1);
    hogi2_rad->setChecked(unit == 2);
}

bool ReservationDesk::yusa_mode() const
{
    return yusa_chk->isChecked();
}

bool ReservationDesk::auto_send() const
{
    return autosend_chk->isChecked();
}

void ReservationDesk::fill_from_order_board()
{
    if (!link_ || !link_->is_on()) {
        message(link_off);
        return;
    }
    const int unit = selected_unit();
    const int k = slot_model->find_free_slot_by_order(unit);
    if (k == Slots::no_free_slot) {
        message(all_filled);
        return;
    }
    const int cursor = orders_.suju_grid->cursor_row();
    const RecordTableModel &order = *orders_.suju_query;
    const QString seq = order.text(cursor, QStringLiteral("seq"));
    const int row = Slots::row_of(unit, k);
    const QString remi_code = order.text(cursor, QStringLiteral("remi_code"));
    slot_model->set_field(row, Slots::OrderNo, seq);
    slot_model->set_field(row, Slots::Product, remi_code);
    slot_model->set_field(row, Slots::SpecName, order.text(cursor, QStringLiteral("v_rule")));
    slot_model->set_field(row, Slots::Quantity, QStringLiteral("6"));
    slot_model->set_field(row, Slots::Customer, order.text(cursor, QStringLiteral("v_inout")));
    slot_model->set_field(row, Slots::Site, order.text(cursor, QStringLiteral("v_station")));
    focus(row, Slots::Quantity);
    if (yusa_mode()) {
        slot_model->set_yusa(row, Slots::YusaProduct, remi_code);
        slot_model->set_yusa(row, Slots::YusaQuantity, QStringLiteral("6"));
    }
    // The order's trips below the board, a display only: left while the
    // database is away, so that the slot is filled at once.
    if (!ctx_.console->database_away())
        guarded(*ctx_.prompter, window(), [&] { ctx_.console->load_shipments(ctx_.console->board_date(), seq); });
}

void ReservationDesk::fill_from_vehicle_board()
{
    if (!link_ || !link_->is_on()) {
        message(link_off);
        return;
    }
    const int unit = selected_unit();
    const int k = slot_model->find_free_slot_by_vehicle(unit);
    if (k == Slots::no_free_slot) {
        message(all_filled);
    } else {
        const int row = Slots::row_of(unit, k);
        const QString number = vehicles_.current_number();
        slot_model->set_field(row, Slots::VehicleNo, number);
        slot_model->set_field(row, Slots::VehicleCode, vehicles_.current_code());
        focus(row, Slots::Quantity);
        if (yusa_mode())
            slot_model->set_yusa(row, Slots::YusaVehicle, number);
    }
    if (auto_send())
        link_->send_frame(unit);
}

void ReservationDesk::typed_order_no(int row)
{
    const QString padded = pad_zero(slot_model->field(row, Slots::OrderNo), 2);
    slot_model->set_field(row, Slots::OrderNo, padded);
    orders_db::OrderSummary found;
    if (!guarded(*ctx_.prompter, window(), [&] {
            orders_.find_order(ctx_.console->board_date(), padded);
            found = orders_.found_order;
        }))
        return;
    if (!found.remi_code.isEmpty()) {
        slot_model->set_field(row, Slots::Product, found.remi_code);
        slot_model->set_field(row, Slots::SpecName, found.v_rule);
        slot_model->set_field(row, Slots::Customer, found.v_inout);
        slot_model->set_field(row, Slots::Site, found.v_station);
        slot_model->set_field(row, Slots::Quantity, QStringLiteral("6"));
        slot_model->typed_over(row);
        if (yusa_mode()) {
            slot_model->set_yusa(row, Slots::YusaProduct, found.remi_code);
            slot_model->set_yusa(row, Slots::YusaQuantity, QStringLiteral("6"));
        }
        focus(row, Slots::Quantity);
    } else {
        message(QStringLiteral("등록된 출하예정 순번이 없습니다."));
        slot_model->set_field(row, Slots::OrderNo, QString());
        focus(row, Slots::OrderNo);
    }
}

// A quantity the frame cannot carry would block every frame of the unit:
// refused where it is typed, naming the slot.
bool ReservationDesk::quantity_fits(int row, const QString &quantity)
{
    const int unit = row <= 3 ? 1 : 2;
    const int slot = row - (unit - 1) * 3;
    const QString problem = send_frame::quantity_problem(quantity, unit, slot);
    if (problem.isEmpty())
        return true;
    message(problem + QStringLiteral("\n0 ~ 9.99 m3의 수량을 입력하십시오."));
    return false;
}

void ReservationDesk::typed_quantity(int row)
{
    if (!quantity_fits(row, slot_model->field(row, Slots::Quantity))) {
        focus(row, Slots::Quantity);
        send[row - 1][Slots::Quantity - 1]->selectAll();
        return;
    }
    if (yusa_mode())
        slot_model->set_yusa(row, Slots::YusaQuantity, slot_model->field(row, Slots::Quantity));
    focus(row, Slots::VehicleNo);
}

void ReservationDesk::typed_vehicle(int row)
{
    std::optional<std::pair<QString, QString>> chosen;
    if (choose_vehicle
        && !guarded(*ctx_.prompter, window(), [&] { chosen = choose_vehicle(slot_model->field(row, Slots::VehicleNo)); }))
        return;
    if (!chosen) {
        focus(row, Slots::VehicleNo);
        return;
    }
    slot_model->set_field(row, Slots::VehicleNo, chosen->first);
    slot_model->set_field(row, Slots::VehicleCode, chosen->second);
    if (auto_send() && link_)
        link_->send_frame(selected_unit());
}

void ReservationDesk::moltal_btnClick()
{
    const int unit = selected_unit();
    const int k = slot_model->find_free_slot_by_order(unit);
    if (k == Slots::no_free_slot) {
        message(all_filled);
        return;
    }
    if (k == 1) {
        message(QStringLiteral("예약1에는 몰탈을 얹을 수 없습니다."));
        return;
    }
    const int row = Slots::row_of(unit, k);
    const PlantSettings &s = ctx_.dbm->settings;
    if (!quantity_fits(row, s.mortar_qty))
        return;
    slot_model->set_field(row, Slots::OrderNo, Slots::mortar_order_no);
    slot_model->set_field(row, Slots::Product, s.mortar_code);
    slot_model->set_field(row, Slots::SpecName, QStringLiteral("몰탈"));
    slot_model->set_field(row, Slots::Quantity, s.mortar_qty);
    slot_model->set_field(row, Slots::VehicleNo, slot_model->field(row - 1, Slots::VehicleNo));
    focus(row, Slots::Quantity);
    if (yusa_mode()) {
        const bool unit2_slot2 = unit == 2 && k == 2;
        slot_model->set_yusa(row, Slots::YusaProduct, unit2_slot2 ? QStringLiteral("9999") : s.mortar_code);
        slot_model->set_yusa(row, Slots::YusaQuantity, s.mortar_qty);
        slot_model->set_yusa(row, Slots::YusaVehicle, slot_model->yusa(row - 1, Slots::YusaVehicle));
    }
}

void ReservationDesk::delete_slot(int row)
{
    const bool first_slot = row == 1 || row == 4;
    if (first_slot && link_) {
        const QString status = link_->unit(row == 1 ? 1 : 2).last_status;
        if (status == QLatin1String("B") || status == QLatin1String("N")) {
            message(QStringLiteral("계량중에는 삭제 할 수 없습니다."));
            return;
        }
    }
    slot_model->clear_slot(row, yusa_mode());
}

void ReservationDesk::yusa_chkClick()
{
    const bool on = yusa_mode();
    yusa_pan1->setVisible(on);
    yusa_pan2->setVisible(on);
    if (on)
        slot_model->copy_into_yusa();
}

void ReservationDesk::go_to_free_slot(int unit)
{
    const int k = slot_model->find_free_slot_by_order(unit);
    if (k == Slots::no_free_slot)
        message(all_filled);
    else
        focus(Slots::row_of(unit, k), Slots::OrderNo);
}

void ReservationDesk::show_unit_status(int unit, const QString &text, const QColor &background)
{
    QLabel *label = unit == 1 ? display_lab1 : display_lab2;
    label->setText(text);
    label->setStyleSheet(QStringLiteral("color: white; background: %1;").arg(background.name()));
}

void ReservationDesk::sweep_send_indicator(int unit, const std::function<void()> &done)
{
    QLabel *indicator = unit == 1 ? send_img1 : send_img2;
    const int y = (unit == 1 ? display_lab1 : display_lab2)->geometry().bottom() - indicator->height();
    indicator->move(3, qMax(0, y));
    indicator->show();
    indicator->raise();
    auto *sweep = new QPropertyAnimation(indicator, "pos", indicator);
    sweep->setDuration(180);
    sweep->setStartValue(QPoint(3, qMax(0, y)));
    sweep->setEndValue(QPoint(349, qMax(0, y)));
    connect(sweep, &QPropertyAnimation::finished, indicator, [indicator, y, done] {
        indicator->move(3, qMax(0, y));
        indicator->hide();
        done();
    });
    sweep->start(QAbstractAnimation::DeleteWhenStopped);
}
