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

signals:
    // A date clicked in the drop-down calendar (not one typed).
    void calendar_picked(const QDate &date);

protected:
    // The calendar is made when it is first opened, not with every window.
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void watch_calendar();
    bool watching_ = false;
};
