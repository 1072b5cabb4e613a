#include "core/orders/class_text.h"

namespace class_text {

QString kawn_sa(const QString &code)
{
    if (code == QLatin1String("K"))
        return QStringLiteral("관수1");
    if (code == QLatin1String("L"))
        return QStringLiteral("관수2");
    if (code == QLatin1String("T"))
        return QStringLiteral("민수2");
    return QStringLiteral("민수1");
}

QString vat(const QString &code)
{
    if (code == QLatin1String("V"))
        return QStringLiteral("별도");
    if (code == QLatin1String("N"))
        return QStringLiteral("포함");
    return QStringLiteral("무시");
}

QString misu(const QString &code)
{
    return code == QLatin1String("H") ? QStringLiteral("현장별") : QStringLiteral("현장통합");
}

}
