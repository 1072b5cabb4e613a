#include "core/data/connection_settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Connection.ini as the office writes it: one server or the pair.
class TestConnectionSettings : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    QString write(const QByteArray &text) const
    {
        const QString path = dir.filePath(QStringLiteral("Connection.ini"));
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write("[connection]\ndriver=postgres\n" + text);
        f.close();
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        return path;
    }

private Q_SLOTS:
    void the_servers_and_their_options_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");
        QTest::addColumn<QStringList>("in_options");
        QTest::addColumn<QStringList>("not_in_options");
        const QStringList pair{QStringLiteral("target_session_attrs=read-write")};
        QTest::newRow("one server") << QByteArray("host=dbserver\nport=5433\n") << "dbserver" << 5433 << QStringList()
                                    << (pair + QStringList{QStringLiteral("sslmode"), QStringLiteral(";port=")});
        QTest::newRow("the pair") << QByteArray("host=db1,db2\n") << "db1,db2" << 5432 << pair << QStringList();
        QTest::newRow("spaces") << QByteArray("host=db1, db2\n") << "db1,db2" << 5432 << pair << QStringList();
        QTest::newRow("a port each") << QByteArray("host=db1,db2\nport=5432,5433\n") << "db1,db2" << 5432
                                     << (pair + QStringList{QStringLiteral(";port=5432,5433")}) << QStringList();
        QTest::newRow("sslmode") << QByteArray("host=dbserver\nsslmode=verify-full\n") << "dbserver" << 5432
                                 << QStringList{QStringLiteral(";sslmode=verify-full")} << pair;
    }
    void the_servers_and_their_options()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, host);
        QFETCH(int, port);
        QFETCH(QStringList, in_options);
        QFETCH(QStringList, not_in_options);
        const ConnectionSettings c = ConnectionSettings::load(write(file));
        QCOMPARE(c.host, host);
        QCOMPARE(c.port, port);
        const QString options = c.server_options();
        QVERIFY(options.contains(QStringLiteral("connect_timeout=3")));
        for (const QString &o : in_options)
            QVERIFY2(options.contains(o), qPrintable(options));
        for (const QString &o : not_in_options)
            QVERIFY2(!options.contains(o), qPrintable(options));
    }

    void a_password_others_can_read_is_warned_of_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("permissions");
        QTest::addColumn<bool>("warned");
        const int owner = int(QFile::ReadOwner | QFile::WriteOwner);
        QTest::newRow("owner only") << QByteArray("password=dovtarmei\n") << owner << false;
        QTest::newRow("group") << QByteArray("password=dovtarmei\n") << (owner | int(QFile::ReadGroup)) << true;
        QTest::newRow("everyone") << QByteArray("password=dovtarmei\n") << (owner | int(QFile::ReadOther)) << true;
        QTest::newRow("no password: the password file") << QByteArray("user=office\n") << (owner | int(QFile::ReadOther)) << false;
    }
    void a_password_others_can_read_is_warned_of()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, permissions);
        QFETCH(bool, warned);
        const QString path = write(file);
        QFile::setPermissions(path, QFile::Permissions(permissions));
        const QString warning = ConnectionSettings::exposed_password_warning(path);
        QCOMPARE(!warning.isEmpty(), warned);
        QVERIFY(!warning.contains(QStringLiteral("dovtarmei")));
    }
};

QTEST_GUILESS_MAIN(TestConnectionSettings)
#include "tst_connection_settings.moc"
