#include "core/plantlink/outage_journal.h"
#include "core/data/connection_settings.h"
#include "core/framework/file_sync.h"
#include "core/framework/stored_text.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QUuid>


namespace {
constexpr int format_version = 1;
// The plant's loads are nobody else's business on a shared PC.
constexpr QFileDevice::Permissions owner_only = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

QString folder_of(const QString &path)
{
    return QFileInfo(path).absolutePath();
}

QString file_error(const QString &path, const QString &why)
{
    return QStringLiteral("출하 대기 파일 %1에 쓸 수 없습니다: %2").arg(QDir::toNativeSeparators(path), why);
}

QString why_not(const QFileDevice &file)
{
    return file.error() == QFileDevice::NoError ? QStringLiteral("디스크에 다 쓰지 못했습니다") : file.errorString();
}

// Whole lines at the end of the file, on the disk when this returns true.
// On failure the file is cut back to what it was, so no torn piece stays.
bool append_lines(const QString &path, const QByteArray &lines, QString *error)
{
    const QString folder = folder_of(path);
    QDir().mkpath(folder);
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered, owner_only)) {
        *error = file_error(path, file.errorString());
        return false;
    }
    file.setPermissions(owner_only);  // a file made before they were set
    const qint64 before = file.size();
    QByteArray bytes;
    char last = '\n';
    if (before > 0 && (!file.seek(before - 1) || !file.getChar(&last))) {
        *error = file_error(path, file.errorString());
        return false;
    }
    // A line torn by a crash must not swallow this one.
    if (last != '\n')
        bytes += '\n';
    bytes += lines;
    // A short write is tried on until the system says why it stops.
    qint64 done = file.seek(before) ? 0 : -1;
    while (done >= 0 && done < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        done = n > 0 ? done + n : -1;
    }
    const bool written = done == bytes.size();
    // The first line of a file just made: its name must reach the disk too.
    if (written && sync_to_disk(file) && (before > 0 || sync_folder_to_disk(folder)))
        return true;
    *error = file_error(path, why_not(file));
    if (!file.resize(before) || !sync_to_disk(file))
        *error += QStringLiteral("\n(쓰다 만 줄을 지우지 못했습니다: %1)").arg(file.errorString());
    return false;
}

QByteArray encode_all(const QList<OutageJournal::Entry> &entries)
{
    QByteArray lines;
    for (const OutageJournal::Entry &e : entries)
        lines += OutageJournal::encode(e) + '\n';
    return lines;
}
}

OutageJournal::OutageJournal(QString path, QString database)
    : path_(std::move(path)), database_(std::move(database))
{
}

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
    if (!e.database.isEmpty())
        o.insert(QStringLiteral("db"), e.database);
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
    o.insert(QStringLiteral("operator"), in.author.operator_name);
    o.insert(QStringLiteral("station"), in.author.station);
    if (e.provisional)
        o.insert(QStringLiteral("provisional_ticket"),
                 QJsonObject{{QStringLiteral("trip"), e.provisional->trip_no},
                             {QStringLiteral("cumulative"), e.provisional->cumulative}});
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
    e.database = text("db");
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
    in.author = {text("operator"), o.contains(QLatin1String("station")) ? text("station") : ChangeAuthor::this_station()};
    in.load_id = e.id;
    in.journalled_at = e.journalled_at;
    if (const QJsonValue t = o.value(QLatin1String("provisional_ticket")); t.isObject())
        e.provisional = Entry::Ticket{t[QLatin1String("trip")].toInt(), t[QLatin1String("cumulative")].toDouble()};
    if (e.id.isEmpty() || (in.unit != 1 && in.unit != 2) || !in.today.isValid() || !in.time.isValid()
        || in.order_no.isEmpty())
        return std::nullopt;
    return e;
}

bool OutageJournal::load(QString *error)
{
    entries_.clear();
    foreign_.clear();
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
    QList<Entry> others;
    for (const QByteArray &line : all.split('\n')) {
        if (line.trimmed().isEmpty())
            continue;
        std::optional<Entry> e = decode(line);
        if (!e) {
            ++dropped;
            continue;
        }
        if (e->database.isEmpty())
            e->database = database_;
        if (database_.isEmpty() || e->database == database_)
            entries_ << *e;
        else
            others << *e;
    }
    QStringList said;
    if (dropped > 0)
        said << QStringLiteral("출하 대기 파일 %1의 읽을 수 없는 줄 %2개를 버렸습니다.")
                    .arg(QDir::toNativeSeparators(path_))
                    .arg(dropped);
    // The connection settings changed since: these loads are not this
    // database's to write.
    bool moved = false;
    if (!others.isEmpty()) {
        QString why;
        moved = append_lines(rejected_path(), encode_all(others), &why);
        if (!moved)
            foreign_ = others;
        for (const Entry &e : std::as_const(others))
            said << (moved ? QStringLiteral("다른 데이터베이스의 출하라 기록하지 않고 %1에 옮겼습니다: %2 (%3)")
                                 .arg(QDir::toNativeSeparators(rejected_path()), shipment_recording::describe(e.load),
                                      e.database)
                           : QStringLiteral("다른 데이터베이스의 출하라 기록하지 않습니다: %1 (%2)")
                                 .arg(shipment_recording::describe(e.load), e.database));
        if (!moved)
            said << why;
    }
    // A torn last line would glue itself to the next append.
    if (dropped > 0 || moved || (!all.isEmpty() && !all.endsWith('\n'))) {
        QString why;
        if (!rewrite(&why))
            said << why;
    }
    if (!said.isEmpty())
        *error = said.join(QLatin1Char('\n'));
    return true;
}

OutageJournal::Entry OutageJournal::make_entry(const shipment_recording::Input &load) const
{
    Entry e{QUuid::createUuid().toString(QUuid::WithoutBraces),
            QDateTime::currentDateTime().toString(Qt::ISODate), database_, load};
    e.load.load_id = e.id;
    e.load.journalled_at = e.journalled_at;
    return e;
}

bool OutageJournal::append(const Entry &entry, QString *error)
{
    if (!append_lines(path_, encode(entry) + '\n', error))
        return false;
    entries_ << entry;
    return true;
}

bool OutageJournal::mark_provisional(const QString &id, const Entry::Ticket &ticket, QString *error)
{
    for (Entry &e : entries_) {
        if (e.id == id) {
            e.provisional = ticket;
            return rewrite(error);
        }
    }
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
    for (const Entry &e : std::as_const(entries_)) {
        if (e.id == id)
            return append_lines(rejected_path(), encode(e) + '\n', error) && remove(id, error);
    }
    return true;
}

// Losing a removal in a crash is harmless: a replayed load whose row is
// already there is recognised and not written again.
bool OutageJournal::rewrite(QString *error)
{
    if (entries_.isEmpty() && foreign_.isEmpty()) {
        if (QFile::exists(path_) && !QFile::remove(path_)) {
            *error = file_error(path_, QStringLiteral("지울 수 없습니다"));
            return false;
        }
    } else {
        QSaveFile file(path_);
        if (!file.open(QIODevice::WriteOnly)) {
            *error = file_error(path_, file.errorString());
            return false;
        }
        file.setPermissions(owner_only);
        file.write(encode_all(foreign_) + encode_all(entries_));
        if (!file.commit()) {
            *error = file_error(path_, file.errorString());
            return false;
        }
    }
    if (!sync_folder_to_disk(folder_of(path_))) {
        *error = file_error(path_, QStringLiteral("폴더를 디스크에 쓰지 못했습니다"));
        return false;
    }
    return true;
}
