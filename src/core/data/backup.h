#pragma once
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

// Daily copies of the embedded database.  SQLite makes each one itself
// (VACUUM INTO, on a connection of its own), so the copy is one consistent
// state of the file while the program keeps writing; a plain file copy of a
// live database (and its write-ahead log) is not.
//
// The folder is `backup_folder` in the "[VELDARO]" section of the settings
// file (another disk, a network share), VELDARO_BACKUP_FOLDER overriding it;
// by default "backup" beside the database file, in the data folder.
namespace backup {

constexpr int kept = 14;

QString default_folder(const QString &db_file);
QString folder_setting(const QString &settings_path, const QString &db_file);

// The day's backup: "rc_db-2026-12-11.sqlite" (the database file's own name).
QString path_for(const QString &db_file, const QString &folder, QDate day);

// The day's backup made anew (a first one that day, or the one of the
// closing program replacing the morning's), owner-only; the old one stays
// until the new one is complete.  Throws DbError.
QString make(const QString &db_file, const QString &folder, QDate day);

// Removes all but the newest `keep` backups of the database in the folder;
// returns the files removed.
QStringList remove_old(const QString &db_file, const QString &folder, int keep = kept);

// Why a file cannot be put back (not an SQLite file, damaged, not this
// program's database: tables missing); empty when it can.
QString problem(const QString &file);

// Puts a checked backup back in the place of the database file.  The
// database as it was is kept beside the backups first (a copy by SQLite, or
// its files moved aside when SQLite cannot read it); returns where.  The
// program must not be running on the file.  Throws ActionError (the file
// refused, nothing changed) or DbError.
QString restore(const QString &backup_file, const QString &db_file, const QString &folder,
                const QDateTime &now);

}

// The backup of the working day at the first start and at closing.  A
// failure is said once a run (later ones go to the log only) and never
// stops the office.
class DailyBackup {
public:
    DailyBackup(const QString &db_file, const QString &folder);

    // No backup of that day yet, and a database to copy.
    bool due(QDate day) const;
    // Makes the day's backup and removes the old ones; returns the failure,
    // empty when it worked.  Any thread.
    QString run(QDate day) const;
    // Says a failure of run() (on the thread that owns `say`), once a run.
    void report(const QString &failure);

    std::function<void(const QString &text)> say;

private:
    QString db_file_;
    QString folder_;
    bool said_ = false;
};
