#include "gui/masterdata/form_style.h"

#include <QDialog>
#include <QFrame>
#include <QKeyEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

QLabel *make_title_bar(const QString &heading)
{
    auto *title = new QLabel(heading);
    title->setObjectName(QStringLiteral("title_pan"));
    QFont big(QStringLiteral("굴림"), 15);
    big.setBold(true);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);
    title->setMinimumHeight(40);
    title->setStyleSheet(QStringLiteral("color: white; background: navy; border: 1px solid black;"));
    return title;
}

QFrame *make_entry_panel()
{
    auto *panel = new QFrame;
    panel->setObjectName(QStringLiteral("entry_pan"));
    // Locked boxes still show their row legibly.
    panel->setStyleSheet(QStringLiteral("QFrame#entry_pan { background: black; }"
                                        " QLabel { color: white; background: black; }"
                                        " QLineEdit:disabled, QComboBox:disabled, QDateEdit:disabled"
                                        " { color: #202020; background: #c8c8c8; }"));
    return panel;
}

QLineEdit *make_text_box(const char *name, int chars, int width)
{
    auto *box = new QLineEdit;
    box->setObjectName(QString::fromLatin1(name));
    box->setMaxLength(chars);
    box->setFixedWidth(width);
    return box;
}

QWidget *side_by_side(const QList<QWidget *> &widgets)
{
    auto *line = new QWidget;
    auto *layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    for (QWidget *w : widgets)
        layout->addWidget(w);
    layout->addStretch();
    return line;
}

QPushButton *add_bar_button(QHBoxLayout *bar, const char *name, const char *caption)
{
    auto *button = new QPushButton(QString::fromUtf8(caption));
    button->setObjectName(QString::fromLatin1(name));
    button->setMinimumHeight(30);
    bar->addWidget(button);
    return button;
}

namespace {
class EscapeKeeper : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        return event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape;
    }
};
}

void keep_open_on_escape(QDialog *dialog)
{
    dialog->installEventFilter(new EscapeKeeper(dialog));
}
