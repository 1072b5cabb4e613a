#include "core/data/data_module.h"
#include "core/data/schema.h"
#include "core/framework/profile_file.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>
#include <QUuid>

TF_DBMDL::TF_DBMDL(const QString &settings_path, const ConnectionSettings &connection,
                   QObject *parent)
    : QObject(parent), settings_path_(settings_path), connection_(connection)
{
    setObjectName(QStringLiteral("F_DBMDL"));
    const ProfileFile file(settings_path_);
    settings = PlantSettings::load(file);
    if (file.is_utf16())
        settings_notice = QStringLiteral("설정 파일이 유니코드(UTF-16)로 저장되어 있습니다: %1\n"
                                         "그대로 읽어 사용합니다. 다른 프로그램도 읽을 수 있도록 메모장에서"
                                         " 인코딩을 ANSI로 하여 다시 저장하십시오.")
                              .arg(QDir::toNativeSeparators(settings_path_));
    configure_connection();
}

TF_DBMDL::~TF_DBMDL()
{
    const QString name = remi_db.connection_name();
    remi_db = Database();
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

void TF_DBMDL::configure_connection()
{
    // A name of its own lets tests run several data modules side by side.
    const QString name = connection_.alias + QLatin1Char('-')
                         + QUuid::createUuid().toString(QUuid::WithoutBraces);
    if (connection_.embedded()) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(connection_.sqlite_file);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
    } else {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setDatabaseName(connection_.database);
        db.setUserName(connection_.user);
        db.setPassword(connection_.password);
        if (!connection_.host.isEmpty())
            db.setHostName(connection_.host);
        db.setPort(connection_.port);
        db.setConnectOptions(connection_.server_options());
    }
    remi_db = Database(name);
}

void TF_DBMDL::connect_database()
{
    if (remi_db.is_open())
        return;
    if (connection_.embedded() && connection_.sqlite_file != QLatin1String(":memory:"))
        QDir().mkpath(QFileInfo(connection_.sqlite_file).absolutePath());
    remi_db.ensure_open();
    if (connection_.embedded()) {
        remi_db.query(QStringLiteral("pragma journal_mode=wal"));
        schema::create_missing(remi_db);
    } else {
        schema::create_added(remi_db);
    }
}

EnrolRow read_enrol(const Database &db)
{
    QSqlQuery q = db.query(QStringLiteral("select name, japum from enrol"));
    EnrolRow row;
    if (q.next()) {
        row.name = q.value(0).toString();
        row.japum = q.value(1).toString();
    }
    return row;
}
