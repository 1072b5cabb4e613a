#include "core/data/ticket_register.h"
#include "core/framework/database.h"

#include <QJsonDocument>
#include <QMutex>
#include <QRandomGenerator>

namespace ticket_register {
namespace {
struct PathText {
    const char *path;
    const char *words;
};
const PathText path_texts[] = {
    {"console", "출하 기록"},       {"reprint", "재발행"},          {"editor", "수동송장"},
    {"editor_range", "수동송장 연속"}, {"hand", "수기송장"},       {"auto", "자동송장 낱장"},
    {"auto_range", "자동송장 연속"},
};
}

namespace {
// Later than the last ticket registered here, so the register lists in
// the order of printing even within one millisecond.
QDateTime ordered(const QDateTime &when)
{
    static QMutex mutex;
    static QDateTime last;
    QMutexLocker lock(&mutex);
    const QDateTime at = last.isValid() && when <= last ? last.addMSecs(1) : when;
    last = at;
    return at;
}
}

QString path_words(const QString &path)
{
    for (const PathText &p : path_texts)
        if (path == QLatin1String(p.path))
            return QString::fromUtf8(p.words);
    return path;
}

const QStringList &paths()
{
    static const QStringList all = [] {
        QStringList l;
        for (const PathText &p : path_texts)
            l << QString::fromLatin1(p.path);
        return l;
    }();
    return all;
}

bool printed_before(const Database &db, const TicketData &t)
{
    const TicketOrigin &o = t.origin;
    if (o.book.isEmpty())
        return false;
    // A console load is its working date, order and time (trip numbers
    // close up after a deletion); an auto-book load also its number.
    if (o.book == QLatin1String("cholha"))
        return db.query(QStringLiteral("select entry_id from ticket_register where work_date = :d and order_no = :o"
                                       " and load_time = :t and book = :b"),
                        {{":d", o.work_date}, {":o", o.order_no}, {":t", o.load_time}, {":b", o.book}})
            .next();
    return db.query(QStringLiteral("select entry_id from ticket_register where work_date = :d and order_no = :o"
                                   " and load_time = :t and book = :b and trip_no = :n"),
                    {{":d", o.work_date}, {":o", o.order_no}, {":t", o.load_time}, {":b", o.book}, {":n", o.trip}})
        .next();
}

Registered record(const Database &db, const ChangeAuthor &author, const TicketData &t, const QString &output,
                  const QDateTime &when, const TicketJson &make_json, QJsonObject *json_out)
{
    Registered r;
    r.printed_at = when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    r.entry_id = QStringLiteral("%1-%2")
                     .arg(ordered(when).toString(QStringLiteral("yyyyMMddHHmmsszzz")))
                     .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    Transaction tx(db);
    r.reprint = printed_before(db, t);
    const QJsonObject json = make_json ? make_json(t, {r.printed_at, author, r.reprint, output}) : QJsonObject();
    const TicketOrigin &o = t.origin;
    const QString book = o.book.isEmpty() ? QStringLiteral("hand") : o.book;
    // A hand ticket's date is the one typed on it.
    const QString date = o.work_date.isEmpty() && !t.year.isEmpty()
                             ? QStringLiteral("%1-%2-%3").arg(t.year, t.month, t.day)
                             : o.work_date;
    db.exec(QStringLiteral("insert into ticket_register (entry_id, printed_at, op_name, station, print_path, reprint,"
                           " output, book, work_date, order_no, trip_no, load_time, vehicle_no, ticket_json)"
                           " values (:id, :at, :op, :st, :p, :r, :out, :b, :d, :o, :n, :t, :v, :j)"),
            {{":id", r.entry_id}, {":at", r.printed_at}, {":op", author.operator_name}, {":st", author.station},
             {":p", o.path}, {":r", r.reprint ? QStringLiteral("Y") : QStringLiteral("N")}, {":out", output},
             {":b", book}, {":d", date}, {":o", o.order_no}, {":n", o.trip.isEmpty() ? t.trip_no : o.trip},
             {":t", o.load_time}, {":v", t.vehicle_no},
             {":j", QString::fromUtf8(QJsonDocument(json).toJson(QJsonDocument::Compact))}});
    tx.commit();
    if (json_out)
        *json_out = json;
    return r;
}

}
