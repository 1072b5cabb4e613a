#include "gui/console/navigation.h"
#include "gui/data/app_context.h"
#include "gui/data/console_ops.h"
#include "core/framework/guarded.h"
#include "gui/shipments/auto_ticket_window.h"
#include "gui/shipments/shipment_editor.h"
#include "gui/reports/changelog_window.h"
#include "gui/reports/status_window.h"

#include <QCheckBox>
#include <QDialog>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolButton>

ConsoleNavigation::ConsoleNavigation(QMainWindow &console, AppContext &ctx)
    : QObject(&console), console_(console), ctx_(ctx)
{
    QMenuBar *bar = console.menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    QMenu *codes = bar->addMenu(QStringLiteral("[&A]  코 드 등 록"));
    N1 = entry(codes, "N1", QStringLiteral("거  래  처"));
    N2 = entry(codes, "N2", QStringLiteral("현       장"));
    N3 = entry(codes, "N3", QStringLiteral("규       격"));
    N4 = entry(codes, "N4", QStringLiteral("차       량"));
    B1 = entry(nullptr, "B1", QStringLiteral("[&B]  출 하 현 황"));
    changelog_act = entry(nullptr, "changelog_act", QStringLiteral("[&L] 변 경 이 력"));
    QMenu *settings = bar->addMenu(QStringLiteral("[&C] 설  정"));
    comm_menu = entry(settings, "comm_menu", QStringLiteral("통 신 설 정"));
    N9 = entry(settings, "N9", QStringLiteral("환 경 설 정"));
    E1 = entry(nullptr, "E1", QStringLiteral("[&E] 수 기 송 장"));
    N11 = entry(nullptr, "N11", QStringLiteral("[&D] 도 움 말"));
    Z1 = entry(nullptr, "Z1", QStringLiteral("[&Z] 종    료"));

    suju_btn = big_button("suju_btn", QStringLiteral("출하예정"), QStringLiteral("suju"));
    car_btn = big_button("car_btn", QStringLiteral("차량등록"), QStringLiteral("car"));
    rule_btn = big_button("rule_btn", QStringLiteral("출하현황"), QStringLiteral("status"));
    auto_btn = big_button("auto_btn", QStringLiteral("자동송장"), QStringLiteral("auto"));
    manual_btn = big_button("manual_btn", QStringLiteral("수동송장"), QStringLiteral("manual"));

    PopupMenu1 = new QMenu(&console);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    N6 = entry(PopupMenu1, "N6", QStringLiteral("수기송장"));

    // Windows not built yet stay visible but cannot be chosen.
    for (QAction *a : {N1, N2, N3, N4, B1, E1, N6})
        a->setEnabled(false);
    for (QToolButton *b : toolbar_buttons())
        b->setEnabled(false);

    connect(Z1, &QAction::triggered, &console, &QWidget::close);
    wire(auto_btn, [&ctx](QWidget *parent) { return std::make_unique<TF_CHOLHAAUTO>(ctx, parent); });

    // The shipment editor; afterwards the console shows its own day again,
    // closed orders when "마감보기" is ticked.
    wire(manual_btn, [&ctx](QWidget *parent) { return std::make_unique<TF_CHOLHAEDIT>(ctx, parent); },
         [this] {
             const auto *closed = console_.findChild<QCheckBox *>(QStringLiteral("makam_chk"));
             ctx_.console->load_orders(ctx_.console->board_date(),
                                       closed && closed->isChecked() ? QStringLiteral("NO") : QStringLiteral("YES"));
         });

    const Factory status_window = [this](QWidget *parent) { return std::make_unique<TF_CUSTLIST>(ctx_, parent); };
    wire(B1, status_window);
    wire(changelog_act, [this](QWidget *parent) { return std::make_unique<TF_CHANGELOG>(ctx_, parent); });
    wire(rule_btn, status_window);
}

QAction *ConsoleNavigation::entry(QMenu *menu, const char *name, const QString &caption)
{
    QAction *a = menu ? menu->addAction(caption) : console_.menuBar()->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

QToolButton *ConsoleNavigation::big_button(const char *name, const QString &caption, const QString &picture)
{
    auto *b = new QToolButton;
    b->setObjectName(QString::fromLatin1(name));
    b->setText(caption);
    b->setIcon(QIcon(QStringLiteral(":/pictures/%1.png").arg(picture)));
    b->setIconSize(QSize(40, 40));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setMinimumWidth(76);
    return b;
}

QList<QToolButton *> ConsoleNavigation::toolbar_buttons() const
{
    return {suju_btn, car_btn, rule_btn, auto_btn, manual_btn};
}

void ConsoleNavigation::open_modal(const Factory &make, const std::function<void()> &after)
{
    {
        std::unique_ptr<QDialog> window = make(&console_);
        window->exec();
    }
    if (after)
        guarded(*ctx_.prompter, &console_, after);
}

void ConsoleNavigation::wire(QAction *entry, Factory make, std::function<void()> after)
{
    entry->setEnabled(true);
    connect(entry, &QAction::triggered, this,
            [this, make = std::move(make), after = std::move(after)] { open_modal(make, after); });
}

void ConsoleNavigation::wire(QAbstractButton *button, Factory make, std::function<void()> after)
{
    button->setEnabled(true);
    connect(button, &QAbstractButton::clicked, this,
            [this, make = std::move(make), after = std::move(after)] { open_modal(make, after); });
}
