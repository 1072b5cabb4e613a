#include "gui/framework/running_clock.h"
#include "core/framework/clock.h"

#include <QLocale>
#include <QTimer>

RunningClock::RunningClock(QWidget *parent) : QLabel(parent), timer_(new QTimer(this))
{
    setAlignment(Qt::AlignCenter);
    timer_->setInterval(1000);
    connect(timer_, &QTimer::timeout, this, &RunningClock::refresh);
    timer_->start();
    refresh();
}

void RunningClock::set_clock(const Clock *clock)
{
    clock_ = clock;
    refresh();
}

void RunningClock::refresh()
{
    const QTime t = clock_ ? clock_->time() : QTime::currentTime();
    setText(QLocale(QLocale::Korean, QLocale::SouthKorea).toString(t, QStringLiteral("AP h:mm:ss")));
}
