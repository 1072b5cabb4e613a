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
    // One server, or the plant's pair ("db1,db2"): the one that takes
    // writes is used, and after a failover the new one (libpq's
    // target_session_attrs=read-write).
    QString host;
    int port = 5432;
    // One port a host when they differ ("5432,5433"); empty: `port` for all.
    QString ports;
    // libpq's sslmode ("disable", "require", "verify-full", ...); empty:
    // libpq's default.  No password in the file: libpq's password file
    // (~/.pgpass, PGPASSFILE) is asked.
    QString sslmode;
    QString sqlite_file;  // the embedded database's file

    bool embedded() const { return driver == Driver::Sqlite; }
    bool server_pair() const { return host.contains(QLatin1Char(',')); }
    // The libpq options beyond host, port, user and password.
    QString server_options() const;

    static ConnectionSettings load(const QString &path);
    static QString default_path(const QString &settings_path);
    static QString default_sqlite_file();
    // What the office is told at start-up when the file holds a password and
    // other accounts of the PC may read it; empty otherwise.
    static QString exposed_password_warning(const QString &path);
};
