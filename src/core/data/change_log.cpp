#include "core/data/change_log.h"
#include "core/framework/database.h"

#include <QDateTime>
#include <QHash>
#include <QJsonDocument>
#include <QJsonValue>
#include <QMutex>
#include <QMutexLocker>
#include <QRandomGenerator>
#include <QSqlField>
#include <QSqlRecord>
#include <QSysInfo>

QString ChangeAuthor::this_station()
{
    return QSysInfo::machineHostName();
}

namespace change_log {
namespace {
struct KindText {
    Kind kind;
    const char *code;
    const char *words;
};
const KindText kind_texts[] = {
    {Kind::Recorded, "recorded", "기록"},     {Kind::Entered, "entered", "입력"},
    {Kind::Corrected, "corrected", "수정"},   {Kind::Replaced, "replaced", "대체"},
    {Kind::Deleted, "deleted", "삭제"},       {Kind::Renumbered, "renumbered", "순번정리"},
    {Kind::Generated, "generated", "생성"},   {Kind::Closed, "closed", "마감"},
    {Kind::Reopened, "reopened", "재개"},     {Kind::Recalculated, "recalculated", "재계산"},
};

QMutex authors_mutex;
QHash<QString, ChangeAuthor> &authors()
{
    static QHash<QString, ChangeAuthor> by_connection;
    return by_connection;
}

QJsonValue json_value(const QVariant &v)
{
    if (v.isNull())
        return QJsonValue::Null;
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return QJsonValue(v.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return QJsonValue(v.toDouble());
    default:
        return QJsonValue(v.toString());
    }
}

// Sorts by time when read as text, newest last; the random part tells two
// PCs' changes of one millisecond apart, the position the entries of one.
QString entry_id(const QDateTime &when, quint32 change, int position)
{
    return QStringLiteral("%1-%2-%3")
        .arg(when.toString(QStringLiteral("yyyyMMddHHmmsszzz")))
        .arg(change, 8, 16, QLatin1Char('0'))
        .arg(position, 4, 10, QLatin1Char('0'));
}

// Now, but later than the last change written by this program: two changes
// in one millisecond still list in the order they were made.
QDateTime next_moment()
{
    static QMutex mutex;
    static QDateTime last;
    QMutexLocker lock(&mutex);
    QDateTime now = QDateTime::currentDateTime();
    if (last.isValid() && now <= last)
        now = last.addMSecs(1);
    last = now;
    return now;
}

const int columns_per_entry = 14;
const int entries_per_statement = 40;
}

const QList<Kind> &all_kinds()
{
    static const QList<Kind> kinds = [] {
        QList<Kind> k;
        for (const KindText &t : kind_texts)
            k << t.kind;
        return k;
    }();
    return kinds;
}

QString code(Kind kind)
{
    for (const KindText &t : kind_texts)
        if (t.kind == kind)
            return QString::fromLatin1(t.code);
    return QString();
}

QString words(Kind kind)
{
    for (const KindText &t : kind_texts)
        if (t.kind == kind)
            return QString::fromUtf8(t.words);
    return QString();
}

QString words_of(const QString &stored)
{
    for (const KindText &t : kind_texts)
        if (stored == QLatin1String(t.code))
            return QString::fromUtf8(t.words);
    return stored;
}

void set_author(const Database &db, const ChangeAuthor &author)
{
    QMutexLocker lock(&authors_mutex);
    authors().insert(db.connection_name(), author);
}

ChangeAuthor author(const Database &db)
{
    QMutexLocker lock(&authors_mutex);
    const auto found = authors().constFind(db.connection_name());
    if (found != authors().cend())
        return *found;
    return {QString(), ChangeAuthor::this_station()};
}

QJsonObject row_json(const QSqlRecord &row)
{
    QJsonObject o;
    for (int i = 0; i < row.count(); ++i)
        o.insert(row.fieldName(i).toLower(), json_value(row.value(i)));
    return o;
}

std::optional<QJsonObject> read_row(const Database &db, const QString &sql, const Params &params)
{
    QSqlQuery q = db.query(sql, params);
    if (!q.next())
        return std::nullopt;
    return row_json(q.record());
}

QStringList changed_fields(const std::optional<QJsonObject> &before, const std::optional<QJsonObject> &after)
{
    QStringList names = before ? before->keys() : QStringList();
    if (after)
        for (const QString &k : after->keys())
            if (!names.contains(k))
                names << k;
    QStringList changed;
    for (const QString &k : names) {
        const QJsonValue b = before ? before->value(k) : QJsonValue(QJsonValue::Undefined);
        const QJsonValue a = after ? after->value(k) : QJsonValue(QJsonValue::Undefined);
        // 6 stored as text by other software and 6 as a number are the same.
        const bool same = (b.isDouble() && a.isDouble()) ? qFuzzyCompare(1.0 + b.toDouble(), 1.0 + a.toDouble())
                                                         : b == a;
        if (!same)
            changed << k;
    }
    return changed;
}

QString json_text(const std::optional<QJsonObject> &row)
{
    if (!row)
        return QString();
    return QString::fromUtf8(QJsonDocument(*row).toJson(QJsonDocument::Compact));
}

std::optional<QJsonObject> parse_json(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    const QJsonDocument doc = QJsonDocument::fromJson(text.toUtf8());
    if (!doc.isObject())
        return std::nullopt;
    return doc.object();
}

void Changes::add(Entry entry)
{
    if (entry.before && entry.after && changed_fields(entry.before, entry.after).isEmpty())
        return;
    if (!entry.before && !entry.after)
        return;
    entries_ << std::move(entry);
}

void Changes::write(const Database &db) const
{
    write(db, author(db));
}

void Changes::write(const Database &db, const ChangeAuthor &who) const
{
    if (entries_.isEmpty())
        return;
    const QDateTime when = next_moment();
    const QString logged_at = when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    const quint32 change = QRandomGenerator::global()->generate();
    // A few statements of many rows each: a renumbering may touch dozens.
    for (qsizetype first = 0; first < entries_.size(); first += entries_per_statement) {
        const qsizetype last = qMin(entries_.size(), first + entries_per_statement);
        QStringList rows;
        Params params;
        params.reserve((last - first) * columns_per_entry);
        for (qsizetype i = first; i < last; ++i) {
            const Entry &e = entries_.at(i);
            QStringList names;
            const auto bind = [&](const char *column, const QVariant &value) {
                const QString name = QStringLiteral(":%1%2").arg(QLatin1String(column)).arg(i);
                names << name;
                params.append({name, value});
            };
            bind("id", entry_id(when, change, int(i)));
            bind("at", logged_at);
            bind("op", who.operator_name);
            bind("st", who.station);
            bind("tb", e.table);
            bind("ky", e.key);
            bind("kd", code(e.kind));
            bind("wd", e.work_date);
            bind("on", e.order_no);
            bind("vc", e.vehicle_code);
            bind("vn", e.vehicle_no);
            bind("ch", changed_fields(e.before, e.after).join(QLatin1Char(',')));
            bind("bf", e.before ? QVariant(json_text(e.before)) : QVariant(QMetaType(QMetaType::QString)));
            bind("af", e.after ? QVariant(json_text(e.after)) : QVariant(QMetaType(QMetaType::QString)));
            rows << QLatin1Char('(') + names.join(QStringLiteral(", ")) + QLatin1Char(')');
        }
        db.exec(QStringLiteral("insert into change_log (entry_id, logged_at, op_name, station, tbl_name, row_key,"
                               " kind, work_date, order_no, vehicle_code, vehicle_no, changed, before_json,"
                               " after_json) values ")
                    + rows.join(QStringLiteral(", ")),
                params);
    }
}

QString order_key(const QString &date, const QString &seq)
{
    return date + QLatin1Char(' ') + seq;
}

QString load_key(const QJsonObject &r)
{
    const auto t = [&r](const char *f) { return r.value(QLatin1String(f)).toString(); };
    return QStringLiteral("%1 %2-%3 %4").arg(t("o_fdate"), t("o_scode"), t("o_count"), t("o_otime"));
}

Entry order_entry(Kind kind, const std::optional<QJsonObject> &before, const std::optional<QJsonObject> &after)
{
    const QJsonObject &r = after ? *after : *before;
    Entry e;
    e.table = QStringLiteral("r_suju");
    e.kind = kind;
    e.work_date = r.value(QLatin1String("ilja")).toString();
    e.order_no = r.value(QLatin1String("seq")).toString();
    e.key = order_key(e.work_date, e.order_no);
    e.before = before;
    e.after = after;
    return e;
}

Entry load_entry(Kind kind, const std::optional<QJsonObject> &before, const std::optional<QJsonObject> &after)
{
    // The row as it stands now names it; a deleted one as it stood.
    const QJsonObject &r = after ? *after : *before;
    Entry e;
    e.table = QStringLiteral("cholha");
    e.kind = kind;
    e.work_date = r.value(QLatin1String("o_fdate")).toString();
    e.order_no = r.value(QLatin1String("o_scode")).toString();
    e.vehicle_code = r.value(QLatin1String("o_carnum")).toString();
    e.vehicle_no = r.value(QLatin1String("o_ccode")).toString();
    e.key = load_key(r);
    e.before = before;
    e.after = after;
    return e;
}

std::optional<QJsonObject> order_row(const Database &db, const QString &date, const QString &seq)
{
    return read_row(db, QStringLiteral("select * from r_suju where ilja = :d and seq = :s"), {{":d", date}, {":s", seq}});
}

}
