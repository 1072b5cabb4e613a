#include "core/plantlink/recording_thread.h"
#include "core/plantlink/load_recorder.h"

#include <QSqlDatabase>
#include <QThread>
#include <QUuid>

namespace {
bool can_open_twice(const Database &db)
{
    const QSqlDatabase c = db.connection();
    return !(c.driverName() == QLatin1String("QSQLITE") && c.databaseName() == QLatin1String(":memory:"));
}
}

RecordingThread::RecordingThread(const Database &db, const QString &journal_path, QObject *parent)
    : QObject(parent)
{
    if (!can_open_twice(db)) {
        db_ = db;
        recorder_ = new LoadRecorder(db_, journal_path, this);
        return;
    }
    db_ = Database(db.connection_name() + QStringLiteral("-recording-")
                   + QUuid::createUuid().toString(QUuid::WithoutBraces));
    thread_ = new QThread(this);
    thread_->setObjectName(QStringLiteral("recording"));
    thread_->start();
    // A connection belongs to the thread that makes it, and so do the
    // recorder and its timer; the journal is read before the first load.
    QObject there;
    there.moveToThread(thread_);
    QMetaObject::invokeMethod(
        &there,
        [&] {
            QSqlDatabase::cloneDatabase(db.connection_name(), db_.connection_name());
            recorder_ = new LoadRecorder(db_, journal_path);
            there.moveToThread(nullptr);
        },
        Qt::BlockingQueuedConnection);
}

RecordingThread::~RecordingThread()
{
    if (!thread_)
        return;
    QMetaObject::invokeMethod(
        recorder_,
        [this] {
            delete recorder_;
            const QString name = db_.connection_name();
            QSqlDatabase::database(name, false).close();
            QSqlDatabase::removeDatabase(name);
        },
        Qt::BlockingQueuedConnection);
    thread_->quit();
    thread_->wait();
}

QString RecordingThread::submit(const shipment_recording::Input &input)
{
    const QString id = recorder_->journal_load(input);
    QMetaObject::invokeMethod(
        recorder_, [this, id] { recorder_->write_waiting(id, shipment_recording::truck_by_number(db_)); },
        Qt::QueuedConnection);
    return id;
}

void RecordingThread::replay()
{
    QMetaObject::invokeMethod(recorder_, [this] { recorder_->write_waiting(); }, Qt::QueuedConnection);
}

void RecordingThread::set_retry_interval(int ms)
{
    QMetaObject::invokeMethod(recorder_, [this, ms] { recorder_->set_retry_interval(ms); }, Qt::QueuedConnection);
}
