#include "gui/framework/two_state_switch.h"

#include <QPainter>

TwoStateSwitch::TwoStateSwitch(QWidget *parent) : QAbstractButton(parent)
{
    setCheckable(true);
    setCursor(Qt::PointingHandCursor);
    connect(this, &QAbstractButton::toggled, this, [this] {
        setText(state_text());
        update();
    });
    setText(state_text());
}

void TwoStateSwitch::set_state_texts(const QString &on_text, const QString &off_text)
{
    on_text_ = on_text;
    off_text_ = off_text;
    setText(state_text());
    update();
}

void TwoStateSwitch::set_state_colors(const QColor &on_color, const QColor &off_color)
{
    on_color_ = on_color;
    off_color_ = off_color;
    update();
}

QSize TwoStateSwitch::sizeHint() const
{
    const QFontMetrics fm(font());
    const int text_w = qMax(fm.horizontalAdvance(on_text_), fm.horizontalAdvance(off_text_));
    return {text_w + 60, qMax(28, fm.height() + 12)};
}

void TwoStateSwitch::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
    const qreal radius = r.height() / 2;
    p.setPen(QPen(Qt::darkGray, 1));
    p.setBrush(state_color());
    p.drawRoundedRect(r, radius, radius);

    const qreal knob = r.height() - 6;
    const qreal knob_x = isChecked() ? r.right() - knob - 3 : r.left() + 3;
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(knob_x, r.top() + 3, knob, knob));

    QRectF text_rect = r;
    if (isChecked())
        text_rect.setRight(knob_x - 2);
    else
        text_rect.setLeft(knob_x + knob + 2);
    QFont f = font();
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(text_rect, Qt::AlignCenter, state_text());
}
