#include "gui/app/screenshot_tour.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>

namespace {
constexpr int settle_ticks = 6;  // 100 ms each: layouts, grids and fonts settled

template <typename T>
T *named(QObject *root, const char *name)
{
    return root->findChild<T *>(QString::fromLatin1(name));
}

std::function<void()> trigger(QMainWindow &console, const char *name)
{
    return [&console, name] {
        if (auto *a = named<QAction>(&console, name))
            a->trigger();
        else if (auto *b = named<QAbstractButton>(&console, name))
            b->click();
    };
}

std::function<void(QWidget *)> click(const char *name)
{
    return [name](QWidget *w) {
        if (auto *b = named<QAbstractButton>(w, name))
            b->click();
    };
}
}

ScreenshotTour::ScreenshotTour(QMainWindow &console, const QString &folder)
    : QObject(&console), console_(console), folder_(folder), timer_(new QTimer(this))
{
    QDir().mkpath(folder_);
    QMainWindow &c = console_;
    steps_ = {
        {QStringLiteral("suju.png"), trigger(c, "suju_btn")},
        {QStringLiteral("customer.png"), trigger(c, "N1")},
        {QStringLiteral("site.png"), trigger(c, "N2")},
        {QStringLiteral("spec.png"), trigger(c, "N3")},
        {QStringLiteral("vehicle.png"), trigger(c, "N4")},
        {QStringLiteral("shipment_editor.png"), trigger(c, "manual_btn")},
        {QStringLiteral("hand_ticket.png"), trigger(c, "E1")},
        {QStringLiteral("auto_ticket.png"), trigger(c, "auto_btn")},
        {QStringLiteral("status.png"), trigger(c, "B1"), click("sel_btn")},
        {QStringLiteral("status_preview.png"), trigger(c, "B1"), click("sel_btn"), click("pre_btn")},
        {QStringLiteral("comm_settings.png"), trigger(c, "comm_menu")},
        {QStringLiteral("option_settings.png"), trigger(c, "N9")},
        // The link switched on: a port that cannot be opened is said in a box.
        {QStringLiteral("link_fault.png"), trigger(c, "comm_switch")},
    };
    connect(timer_, &QTimer::timeout, this, &ScreenshotTour::poll);
    timer_->start(100);
}

void ScreenshotTour::console_ready()
{
    if (phase_ == WaitConsole || phase_ == Login)
        phase_ = WaitConsole, ticks_ = 0;
}

void ScreenshotTour::grab(QWidget *w, const QString &file)
{
    const QString path = QDir(folder_).filePath(file);
    if (w->grab().save(path))
        fprintf(stderr, "%s\n", qPrintable(path));
    else
        fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

void ScreenshotTour::close_modals()
{
    if (QWidget *top = QApplication::activeModalWidget()) {
        if (auto *d = qobject_cast<QDialog *>(top))
            d->reject();
        else
            top->close();
    }
}

void ScreenshotTour::next_step()
{
    ++step_;
    ticks_ = 0;
    if (step_ >= steps_.size()) {
        phase_ = Done;
        timer_->stop();
        console_.close();
        return;
    }
    phase_ = Opening;
    shown_ = nullptr;
    // The window's exec() runs inside this call: later ticks come from its loop.
    QTimer::singleShot(0, this, [this] { steps_[step_].open(); });
}

void ScreenshotTour::poll()
{
    QWidget *top = QApplication::activeModalWidget();
    ++ticks_;
    switch (phase_) {
    case Login:
        // The login window over the console, before the day is loaded.
        if (top && top->objectName() == QLatin1String("F_PASS") && ticks_ > settle_ticks) {
            grab(top, QStringLiteral("login.png"));
            if (auto *name = named<QLineEdit>(top, "useredt")) {
                name->setText(QStringLiteral("홍길동"));
                QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
                QCoreApplication::sendEvent(name, &enter);
            }
            ticks_ = 0;
        }
        return;
    case WaitConsole:
        if (!top && ticks_ > settle_ticks) {
            grab(&console_, QStringLiteral("console.png"));
            next_step();
        }
        return;
    case Opening:
        if (top && top != &console_) {
            shown_ = top;
            if (steps_[step_].prepare)
                steps_[step_].prepare(top);
            phase_ = Settling;
            ticks_ = 0;
        } else if (ticks_ > 50) {
            fprintf(stderr, "no window for %s\n", qPrintable(steps_[step_].file));
            next_step();
        }
        return;
    case Settling:
        if (ticks_ <= settle_ticks)
            return;
        if (steps_[step_].nested) {
            QTimer::singleShot(0, this, [this, w = shown_] { steps_[step_].nested(w); });
            phase_ = Nested;
            ticks_ = 0;
            return;
        }
        grab(top ? top : shown_, steps_[step_].file);
        phase_ = Closing;
        ticks_ = 0;
        return;
    case Nested:
        if (top && top != shown_ && ticks_ > settle_ticks) {
            grab(top, steps_[step_].file);
            phase_ = Closing;
            ticks_ = 0;
        } else if (ticks_ > 50) {
            fprintf(stderr, "no window over %s\n", qPrintable(steps_[step_].file));
            phase_ = Closing;
        }
        return;
    case Closing:
        if (top)
            close_modals();
        else
            next_step();
        return;
    case Done:
        return;
    }
}
