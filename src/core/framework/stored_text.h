#pragma once
#include <QDate>
#include <QString>
#include <QTime>

// The forms in which dates and times are stored as text.
namespace stored {
inline QString date(const QDate &d) { return d.toString(QStringLiteral("yyyy-MM-dd")); }
inline QString time_hms(const QTime &t) { return t.toString(QStringLiteral("HH:mm:ss")); }
inline QString time_hm(const QTime &t) { return t.toString(QStringLiteral("HH:mm")); }
inline QDate parse_date(const QString &s) { return QDate::fromString(s, QStringLiteral("yyyy-MM-dd")); }
}
