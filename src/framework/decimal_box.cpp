#include "framework/decimal_box.h"
#include "framework/number_text.h"

#include <QRegularExpressionValidator>

#include <cmath>

DecimalBox::DecimalBox(int decimals, QString display_format, QWidget *parent)
    : QLineEdit(parent), decimals_(decimals), display_format_(std::move(display_format))
{
    // Thousands separators may stand in a shown value that is edited again.
    const QString pattern = decimals_ > 0 ? QStringLiteral("-?[0-9,]*(\\.[0-9]{0,%1})?").arg(decimals_)
                                          : QStringLiteral("-?[0-9,]*");
    setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), this));
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    connect(this, &QLineEdit::editingFinished, this, [this] {
        if (!text().isEmpty())
            set_value(value());
    });
}

double DecimalBox::value() const
{
    bool ok = false;
    const double v = QString(text()).remove(QLatin1Char(',')).toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

void DecimalBox::set_value(double value)
{
    const double scale = std::pow(10.0, decimals_);
    setText(format_number(std::round(value * scale) / scale, display_format_));
}
