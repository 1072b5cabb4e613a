#include "core/data/instance_lock.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

// One program per data folder.
class TestInstanceLock : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void a_second_program_on_the_same_folder_is_refused()
    {
        QTemporaryDir dir;
        InstanceLock first(dir.path());
        QVERIFY(first.acquire());
        InstanceLock second(dir.path());
        QVERIFY(!second.acquire());
        QVERIFY2(second.refusal().startsWith(QStringLiteral("레미콘출하 프로그램이 이미 실행 중입니다")),
                 qPrintable(second.refusal()));
        QVERIFY(second.refusal().contains(QDir::toNativeSeparators(dir.path())));

        // Another folder is another plant.
        QTemporaryDir other;
        QVERIFY(InstanceLock(other.path()).acquire());
    }

    void the_lock_is_held_for_the_whole_run_not_30_seconds()
    {
        QTemporaryDir dir;
        InstanceLock first(dir.path());
        QVERIFY(first.acquire());
        // As if the program had been running for an hour.
        QFile file(dir.filePath(QStringLiteral("veldaro.lock")));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
        file.close();
        QVERIFY(!InstanceLock(dir.path()).acquire());
    }

    void a_lock_left_by_a_program_that_died_is_taken_over()
    {
        QTemporaryDir dir;
        // A process that has ended leaves its number in the lock file.
        QProcess gone;
        gone.start(QStringLiteral("true"));
        QVERIFY(gone.waitForStarted());
        const qint64 pid = gone.processId();
        QVERIFY(gone.waitForFinished());
        QFile file(dir.filePath(QStringLiteral("veldaro.lock")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::number(pid) + "\nveldaro\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        file.close();
        QVERIFY(InstanceLock(dir.path()).acquire());
    }

    void released_when_the_program_ends()
    {
        QTemporaryDir dir;
        {
            InstanceLock first(dir.path());
            QVERIFY(first.acquire());
        }
        QVERIFY(InstanceLock(dir.path()).acquire());
    }
};

QTEST_GUILESS_MAIN(TestInstanceLock)
#include "tst_instance_lock.moc"
