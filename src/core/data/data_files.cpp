#include "core/data/data_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

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

QImage approval_picture(QString *error)
{
    const QString path = data_file(QStringLiteral("결재.bmp"));
    QImageReader reader(path);
    QImage image = reader.read();
    if (image.isNull() && error)
        *error = QStringLiteral("결재 그림을 읽을 수 없습니다: %1 (%2)").arg(QDir::toNativeSeparators(path), reader.errorString());
    return image;
}
