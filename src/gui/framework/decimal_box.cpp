#include "gui/framework/decimal_box.h"
#include "core/framework/number_text.h"

#include <QFocusEvent>
#include <QLocale>
#include <QRegularExpressionValidator>

namespace {
// "0012.50" -> "12.5", "" -> "0", "7." -> "7".
QString normalised(QString raw)
{
    raw.remove(QLatin1Char(','));
    if (raw.contains(QLatin1Char('.'))) {
        while (raw.endsWith(QLatin1Char('0')))
            raw.chop(1);
        if (raw.endsWith(QLatin1Char('.')))
            raw.chop(1);
    }
    while (raw.size() > 1 && raw.startsWith(QLatin1Char('0')) && raw.at(1) != QLatin1Char('.'))
        raw.remove(0, 1);
    if (raw.startsWith(QLatin1Char('.')))
        raw.prepend(QLatin1Char('0'));
    return raw.isEmpty() ? QStringLiteral("0") : raw;
}
}

DecimalBox::DecimalBox(const QString &format, int decimals, int max_chars, QWidget *parent)
    : QLineEdit(parent), format_(format)
{
    const QString pattern = decimals > 0 ? QStringLiteral("[0-9]{0,%1}(\\.[0-9]{0,%2})?").arg(max_chars).arg(decimals)
                                         : QStringLiteral("[0-9]{0,%1}").arg(max_chars);
    setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), this));
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    show_formatted();
}

QString DecimalBox::plain() const
{
    return hasFocus() ? normalised(text()) : held();
}

QString DecimalBox::held() const
{
    // The display may be rounded; while it shows plain_ the exact value is plain_.
    return text() == format_number(plain_.toDouble(), format_) ? plain_ : normalised(text());
}

void DecimalBox::set_plain(const QString &number)
{
    plain_ = normalised(number);
    if (hasFocus())
        setText(plain_);
    else
        show_formatted();
}

void DecimalBox::set_value(double value)
{
    set_plain(plain_number(value));
}

void DecimalBox::focusInEvent(QFocusEvent *event)
{
    plain_ = held();
    setText(plain_ == QLatin1String("0") ? QString() : plain_);
    QLineEdit::focusInEvent(event);
}

void DecimalBox::focusOutEvent(QFocusEvent *event)
{
    plain_ = normalised(text());
    QLineEdit::focusOutEvent(event);
    show_formatted();
}

void DecimalBox::show_formatted()
{
    setText(format_number(plain_.toDouble(), format_));
}

QString plain_number(double value)
{
    return QLocale::c().toString(value, 'f', QLocale::FloatingPointShortest);
}
