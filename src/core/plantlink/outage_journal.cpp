#include "core/plantlink/outage_journal.h"
#include "core/data/connection_settings.h"
#include "core/framework/stored_text.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QUuid>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {
constexpr int format_version = 1;

bool sync_to_disk(QFile &file)
{
    if (!file.flush())
        return false;
#ifdef Q_OS_WIN
    return ::_commit(file.handle()) == 0;
#else
    return ::fsync(file.handle()) == 0;
#endif
}

QString file_error(const QString &path, const QString &why)
{
    return QStringLiteral("출하 대기 파일 %1에 쓸 수 없습니다: %2").arg(QDir::toNativeSeparators(path), why);
}
}

OutageJournal::OutageJournal(QString path) : path_(std::move(path)) {}

QString OutageJournal::default_path()
{
    return QFileInfo(ConnectionSettings::default_sqlite_file()).dir().filePath(QStringLiteral("outage_journal.jsonl"));
}

QByteArray OutageJournal::encode(const Entry &e)
{
    const shipment_recording::Input &in = e.load;
    QJsonObject o;
    o.insert(QStringLiteral("v"), format_version);
    o.insert(QStringLiteral("id"), e.id);
    o.insert(QStringLiteral("journalled"), e.journalled_at);
    o.insert(QStringLiteral("o_date"), stored::date(in.today));
    o.insert(QStringLiteral("o_fdate"), in.board_date);
    o.insert(QStringLiteral("o_otime"), stored::time_hms(in.time));
    o.insert(QStringLiteral("o_scode"), in.order_no);
    o.insert(QStringLiteral("o_carnum"), in.vehicle_code);
    o.insert(QStringLiteral("o_hogi"), QString::number(in.unit));
    o.insert(QStringLiteral("o_ccode"), in.vehicle_no);
    o.insert(QStringLiteral("o_return"), QStringLiteral("**"));
    o.insert(QStringLiteral("quantity"), in.quantity);
    o.insert(QStringLiteral("mortar_quantity"), in.mortar_quantity ? QJsonValue(*in.mortar_quantity) : QJsonValue());
    o.insert(QStringLiteral("remi_code"), in.product_code);
    o.insert(QStringLiteral("v_station"), in.site_name);
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

std::optional<OutageJournal::Entry> OutageJournal::decode(const QByteArray &line)
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return std::nullopt;
    const QJsonObject o = doc.object();
    const auto text = [&o](const char *key) { return o.value(QLatin1String(key)).toString(); };
    Entry e;
    e.id = text("id");
    e.journalled_at = text("journalled");
    shipment_recording::Input &in = e.load;
    in.unit = text("o_hogi").toInt();
    in.today = stored::parse_date(text("o_date"));
    in.board_date = text("o_fdate");
    in.time = QTime::fromString(text("o_otime"), QStringLiteral("HH:mm:ss"));
    in.order_no = text("o_scode");
    in.vehicle_code = text("o_carnum");
    in.vehicle_no = text("o_ccode");
    in.quantity = text("quantity");
    if (o.value(QLatin1String("mortar_quantity")).isString())
        in.mortar_quantity = text("mortar_quantity");
    in.product_code = text("remi_code");
    in.site_name = text("v_station");
    in.load_id = e.id;
    in.journalled_at = e.journalled_at;
    if (e.id.isEmpty() || (in.unit != 1 && in.unit != 2) || !in.today.isValid() || !in.time.isValid()
        || in.order_no.isEmpty())
        return std::nullopt;
    return e;
}

bool OutageJournal::load(QString *error)
{
    entries_.clear();
    QFile file(path_);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("출하 대기 파일 %1을(를) 읽을 수 없습니다: %2")
                     .arg(QDir::toNativeSeparators(path_), file.errorString());
        return false;
    }
    const QByteArray all = file.readAll();
    file.close();
    int dropped = 0;
    for (const QByteArray &line : all.split('\n')) {
        if (line.trimmed().isEmpty())
            continue;
        if (const auto e = decode(line))
            entries_ << *e;
        else
            ++dropped;
    }
    // A torn last line would glue itself to the next append.
    if (dropped > 0 || (!all.isEmpty() && !all.endsWith('\n'))) {
        QString why;
        rewrite(&why);
        if (dropped > 0)
            *error = QStringLiteral("출하 대기 파일 %1의 읽을 수 없는 줄 %2개를 버렸습니다.")
                         .arg(QDir::toNativeSeparators(path_))
                         .arg(dropped);
    }
    return true;
}

OutageJournal::Entry OutageJournal::make_entry(const shipment_recording::Input &load) const
{
    Entry e{QUuid::createUuid().toString(QUuid::WithoutBraces),
            QDateTime::currentDateTime().toString(Qt::ISODate), load};
    e.load.load_id = e.id;
    e.load.journalled_at = e.journalled_at;
    return e;
}

bool OutageJournal::append(const Entry &entry, QString *error)
{
    QDir().mkpath(QFileInfo(path_).absolutePath());
    QFile file(path_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        *error = file_error(path_, file.errorString());
        return false;
    }
    const QByteArray line = encode(entry) + '\n';
    if (file.write(line) != line.size() || !sync_to_disk(file)) {
        *error = file_error(path_, file.errorString());
        // What was written of the line is dropped at the next reading.
        return false;
    }
    entries_ << entry;
    return true;
}

bool OutageJournal::remove(const QString &id, QString *error)
{
    for (qsizetype i = 0; i < entries_.size(); ++i) {
        if (entries_[i].id == id) {
            entries_.removeAt(i);
            return rewrite(error);
        }
    }
    return true;
}

bool OutageJournal::set_aside(const QString &id, QString *error)
{
    for (const Entry &e : entries_) {
        if (e.id != id)
            continue;
        QFile rejected(path_ + QStringLiteral(".rejected"));
        const QByteArray line = encode(e) + '\n';
        if (!rejected.open(QIODevice::WriteOnly | QIODevice::Append) || rejected.write(line) != line.size()
            || !sync_to_disk(rejected)) {
            *error = file_error(rejected.fileName(), rejected.errorString());
            return false;
        }
        return remove(id, error);
    }
    return true;
}

// Losing a removal in a crash is harmless: a replayed load whose row is
// already there is recognised and not written again.
bool OutageJournal::rewrite(QString *error)
{
    if (entries_.isEmpty()) {
        if (QFile::exists(path_) && !QFile::remove(path_)) {
            *error = file_error(path_, QStringLiteral("지울 수 없습니다"));
            return false;
        }
        return true;
    }
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file_error(path_, file.errorString());
        return false;
    }
    for (const Entry &e : entries_)
        file.write(encode(e) + '\n');
    if (!file.commit()) {
        *error = file_error(path_, file.errorString());
        return false;
    }
    return true;
}
