#include "core/plantlink/send_frame.h"
#include <optional>
#include "core/framework/guarded.h"
#include "core/framework/korean_text.h"

#include <cmath>

namespace send_frame {
namespace {
constexpr int site_bytes = 21;
const QByteArray empty_load(11, '0');

QString slot_name(int unit, int slot)
{
    return QStringLiteral("%1호기 예약%2").arg(unit).arg(slot);
}

bool is_lead_byte(unsigned char b)
{
    return b >= 0x81 && b <= 0xFE;
}
}

SiteName normalise_site_name(const QString &name)
{
    QString text = name;
    auto blank = [](QChar c) { return c.isSpace() || c.category() == QChar::Other_Control; };
    while (!text.isEmpty() && blank(text.front()))
        text.remove(0, 1);
    while (!text.isEmpty() && blank(text.back()))
        text.chop(1);

    QByteArray bytes = cp949::encode(text);
    if (bytes.size() > site_bytes) {
        // Walk the characters so that a double-byte character is never split.
        int cut = 0;
        while (cut < site_bytes) {
            const int width = is_lead_byte(static_cast<unsigned char>(bytes[cut])) ? 2 : 1;
            if (cut + width > site_bytes)
                break;
            cut += width;
        }
        bytes.truncate(cut);
        text = cp949::decode(bytes);
    }
    const int pad = site_bytes - bytes.size();
    bytes.append(QByteArray(pad, ' '));
    text.append(QString(pad, QLatin1Char(' ')));
    return {text, bytes};
}

namespace {
// Single precision and half to even, as the controllers were always sent.
std::optional<int> hundredths_of(const QString &quantity, QString *problem, int unit, int slot)
{
    bool ok = false;
    const float m3 = quantity.trimmed().toFloat(&ok);
    if (!ok) {
        *problem = QStringLiteral("%1의 수량 '%2'은(는) 숫자가 아닙니다.").arg(slot_name(unit, slot), quantity);
        return std::nullopt;
    }
    const float hundredths = std::nearbyint(m3 * 100.0f);
    if (hundredths < 0 || hundredths > 999) {
        *problem = QStringLiteral("%1의 수량 %2 m3는 보낼 수 없습니다 (0 ~ 9.99 m3).").arg(slot_name(unit, slot), quantity);
        return std::nullopt;
    }
    return static_cast<int>(hundredths);
}
}

QString quantity_problem(const QString &quantity, int unit, int slot)
{
    QString problem;
    hundredths_of(quantity, &problem, unit, slot);
    return problem;
}

QByteArray quantity_digits(const QString &quantity, int unit, int slot)
{
    QString problem;
    const std::optional<int> hundredths = hundredths_of(quantity, &problem, unit, slot);
    if (!hundredths)
        throw ActionError(problem + QStringLiteral("\n전송하지 않았습니다."));
    return QByteArray::number(*hundredths).rightJustified(3, '0');
}

QByteArray load_field(const SlotLoad &load, int unit, int slot)
{
    if (!load.complete())
        return empty_load;
    const QByteArray product = cp949::encode(load.product);
    if (product.size() != 4)
        throw ActionError(QStringLiteral("%1의 규격 코드 '%2'는 4자리가 아닙니다.\n전송하지 않았습니다.")
                              .arg(slot_name(unit, slot), load.product));
    const QByteArray vehicle = cp949::encode(load.vehicle);
    if (vehicle.size() != 4)
        throw ActionError(QStringLiteral("%1의 차번 '%2'는 4자리가 아닙니다.\n전송하지 않았습니다.")
                              .arg(slot_name(unit, slot), load.vehicle));
    return product + quantity_digits(load.quantity, unit, slot) + vehicle;
}

QByteArray build(int unit, const std::array<SlotLoad, 3> &loads, const std::array<QByteArray, 3> &site_names)
{
    QByteArray frame;
    frame.reserve(109);
    frame += STX;
    frame += load_field(loads[0], unit, 1);
    frame += empty_load;
    frame += load_field(loads[1], unit, 2);
    frame += load_field(loads[2], unit, 3);
    if (unit == 1)
        for (const QByteArray &name : site_names)
            frame += name.isEmpty() ? QByteArray(site_bytes, ' ') : name;
    frame += ETX;
    return frame;
}

}
