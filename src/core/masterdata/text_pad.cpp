#include "core/masterdata/text_pad.h"

QString pad_zero(const QString &text, int width)
{
    return (QString(13, QLatin1Char('0')) + text).right(qMax(width, 0));
}

QString pad_space(const QString &text, int width)
{
    return (text + QString(29, QLatin1Char(' '))).left(qMax(width, 0));
}

namespace {
// 영 일 이 삼 사 오 육 칠 팔 구: which readings end in a consonant, and which in ㄹ.
bool ends_in_consonant(QChar digit)
{
    return QStringLiteral("013678").contains(digit);
}

bool ends_in_rieul(QChar digit)
{
    return QStringLiteral("178").contains(digit);
}
}

QString code_taken_message(const QString &label, const QString &shown, const QString &stored)
{
    const QChar a = shown.isEmpty() ? QChar() : shown.back();
    const QChar b = stored.isEmpty() ? QChar() : stored.back();
    const QString topic = !a.isDigit() ? QStringLiteral("은(는)")
                          : ends_in_consonant(a) ? QStringLiteral("은")
                                                 : QStringLiteral("는");
    const QString towards = !b.isDigit() ? QStringLiteral("(으)로")
                            : ends_in_consonant(b) && !ends_in_rieul(b) ? QStringLiteral("으로")
                                                                       : QStringLiteral("로");
    return QStringLiteral("%1 %2%3 다른 곳에서 먼저 사용하여 %4%5 저장했습니다.")
        .arg(label, shown, topic, stored, towards);
}
