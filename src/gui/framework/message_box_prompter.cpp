#include "gui/framework/message_box_prompter.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QMessageBox>

// Every box the operator saw, to be found in the log afterwards.
Q_LOGGING_CATEGORY(lc_box, "veldaro.box")

namespace {
QString box_title()
{
    const QString name = QApplication::applicationDisplayName();
    return name.isEmpty() ? QStringLiteral("레미콘출하") : name;
}
}

void MessageBoxPrompter::information(QWidget *parent, const QString &text)
{
    qCInfo(lc_box).noquote() << text;
    QMessageBox::information(parent, box_title(), text);
}

void MessageBoxPrompter::error(QWidget *parent, const QString &text)
{
    qCWarning(lc_box).noquote() << text;
    QMessageBox::critical(parent, box_title(), text);
}

bool MessageBoxPrompter::question(QWidget *parent, const QString &text)
{
    const bool ok = QMessageBox::question(parent, box_title(), text,
                                          QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel)
                    == QMessageBox::Ok;
    qCInfo(lc_box).noquote() << text << (ok ? "- OK" : "- Cancel");
    return ok;
}
