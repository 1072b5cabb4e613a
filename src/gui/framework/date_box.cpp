#include "gui/framework/date_box.h"
#include "core/framework/stored_text.h"

#include <QCalendarWidget>

DateBox::DateBox(QWidget *parent) : QDateEdit(parent)
{
    setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    setCalendarPopup(true);
    setDate(QDate::currentDate());
}

QString DateBox::text_date() const
{
    return stored::date(date());
}

void DateBox::set_text_date(const QString &yyyy_mm_dd)
{
    const QDate d = stored::parse_date(yyyy_mm_dd);
    if (d.isValid())
        setDate(d);
}

void DateBox::mousePressEvent(QMouseEvent *event)
{
    watch_calendar();
    QDateEdit::mousePressEvent(event);
}

void DateBox::keyPressEvent(QKeyEvent *event)
{
    watch_calendar();
    QDateEdit::keyPressEvent(event);
}

void DateBox::watch_calendar()
{
    if (watching_ || !calendarPopup())
        return;
    watching_ = true;
    connect(calendarWidget(), &QCalendarWidget::clicked, this, &DateBox::calendar_picked);
}
