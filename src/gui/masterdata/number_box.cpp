#include "gui/masterdata/number_box.h"

#include <QLocale>
#include <QRegularExpression>
#include <QValidator>

namespace {
class NumberValidator : public QValidator {
public:
    NumberValidator(int max_chars, QObject *parent) : QValidator(parent), max_(max_chars) {}

    State validate(QString &input, int &) const override
    {
        static const QRegularExpression number(QStringLiteral("^[0-9]*(\\.[0-9]*)?$"));
        const QString raw = QString(input).remove(QLatin1Char(','));
        return raw.size() <= max_ && number.match(raw).hasMatch() ? Acceptable : Invalid;
    }

private:
    int max_;
};
}

NumberBox::NumberBox(int max_chars, QWidget *parent) : QLineEdit(parent)
{
    setValidator(new NumberValidator(max_chars, this));
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    connect(this, &QLineEdit::editingFinished, this, [this] {
        if (!text().isEmpty())
            set_value(value());
    });
}

double NumberBox::value() const
{
    return QString(text()).remove(QLatin1Char(',')).toDouble();
}

void NumberBox::set_value(double value)
{
    setText(QLocale(QLocale::English).toString(value, 'f', QLocale::FloatingPointShortest));
}
