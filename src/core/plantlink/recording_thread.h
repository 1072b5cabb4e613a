#pragma once
#include "core/framework/database.h"
#include "core/plantlink/shipment_recording.h"

#include <QObject>
#include <QString>

class LoadRecorder;
class QThread;

// The load recorder on a thread of its own with a connection of its own,
// so that a database that is slow or silent never holds up the thread that
// reads the serial lines.  That thread only journals each load (an append
// on the disk) and hears of it again through the recorder's `load_done`.
//
// A database that a second connection cannot open (SQLite's ":memory:")
// keeps the recorder on the caller's thread, still asked through the event
// loop, so that callers see the same order of events either way.
class RecordingThread : public QObject {
    Q_OBJECT
public:
    RecordingThread(const Database &db, const QString &journal_path, QObject *parent = nullptr);
    // Waits for the load being written, at most a statement's time limit.
    ~RecordingThread() override;

    LoadRecorder &recorder() const { return *recorder_; }
    bool threaded() const { return thread_ != nullptr; }

    // Journals the load and has it written behind the loads waiting before
    // it, its truck looked up by number.  Gives its identity.  Throws
    // ActionError for a quantity that is not a number.
    QString submit(const shipment_recording::Input &input);
    // Has the waiting loads tried now.
    void replay();
    void set_retry_interval(int ms);

private:
    QThread *thread_ = nullptr;
    Database db_;  // the recorder's connection
    LoadRecorder *recorder_ = nullptr;
};
