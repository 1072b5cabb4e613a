#pragma once
#include <QLineEdit>

// A number field with a fixed number of decimals that shows its value in a
// display format (see format_number: "0.00#", "0.00", "#,##0.00") once the
// operator leaves it.  An empty field reads 0.
class DecimalBox : public QLineEdit {
    Q_OBJECT
public:
    DecimalBox(int decimals, QString display_format, QWidget *parent = nullptr);

    double value() const;
    // Rounded to the box's decimals and shown in its display format.
    void set_value(double value);
    QString display_format() const { return display_format_; }

private:
    int decimals_;
    QString display_format_;
};
