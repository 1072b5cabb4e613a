#include "framework/number_text.h"

#include <QLocale>

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
