#include "core/framework/time_text.h"

#include <QRegularExpression>
#include <QTime>

namespace {
QString format_of(TimeForm form)
{
    return form == TimeForm::HoursMinutes ? QStringLiteral("hh:mm") : QStringLiteral("hh:mm:ss");
}
}

QString valid_time_text(const QString &typed, TimeForm form)
{
    static const QRegularExpression hm(QStringLiteral("^\\s*(\\d{1,2}):(\\d{2})\\s*$"));
    static const QRegularExpression hms(QStringLiteral("^\\s*(\\d{1,2}):(\\d{2}):(\\d{2})\\s*$"));
    const auto m = (form == TimeForm::HoursMinutes ? hm : hms).match(typed);
    if (!m.hasMatch())
        return QString();
    const int s = form == TimeForm::HoursMinutes ? 0 : m.captured(3).toInt();
    const QTime t(m.captured(1).toInt(), m.captured(2).toInt(), s);
    return t.isValid() ? t.toString(format_of(form)) : QString();
}
