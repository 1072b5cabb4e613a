#include "plantlink/plant_link.h"
#include "framework/guarded.h"
#include "framework/prompter.h"
#include "framework/serial_line.h"
#include "plantlink/reservation_slots.h"
#include "plantlink/send_frame.h"

using Slots = ReservationSlots;

PlantLink::PlantLink(ReservationSlots &reservations, SerialLine &line1, SerialLine &line2,
                     std::function<PlantSettings()> settings, Prompter &prompter, LinkHost &host,
                     QWidget *dialog_parent, QObject *parent)
    : QObject(parent), slots_(reservations), lines_{&line1, &line2}, settings_(std::move(settings)),
      prompter_(prompter), host_(host), dialog_parent_(dialog_parent)
{
    for (int u = 1; u <= 2; ++u) {
        connect(lines_[u - 1], &SerialLine::received, this,
                [this, u](const QByteArray &bytes) { on_received(u, bytes); });
        connect(lines_[u - 1], &SerialLine::line_error, this,
                [this, u](int event) { on_line_error(u, event); });
    }
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
                              "포트가 끊어져 닫았습니다. 연결을 확인한 뒤 통신을 껐다가 다시 켜십시오.")
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
    const std::array<QPair<QString, QString>, 2> ports{qMakePair(s.comm1_port, s.comm1_speed),
                                                       qMakePair(s.comm2_port, s.comm2_speed)};
    for (int u = 1; u <= 2; ++u) {
        const auto &[port, speed_text] = ports[u - 1];
        bool ok = false;
        const int speed = speed_text.trimmed().toInt(&ok);
        QString error;
        if (!ok || speed <= 0)
            error = QStringLiteral("%1호기 전송 속도 '%2'이(가) 올바르지 않습니다.").arg(u).arg(speed_text);
        else if (SerialLine::device_for(port).isEmpty())
            error = QStringLiteral("%1호기 통신 포트 '%2'이(가) 올바르지 않습니다.").arg(u).arg(port);
        else if (lines_[u - 1]->open(port, speed, &error))
            continue;
        else
            error = QStringLiteral("%1호기: %2").arg(u).arg(error);
        // The lines after it stay closed; switching off and on tries again.
        prompter_.error(dialog_parent_, error);
        return;
    }
    for (Unit &unit : units_)
        unit.last_status = QStringLiteral("U");
}

void PlantLink::switch_off()
{
    on_ = false;
    host_.show_link_state(false);
    for (Unit &unit : units_)
        unit.batch_count = 0;
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
    Unit &state = units_.at(unit - 1);
    if (state.last_status == QLatin1String("B"))
        return;
    QByteArray frame;
    if (!guarded(prompter_, dialog_parent_, [&] { frame = build_frame(unit); }))
        return;
    if (frame == state.last_frame)
        return;
    QString error;
    if (!lines_[unit - 1]->write(frame, &error)) {
        prompter_.error(dialog_parent_, QStringLiteral("%1호기로 전송할 수 없습니다.\n%2").arg(unit).arg(error));
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
    while (!sweeping_ && !pending_.isEmpty())
        handle(pending_.takeFirst());
}

void PlantLink::on_received(int unit, const QByteArray &bytes)
{
    const Pending p{unit, false, bytes, 0};
    if (sweeping_)
        pending_ << p;
    else
        handle(p);
}

void PlantLink::on_line_error(int unit, int event)
{
    const Pending p{unit, true, {}, event};
    if (sweeping_)
        pending_ << p;
    else
        handle(p);
}

// A line message is modal, and reports keep arriving while it is open: a
// burst of noise would stack a box on a box for every event.  One at a time;
// the reports themselves are still applied.
void PlantLink::show_once(const QString &text, bool is_error)
{
    if (message_open_)
        return;
    message_open_ = true;
    if (is_error)
        prompter_.error(dialog_parent_, text);
    else
        prompter_.information(dialog_parent_, text);
    message_open_ = false;
}

void PlantLink::handle(const Pending &p)
{
    if (p.is_error) {
        show_once(line_error_text(p.unit, p.event), true);
        return;
    }
    const QString text = QString::fromLatin1(p.bytes);
    units_.at(p.unit - 1).last_status = text;
    if (p.unit == 1)
        host_.show_received(text);
    else if (text.size() > 1)
        show_once(QStringLiteral("데이타 수신오류"), false);
    apply_status(p.unit);
}

void PlantLink::apply_status(int u)
{
    Unit &unit = units_.at(u - 1);
    const QChar first = unit.last_status.isEmpty() ? QChar() : unit.last_status.front();
    if (first == QLatin1Char('B')) {
        ++unit.batch_count;
        host_.show_unit_status(u, QStringLiteral("계량중 %1번째").arg(unit.batch_count), Qt::red);
        if (unit.batch_count == 1 && slots_.field(u, 1, Slots::OrderNo) != Slots::mortar_order_no)
            host_.record_shipment(u);
    } else if (first == QLatin1Char('E')) {
        host_.show_unit_status(u, QStringLiteral("배출중"), Qt::darkGreen);
        send_frame(host_.selected_unit());
    } else if (first == QLatin1Char('N')) {
        host_.show_unit_status(u, QStringLiteral("계량완료"), QColor(0, 0, 128));
        unit.batch_count = 0;
        slots_.shift_queue(u, host_.yusa_mode());
        send_frame(u);
    } else if (first == QLatin1Char('U')) {
        host_.show_unit_status(u, QStringLiteral("대기중"), Qt::black);
    }
}
