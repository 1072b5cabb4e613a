#pragma once
#include "core/plantlink/outage_journal.h"
#include "core/plantlink/shipment_recording.h"

#include <QHash>
#include <QMetaType>
#include <QMutex>
#include <QObject>
#include <QStringList>
#include <atomic>
#include <optional>

class Database;
class QTimer;

// Records the loads of the first weighing reports so that none is lost
// while the database cannot be reached: each load goes into the outage
// journal (on the disk) first, then into the database behind every load
// still waiting there, and leaves the journal only after its commit.
// While loads wait, the journal is replayed every few seconds.
//
// The recorder lives on the thread that writes (the recording thread, with
// a connection of its own); the calls marked "any thread" are what the
// console's thread uses meanwhile, and never wait on the database.
class LoadRecorder : public QObject {
    Q_OBJECT
public:
    LoadRecorder(const Database &db, const QString &journal_path, QObject *parent = nullptr);

    // What became of one load when it was written.
    struct Result {
        enum Kind {
            Written,  // in the database (`recorded` empty: it was there already)
            Waiting,  // the database cannot take it now: it waits
            Refused,  // refused for good or its order is gone: set aside and said
        } kind = Written;
        QString load_id;
        std::optional<shipment_recording::Recorded> recorded;
    };

    // Any thread.  Journals a new load, on the disk when this returns, or
    // holds it in memory when the journal cannot be written (said through
    // `said`).  Gives the load's identity.  Throws ActionError for a
    // quantity that is not a number.
    QString journal_load(const shipment_recording::Input &input);

    // Writes what waits in order, each load in its own transaction, until
    // the database cannot take one: loads held in memory first, then the
    // journal's.  `fresh` (a load just journalled) has its truck looked up
    // by number on its first try.  Emits `load_done` for every load written
    // or refused, and for `fresh` also when it waits.  Gives the loads written.
    int write_waiting(const QString &fresh = QString(), const shipment_recording::VehicleLookup &lookup_vehicle = {});
    int replay() { return write_waiting(); }

    struct Outcome {
        // The load as the database took it; empty when it waits in the journal.
        std::optional<shipment_recording::Recorded> recorded;
        // Loads of the same order waiting in the journal before this one.
        int waiting_loads = 0;
        double waiting_sum = 0;
        QString load_id;
        // Refused for good, or its order gone: set aside and said.
        bool refused = false;
    };
    // journal_load() and write_waiting() on one thread, for one load.
    Outcome record(const shipment_recording::Input &input, const shipment_recording::VehicleLookup &lookup_vehicle);

    // Any thread.  Loads of the same order waiting before `load_id`, and
    // their quantity: what a ticket printed from the console's figures adds.
    std::pair<int, double> waiting_before(const QString &load_id) const;

    // Any thread.  A ticket was printed from the console's figures for a
    // load that waits: kept with the load, and compared when it is written.
    void mark_provisional(const QString &load_id, int trip_no, double cumulative);

    // Any thread.  Loads not in the database yet: in the journal, or held in memory.
    int waiting() const;
    // Any thread.  Loads that neither the journal nor the database could
    // take: only in memory, lost if the program ends now.
    int held_in_memory() const;
    QString journal_path() const { return journal_.path(); }

    // How often waiting loads are tried while the database answers (5 s);
    // while it stays away the interval doubles up to a minute.
    void set_retry_interval(int ms);
    int retry_interval() const { return current_interval_; }
    static constexpr int max_retry_interval = 60000;

Q_SIGNALS:
    void load_done(const LoadRecorder::Result &result);
    void waiting_changed(int loads);
    // Loads went from the journal into the database: the boards are stale.
    void replayed(int loads);
    // The database answers again after a statement found it away.
    void database_back();
    // What went wrong outside a recording (a journal that cannot be
    // written, a load the database refuses), to be shown to the operator.
    void said(const QString &text);

private:
    struct Try;
    Try write_one(const OutageJournal::Entry &e, const shipment_recording::VehicleLookup &lookup_vehicle);
    // A provisional ticket that the written load contradicts, to be said.
    void note_changed_ticket(const OutageJournal::Entry &e, const shipment_recording::Recorded &written);
    void after_change(int before);
    void tell(const QString &text);

    const Database &db_;
    mutable QMutex mutex_;  // guards journal_, held_, written_
    OutageJournal journal_;
    QList<OutageJournal::Entry> held_;
    // The loads written last, for a provisional ticket marked after its
    // load went in (the mark and the write cross between the threads).
    QHash<QString, std::pair<OutageJournal::Entry, shipment_recording::Recorded>> written_;
    QTimer *retry_;
    int retry_interval_ = 5000;
    std::atomic<int> current_interval_{5000};
    QStringList changed_tickets_;
    QStringList moved_tickets_;  // written loads that a late one moved a trip on
};

Q_DECLARE_METATYPE(LoadRecorder::Result)
