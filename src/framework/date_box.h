#pragma once
#include <QDateEdit>

// A date picker with a drop-down calendar that always shows and yields the
// stored form "yyyy-mm-dd", whatever the locale.
class DateBox : public QDateEdit {
    Q_OBJECT
public:
    explicit DateBox(QWidget *parent = nullptr);
    QString text_date() const;
    void set_text_date(const QString &yyyy_mm_dd);
};
