#include "core/orders/order_sheet.h"
#include "core/data/data_files.h"
#include "core/data/data_module.h"
#include "core/framework/clock.h"
#include "core/framework/number_text.h"
#include "core/framework/report_list.h"

using namespace report;

namespace {
constexpr double page_width = 190;  // A4 less 10 mm each side

Text text(const char *name, double left, double top, double width, double height, const QString &s,
          double size = 10, bool bold = false, Align align = Align::Left, bool auto_width = false)
{
    return Text{QString::fromLatin1(name), QRectF(left, top, width, height), s,
                Font{QStringLiteral("굴림"), size, bold}, align, auto_width, false};
}

Text label(const char *name, double left, double top, double width, double height, const QString &s)
{
    return text(name, left, top, width, height, s, 10, true);
}

Line rule(const char *name, double top, double pen = mm_per_design_pixel)
{
    return Line{QString::fromLatin1(name), QRectF(0, top, page_width, 0), Qt::Horizontal, pen};
}

Band page_header(int page, const OrderSheetTexts &t, const QImage &approval)
{
    Band b{QStringLiteral("PageHeader"), 34.7, {}};
    b.items << Frame{QStringLiteral("frame"), QRectF(0, 0, page_width, 34.7), mm_per_design_pixel};
    b.items << text("title", 13.5, 2.1, 72.8, 7.4, QStringLiteral("[레미콘 출하 예정표]"), 20, true, Align::Right, true);
    if (page == 1 && !approval.isNull())
        b.items << Picture{QStringLiteral("QRImage1"), QRectF(97.1, 0.8, 90.0, 24.9), approval};
    b.items << label("product_label", 2.6, 15.9, 20.9, 4.0, QStringLiteral("품        명 :"));
    b.items << text("japuml", 25.1, 15.9, 0, 4.0, t.product, 10, true, Align::Left, true);
    b.items << label("date_label", 2.1, 20.9, 21.4, 4.5, QStringLiteral("출하예정일 :"));
    b.items << text("iljal", 25.4, 21.2, 0, 4.5, t.date, 10, true, Align::Left, true);
    b.items << Line{QStringLiteral("rule"), QRectF(0.5, 26.2, 188.9, 0.8), Qt::Horizontal, 4 * mm_per_design_pixel};
    const struct {
        double left, width;
        const char *title;
    } titles[] = {{0.0, 7.7, "순번"},    {7.7, 15.1, "거래처명"}, {37.0, 11.4, "현장명"}, {74.1, 10.3, "규  격"},
                  {96.6, 11.4, "수주량"}, {119.9, 11.4, "연락처"}, {138.1, 11.4, "담당자"}, {152.4, 7.7, "메모"}};
    for (const auto &c : titles)
        b.items << label("column_title", c.left, 28.6, c.width, 4.5, QString::fromUtf8(c.title));
    return b;
}

Band detail(const OrderSheetRow &r)
{
    Band b{QStringLiteral("Detail"), 9.8, {}};
    b.items << text("SEQ", 0.8, 3.2, 6.6, 3.7, r.seq);
    b.items << text("v_inout", 7.7, 3.2, 28.6, 3.7, r.v_inout);
    b.items << text("v_station", 36.8, 3.2, 35.5, 3.7, r.v_station);
    b.items << text("v_rule", 73.6, 3.2, 18.5, 3.7, r.v_rule);
    b.items << text("ORDER_M3", 93.1, 3.2, 15.1, 3.7, format_number(r.order_m3, QStringLiteral("#,##0.00")), 10,
                    false, Align::Right);
    b.items << text("ground_tel", 109.3, 3.2, 27.5, 3.4, r.ground_tel, 9);
    b.items << text("MAN", 137.8, 1.1, 12.4, 3.7, r.man);
    b.items << text("time_", 137.8, 5.3, 12.4, 3.7, r.time_);
    b.items << text("MEMO", 152.4, 1.1, 36.2, 7.7, r.memo);
    return b;
}

Band summary(const OrderSheetData &d)
{
    Band b{QStringLiteral("Summary"), 6.3, {}};
    b.items << rule("above", 0) << rule("below", 6.3);
    b.items << label("sum_label", 7.9, 1.1, 11.9, 4.5, QStringLiteral("[합계]"));
    b.items << label("s_label", 22.8, 1.1, 14.6, 4.5, QStringLiteral("[사급] :"));
    b.items << text("s_sum", 38.1, 0.8, 29.9, 4.5, number_2n(d.private_total), 10, false, Align::Right);
    b.items << label("k_label", 71.4, 1.1, 15.9, 4.5, QStringLiteral("[관급] : "));
    b.items << text("k_sum", 88.9, 0.8, 29.9, 4.5, number_2n(d.government_total), 10, false, Align::Right);
    b.items << label("tot_label", 132.8, 1.1, 18.3, 4.5, QStringLiteral("[총합계] :"));
    b.items << text("tot_sum", 152.4, 0.8, 35.5, 4.5, number_2n(d.private_total + d.government_total), 10, false,
                    Align::Right);
    return b;
}

Band page_footer(int page, const OrderSheetTexts &t)
{
    Band b{QStringLiteral("PageFooter"), 11.9, {}};
    b.items << rule("above", 0) << rule("below", 11.9);
    b.items << text("printed_at", 3.7, 1.3, 0, 4.5, QStringLiteral("출력일자 :") + t.printed_at, 10, true,
                    Align::Left, true);
    b.items << text("namel", 93.7 - 20, 3.2, 40, 5.8, t.plant_name, 16, true, Align::Centre, true);
    b.items << text("page", 151.9, 1.6, 0, 4.5, QStringLiteral("페이지 :") + QString::number(page), 10, true,
                    Align::Left, true);
    b.items << label("paper", 151.9, 6.3, 24.1, 4.5, QStringLiteral("A4.(210*297)"));
    return b;
}
}

Document order_sheet_document(const OrderSheetData &data, const OrderSheetTexts &texts, const QImage &approval)
{
    ListLayout layout;
    layout.setup.paper = QPageSize(QPageSize::A4);
    layout.setup.orientation = QPageLayout::Portrait;
    layout.setup.margins = QMarginsF(10, 30, 10, 10);
    layout.page_header = [&](int page) { return page_header(page, texts, approval); };
    layout.page_footer = [&](int page) { return page_footer(page, texts); };
    ListBuilder builder(layout);
    for (const OrderSheetRow &r : data.rows) {
        builder.add_row(detail(r), [](Band &band, int row_on_page) {
            // The page header counts as the first row: lines fall under the
            // 2nd, 5th, 8th ... order of each page.
            if ((row_on_page + 1) % 3 == 0)
                band.items << rule("separator", band.height);
        });
    }
    builder.add_across(summary(data));
    return builder.finish(QStringLiteral("출하예정표_") + texts.date);
}

Document order_sheet(const Database &db, const Clock &clock, const QString &date, QString *picture_error)
{
    const OrderSheetData data = order_sheet_db::day_orders(db, date);
    const EnrolRow enrol = read_enrol(db);
    const OrderSheetTexts texts{date, enrol.japum, enrol.name,
                                clock.now().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))};
    return order_sheet_document(data, texts, approval_picture(picture_error));
}

