#include "gui/framework/picture_button.h"

#include <QMouseEvent>

PictureButton::PictureButton(QWidget *parent) : QLabel(parent)
{
    setCursor(Qt::PointingHandCursor);
    setScaledContents(true);
    setAttribute(Qt::WA_TranslucentBackground);
}

void PictureButton::set_picture(const QPixmap &pixmap)
{
    setPixmap(pixmap);
}

void PictureButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
    QLabel::mouseReleaseEvent(event);
}
