#pragma once
#include "gui/data/console_ops.h"

#include <QStringList>

// The console operations for window tests: a fixed day and operator, and
// every call recorded as text ("load_orders 2026-03-02 YES").
struct FakeConsoleOps : ConsoleOps {
    QString day = QStringLiteral("2026-03-02");
    QString operator_ = QStringLiteral("홍길동");
    QStringList calls;
    // A test's recorded load: notices.load_recorded().
    LoadNotices notices;

    QString board_date() const override { return day; }
    QString operator_name() const override { return operator_; }
    void load_orders(const QString &date, const QString &state) override
    {
        calls << QStringLiteral("load_orders %1 %2").arg(date, state);
    }
    void load_shipments(const QString &date, const QString &seq) override
    {
        calls << QStringLiteral("load_shipments %1 %2").arg(date, seq);
    }
    void load_vehicles(const QString &state) override { calls << QStringLiteral("load_vehicles %1").arg(state); }
    void recount_vehicle(const QString &date, const QString &vehicle_code, const QString &site_name) override
    {
        calls << QStringLiteral("recount_vehicle %1 %2 %3").arg(date, vehicle_code, site_name);
    }
    void recount_all_vehicles(const QString &date) override
    {
        calls << QStringLiteral("recount_all_vehicles %1").arg(date);
    }
    LoadNotices *load_notices() override { return &notices; }
};
