#pragma once
#include "core/data/data_module.h"
#include "core/framework/clock.h"
#include "core/framework/prompter.h"
#include "core/masterdata/lookup_state.h"
#include "core/plantlink/shipment_recording.h"

#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

// The engine the database tests run on: "sqlite" (an in-memory database)
// or "postgres" (the server named by VELDARO_DB_HOST / _PORT / _USER and a
// database of this test program's own, VELDARO_DB_NAME).
QString test_engine();

// Connection settings for a fresh test database on the test engine.  On
// SQLite an in-memory database, or `sqlite_file` when one is given (a
// connection that is closed and opened again keeps its data then).
ConnectionSettings test_connection(const QString &sqlite_file = QString());

// Drops every table of the schema that exists and creates them all anew.
void reset_schema(const Database &db);

// A data module on an empty test database with a settings file in a
// temporary folder, a fake prompter and clock, the lookup variables.
struct TestPlant {
    enum Storage { InMemory, OnDisk };
    explicit TestPlant(Storage storage = InMemory);
    ~TestPlant();

    QTemporaryDir dir;
    QString settings_path;
    FakePrompter prompter;
    FakeClock clock;
    std::unique_ptr<TF_DBMDL> dbm;
    LookupState lookup;

    const Database &db() const { return dbm->db(); }
    // Runs a statement of a fixture; fails the test on a database error.
    void exec(const QString &sql, const Params &params = {}) const;
};

// Fixture rows.
void add_order(const TestPlant &p, const char *day, const char *seq, double m3, double shipped,
               const char *state = "YES");
void add_truck(const TestPlant &p, const char *code, const char *number, const char *state,
               const char *station = "");
void add_load(const TestPlant &p, const char *date, const char *fdate, const char *seq,
              const char *count, const char *car, const char *time, double m3);

// Runs each piece of work on a thread of its own, each with a connection of
// its own to the plant's database (on SQLite the plant must be OnDisk), all
// released at the same moment, as two PCs pressing a button together.
// Returns the failures of the pieces (what they threw), empty when none.
using ConnectionWork = std::function<void(const Database &db, int piece)>;
QStringList run_together(const TestPlant &p, int pieces, const ConnectionWork &work);

// A batch unit's load at `time` on 2026-03-02: order 01, product 1004,
// 6 m3, truck 1111 (81-1111-1), site 현장01.
shipment_recording::Input test_load(const QTime &time, int unit = 1);
