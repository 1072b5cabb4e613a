#include "core/reports/change_log_reports.h"
#include "core/framework/record_table_model.h"
#include "core/framework/report_list.h"

namespace change_log_reports {
namespace {
using namespace report;

constexpr double header_height = 14;
constexpr double title_row_height = 6;
constexpr double row_height = 5;

Font font(double size, bool bold = false)
{
    return Font{QStringLiteral("굴림"), size, bold};
}

Text cell(double left, double width, double top, const QString &value, double size, bool bold, Align align)
{
    return Text{QStringLiteral("value"), QRectF(left + 0.6, top, std::max(0.0, width - 1.2), size * 0.3528 + 0.6),
                value, font(size, bold), align, false, false};
}

double width_of(const QList<Column> &columns)
{
    double w = 0;
    for (const Column &c : columns)
        w += c.width;
    return w;
}
}

QList<Column> log_columns()
{
    return {{QStringLiteral("일시"), QStringLiteral("logged_at"), 31},
            {QStringLiteral("작업자"), QStringLiteral("op_name"), 18},
            {QStringLiteral("PC"), QStringLiteral("station"), 20},
            {QStringLiteral("구분"), QStringLiteral("kind_words"), 15, Align::Centre},
            {QStringLiteral("자료"), QStringLiteral("tbl_name"), 16},
            {QStringLiteral("키"), QStringLiteral("row_key"), 43},
            {QStringLiteral("변경 전"), QStringLiteral("before_text"), 67},
            {QStringLiteral("변경 후"), QStringLiteral("after_text"), 67}};
}

QList<Column> register_columns()
{
    return {{QStringLiteral("발행 일시"), QStringLiteral("printed_at"), 31},
            {QStringLiteral("작업자"), QStringLiteral("op_name"), 18},
            {QStringLiteral("PC"), QStringLiteral("station"), 20},
            {QStringLiteral("경로"), QStringLiteral("path_words"), 26},
            {QStringLiteral("구분"), QStringLiteral("reprint"), 14, Align::Centre},
            {QStringLiteral("일자"), QStringLiteral("work_date"), 21, Align::Centre},
            {QStringLiteral("순번"), QStringLiteral("order_no"), 11, Align::Centre},
            {QStringLiteral("회차"), QStringLiteral("trip_no"), 11, Align::Centre},
            {QStringLiteral("시간"), QStringLiteral("load_time"), 17, Align::Centre},
            {QStringLiteral("차량"), QStringLiteral("vehicle_no"), 16, Align::Centre},
            {QStringLiteral("프린터 / 파일"), QStringLiteral("output"), 92}};
}

QList<Column> unprinted_columns()
{
    return {{QStringLiteral("일자"), QStringLiteral("o_fdate"), 25, Align::Centre},
            {QStringLiteral("순번"), QStringLiteral("o_scode"), 14, Align::Centre},
            {QStringLiteral("회차"), QStringLiteral("o_count"), 14, Align::Centre},
            {QStringLiteral("시간"), QStringLiteral("o_otime"), 20, Align::Centre},
            {QStringLiteral("차량번호"), QStringLiteral("o_ccode"), 20, Align::Centre},
            {QStringLiteral("출하량"), QStringLiteral("o_outorder"), 18, Align::Right},
            {QStringLiteral("호기"), QStringLiteral("o_hogi"), 12, Align::Centre}};
}

Document list(const QString &title, const QString &first_date, const QString &last_date,
              const QList<Column> &columns, const QList<QSqlRecord> &rows)
{
    ListLayout l;
    l.setup.paper = QPageSize(QPageSize::A4);
    l.setup.orientation = QPageLayout::Landscape;
    l.setup.margins = QMarginsF(10, 10, 10, 10);
    const double width = width_of(columns);
    l.page_header = [=](int page) {
        Band b{QStringLiteral("page_header"), header_height, {}};
        b.items << Text{QStringLiteral("title"), QRectF(0, 1, width, 7), title, font(16, true), Align::Centre, false, false};
        b.items << Text{QStringLiteral("period"), QRectF(0, 8.5, 0, 4.5),
                        QStringLiteral("기간 : %1 >> %2").arg(first_date, last_date), font(10), Align::Left, true, false};
        b.items << Text{QStringLiteral("page"), QRectF(width, 8.5, 0, 4.5), QStringLiteral("PAGE : %1").arg(page),
                        font(10), Align::Right, true, false};
        return b;
    };
    Band titles{QStringLiteral("column_header"), title_row_height, {}};
    double left = 0;
    for (const Column &c : columns) {
        titles.items << Frame{QStringLiteral("title_box"), QRectF(left, 0, c.width, title_row_height)};
        titles.items << cell(left, c.width, 1.1, c.caption, 10, true, Align::Centre);
        left += c.width;
    }
    l.column_header = titles;
    ListBuilder builder(l);
    for (const QSqlRecord &r : rows) {
        Band b{QStringLiteral("detail"), row_height, {}};
        double x = 0;
        for (const Column &c : columns) {
            b.items << Frame{QStringLiteral("cell"), QRectF(x, 0, c.width, row_height)};
            b.items << cell(x, c.width, 0.8, display_text(r.value(c.field)), 8.5, false, c.align);
            x += c.width;
        }
        builder.add_row(b);
    }
    Band summary{QStringLiteral("summary"), 7, {}};
    summary.items << Text{QStringLiteral("count"), QRectF(0, 1.5, 0, 4.5), QStringLiteral("합계 %1건").arg(rows.size()),
                          font(10, true), Align::Left, true, false};
    builder.add_across(summary);
    return builder.finish(title);
}

}
