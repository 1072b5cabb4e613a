#include "core/framework/number_text.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace {
QLocale grouping()
{
    // Korean grouping is the Western one: ',' every three digits, '.' decimals.
    QLocale l(QLocale::English, QLocale::UnitedStates);
    l.setNumberOptions(QLocale::DefaultNumberOptions);
    return l;
}
}

QString general_number(double value)
{
    if (value == 0.0)
        return QStringLiteral("0");
    return QString::number(value, 'g', 15);
}

QString number_2n(double value)
{
    return grouping().toString(value, 'f', 2);
}

QString number_0n(double value)
{
    return grouping().toString(value, 'f', 0);
}

QString format_number(double value, const QString &format)
{
    if (format.isEmpty())
        return general_number(value);
    int shown = 0;    // decimals always shown
    int optional = 0; // further decimals shown when not zero
    bool groups = false;
    if (format.startsWith(QLatin1Char('%')) && format.endsWith(QLatin1Char('n'))) {
        shown = format.mid(2, format.size() - 3).toInt();
        groups = true;
    } else {
        const qsizetype point = format.indexOf(QLatin1Char('.'));
        const QString whole = point < 0 ? format : format.left(point);
        groups = whole.contains(QLatin1Char(','));
        if (point >= 0) {
            for (QChar c : format.mid(point + 1)) {
                if (c == QLatin1Char('0'))
                    ++shown;
                else if (c == QLatin1Char('#'))
                    ++optional;
            }
        }
    }
    const int decimals = shown + optional;
    // Round on the decimal text, half away from zero, not on the binary value
    // (2.675 is stored as 2.67499999... and must still show 2.68).
    const double scale = std::pow(10.0, decimals);
    double rounded = std::round(std::abs(value) * scale * (1 + 4 * std::numeric_limits<double>::epsilon())) / scale;
    if (value < 0)
        rounded = -rounded;
    QString text = groups ? grouping().toString(rounded, 'f', decimals) : QString::number(rounded, 'f', decimals);
    if (optional > 0) {
        int drop = 0;
        while (drop < optional && text.endsWith(QLatin1Char('0'))) {
            text.chop(1);
            ++drop;
        }
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    if (text == QLatin1String("-0") || (text.startsWith(QLatin1String("-")) && rounded == 0))
        text.remove(0, 1);
    return text;
}
