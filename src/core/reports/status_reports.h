#pragma once
#include "core/framework/report.h"

#include <QImage>
#include <QList>
#include <QSqlRecord>
#include <QString>

// The five shipment lists of the status window, as documents on the list
// builder: 210 x 280 mm, the page header with the dates, the page number
// and the approval picture on page 1, column titles, details, subtotals
// and the summary.  The rows come in the order their groups need.
namespace status_reports {

struct Heading {
    QString first_date;
    QString last_date;
    QImage picture;  // null: the box stays empty
    // A line of its own under the summary ("주문 없는 출하 ..."); empty: none.
    QString note;
};

// F_QR_CUSTTOT "[거래처별 출하현황]": the orders of an order search.
report::Document qr_custtot(const QList<QSqlRecord> &orders, const Heading &heading);
// F_QR_CUSTLIST "[거래처별 출하일지]": loads by order, subtotal per order.
report::Document qr_custlist(const QList<QSqlRecord> &loads, const Heading &heading);
// F_QR_CARTOT "[차량별 출하집계표]": two columns, subtotal per vehicle.
report::Document qr_cartot(const QList<QSqlRecord> &totals, const Heading &heading);
// F_QR_CARLIST "[차량별 출하일지]": loads by vehicle, subtotal per vehicle.
report::Document qr_carlist(const QList<QSqlRecord> &loads, const Heading &heading);
// F_QR_TIMESEQ "[시간대별 출하일지]": the day's loads, numbered.
report::Document qr_timeseq(const QList<QSqlRecord> &loads, const Heading &heading);

}
