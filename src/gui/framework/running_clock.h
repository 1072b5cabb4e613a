#pragma once
#include <QLabel>

class Clock;
class QTimer;

// The time of day, 12-hour without a leading zero, kept running.
class RunningClock : public QLabel {
    Q_OBJECT
public:
    explicit RunningClock(QWidget *parent = nullptr);
    void set_clock(const Clock *clock);
    void refresh();

private:
    const Clock *clock_ = nullptr;
    QTimer *timer_;
};
