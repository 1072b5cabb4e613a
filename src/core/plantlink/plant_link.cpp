#include "core/plantlink/plant_link.h"
#include "core/plantlink/link_log.h"
#include "core/framework/guarded.h"
#include "core/framework/serial_line.h"
#include "core/plantlink/reservation_slots.h"
#include "core/plantlink/send_frame.h"

#include <QTimer>

using Slots = ReservationSlots;

namespace {
bool is_status_letter(char c)
{
    return c == 'B' || c == 'E' || c == 'N' || c == 'U';
}

struct PortSetting {
    QString port;
    int speed = 0;
    QString error;  // for the operator; empty when the setting is usable
};

PortSetting port_setting(int unit, const PlantSettings &s)
{
    PortSetting p;
    p.port = unit == 1 ? s.comm1_port : s.comm2_port;
    const QString speed = unit == 1 ? s.comm1_speed : s.comm2_speed;
    bool ok = false;
    p.speed = speed.trimmed().toInt(&ok);
    if (!ok || p.speed <= 0)
        p.error = QStringLiteral("%1호기 전송 속도 '%2'이(가) 올바르지 않습니다.").arg(unit).arg(speed);
    else if (SerialLine::device_for(p.port).isEmpty())
        p.error = QStringLiteral("%1호기 통신 포트 '%2'이(가) 올바르지 않습니다.").arg(unit).arg(p.port);
    return p;
}
}

PlantLink::PlantLink(ReservationSlots &reservations, SerialLine &line1, SerialLine &line2,
                     std::function<PlantSettings()> settings, Prompter &prompter, LinkHost &host,
                     QWidget *dialog_parent, QObject *parent)
    : QObject(parent), slots_(reservations), lines_{&line1, &line2}, settings_(std::move(settings)),
      prompter_(prompter), host_(host), dialog_parent_(dialog_parent), reopen_timer_(new QTimer(this))
{
    for (int u = 1; u <= 2; ++u) {
        connect(lines_[u - 1], &SerialLine::received, this,
                [this, u](const QByteArray &bytes) { on_received(u, bytes); });
        connect(lines_[u - 1], &SerialLine::line_error, this,
                [this, u](int event) { on_line_error(u, event); });
    }
    // Another load in slot 1: its first "B" records it, whatever the count.
    connect(&slots_, &ReservationSlots::load_replaced, this, [this](int row) {
        if (row == Slots::row_of(1, 1) || row == Slots::row_of(2, 1))
            units_.at(row == 1 ? 0 : 1).recorded = false;
    });
    reopen_timer_->setInterval(3000);
    connect(reopen_timer_, &QTimer::timeout, this, &PlantLink::reopen_lost_ports);
}

void PlantLink::set_reopen_interval(int ms)
{
    reopen_timer_->setInterval(ms);
}

QString PlantLink::line_error_text(int unit, int event)
{
    QString what;
    switch (event) {
    case SerialLine::Break: what = QStringLiteral("중지신호 수신"); break;
    case SerialLine::CtsTimeout: what = QStringLiteral("CTR 시간초과 오류."); break;
    case SerialLine::DsrTimeout: what = QStringLiteral("DSR 시간초과 오류."); break;
    case SerialLine::Framing: what = QStringLiteral("프로그래밍 오류."); break;
    case SerialLine::Overrun: what = QStringLiteral("포트오버런"); break;
    case SerialLine::CdTimeout: what = QStringLiteral("CD 시간 초과"); break;
    case SerialLine::RxOverflow: what = QStringLiteral("수신 버퍼초과 오류"); break;
    case SerialLine::TxFull: what = QStringLiteral("전송버퍼 꽉 참"); break;
    case SerialLine::DeviceControlBlock: what = QStringLiteral("포트에 대한 장치 제어 블록"); break;
    case SerialLine::PortLost:
        return QStringLiteral("%1호기 포트에서 알수없는 통신오류.\n"
                              "포트가 끊어졌습니다. 포트가 다시 나타나면 저절로 다시 열고 예약을 다시 전송합니다.")
            .arg(unit);
    default: what = QStringLiteral("알수없는 통신오류."); break;
    }
    return QStringLiteral("%1호기 포트에서 %2").arg(unit).arg(what);
}

void PlantLink::switch_on()
{
    on_ = true;
    host_.show_link_state(true);
    const PlantSettings s = settings_();
    for (int u = 1; u <= 2; ++u) {
        PortSetting p = port_setting(u, s);
        if (p.error.isEmpty()) {
            if (lines_[u - 1]->open(p.port, p.speed, &p.error))
                continue;
            p.error = QStringLiteral("%1호기: %2").arg(u).arg(p.error);
        }
        // The lines after it stay closed; switching off and on tries again.
        qCWarning(lc_link).noquote() << "cannot open the line:" << p.error;
        say(p.error, true);
        return;
    }
    for (Unit &unit : units_)
        unit.last_status = QStringLiteral("U");
}

void PlantLink::switch_off()
{
    on_ = false;
    reopen_timer_->stop();
    host_.show_link_state(false);
    for (int u = 1; u <= 2; ++u) {
        Unit &unit = units_.at(u - 1);
        unit.batch_count = 0;
        if (unit.line_down) {
            unit.line_down = false;
            show_status_label(u);
        }
    }
    for (SerialLine *line : lines_)
        line->close();
}

QByteArray PlantLink::build_frame(int unit)
{
    std::array<QByteArray, 3> names;
    if (unit == 1) {
        for (int slot = 1; slot <= 3; ++slot) {
            const send_frame::SiteName name = send_frame::normalise_site_name(slots_.field(unit, slot, Slots::Site));
            slots_.set_field(Slots::row_of(unit, slot), Slots::Site, name.text);
            names[slot - 1] = name.bytes;
        }
    }
    std::array<send_frame::SlotLoad, 3> loads;
    const bool yusa = host_.yusa_mode();
    for (int slot = 1; slot <= 3; ++slot) {
        const int row = Slots::row_of(unit, slot);
        loads[slot - 1] = yusa ? send_frame::SlotLoad{slots_.yusa(row, Slots::YusaProduct),
                                                      slots_.yusa(row, Slots::YusaQuantity),
                                                      slots_.yusa(row, Slots::YusaVehicle)}
                               : send_frame::SlotLoad{slots_.field(row, Slots::Product),
                                                      slots_.field(row, Slots::Quantity),
                                                      slots_.field(row, Slots::VehicleNo)};
    }
    return send_frame::build(unit, loads, names);
}

void PlantLink::send_frame(int unit)
{
    send(unit);
    show_messages();
}

void PlantLink::send(int unit)
{
    Unit &state = units_.at(unit - 1);
    // A line that is down gets the frame when it comes back.
    if (state.last_status == QLatin1String("B") || state.line_down)
        return;
    QByteArray frame;
    if (!guarded(messages_, dialog_parent_, [&] { frame = build_frame(unit); }))
        return;
    if (frame == state.last_frame)
        return;
    QString error;
    if (!lines_[unit - 1]->write(frame, &error)) {
        qCWarning(lc_link).noquote() << "unit" << unit << "- frame not sent:" << error;
        say(QStringLiteral("%1호기로 전송할 수 없습니다.\n%2").arg(unit).arg(error), true);
        return;
    }
    state.last_frame = frame;
    sweeping_ = true;
    host_.sweep_send_indicator(unit, [this] { sweep_finished(); });
}

void PlantLink::sweep_finished()
{
    sweeping_ = false;
    // What arrived during the send is handled now, in order.
    pump();
}

void PlantLink::on_received(int unit, const QByteArray &bytes)
{
    QByteArray letters;
    for (const char c : bytes)
        if (is_status_letter(c))
            letters += c;
    if (unit == 1 && !letters.isEmpty())
        host_.show_received(QString::fromLatin1(letters));
    const QDateTime read_at = host_.now();
    for (const char c : letters)
        queue_ << Pending{Pending::Letter, unit, c, 0, read_at};
    // Said after all of the read's letters are applied; not again for a
    // read that came while the same box is open (a burst of noise).
    if (unit == 2 && letters.size() > 1 && !showing_.contains(receive_error_text()))
        queue_ << Pending{Pending::Notice, unit, 0, 0};
    pump();
}

void PlantLink::on_line_error(int unit, int event)
{
    queue_ << Pending{Pending::LineError, unit, 0, event};
    pump();
}

// Handles what is queued, one report after the other, and shows the
// messages only when nothing is left: a box opened halfway would let the
// next read be handled inside it, before the rest of this one.
void PlantLink::pump()
{
    if (pumping_)
        return;
    pumping_ = true;
    while (!sweeping_ && !queue_.isEmpty())
        handle(queue_.takeFirst());
    pumping_ = false;
    show_messages();
}

void PlantLink::handle(const Pending &p)
{
    switch (p.kind) {
    case Pending::Letter:
        units_.at(p.unit - 1).last_status = QString(QLatin1Char(p.letter));
        apply_status(p.unit, p.letter, p.read_at);
        return;
    case Pending::Notice:
        qCWarning(lc_link).noquote() << "unit" << p.unit << "-" << receive_error_text();
        say(receive_error_text(), false);
        return;
    case Pending::LineError:
        qCWarning(lc_link).noquote() << "unit" << p.unit << "line event" << p.event << "-" << line_error_text(p.unit, p.event);
        if (p.event == SerialLine::PortLost)
            port_lost(p.unit);
        else
            say(line_error_text(p.unit, p.event), true);
        return;
    }
}

// Reports keep arriving while a message is open: a burst of noise must
// not stack a box on a box, so a text already waiting or on the screen is
// not said again.
void PlantLink::say(const QString &text, bool is_error, bool urgent)
{
    if (showing_.contains(text))
        return;
    for (const Message &m : held_)
        if (m.text == text)
            return;
    held_ << Message{text, is_error, urgent};
    show_messages();
}

void PlantLink::show_messages()
{
    while (!busy() && !held_.isEmpty()) {
        // Over an open message only an urgent one is shown.
        qsizetype i = 0;
        if (!showing_.isEmpty()) {
            while (i < held_.size() && !held_[i].urgent)
                ++i;
            if (i == held_.size())
                return;
        }
        const Message m = held_.takeAt(i);
        showing_ << m.text;
        if (m.is_error)
            prompter_.error(dialog_parent_, m.text);
        else
            prompter_.information(dialog_parent_, m.text);
        showing_.removeOne(m.text);
    }
}

void PlantLink::apply_status(int u, char letter, const QDateTime &read_at)
{
    Unit &unit = units_.at(u - 1);
    switch (letter) {
    case 'B':
        ++unit.batch_count;
        show_status_label(u);
        if (unit.batch_count == 1 && !unit.recorded
            && slots_.field(u, 1, Slots::OrderNo) != Slots::mortar_order_no) {
            const send_frame::SlotLoad load{slots_.field(u, 1, Slots::Product), slots_.field(u, 1, Slots::Quantity),
                                            slots_.field(u, 1, Slots::VehicleNo)};
            // An empty quantity is said by the recording itself.
            if (!load.quantity.isEmpty() && (slots_.field(u, 1, Slots::OrderNo).isEmpty() || !load.complete())) {
                qCWarning(lc_link) << "unit" << u << "- batch started without a complete load in slot 1: not recorded";
                say(QStringLiteral("%1호기 예약1에 순번, 규격이나 4자리 차번이 없어 출하를 기록하지 않았습니다.\n"
                                   "이 차량의 출하는 출하 내역 수정에서 입력하십시오.")
                        .arg(u),
                    true);
            } else
                unit.recorded = host_.record_shipment(u, messages_, read_at);
        }
        return;
    case 'E':
        show_status_label(u);
        send(host_.selected_unit());
        return;
    case 'N':
        unit.batch_count = 0;
        show_status_label(u);
        slots_.shift_queue(u, host_.yusa_mode());
        send(u);
        return;
    case 'U':
        show_status_label(u);
        return;
    }
}

void PlantLink::show_status_label(int u)
{
    const Unit &unit = units_.at(u - 1);
    if (unit.line_down) {
        host_.show_unit_status(u, line_down_text(), Qt::darkGray);
        return;
    }
    const QString &s = unit.last_status;
    if (s == QLatin1String("B"))
        host_.show_unit_status(u, QStringLiteral("계량중 %1번째").arg(unit.batch_count), Qt::red);
    else if (s == QLatin1String("E"))
        host_.show_unit_status(u, QStringLiteral("배출중"), Qt::darkGreen);
    else if (s == QLatin1String("N"))
        host_.show_unit_status(u, QStringLiteral("계량완료"), QColor(0, 0, 128));
    else
        host_.show_unit_status(u, QStringLiteral("대기중"), Qt::black);
}

void PlantLink::port_lost(int u)
{
    Unit &unit = units_.at(u - 1);
    if (!on_ || unit.line_down)
        return;
    unit.line_down = true;
    show_status_label(u);
    reopen_timer_->start();
    say(line_error_text(u, SerialLine::PortLost), true, true);
}

// A vanished port is tried every few seconds; when it is back the unit's
// current queue goes out again (the controller may have lost it).
void PlantLink::reopen_lost_ports()
{
    const PlantSettings s = settings_();
    bool still_down = false;
    for (int u = 1; u <= 2; ++u) {
        Unit &unit = units_.at(u - 1);
        if (!unit.line_down)
            continue;
        PortSetting p = port_setting(u, s);
        if (!on_ || !p.error.isEmpty() || !lines_[u - 1]->open(p.port, p.speed, &p.error)) {
            still_down = on_;
            continue;
        }
        unit.line_down = false;
        qCInfo(lc_link) << "unit" << u << "- port open again";
        show_status_label(u);
        unit.last_frame.clear();
        send(u);
    }
    if (!still_down)
        reopen_timer_->stop();
    show_messages();
}
