#pragma once
#include <QLineEdit>

// A number field: holds the number exactly as typed or
// loaded (plain decimal text, never a grouping comma) and shows it in its
// display format while it is not being edited.
class DecimalBox : public QLineEdit {
    Q_OBJECT
public:
    // `format` as format_number takes it ("#,##0.00"); `decimals` is how
    // many the operator may type (0: whole numbers only).
    DecimalBox(const QString &format, int decimals, int max_chars, QWidget *parent = nullptr);

    // The plain decimal text ("66500", "12.7"); "0" for an empty field.
    QString plain() const;
    double value() const { return plain().toDouble(); }
    void set_plain(const QString &number);
    void set_value(double value);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void show_formatted();
    QString held() const;
    QString format_;
    QString plain_ = QStringLiteral("0");  // the exact value behind a rounded display
};

// A stored number as plain decimal text: 12.5, 66500, 0.333 (no exponent).
QString plain_number(double value);
