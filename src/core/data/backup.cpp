#include "core/data/backup.h"
#include "core/data/schema.h"
#include "core/framework/database.h"
#include "core/framework/file_sync.h"
#include "core/framework/guarded.h"
#include "core/framework/profile_file.h"

#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QUuid>
#include <filesystem>

namespace {
Q_LOGGING_CATEGORY(lc_backup, "veldaro.backup")
}

namespace backup {

namespace {
// A connection of its own to an SQLite file, closed and removed at the end,
// so backups can run on any thread beside the program's connections.
class OwnConnection {
public:
    explicit OwnConnection(const QString &file)
        : name_(QStringLiteral("backup-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(file);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    }
    ~OwnConnection()
    {
        QSqlDatabase::database(name_, false).close();
        QSqlDatabase::removeDatabase(name_);
    }
    Database db() const { return Database(name_); }

private:
    QString name_;
};

QString stem(const QString &db_file)
{
    return QFileInfo(db_file).completeBaseName();
}

QString suffix(const QString &db_file)
{
    const QString s = QFileInfo(db_file).suffix();
    return s.isEmpty() ? QStringLiteral("sqlite") : s;
}

// The file name's date part: "rc_db-2026-12-11.sqlite".
bool is_backup_name(const QString &db_file, const QString &name)
{
    const QString head = stem(db_file) + QLatin1Char('-');
    const QString tail = QLatin1Char('.') + suffix(db_file);
    if (!name.startsWith(head) || !name.endsWith(tail))
        return false;
    const QString day = name.mid(head.size(), name.size() - head.size() - tail.size());
    return QDate::fromString(day, QStringLiteral("yyyy-MM-dd")).isValid();
}

void copy_by_sqlite(const QString &from, const QString &to)
{
    QFile::remove(to);
    const OwnConnection own(from);
    const Database db = own.db();
    const Database::NoStatementLimit no_limit;  // a large file takes its time
    db.exec(QStringLiteral("vacuum into :file"), {{QStringLiteral(":file"), to}});
    QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner);
}

void replace(const QString &from, const QString &to)
{
    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(from.toStdU16String()), std::filesystem::path(to.toStdU16String()), ec);
    if (ec)
        throw DbError(QStringLiteral("백업 파일을 만들지 못했습니다: %1 (%2)")
                          .arg(QDir::toNativeSeparators(to), QString::fromLocal8Bit(ec.message())));
}

void need_folder(const QString &folder)
{
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir())
        throw DbError(QStringLiteral("백업 폴더를 만들 수 없습니다: %1").arg(QDir::toNativeSeparators(folder)));
}
}

QString default_folder(const QString &db_file)
{
    return QFileInfo(db_file).absoluteDir().filePath(QStringLiteral("backup"));
}

QString folder_setting(const QString &settings_path, const QString &db_file)
{
    QString folder;
    if (qEnvironmentVariableIsSet("VELDARO_BACKUP_FOLDER"))
        folder = qEnvironmentVariable("VELDARO_BACKUP_FOLDER").trimmed();
    else
        folder = ProfileFile(settings_path).read(QStringLiteral("VELDARO"), QStringLiteral("backup_folder")).trimmed();
    return folder.isEmpty() ? default_folder(db_file) : folder;
}

QString path_for(const QString &db_file, const QString &folder, QDate day)
{
    return QDir(folder).filePath(QStringLiteral("%1-%2.%3").arg(stem(db_file), day.toString(QStringLiteral("yyyy-MM-dd")),
                                                                suffix(db_file)));
}

QString make(const QString &db_file, const QString &folder, QDate day)
{
    if (!QFileInfo(db_file).isFile())
        throw DbError(QStringLiteral("백업할 데이터베이스 파일이 없습니다: %1").arg(QDir::toNativeSeparators(db_file)));
    need_folder(folder);
    const QString target = path_for(db_file, folder, day);
    // Never a half backup under the day's name.
    const QString partial = target + QStringLiteral(".partial");
    try {
        copy_by_sqlite(db_file, partial);
    } catch (const DbError &e) {
        QFile::remove(partial);
        throw DbError(QStringLiteral("데이터베이스를 백업하지 못했습니다: %1\n%2")
                          .arg(QDir::toNativeSeparators(target), e.message()),
                      e.unreachable(), false, e.retry_later());
    }
    sync_file_to_disk(partial);
    replace(partial, target);
    sync_folder_to_disk(folder);
    return target;
}

QStringList remove_old(const QString &db_file, const QString &folder, int keep)
{
    QStringList names;
    for (const QString &name : QDir(folder).entryList(QDir::Files, QDir::Name))
        if (is_backup_name(db_file, name))
            names << name;
    QStringList removed;
    // The names sort by their day.
    while (names.size() > keep) {
        const QString path = QDir(folder).filePath(names.takeFirst());
        if (QFile::remove(path))
            removed << path;
    }
    return removed;
}

QString problem(const QString &file)
{
    const QString shown = QDir::toNativeSeparators(file);
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("백업 파일을 읽을 수 없습니다: %1 (%2)").arg(shown, f.errorString());
    if (!f.read(16).startsWith("SQLite format 3"))
        return QStringLiteral("SQLite 데이터베이스 파일이 아닙니다: %1").arg(shown);
    f.close();
    try {
        const OwnConnection own(file);
        const Database db = own.db();
        const Database::NoStatementLimit no_limit;
        QSqlQuery q = db.query(QStringLiteral("pragma integrity_check"));
        QStringList said;
        while (q.next() && said.size() < 5)
            said << q.value(0).toString();
        if (said != QStringList{QStringLiteral("ok")})
            return QStringLiteral("백업 파일이 손상되었습니다: %1\n%2").arg(shown, said.join(QLatin1Char('\n')));
        QStringList missing;
        const QStringList lacking = schema::missing_tables(db);
        for (const schema::Table &t : schema::tables())
            if (!t.added && lacking.contains(QString::fromLatin1(t.name)))
                missing << QString::fromLatin1(t.name);
        if (!missing.isEmpty())
            return QStringLiteral("이 프로그램의 데이터베이스가 아닙니다 (표가 없습니다: %1): %2")
                .arg(missing.join(QStringLiteral(", ")), shown);
    } catch (const DbError &e) {
        return QStringLiteral("백업 파일을 열 수 없습니다: %1\n%2").arg(shown, e.message());
    }
    return QString();
}

QString restore(const QString &backup_file, const QString &db_file, const QString &folder, const QDateTime &now)
{
    const QString why = problem(backup_file);
    if (!why.isEmpty())
        throw ActionError(why);
    if (QFileInfo(backup_file).absoluteFilePath() == QFileInfo(db_file).absoluteFilePath())
        throw ActionError(QStringLiteral("백업 파일이 데이터베이스 파일 자체입니다: %1").arg(QDir::toNativeSeparators(db_file)));
    need_folder(folder);
    QDir().mkpath(QFileInfo(db_file).absolutePath());

    // The database as it is now, kept before anything changes.
    QString kept_as;
    if (QFileInfo::exists(db_file)) {
        kept_as = QDir(folder).filePath(QStringLiteral("%1-before-restore-%2.%3")
                                            .arg(stem(db_file), now.toString(QStringLiteral("yyyyMMdd-HHmmss")), suffix(db_file)));
        try {
            copy_by_sqlite(db_file, kept_as);
        } catch (const DbError &) {
            // Unreadable to SQLite: its files as they are.
            QFile::remove(kept_as);
            for (const QString &tail : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
                if (QFileInfo::exists(db_file + tail))
                    replace(db_file + tail, kept_as + tail);
        }
    }
    qCInfo(lc_backup).noquote() << "restoring" << backup_file << "to" << db_file << "- the database before kept as" << kept_as;
    const QString incoming = db_file + QStringLiteral(".restoring");
    QFile::remove(incoming);
    if (!QFile::copy(backup_file, incoming))
        throw DbError(QStringLiteral("백업 파일을 복사하지 못했습니다: %1").arg(QDir::toNativeSeparators(incoming)));
    QFile::setPermissions(incoming, QFile::ReadOwner | QFile::WriteOwner);
    if (!sync_file_to_disk(incoming))
        throw DbError(QStringLiteral("백업 파일을 디스크에 쓰지 못했습니다: %1").arg(QDir::toNativeSeparators(incoming)));
    // The old write-ahead log would be applied to the restored file.
    for (const QString &tail : {QStringLiteral("-wal"), QStringLiteral("-shm")})
        QFile::remove(db_file + tail);
    replace(incoming, db_file);
    sync_folder_to_disk(QFileInfo(db_file).absolutePath());
    // In the program's journal mode already: switching needs the file to
    // itself, which the first start's backup would not give it.
    {
        const OwnConnection own(db_file);
        own.db().query(QStringLiteral("pragma journal_mode=wal"));
    }
    return kept_as;
}

}

DailyBackup::DailyBackup(const QString &db_file, const QString &folder) : db_file_(db_file), folder_(folder) {}

bool DailyBackup::due(QDate day) const
{
    return QFileInfo(db_file_).isFile() && !QFileInfo::exists(backup::path_for(db_file_, folder_, day));
}

QString DailyBackup::run(QDate day) const
{
    try {
        const QString made = backup::make(db_file_, folder_, day);
        qCInfo(lc_backup).noquote() << "backup made:" << made;
        for (const QString &old : backup::remove_old(db_file_, folder_))
            qCInfo(lc_backup).noquote() << "old backup removed:" << old;
        return QString();
    } catch (const DbError &e) {
        qCWarning(lc_backup).noquote() << e.message();
        return e.message();
    }
}

void DailyBackup::report(const QString &failure)
{
    if (failure.isEmpty() || said_)
        return;
    said_ = true;
    if (say)
        say(failure + QStringLiteral("\n출하 업무는 그대로 계속할 수 있습니다."));
}
