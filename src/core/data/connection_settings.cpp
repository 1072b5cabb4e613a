#include "core/data/connection_settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {
QString env(const char *name)
{
    return qEnvironmentVariable(name);
}
}

QString ConnectionSettings::default_path(const QString &settings_path)
{
    return QFileInfo(settings_path).dir().filePath(QStringLiteral("Connection.ini"));
}

QString ConnectionSettings::default_sqlite_file()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QDir(dir).filePath(QStringLiteral("vorn/dodaviv/rc_db.sqlite"));
}

ConnectionSettings ConnectionSettings::load(const QString &path)
{
    ConnectionSettings c;
    c.sqlite_file = default_sqlite_file();
    if (QFileInfo::exists(path)) {
        QSettings f(path, QSettings::IniFormat);
        f.beginGroup(QStringLiteral("connection"));
        const QString driver = f.value(QStringLiteral("driver")).toString().toLower();
        if (driver == QLatin1String("postgres") || driver == QLatin1String("postgresql"))
            c.driver = Driver::Postgres;
        c.alias = f.value(QStringLiteral("alias"), c.alias).toString();
        c.database = f.value(QStringLiteral("database"), c.database).toString();
        c.user = f.value(QStringLiteral("user")).toString();
        c.password = f.value(QStringLiteral("password")).toString();
        c.host = f.value(QStringLiteral("host")).toString();
        c.port = f.value(QStringLiteral("port"), c.port).toInt();
        c.sqlite_file = f.value(QStringLiteral("file"), c.sqlite_file).toString();
    }
    const QString driver = env("VELDARO_DB_DRIVER").toLower();
    if (driver == QLatin1String("sqlite"))
        c.driver = Driver::Sqlite;
    else if (driver.startsWith(QLatin1String("postgres")))
        c.driver = Driver::Postgres;
    else if (!env("VELDARO_DB_HOST").isEmpty())
        c.driver = Driver::Postgres;
    if (!env("VELDARO_DB_FILE").isEmpty())
        c.sqlite_file = env("VELDARO_DB_FILE");
    if (!env("VELDARO_DB_NAME").isEmpty())
        c.database = env("VELDARO_DB_NAME");
    if (!env("VELDARO_DB_USER").isEmpty())
        c.user = env("VELDARO_DB_USER");
    if (qEnvironmentVariableIsSet("VELDARO_DB_PASSWORD"))
        c.password = env("VELDARO_DB_PASSWORD");
    if (!env("VELDARO_DB_HOST").isEmpty())
        c.host = env("VELDARO_DB_HOST");
    if (!env("VELDARO_DB_PORT").isEmpty())
        c.port = env("VELDARO_DB_PORT").toInt();
    return c;
}
