#pragma once

class Clock;
class Prompter;
class TF_DBMDL;
class TF_LIST;
struct LookupState;

// The long-lived pieces that windows are handed instead of reaching for
// globals: the data module, the message boxes and the clock.  The
// application fills it in start-up order; tests fill it with fakes.
struct AppContext {
    TF_DBMDL *dbm = nullptr;
    Prompter *prompter = nullptr;
    Clock *clock = nullptr;
    TF_LIST *list = nullptr;        // the code lookup's list window
    LookupState *lookup = nullptr;  // the code lookup's variables
};
