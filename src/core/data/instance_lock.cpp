#include "core/data/instance_lock.h"

#include <QDir>

InstanceLock::InstanceLock(const QString &folder)
    : folder_(folder), lock_(QDir(folder).filePath(QStringLiteral("veldaro.lock")))
{
    // Qt would take over a lock older than 30 s even from a live program;
    // only a lock whose program is gone is stale here.
    lock_.setStaleLockTime(0);
}

bool InstanceLock::acquire()
{
    QDir().mkpath(folder_);
    return lock_.tryLock(0);
}

QString InstanceLock::refusal() const
{
    qint64 pid = 0;
    QString host, app;
    const bool known = lock_.getLockInfo(&pid, &host, &app);
    QString text = QStringLiteral("레미콘출하 프로그램이 이미 실행 중입니다");
    if (known)
        text += QStringLiteral(" (프로세스 %1)").arg(pid);
    return text + QStringLiteral(".\n같은 데이터 폴더(%1)에서는 프로그램을 하나만 실행할 수 있습니다.")
                      .arg(QDir::toNativeSeparators(folder_));
}
