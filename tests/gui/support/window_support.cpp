#include "window_support.h"
#include "gui/framework/pictures.h"

#include <QApplication>
#include <QTimer>

WindowPlant::WindowPlant(Storage storage) : TestPlant(storage)
{
    init_resources();
    ctx.dbm = dbm.get();
    ctx.prompter = &prompter;
    ctx.clock = &clock;
    ctx.lookup = &lookup;
    if (qobject_cast<QApplication *>(QCoreApplication::instance())) {
        list = std::make_unique<TF_LIST>(ctx);
        ctx.list = list.get();
    }
}

WindowPlant::~WindowPlant() = default;

void on_next_modal(const std::function<void(QWidget *)> &act)
{
    auto *timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        act(modal);
    });
    timer->start();
}
