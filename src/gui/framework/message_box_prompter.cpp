#include "gui/framework/message_box_prompter.h"

#include <QApplication>
#include <QMessageBox>

namespace {
QString box_title()
{
    const QString name = QApplication::applicationDisplayName();
    return name.isEmpty() ? QStringLiteral("레미콘출하") : name;
}
}

void MessageBoxPrompter::information(QWidget *parent, const QString &text)
{
    QMessageBox::information(parent, box_title(), text);
}

void MessageBoxPrompter::error(QWidget *parent, const QString &text)
{
    QMessageBox::critical(parent, box_title(), text);
}

bool MessageBoxPrompter::question(QWidget *parent, const QString &text)
{
    return QMessageBox::question(parent, box_title(), text,
                                 QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel)
           == QMessageBox::Ok;
}
