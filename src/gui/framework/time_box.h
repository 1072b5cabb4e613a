#pragma once
#include "core/framework/time_text.h"

#include <QLineEdit>

// A masked time field ("hh:mm" or "hh:mm:ss") that only ever yields a valid
// time or the empty text: a half-typed or impossible time ("12:__", "25:00")
// reads as empty, so nothing half-typed reaches a record.
class TimeBox : public QLineEdit {
    Q_OBJECT
public:
    using Form = TimeForm;

    explicit TimeBox(Form form = Form::HoursMinutes, QWidget *parent = nullptr);

    Form form() const { return form_; }
    // The time as stored ("hh:mm" or "hh:mm:ss"), or "" when the field is
    // empty, incomplete or not a real time.
    QString time_text() const;
    // True when the field holds a complete, real time.
    bool has_time() const { return !time_text().isEmpty(); }
    // True when nothing at all is typed (every position blank).
    bool is_blank() const;
    // Shows a stored time; "hh:mm:ss" into an "hh:mm" box drops the seconds.
    // Anything that is not a valid time empties the field.
    void set_time_text(const QString &time);
    void clear_time() { set_time_text(QString()); }

private:
    Form form_;
};
