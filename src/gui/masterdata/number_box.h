#pragma once
#include <QLineEdit>

// A box for a quantity or weight: digits and one decimal point, at most
// `max_chars` of them, shown with thousands separators.
class NumberBox : public QLineEdit {
    Q_OBJECT
public:
    explicit NumberBox(int max_chars, QWidget *parent = nullptr);
    // 0 for an empty box.
    double value() const;
    void set_value(double value);
};
