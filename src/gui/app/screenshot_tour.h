#pragma once
#include <QObject>
#include <QString>
#include <functional>

class QMainWindow;
class QTimer;
class QWidget;

// The pictures of the user guide, made by the program itself: it logs in,
// opens each window of the office's day as the operator would (menu entry
// or button), grabs it into a PNG file in `folder` and closes it again,
// then ends.  Run by scripts/screenshots.sh with a hidden option.
class ScreenshotTour : public QObject {
    Q_OBJECT
public:
    ScreenshotTour(QMainWindow &console, const QString &folder);

    // Call once the console has its day loaded.
    void console_ready();

private:
    struct Step {
        QString file;
        std::function<void()> open;                     // opens the window (it may block in exec())
        std::function<void(QWidget *)> prepare = {};    // fills it first (a search)
        std::function<void(QWidget *)> nested = {};     // opens a window over it, grabbed instead
    };

    void poll();
    void next_step();
    void grab(QWidget *w, const QString &file);
    void close_modals();

    QMainWindow &console_;
    QString folder_;
    QTimer *timer_;
    QList<Step> steps_;
    int step_ = -1;
    enum Phase { Login, WaitConsole, Opening, Settling, Nested, Closing, Done } phase_ = Login;
    int ticks_ = 0;
    QWidget *shown_ = nullptr;
};
