#pragma once
#include "core/plantlink/ticket_document.h"

#include <QDateTime>
#include <QObject>

class Clock;
class Prompter;
class ReportOutput;
class TF_DBMDL;

// The report F_QR_SONGJANG, created at start-up and living for the run.
//
// How a window prints a delivery ticket:
//
//     TicketData &t = ctx.dbm->ticket_data;
//     t.year = ...;                     // every field the caller supplies
//     fill_spec_parts(t, v_rule);       // plantlink/spec_split.h
//     t.order_no = seq;                 // names the PDF copy, not printed
//     ctx.qr_songjang->print_ticket();
//
// print_ticket reads the settings top_margin and left_margin now (so a
// change in the settings dialog counts at once), prints straight to the
// default printer without a dialog (or to the PDF folder of the print
// settings), keeps a PDF copy when a copy folder is set, and then empties
// ticket_data.  Any failure (a margin that is empty or not a number, no
// printer, a printer or file error) is shown to the operator through the
// Prompter and returns false: nothing is printed and ticket_data stays as
// the caller filled it, so the same ticket can be printed again.  A copy
// that cannot be written is shown too, but the ticket counts as printed.
class TF_QR_SONGJANG : public QObject {
    Q_OBJECT
public:
    // Said for a ticket printed while the database does not answer.
    static QString not_registered_away_text();
    TF_QR_SONGJANG(TF_DBMDL &dbm, Prompter &prompter, const Clock &clock,
                   const ReportOutput &output, QString copy_folder = QString(),
                   QObject *parent = nullptr);

    bool print_ticket();
    // The same, with its failures told through `messages` instead (the
    // controller link shows them once the report in hand is handled).
    bool print_ticket(Prompter &messages);

    // Prints ticket_data at the margins the last print_ticket applied (the
    // design margins before the first), without reading the settings.
    bool print();

    double top_margin() const { return top_margin_; }
    double left_margin() const { return left_margin_; }
    QString copy_folder() const { return copy_folder_; }

    // Where the copy of a ticket printed at `printed` goes:
    // <folder>/<date>/<date>_<order>_<trip>_<hh-mm-ss>.pdf, the date the
    // ticket's own (the print date when it has none), order "00" and trip
    // "000" when the ticket has none.
    static QString copy_path(const QString &folder, const TicketData &ticket, const QDateTime &printed);

private:
    TF_DBMDL &dbm_;
    Prompter *prompter_;
    const Clock &clock_;
    const ReportOutput &output_;
    QString copy_folder_;
    double top_margin_ = 2;
    double left_margin_ = 1;
};
