#pragma once
#include "core/plantlink/outage_journal.h"
#include "core/plantlink/shipment_recording.h"

#include <QObject>
#include <QStringList>
#include <functional>
#include <optional>

class Database;
class QTimer;

// Records the loads of the first weighing reports so that none is lost
// while the database cannot be reached: each load goes into the outage
// journal (on the disk) first, then into the database behind every load
// still waiting there, and leaves the journal only after its commit.
// While loads wait, the journal is replayed every few seconds.
class LoadRecorder : public QObject {
    Q_OBJECT
public:
    LoadRecorder(const Database &db, const QString &journal_path, QObject *parent = nullptr);

    struct Outcome {
        // The load as the database took it; empty when it waits in the journal.
        std::optional<shipment_recording::Recorded> recorded;
        // Loads of the same order waiting in the journal before this one.
        int waiting_loads = 0;
        double waiting_sum = 0;
        // The load's identity, to mark the ticket printed for it.
        QString load_id;
        // The database refused the load for good, or its order is gone: the
        // load was set aside with the refused ones (and said through `say`),
        // there is no ticket to print.
        bool refused = false;
    };

    // Throws ActionError for a quantity that is not a number.  A database
    // that cannot take the load now (unreachable, timed out, a deadlock, no
    // tables) leaves it in the journal; a refusal sets it aside.
    Outcome record(const shipment_recording::Input &input,
                   const shipment_recording::VehicleLookup &lookup_vehicle);

    // A ticket was printed from the console's figures for a load that
    // waits: kept with the load, and compared when it is written.
    void mark_provisional(const QString &load_id, int trip_no, double cumulative);

    // Writes the waiting loads in order, each in its own transaction,
    // until the database cannot be reached.  Returns the loads written.
    int replay();

    const OutageJournal &journal() const { return journal_; }
    // Loads not in the database yet: in the journal, or held in memory.
    int waiting() const;
    // Loads that neither the journal nor the database could take: only in
    // memory, lost if the program ends now.
    int held_in_memory() const { return static_cast<int>(held_.size()); }
    // How often waiting loads are tried while the database answers (5 s);
    // while it stays away the interval doubles up to a minute.
    void set_retry_interval(int ms);
    int retry_interval() const;
    static constexpr int max_retry_interval = 60000;

    // Where the recorder tells what went wrong outside a recording (a
    // journal that cannot be written, a load the database refuses).
    std::function<void(const QString &text)> say;

Q_SIGNALS:
    void waiting_changed(int loads);
    // Loads went from the journal into the database: the boards are stale.
    void replayed(int loads);

private:
    int replay_before(const QString &stop_id);
    int write_held();
    // A provisional ticket that the written load contradicts, to be said.
    void note_changed_ticket(const OutageJournal::Entry &e, const shipment_recording::Recorded &written);
    void count_waiting_before(const OutageJournal::Entry &entry, Outcome &out) const;
    // Moves a refused load to the refused file and says why.
    void set_aside(const QString &id, const QString &reason);
    void tell(const QString &text);
    void after_change(int before);

    const Database &db_;
    OutageJournal journal_;
    QList<OutageJournal::Entry> held_;
    QTimer *retry_;
    int retry_interval_ = 5000;
    bool database_away_ = false;  // the last replay was kept back
    QStringList changed_tickets_;
};
