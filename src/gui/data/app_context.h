#pragma once
#include <QString>

class Clock;
class ConsoleOps;
class Prompter;
class ReportOutput;
class SerialLine;
class TF_DBMDL;
class TF_HANDPRINT;
class TF_LIST;
class TF_QR_SONGJANG;
struct LookupState;

// The long-lived pieces that windows are handed instead of reaching for
// globals.  The application fills it in start-up order; tests fill it with
// fakes.
struct AppContext {
    TF_DBMDL *dbm = nullptr;
    Prompter *prompter = nullptr;
    Clock *clock = nullptr;
    TF_LIST *list = nullptr;        // the code lookup's list window
    LookupState *lookup = nullptr;  // the code lookup's variables
    // The console's operations, for windows that change orders, shipments
    // or vehicles.
    ConsoleOps *console = nullptr;
    // Where printed reports go (printer, preview, PDF folder).
    ReportOutput *reports = nullptr;
    // The delivery ticket: fill dbm->ticket_data, then print_ticket().
    TF_QR_SONGJANG *qr_songjang = nullptr;
    // The hand ticket window, kept for the whole run (fill_hand_ticket).
    TF_HANDPRINT *handprint = nullptr;
    // The batch units' serial lines; the console makes real ones when
    // these are empty (tests put fakes here).
    SerialLine *serial_lines[2] = {nullptr, nullptr};
    // The outage journal's file; empty: outage_journal.jsonl in the
    // program's data folder (tests put it in a folder of their own).
    QString outage_journal;
};
