#include "core/orders/price_rule.h"

#include <QRegularExpression>

namespace price_rule {
namespace {
qint64 power_of_ten(int n)
{
    qint64 p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

// p = rate/100 % × base/1000 won = rate × base / 10^7 won.
constexpr qint64 p_denominator = 10'000'000;

// n / d rounded half to even (n, d > 0).
qint64 divide_half_even(qint64 n, qint64 d)
{
    const qint64 q = n / d;
    const qint64 twice_rest = 2 * (n % d);
    return twice_rest > d || (twice_rest == d && q % 2 != 0) ? q + 1 : q;
}

qint64 numerator(const Computed &p)
{
    return p.rate_hundredths * p.base_milli;
}
}

std::optional<qint64> parse_decimal(const QString &text, int decimals)
{
    static const QRegularExpression form(QStringLiteral("^\\s*([0-9]*)(?:\\.([0-9]*))?\\s*$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch() || (m.captured(1).isEmpty() && m.captured(2).isEmpty()))
        return std::nullopt;
    const QString whole = m.captured(1);
    const QString fraction = m.captured(2);
    if (whole.size() + fraction.size() > 18)
        return std::nullopt;
    // All digits as one integer, then scaled to `decimals`.
    const qint64 all = (whole + fraction).isEmpty() ? 0 : (whole + fraction).toLongLong();
    const int extra = int(fraction.size()) - decimals;
    if (extra <= 0)
        return all * power_of_ten(-extra);
    return divide_half_even(all, power_of_ten(extra));
}

QString decimal_text(qint64 scaled, int decimals)
{
    const qint64 unit = power_of_ten(decimals);
    QString text = QString::number(scaled / unit);
    qint64 rest = scaled % unit;
    if (rest != 0) {
        QString digits = QString::number(rest).rightJustified(decimals, QLatin1Char('0'));
        while (digits.endsWith(QLatin1Char('0')))
            digits.chop(1);
        text += QLatin1Char('.') + digits;
    }
    return text;
}

std::optional<qint64> cut(const Computed &p, const QString &julsa)
{
    qint64 unit_won = 0;
    if (julsa == QLatin1String("0"))
        return round_half_even(p);
    if (julsa == QLatin1String("1"))
        unit_won = 10;
    else if (julsa == QLatin1String("10"))
        unit_won = 100;
    else if (julsa == QLatin1String("100"))
        unit_won = 1000;
    else
        return std::nullopt;
    return numerator(p) / (unit_won * p_denominator) * unit_won * 1000;
}

qint64 round_half_even(const Computed &p)
{
    return divide_half_even(numerator(p), p_denominator) * 1000;
}

std::optional<QString> propose(const Inputs &in)
{
    const qint64 earlier = parse_decimal(in.earlier_price, 3).value_or(0);
    if (earlier != 0)
        return decimal_text(earlier, 3);
    if (in.class_text == QStringLiteral("관수1") || in.class_text == QStringLiteral("관수2"))
        return decimal_text(parse_decimal(in.kwan_price, 3).value_or(0), 3);
    const Computed p{parse_decimal(in.contract_rate, 2).value_or(0), parse_decimal(in.sa_price, 3).value_or(0)};
    std::optional<qint64> price;
    if (in.vat_text == QStringLiteral("별도"))
        price = cut(p, in.julsa);
    else if (in.vat_text == QStringLiteral("포함"))
        price = round_half_even(p);
    else if (in.vat_text == QStringLiteral("무시"))
        price = p.base_milli;
    if (!price)
        return std::nullopt;
    return decimal_text(*price, 3);
}

}
