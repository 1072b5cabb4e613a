#include "core/framework/csv_export.h"
#include "core/framework/guarded.h"

#include <QDir>
#include <QSaveFile>

namespace csv_export {
namespace {
QString field(QString value)
{
    // A text a spreadsheet would run as a formula stays text (a Tab or CR
    // first lets some programs look past it to a formula).
    bool number = false;
    value.toDouble(&number);
    if (!number && !value.isEmpty() && QStringLiteral("=+-@\t\r").contains(value.front()))
        value.prepend(QLatin1Char('\''));
    if (!value.contains(QLatin1Char(',')) && !value.contains(QLatin1Char('"')) && !value.contains(QLatin1Char('\n'))
        && !value.contains(QLatin1Char('\r')))
        return value;
    QString quoted = value;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}
}

QByteArray bytes(const QList<QStringList> &lines)
{
    QString text;
    for (const QStringList &line : lines) {
        QStringList fields;
        for (const QString &v : line)
            fields << field(v);
        text += fields.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

void write(const QString &path, const QList<QStringList> &lines)
{
    const QString failed = QStringLiteral("파일을 저장하지 못했습니다: %1").arg(QDir::toNativeSeparators(path));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw ActionError(failed + QStringLiteral(" (") + file.errorString() + QLatin1Char(')'));
    file.write(bytes(lines));
    if (!file.commit())
        throw ActionError(failed + QStringLiteral(" (") + file.errorString() + QLatin1Char(')'));
}

}
