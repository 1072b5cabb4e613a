#include "app/data_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString data_file(const QString &relative_path)
{
#ifdef Q_OS_WIN
    return QDir::toNativeSeparators(QStringLiteral("C:/Program Files/vorn/") + relative_path);
#else
    const QString env = qEnvironmentVariable("VELDARO_DATA_DIR");
    if (!env.isEmpty())
        return QDir(env).filePath(relative_path);
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/../share/veldaro");
    if (QFileInfo::exists(beside))
        return QDir(beside).filePath(relative_path);
    return QDir(QStringLiteral("/usr/share/veldaro")).filePath(relative_path);
#endif
}
