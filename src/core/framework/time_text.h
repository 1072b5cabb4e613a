#pragma once
#include <QString>

enum class TimeForm { HoursMinutes, HoursMinutesSeconds };

// The stored form of a typed time, or "" when it is not a complete real
// time: "8:05" and "08:05" give "08:05"; "24:00", "12:6_" and "" give "".
QString valid_time_text(const QString &typed, TimeForm form);
