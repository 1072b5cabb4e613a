#pragma once

class Clock;
class ConsoleOps;
class Prompter;
class TF_DBMDL;

// The long-lived pieces that windows are handed instead of reaching for
// globals: the data module, the message boxes and the clock.  The
// application fills it in start-up order; tests fill it with fakes.
struct AppContext {
    TF_DBMDL *dbm = nullptr;
    Prompter *prompter = nullptr;
    Clock *clock = nullptr;
    // The console's operations, for windows that change orders, shipments
    // or vehicles.
    ConsoleOps *console = nullptr;
};
