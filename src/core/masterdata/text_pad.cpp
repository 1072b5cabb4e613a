#include "core/masterdata/text_pad.h"

QString pad_zero(const QString &text, int width)
{
    return (QString(13, QLatin1Char('0')) + text).right(qMax(width, 0));
}

QString pad_space(const QString &text, int width)
{
    return (text + QString(29, QLatin1Char(' '))).left(qMax(width, 0));
}
