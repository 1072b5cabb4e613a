#include "gui/masterdata/field_keys.h"
#include "core/framework/prompter.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>

FieldKeys::FieldKeys(Prompter &prompter, QWidget *window)
    : QObject(window), prompter_(prompter), window_(window)
{
}

void FieldKeys::add(QWidget *field)
{
    order_ << field;
    field->installEventFilter(this);
}

void FieldKeys::on_enter(QWidget *field, Step step)
{
    enter_.insert(field, std::move(step));
}

void FieldKeys::digits_only(QLineEdit *field)
{
    digits_.insert(field);
    // Also keeps pasted text to digits.
    field->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), field));
    field->setAttribute(Qt::WA_InputMethodEnabled, false);
}

void FieldKeys::on_char(QWidget *field, std::function<bool(QChar)> handler)
{
    chars_.insert(field, std::move(handler));
}

void FieldKeys::focus_next(QWidget *field) const
{
    step_from(field, 1);
}

void FieldKeys::focus_previous(QWidget *field) const
{
    step_from(field, -1);
}

void FieldKeys::step_from(QWidget *field, int direction) const
{
    const qsizetype at = order_.indexOf(field);
    if (at < 0)
        return;
    for (qsizetype i = at + direction; i >= 0 && i < order_.size(); i += direction) {
        if (order_[i]->isEnabled() && order_[i]->isVisible()) {
            // As Tab does: the field's text selected, a masked field from its start.
            order_[i]->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

bool FieldKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *field = qobject_cast<QWidget *>(watched);
    const auto *key = static_cast<QKeyEvent *>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (const auto step = enter_.find(field); step != enter_.end())
            (*step)();
        else
            focus_next(field);
        return true;
    case Qt::Key_PageUp:
        focus_previous(field);
        return true;
    case Qt::Key_PageDown:
        focus_next(field);
        return true;
    default:
        break;
    }
    const QString text = key->text();
    if (text.isEmpty() || !text.at(0).isPrint() || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    const QChar c = text.at(0);
    if (const auto handler = chars_.find(field); handler != chars_.end() && (*handler)(c))
        return true;
    if (digits_.contains(field) && !(c >= QLatin1Char('0') && c <= QLatin1Char('9'))) {
        prompter_.information(window_, QStringLiteral("숫자만 등록하시오."));
        return true;
    }
    return false;
}
