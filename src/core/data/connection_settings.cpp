#include "core/data/connection_settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {
QString env(const char *name)
{
    return qEnvironmentVariable(name);
}

// QSettings reads "db1,db2" as a list.
QString text_of(const QVariant &v)
{
    if (v.metaType().id() == QMetaType::QStringList)
        return v.toStringList().join(QLatin1Char(','));
    return v.toString();
}

QString without_spaces(QString list)
{
    return list.remove(QLatin1Char(' '));
}
}

QString ConnectionSettings::server_options() const
{
    // Nothing waits without bound: the connection attempt (each server of
    // a pair), a peer gone silent (keep-alives, unacknowledged data), a
    // statement (stopped by the server at 4 s, the connection cut by the
    // client at 5 s).
    QString o = QStringLiteral("connect_timeout=3;keepalives=1;keepalives_idle=10;keepalives_interval=3;"
                               "keepalives_count=3;tcp_user_timeout=10000;"
                               "options='-c statement_timeout=4000'");
    // After Qt's own "port=": the last one counts.
    if (!ports.isEmpty())
        o += QStringLiteral(";port=") + ports;
    if (server_pair())
        o += QStringLiteral(";target_session_attrs=read-write");
    if (!sslmode.isEmpty())
        o += QStringLiteral(";sslmode=") + sslmode;
    return o;
}

QString ConnectionSettings::exposed_password_warning(const QString &path)
{
#ifdef Q_OS_WIN
    Q_UNUSED(path);
    return QString();
#else
    if (!QFileInfo::exists(path))
        return QString();
    QSettings f(path, QSettings::IniFormat);
    if (text_of(f.value(QStringLiteral("connection/password"))).isEmpty())
        return QString();
    if (!(QFile::permissions(path) & (QFile::ReadGroup | QFile::ReadOther)))
        return QString();
    return QStringLiteral("연결 설정 파일 %1에 데이터베이스 암호가 있는데 이 PC의 다른 사용자도 읽을 수 있습니다.\n"
                          "chmod 600 %1 로 이 계정만 읽게 하거나, 암호를 ~/.pgpass 에 두십시오.")
        .arg(path);
#endif
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
        c.password = text_of(f.value(QStringLiteral("password")));
        c.host = without_spaces(text_of(f.value(QStringLiteral("host"))));
        const QString port = without_spaces(text_of(f.value(QStringLiteral("port"))));
        if (port.contains(QLatin1Char(',')))
            c.ports = port;
        if (!port.isEmpty())
            c.port = port.section(QLatin1Char(','), 0, 0).toInt();
        c.sslmode = f.value(QStringLiteral("sslmode")).toString().trimmed();
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
    if (!env("VELDARO_DB_PORT").isEmpty()) {
        const QString port = without_spaces(env("VELDARO_DB_PORT"));
        c.ports = port.contains(QLatin1Char(',')) ? port : QString();
        c.port = port.section(QLatin1Char(','), 0, 0).toInt();
    }
    if (qEnvironmentVariableIsSet("VELDARO_DB_SSLMODE"))
        c.sslmode = env("VELDARO_DB_SSLMODE").trimmed();
    return c;
}
