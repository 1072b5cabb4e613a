#include "gui/orders/order_sheet_preview.h"
#include "core/framework/prompter.h"
#include "core/orders/order_sheet.h"
#include "gui/framework/report_output.h"

void preview_order_sheet(const Database &db, Prompter &prompter, const ReportOutput &reports, const Clock &clock,
                         QWidget *parent, const QString &date)
{
    QString picture_error;
    const report::Document doc = order_sheet(db, clock, date, &picture_error);
    if (!picture_error.isEmpty())
        prompter.information(parent, picture_error + QStringLiteral("\n결재란 없이 출력합니다."));
    reports.preview(doc, parent);
}
