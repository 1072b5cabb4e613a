#pragma once
#include "core/plantlink/shipment_recording.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// The loads recorded while the database could not be reached, kept in a
// local file until each one is committed.  The file is JSON Lines (UTF-8,
// one load an object a line, in recording order), readable by its owner
// only; an append that returns true is on the disk, folder entry included,
// and one that fails leaves the file as it was; a removal rewrites the file
// atomically (or deletes it when no load is left).  A line cut short by a
// crash in the middle of an append is dropped when the file is read.
class OutageJournal {
public:
    struct Entry {
        QString id;   // unique, to find the entry again
        QString journalled_at;  // ISO date and time the load was journalled
        QString database;  // Database::identity() of the database it goes to
        shipment_recording::Input load;
        // The ticket printed from the console's figures while the load
        // waited: its trip number and cumulative may change when it is written.
        struct Ticket {
            int trip_no = 0;
            double cumulative = 0;
        };
        std::optional<Ticket> provisional;
    };

    // `database` is the identity of the database the loads go to; a line
    // of another one is never replayed.  Empty: every line is kept.
    explicit OutageJournal(QString path, QString database = QString());

    // outage_journal.jsonl in the program's data folder, beside the
    // embedded database.
    static QString default_path();

    QString path() const { return path_; }
    QString rejected_path() const { return path_ + QStringLiteral(".rejected"); }

    // Reads the file.  False with *error when it cannot be read; lines
    // that are not a load are dropped, loads of another database moved to
    // the refused file (both said in *error).  A line without a database
    // (written before lines named theirs) is this database's.
    bool load(QString *error);

    // A new entry for a load, which carries the entry's identity
    // (`load_id`); appended to the file, on the disk when this returns true.
    Entry make_entry(const shipment_recording::Input &load) const;
    bool append(const Entry &entry, QString *error);
    // A provisional ticket was printed for the waiting load.
    bool mark_provisional(const QString &id, const Entry::Ticket &ticket, QString *error);
    // The load is in the database: it leaves the journal.
    bool remove(const QString &id, QString *error);
    // A load the database refuses: moved to <journal>.rejected beside it.
    bool set_aside(const QString &id, QString *error);

    const QList<Entry> &entries() const { return entries_; }
    bool empty() const { return entries_.isEmpty(); }
    qsizetype size() const { return entries_.size(); }

    // One line of the file, without its line end, and back.
    static QByteArray encode(const Entry &entry);
    static std::optional<Entry> decode(const QByteArray &line);

private:
    bool rewrite(QString *error);

    QString path_;
    QString database_;
    QList<Entry> entries_;
    // Loads of another database that could not be moved to the refused
    // file: kept in the file (tried again at the next load), never replayed.
    QList<Entry> foreign_;
};
