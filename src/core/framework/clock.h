#pragma once
#include <QDate>
#include <QDateTime>
#include <QTime>

// Today's date and the time of day, so that tests can fix them.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    QDate today() const { return now().date(); }
    QTime time() const { return now().time(); }
};

class SystemClock : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

class FakeClock : public Clock {
public:
    explicit FakeClock(QDateTime at = QDateTime(QDate(2026, 12, 10), QTime(8, 30, 0)))
        : at_(std::move(at)) {}
    QDateTime now() const override { return at_; }
    void set(const QDateTime &at) { at_ = at; }
    void advance_secs(int secs) { at_ = at_.addSecs(secs); }

private:
    QDateTime at_;
};
