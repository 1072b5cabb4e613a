#include "core/framework/support_log.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QRegularExpression>
#include <QStringList>

Q_LOGGING_CATEGORY(lc_db, "veldaro.db")

namespace {
struct State {
    QMutex lock;
    QFile file;
    qint64 max_bytes = support_log::default_max_bytes;
    int files = support_log::default_files;
    QStringList secrets;
    QtMessageHandler previous = nullptr;
    bool installed = false;
};

State &state()
{
    static State s;
    return s;
}

char level_letter(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg: return 'D';
    case QtInfoMsg: return 'I';
    case QtWarningMsg: return 'W';
    case QtCriticalMsg: return 'E';
    case QtFatalMsg: return 'F';
    }
    return '?';
}

QString scrubbed(const State &s, QString text)
{
    static const QRegularExpression password(QStringLiteral("(password\\s*=\\s*)('[^']*'|\\S+)"),
                                             QRegularExpression::CaseInsensitiveOption);
    text.replace(password, QStringLiteral("\\1***"));
    for (const QString &secret : s.secrets)
        text.replace(secret, QStringLiteral("***"));
    return text;
}

bool open_file(State &s)
{
    s.file.close();
    QDir().mkpath(QFileInfo(s.file.fileName()).absolutePath());
    if (!s.file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return false;
    s.file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    return true;
}

// veldaro.log -> .1 -> .2 ...; the last one is dropped.
void rotate(State &s)
{
    const QString path = s.file.fileName();
    s.file.close();
    QFile::remove(path + QStringLiteral(".%1").arg(s.files - 1));
    for (int i = s.files - 2; i >= 1; --i)
        QFile::rename(path + QStringLiteral(".%1").arg(i), path + QStringLiteral(".%1").arg(i + 1));
    if (s.files > 1)
        QFile::rename(path, path + QStringLiteral(".1"));
    else
        QFile::remove(path);
    open_file(s);
}

void handler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    State &s = state();
    {
        const QMutexLocker guard(&s.lock);
        if (s.file.isOpen()) {
            const QString text = scrubbed(s, message);
            QString line = QStringLiteral("%1 %2 %3: ")
                               .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")))
                               .arg(QLatin1Char(level_letter(type)))
                               .arg(QString::fromLatin1(context.category ? context.category : "default"));
            // One entry a line; its further lines indented under it.
            line += text.trimmed().replace(QLatin1Char('\n'), QStringLiteral("\n    "));
            line += QLatin1Char('\n');
            const QByteArray bytes = line.toUtf8();
            if (s.file.size() > 0 && s.file.size() + bytes.size() > s.max_bytes)
                rotate(s);
            if (s.file.isOpen()) {
                s.file.write(bytes);
                s.file.flush();
            }
        }
    }
    if (s.previous)
        s.previous(type, context, scrubbed(s, message));
}
}

namespace support_log {

QString default_path(const QString &data_folder)
{
    return QDir(data_folder).filePath(QStringLiteral("veldaro.log"));
}

void install(const QString &path, qint64 max_bytes, int files)
{
    State &s = state();
    {
        const QMutexLocker guard(&s.lock);
        s.max_bytes = max_bytes;
        s.files = std::max(files, 1);
        s.file.close();
        s.file.setFileName(path);
        open_file(s);
        if (s.installed)
            return;
        s.installed = true;
    }
    s.previous = qInstallMessageHandler(handler);
}

void uninstall()
{
    State &s = state();
    if (!s.installed)
        return;
    qInstallMessageHandler(s.previous);
    const QMutexLocker guard(&s.lock);
    s.installed = false;
    s.previous = nullptr;
    s.file.close();
}

void hide(const QString &secret)
{
    if (secret.isEmpty())
        return;
    State &s = state();
    const QMutexLocker guard(&s.lock);
    if (!s.secrets.contains(secret))
        s.secrets << secret;
}

}
