#include "gui/app/splash_window.h"

#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

TF_SPLASH::TF_SPLASH(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("F_SPLASH"));
    setFixedSize(460, 260);
    setStyleSheet(QStringLiteral("TF_SPLASH { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
                                 " stop:0 #1f3b5c, stop:1 #3d6e9e); border: 2px solid #0e2238; }"
                                 " QLabel { color: white; background: transparent; }"));
    setAttribute(Qt::WA_StyledBackground);

    auto label = [](const QString &text, int size, bool bold, const char *name) {
        auto *l = new QLabel(text);
        l->setObjectName(QString::fromLatin1(name));
        QFont f(QStringLiteral("굴림"));
        f.setPointSize(size);
        f.setBold(bold);
        l->setFont(f);
        l->setAlignment(Qt::AlignCenter);
        return l;
    };
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 24, 20, 16);
    layout->addWidget(label(QStringLiteral("출하관리"), 34, true, "title_lab"));
    layout->addWidget(label(QStringLiteral("For Windows, Linux"), 11, false, "platform_lab"));
    layout->addStretch();
    layout->addWidget(label(QStringLiteral("이 프로그램은 저작권법의 보호를 받습니다. 무단 복제와 배포를 금합니다."),
                            8, false, "legal_lab"));
    layout->addWidget(label(QStringLiteral("레미콘출하 VELDARO (V.1) · 베달로 레미콘 전산실"), 9, true, "owner_lab"));

    if (QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
}
