#pragma once
#include <QLabel>

// A picture that acts as a button: hand cursor, stretched image, clicked().
class PictureButton : public QLabel {
    Q_OBJECT
public:
    explicit PictureButton(QWidget *parent = nullptr);
    void set_picture(const QPixmap &pixmap);

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};
