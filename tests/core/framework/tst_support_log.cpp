#include "core/framework/database.h"
#include "core/framework/support_log.h"

#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <QTest>

Q_LOGGING_CATEGORY(lc_test, "veldaro.test")

// The support log: what went wrong, with time and category, in a few files
// of bounded size, never a password.
class TestSupportLog : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    QString path() const { return dir.filePath(QStringLiteral("veldaro.log")); }

    static QString read(const QString &file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    QString all_files() const
    {
        QString text;
        for (const QString &name : QDir(dir.path()).entryList(QDir::Files))
            text += read(dir.filePath(name));
        return text;
    }

private Q_SLOTS:
    void cleanup()
    {
        support_log::uninstall();
        for (const QString &name : QDir(dir.path()).entryList(QDir::Files))
            QFile::remove(dir.filePath(name));
    }

    void a_message_is_written_with_its_time_level_and_category()
    {
        support_log::install(path());
        qCWarning(lc_test) << "출하가 기록되지 않았습니다:" << 7 << "\n두 번째 줄";
        const QStringList lines = read(path()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QVERIFY2(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} W veldaro\\.test: "
                                                   "출하가 기록되지 않았습니다: 7"))
                     .match(lines[0]).hasMatch(),
                 qPrintable(lines[0]));
        QVERIFY(lines[1].startsWith(QStringLiteral("    ")));
        QCOMPARE(QFile::permissions(path()) & (QFile::ReadOther | QFile::ReadGroup), QFile::Permissions());
    }

    void the_log_is_rotated_by_size_and_a_few_files_kept()
    {
        support_log::install(path(), 4000, 3);
        for (int i = 0; i < 400; ++i)
            qCInfo(lc_test).noquote() << QStringLiteral("line %1").arg(i, 4, 10, QLatin1Char('0'));
        const QStringList files = QDir(dir.path()).entryList(QDir::Files, QDir::Name);
        QCOMPARE(files, (QStringList{QStringLiteral("veldaro.log"), QStringLiteral("veldaro.log.1"), QStringLiteral("veldaro.log.2")}));
        for (const QString &name : files)
            QVERIFY2(QFileInfo(dir.filePath(name)).size() <= 4000, qPrintable(name));
        // Newest in the file itself, the ones before it in .1, the oldest dropped.
        QVERIFY(read(path()).contains(QStringLiteral("line 0399")));
        const QString previous = read(path() + QStringLiteral(".1"));
        const int last_of_previous = previous.section(QStringLiteral("line "), -1).left(4).toInt();
        QVERIFY(read(path()).contains(QStringLiteral("line %1").arg(last_of_previous + 1, 4, 10, QLatin1Char('0'))));
        QVERIFY(!all_files().contains(QStringLiteral("line 0000")));
    }

    void no_password_reaches_the_log_data()
    {
        QTest::addColumn<QString>("message");
        QTest::newRow("connection string") << "host=db1 password=dovtarmei user=sysdba";
        QTest::newRow("quoted") << "password = 'dovtarmei' port=5432";
        QTest::newRow("the password alone") << "login failed for dovtarmei";
    }
    void no_password_reaches_the_log()
    {
        QFETCH(QString, message);
        support_log::install(path());
        support_log::hide(QStringLiteral("dovtarmei"));
        qCWarning(lc_test).noquote() << message;
        const QString text = read(path());
        QVERIFY(text.contains(QStringLiteral("veldaro.test")));
        QVERIFY2(!text.contains(QStringLiteral("dovtarmei")), qPrintable(text));
    }

    void a_failed_statement_is_logged_with_the_database_error()
    {
        support_log::install(path());
        const QString name = QStringLiteral("log-test");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(QStringLiteral(":memory:"));
            try {
                Database(name).exec(QStringLiteral("update cholha set o_count = :c"), {{QStringLiteral(":c"), QStringLiteral("002")}});
                QFAIL("no error");
            } catch (const DbError &) {
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
        const QString text = read(path());
        QVERIFY2(text.contains(QStringLiteral("W veldaro.db: statement failed")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("no such table: cholha")));
        QVERIFY(text.contains(QStringLiteral("update cholha set o_count")));
    }
};

QTEST_GUILESS_MAIN(TestSupportLog)
#include "tst_support_log.moc"
