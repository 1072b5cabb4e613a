#pragma once
#include "core/framework/report.h"
#include "core/orders/order_sheet_db.h"

#include <QImage>
#include <QString>

class Clock;

// The day's order sheet "[레미콘 출하 예정표]" (qr_suju_f1): A4 portrait,
// the framed page header on every page with the approval picture on the
// first, one band per order with a line under the 2nd, 5th, 8th ... order
// of each page, the private, government and grand totals, and the page
// footer with the print time, the plant name and the page number.

struct OrderSheetTexts {
    QString date;        // the order window's date text
    QString product;     // enrol_product
    QString plant_name;  // enrol_name
    QString printed_at;  // "yyyy-mm-dd hh:mm:ss"
};

// The sheet as a document; `approval` null: printed without the picture.
report::Document order_sheet_document(const OrderSheetData &data, const OrderSheetTexts &texts,
                                      const QImage &approval);

// The same sheet, built from the database: what the preview shows.
report::Document order_sheet(const Database &db, const Clock &clock, const QString &date, QString *picture_error);
