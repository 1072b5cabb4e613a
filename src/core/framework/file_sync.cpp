#include "core/framework/file_sync.h"

#include <QFile>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

bool sync_to_disk(QFileDevice &file)
{
    if (!file.flush())
        return false;
#ifdef Q_OS_WIN
    return ::_commit(file.handle()) == 0;
#else
    return ::fsync(file.handle()) == 0;
#endif
}

bool sync_file_to_disk(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && sync_to_disk(file);
}

bool sync_folder_to_disk(const QString &folder)
{
#ifdef Q_OS_WIN
    Q_UNUSED(folder);
    return true;  // Windows has no such step
#else
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
#endif
}
