#pragma once
#include <QWidget>

// Shown while the program builds its windows.
class TF_SPLASH : public QWidget {
    Q_OBJECT
public:
    explicit TF_SPLASH(QWidget *parent = nullptr);
};
