#include "framework/time_box.h"

#include <QRegularExpression>
#include <QTime>

namespace {
QString format_of(TimeBox::Form form)
{
    return form == TimeBox::Form::HoursMinutes ? QStringLiteral("hh:mm") : QStringLiteral("hh:mm:ss");
}
}

QString valid_time_text(const QString &typed, TimeBox::Form form)
{
    static const QRegularExpression hm(QStringLiteral("^\\s*(\\d{1,2}):(\\d{2})\\s*$"));
    static const QRegularExpression hms(QStringLiteral("^\\s*(\\d{1,2}):(\\d{2}):(\\d{2})\\s*$"));
    const auto m = (form == TimeBox::Form::HoursMinutes ? hm : hms).match(typed);
    if (!m.hasMatch())
        return QString();
    const int s = form == TimeBox::Form::HoursMinutes ? 0 : m.captured(3).toInt();
    const QTime t(m.captured(1).toInt(), m.captured(2).toInt(), s);
    return t.isValid() ? t.toString(format_of(form)) : QString();
}

TimeBox::TimeBox(Form form, QWidget *parent) : QLineEdit(parent), form_(form)
{
    // '9': a digit or blank, so the field can stay empty.
    setInputMask(form == Form::HoursMinutes ? QStringLiteral("99:99;_") : QStringLiteral("99:99:99;_"));
    setMaxLength(form == Form::HoursMinutes ? 5 : 8);
}

QString TimeBox::time_text() const
{
    // A blank left anywhere in the mask ("12:3_", "_8:00") is not a time.
    const QString shown = displayText();
    return shown.contains(QLatin1Char('_')) ? QString() : valid_time_text(shown, form_);
}

bool TimeBox::is_blank() const
{
    return !displayText().contains(QRegularExpression(QStringLiteral("\\d")));
}

void TimeBox::set_time_text(const QString &time)
{
    QString t = time.trimmed();
    if (form_ == Form::HoursMinutes && t.size() == 8)
        t.truncate(5);
    const QString valid = valid_time_text(t, form_);
    if (valid.isEmpty())
        QLineEdit::clear();
    else
        setText(valid);
}
