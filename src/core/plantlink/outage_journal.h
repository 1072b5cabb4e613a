#pragma once
#include "core/plantlink/shipment_recording.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// The loads recorded while the database could not be reached, kept in a
// local file until each one is committed.  The file is JSON Lines (UTF-8,
// one load an object a line, in recording order); every append is flushed
// to disk before the call returns, a removal rewrites the file atomically
// (or deletes it when no load is left).  A line cut short by a crash in the
// middle of an append is dropped when the file is read.
class OutageJournal {
public:
    struct Entry {
        QString id;   // unique, to find the entry again
        QString journalled_at;  // ISO date and time the load was journalled
        shipment_recording::Input load;
    };

    explicit OutageJournal(QString path);

    // outage_journal.jsonl in the program's data folder, beside the
    // embedded database.
    static QString default_path();

    QString path() const { return path_; }

    // Reads the file.  False with *error when it cannot be read; lines
    // that are not a load are dropped (and said in *error).
    bool load(QString *error);

    // A new entry for a load, which carries the entry's identity
    // (`load_id`); appended to the file, on the disk when this returns true.
    Entry make_entry(const shipment_recording::Input &load) const;
    bool append(const Entry &entry, QString *error);
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
    QList<Entry> entries_;
};
