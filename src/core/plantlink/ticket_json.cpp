#include "core/plantlink/ticket_json.h"
#include "core/data/data_module.h"
#include "core/framework/guarded.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>

namespace ticket_json {
namespace {
QJsonValue text_or_null(const QString &text)
{
    return text.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(text);
}

// "1,234.50" as printed.
QJsonValue printed_number(const QString &text)
{
    QString plain = text;
    plain.remove(QLatin1Char(','));
    bool ok = false;
    const double v = plain.trimmed().toDouble(&ok);
    return ok ? QJsonValue(v) : QJsonValue(QJsonValue::Null);
}

QJsonValue whole_number(const QString &text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok ? QJsonValue(v) : QJsonValue(QJsonValue::Null);
}
}

QJsonObject make(const TicketData &t, const ticket_register::PrintFacts &f, const EnrolRow &plant)
{
    const TicketOrigin &o = t.origin;
    const QString date = t.year.isEmpty() ? QString() : QStringLiteral("%1-%2-%3").arg(t.year, t.month, t.day);
    const QString time = t.hour.isEmpty() && t.minute.isEmpty() ? QString() : t.hour + QLatin1Char(':') + t.minute;
    const QJsonObject printed_text{
        {QStringLiteral("year"), t.year},         {QStringLiteral("month"), t.month},
        {QStringLiteral("day"), t.day},           {QStringLiteral("trip_no"), t.trip_no},
        {QStringLiteral("customer_name"), t.customer_name}, {QStringLiteral("site"), t.site},
        {QStringLiteral("vehicle_no"), t.vehicle_no}, {QStringLiteral("driver"), t.driver},
        {QStringLiteral("hour"), t.hour},         {QStringLiteral("minute"), t.minute},
        {QStringLiteral("quantity"), t.quantity}, {QStringLiteral("cumulative"), t.cumulative},
        {QStringLiteral("max_aggregate"), t.max_aggregate}, {QStringLiteral("strength"), t.strength},
        {QStringLiteral("slump"), t.slump},       {QStringLiteral("spec_other"), t.spec_other},
        {QStringLiteral("cement"), t.cement},     {QStringLiteral("admixture"), t.admixture},
        {QStringLiteral("admixture_rate"), t.admixture_rate}, {QStringLiteral("shipper"), t.shipper},
        {QStringLiteral("ks_mark"), t.ks_mark},
    };
    return {
        {QStringLiteral("format"), QString::fromLatin1(format_name)},
        {QStringLiteral("version"), format_version},
        {QStringLiteral("plant"), QJsonObject{{QStringLiteral("name"), plant.name},
                                              {QStringLiteral("product"), plant.japum}}},
        {QStringLiteral("book"), o.book.isEmpty() ? QStringLiteral("hand") : o.book},
        {QStringLiteral("work_date"), text_or_null(date)},
        {QStringLiteral("order_no"), text_or_null(t.order_no)},
        {QStringLiteral("customer"), t.customer_name},
        {QStringLiteral("site"), t.site},
        {QStringLiteral("specification"),
         QJsonObject{{QStringLiteral("name"), text_or_null(o.spec)},
                     {QStringLiteral("max_aggregate"), t.max_aggregate},
                     {QStringLiteral("strength"), t.strength},
                     {QStringLiteral("slump"), t.slump},
                     {QStringLiteral("other"), t.spec_other}}},
        {QStringLiteral("ks_mark"), t.ks_mark == QLatin1String("KS")},
        {QStringLiteral("quantity_m3"), printed_number(t.quantity)},
        {QStringLiteral("mortar_m3"), o.mortar ? QJsonValue(*o.mortar) : QJsonValue(QJsonValue::Null)},
        {QStringLiteral("trip_no"), whole_number(t.trip_no)},
        {QStringLiteral("cumulative_m3"), printed_number(t.cumulative)},
        {QStringLiteral("vehicle"), QJsonObject{{QStringLiteral("number"), t.vehicle_no},
                                                {QStringLiteral("code"), text_or_null(o.vehicle_code)}}},
        {QStringLiteral("driver"), t.driver},
        {QStringLiteral("departure"), text_or_null(time)},
        {QStringLiteral("load_time"), text_or_null(o.load_time)},
        {QStringLiteral("cement"), t.cement},
        {QStringLiteral("admixture"), t.admixture},
        {QStringLiteral("admixture_rate"), t.admixture_rate},
        {QStringLiteral("shipper"), t.shipper},
        {QStringLiteral("printed"),
         QJsonObject{{QStringLiteral("at"), f.printed_at},
                     {QStringLiteral("by"), f.author.operator_name},
                     {QStringLiteral("station"), f.author.station},
                     {QStringLiteral("reprint"), f.reprint},
                     {QStringLiteral("path"), text_or_null(o.path)},
                     {QStringLiteral("output"), f.output}}},
        {QStringLiteral("printed_text"), printed_text},
    };
}

QString path_beside(const QString &pdf_path)
{
    const QFileInfo info(pdf_path);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".json"));
}

void write(const QJsonObject &json, const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(json).toJson(QJsonDocument::Indented)) < 0
        || !file.commit())
        throw ActionError(QStringLiteral("송장 자료 파일 %1을(를) 쓸 수 없습니다: %2")
                              .arg(QDir::toNativeSeparators(path), file.errorString()));
}

}
