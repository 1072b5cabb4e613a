#pragma once
#include "app/app_context.h"
#include "app/data_module.h"
#include "framework/clock.h"
#include "framework/prompter.h"
#include "masterdata/list_window.h"
#include "masterdata/lookup_state.h"

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
// temporary folder, plus the fakes that windows are handed.
struct TestPlant {
    enum Storage { InMemory, OnDisk };
    explicit TestPlant(Storage storage = InMemory);
    ~TestPlant();

    QTemporaryDir dir;
    QString settings_path;
    FakePrompter prompter;
    FakeClock clock;
    std::unique_ptr<TF_DBMDL> dbm;
    AppContext ctx;
    LookupState lookup;
    std::unique_ptr<TF_LIST> list;  // only where the test has widgets

    const Database &db() const { return dbm->db(); }
    // Runs a statement of a fixture; fails the test on a database error.
    void exec(const QString &sql, const Params &params = {}) const;
};

class QWidget;

// Runs `act` on the next modal window as soon as it is shown (a login, a
// dialog opened by the window under test), so a test can answer it.
void on_next_modal(const std::function<void(QWidget *)> &act);
