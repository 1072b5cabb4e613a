#include "gui/framework/time_box.h"

#include <QRegularExpression>
#include <QTime>

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
