#pragma once
#include <QString>

// How the data module reaches the database.  Kept in a small file of its
// own beside the settings file (the password never lives in the source);
// environment variables VELDARO_DB_DRIVER, _FILE, _NAME, _USER, _PASSWORD,
// _HOST and _PORT override it, for tests and for trying another server.
//
// Without a file the program uses the embedded SQLite database in the
// user's data folder, which needs no set-up at all.
struct ConnectionSettings {
    enum class Driver { Sqlite, Postgres };

    Driver driver = Driver::Sqlite;
    QString alias = QStringLiteral("rc_local");
    QString database = QStringLiteral("rc_db");
    QString user;
    QString password;
    QString host;
    int port = 5432;
    QString sqlite_file;  // the embedded database's file

    bool embedded() const { return driver == Driver::Sqlite; }

    static ConnectionSettings load(const QString &path);
    static QString default_path(const QString &settings_path);
    static QString default_sqlite_file();
};
