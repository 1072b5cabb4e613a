#pragma once
#include <QString>
#include <optional>

// The values of one delivery ticket, handed from whoever prints a ticket to
// the ticket report.  Emptied once the ticket has been drawn.
//
// `order_no` is not printed: it names the ticket's PDF copy (date, order,
// trip).  Callers set the order's number ("05"); the auto ticket book sets
// "Y" and its own order number ("Y03") so that its tickets are told apart;
// the hand ticket, which belongs to no recorded load, leaves it empty.
// Where a ticket comes from, for the ticket register and the ticket's data
// file; nothing of it is printed.
struct TicketOrigin {
    // "console" (the load just recorded), "reprint", "editor",
    // "editor_range", "hand", "auto", "auto_range".
    QString path;
    // "cholha", "yu_cholha"; empty for a hand ticket.
    QString book;
    QString work_date;     // "yyyy-mm-dd"
    QString order_no;      // as stored: "05", the auto book's "3"
    QString trip;          // as stored: "003"
    QString load_time;     // as stored: "10:20:00", the auto book's "10:20"
    QString spec;          // the specification's name
    std::optional<double> mortar;  // the mortar within the quantity, when known
    QString vehicle_code;
};

struct TicketData {
    QString year;
    QString month;
    QString day;
    QString trip_no;
    QString customer_name;
    QString site;
    QString vehicle_no;
    QString driver;
    QString hour;
    QString minute;
    QString quantity;
    QString cumulative;
    QString max_aggregate;
    QString strength;
    QString slump;
    QString spec_other;
    QString cement;
    QString admixture;
    QString shipper;
    QString ks_mark;
    QString admixture_rate;
    QString order_no;
    TicketOrigin origin;

    void clear() { *this = TicketData(); }
    bool is_empty() const;
};

inline bool TicketData::is_empty() const
{
    for (const QString *f : {&year, &month, &day, &trip_no, &customer_name, &site, &vehicle_no,
                             &driver, &hour, &minute, &quantity, &cumulative, &max_aggregate,
                             &strength, &slump, &spec_other, &cement, &admixture, &shipper,
                             &ks_mark, &admixture_rate, &order_no})
        if (!f->isEmpty())
            return false;
    return true;
}
