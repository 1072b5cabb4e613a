#pragma once
#include <QLoggingCategory>
#include <QString>

// The log a support person reads later: every Qt message (qCWarning and
// friends, with their category) goes, with its time, to a file in the
// program's data folder, besides the terminal.  The file is rotated by
// size ("veldaro.log", ".1", ".2", ...; the oldest dropped).  Texts handed
// to hide() (the database password) and every "password=..." never reach it.
namespace support_log {

constexpr qint64 default_max_bytes = 1024 * 1024;
constexpr int default_files = 5;

QString default_path(const QString &data_folder);

// Installs the message handler; from any thread after that.  The previous
// handler still gets every message.
void install(const QString &path, qint64 max_bytes = default_max_bytes, int files = default_files);
// Back to the previous handler; the file is closed.
void uninstall();
void hide(const QString &secret);

}

// Failed statements and connections.
Q_DECLARE_LOGGING_CATEGORY(lc_db)
