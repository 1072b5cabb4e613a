#include "test_support.h"
#include "app/application.h"
#include "app/schema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QApplication>
#include <QTest>
#include <QTimer>

QString test_engine()
{
    const QString e = qEnvironmentVariable("VELDARO_TEST_DB");
    return e.isEmpty() ? QStringLiteral("sqlite") : e;
}

namespace {
void ensure_pg_database(const ConnectionSettings &c)
{
    const QString name = QStringLiteral("pg-admin");
    {
        QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        admin.setHostName(c.host);
        admin.setPort(c.port);
        admin.setUserName(c.user);
        admin.setPassword(c.password);
        admin.setDatabaseName(QStringLiteral("postgres"));
        if (admin.open()) {
            QSqlQuery q(admin);
            q.prepare(QStringLiteral("select 1 from pg_database where datname = :n"));
            q.bindValue(QStringLiteral(":n"), c.database);
            if (q.exec() && !q.next()) {
                // Identifiers cannot be bound; the name is the test's own.
                QSqlQuery create(admin);
                create.exec(QStringLiteral("create database \"%1\"").arg(c.database));
            }
            admin.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
}
}

ConnectionSettings test_connection(const QString &sqlite_file)
{
    ConnectionSettings c = ConnectionSettings::load(QString());
    if (test_engine() == QLatin1String("postgres")) {
        c.driver = ConnectionSettings::Driver::Postgres;
        ensure_pg_database(c);
    } else {
        c.driver = ConnectionSettings::Driver::Sqlite;
        c.sqlite_file = sqlite_file.isEmpty() ? QStringLiteral(":memory:") : sqlite_file;
    }
    return c;
}

void reset_schema(const Database &db)
{
    db.ensure_open();
    QStringList existing = db.connection().tables(QSql::Tables);
    for (QString &t : existing)
        t = t.toLower();
    for (const schema::Table &t : schema::tables())
        if (existing.contains(QString::fromLatin1(t.name)))
            db.exec(QStringLiteral("drop table %1").arg(QString::fromLatin1(t.name)));
    schema::create_missing(db);
}

TestPlant::TestPlant(Storage storage)
{
    init_resources();
    settings_path = dir.filePath(QStringLiteral("Vorn.Ini"));
    const QString file = storage == OnDisk ? dir.filePath(QStringLiteral("rc_db.sqlite")) : QString();
    dbm = std::make_unique<TF_DBMDL>(settings_path, test_connection(file));
    dbm->connect_database();
    reset_schema(dbm->db());
    ctx.dbm = dbm.get();
    ctx.prompter = &prompter;
    ctx.clock = &clock;
    ctx.lookup = &lookup;
    if (qobject_cast<QApplication *>(QCoreApplication::instance())) {
        list = std::make_unique<TF_LIST>(ctx);
        ctx.list = list.get();
    }
}

TestPlant::~TestPlant() = default;

void TestPlant::exec(const QString &sql, const Params &params) const
{
    try {
        db().exec(sql, params);
    } catch (const DbError &e) {
        QTest::qFail(qPrintable(e.message()), __FILE__, __LINE__);
        throw;
    }
}

void on_next_modal(const std::function<void(QWidget *)> &act)
{
    auto *timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        act(modal);
    });
    timer->start();
}
