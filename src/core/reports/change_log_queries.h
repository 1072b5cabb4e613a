#pragma once
#include "core/framework/record_table_model.h"

#include <QList>
#include <QSqlRecord>
#include <QString>
#include <QStringList>

class Database;

// What the window "변경 이력" reads: the change log, the ticket register
// and the loads without a ticket.  Reads only.
namespace change_log_queries {

struct Filter {
    QString first_date;     // "yyyy-mm-dd": when the change was made, or the ticket printed
    QString last_date;
    QString order_no;       // empty: every order
    QString vehicle;        // vehicle number or code; empty: every vehicle
    QString kind;           // stored kind ("corrected"); empty: every kind
    QString operator_name;  // empty: everyone
};

// Entries newest first, a day at a time (the newest day's first rows show
// at once).  Fields: entry_id, logged_at, op_name, station, kind (stored),
// kind_words, tbl_name, row_key, work_date, order_no, vehicle_no, changed,
// before_text, after_text (the changed fields' values), before_json,
// after_json.
RecordTableModel::RowSource entries(const Database &db, const Filter &filter);

// Printed tickets newest first, a day at a time.  Fields: entry_id,
// printed_at, op_name, station, print_path, path_words, reprint
// ("재발행" or "최초"), output, book, work_date, order_no, trip_no,
// load_time, vehicle_no, ticket_json.
RecordTableModel::RowSource register_rows(const Database &db, const Filter &filter);

// Loads of the period (by working date) without a registered ticket, by
// date, order and trip.  Fields: o_fdate, o_scode, o_count, o_otime,
// o_ccode, o_outorder, o_hogi.
QList<QSqlRecord> unprinted(const Database &db, const Filter &filter);

// The operators with entries in the period, for the filter.
QStringList operators(const Database &db, const QString &first_date, const QString &last_date);

// Every row of a source (a list printed or exported).
QList<QSqlRecord> all_rows(const RecordTableModel::RowSource &source);

// One field's value in the log's words: text as it is, numbers in the
// general format, null as "".
QString value_text(const QJsonValue &value);

}
