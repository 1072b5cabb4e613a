#pragma once
#include "core/framework/prompter.h"

// The real boxes: QMessageBox with the program's name as the title.
class MessageBoxPrompter : public Prompter {
public:
    void information(QWidget *parent, const QString &text) override;
    void error(QWidget *parent, const QString &text) override;
    bool question(QWidget *parent, const QString &text) override;
};
