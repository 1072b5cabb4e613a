#pragma once
#include <QAbstractButton>
#include <QColor>

// An on/off switch drawn as a sliding knob with a caption and colour for
// each state.  Clicking it flips the state and emits toggled().
class TwoStateSwitch : public QAbstractButton {
    Q_OBJECT
public:
    explicit TwoStateSwitch(QWidget *parent = nullptr);
    void set_state_texts(const QString &on_text, const QString &off_text);
    void set_state_colors(const QColor &on_color, const QColor &off_color);
    bool is_on() const { return isChecked(); }
    QString state_text() const { return isChecked() ? on_text_ : off_text_; }
    QColor state_color() const { return isChecked() ? on_color_ : off_color_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString on_text_ = QStringLiteral("ON");
    QString off_text_ = QStringLiteral("OFF");
    QColor on_color_ = Qt::blue;
    QColor off_color_ = Qt::red;
};
