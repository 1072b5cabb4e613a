#pragma once

class Clock;
class Prompter;
class ReportOutput;
class TF_DBMDL;
class TF_QR_SONGJANG;

// The long-lived pieces that windows are handed instead of reaching for
// globals: the data module, the message boxes, the clock, where printed
// reports go and the delivery ticket report.  The
// application fills it in start-up order; tests fill it with fakes.
struct AppContext {
    TF_DBMDL *dbm = nullptr;
    Prompter *prompter = nullptr;
    Clock *clock = nullptr;
    ReportOutput *reports = nullptr;
    TF_QR_SONGJANG *qr_songjang = nullptr;
};
