#include "masterdata/form_style.h"

#include <QFrame>
#include <QLabel>

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
