#pragma once
#include <QString>

// The texts shown for a customer's class codes.
namespace class_text {
// kawn_sa: K "관수1", L "관수2", T "민수2", anything else "민수1".
QString kawn_sa(const QString &code);
// vat: V "별도", N "포함", anything else "무시".
QString vat(const QString &code);
// misu: H "현장별", anything else "현장통합".
QString misu(const QString &code);
}
