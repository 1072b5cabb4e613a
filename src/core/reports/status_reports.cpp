#include "core/reports/status_reports.h"
#include "core/framework/number_text.h"
#include "core/framework/record_table_model.h"
#include "core/framework/report_list.h"

#include <functional>

namespace status_reports {
namespace {
using namespace report;

constexpr double page_width = 190;  // 210 less the margins
constexpr double header_height = 16.9;
constexpr double column_title_height = 6;
constexpr double detail_height = 5.6;
constexpr double subtotal_height = 5.8;
constexpr double summary_height = 6;
constexpr double inset = 0.8;  // text inside its rectangle

const QString subtotal_caption = QStringLiteral("[ 소     계 ]");
const QString total_caption = QStringLiteral("[ 누     계 ]");
const QString trucks = QStringLiteral("대");

Font font(double size, bool bold = false)
{
    return Font{QStringLiteral("굴림"), size, bold};
}

// A text in a box `left`..`left + width`, its top `top` below the band's.
Text text_in(const QString &name, double left, double top, double width, const QString &value, double size,
             bool bold, Align align)
{
    const double pad = align == Align::Centre ? 0 : inset;
    return Text{name, QRectF(left + pad, top, std::max(0.0, width - 2 * pad), size * 0.3528 + 0.6), value,
                font(size, bold), align, false, false};
}

Text text_at(const QString &name, double left, double top, const QString &value, double size, bool bold = false)
{
    return Text{name, QRectF(left, top, 0, size * 0.3528 + 0.6), value, font(size, bold), Align::Left, true, false};
}

Line rule(double top, double width)
{
    return Line{QStringLiteral("rule"), QRectF(0, top - 0.1, width, 0.2), Qt::Horizontal, mm_per_design_pixel};
}

// One column of a list: its rectangle, title and what a row shows in it.
struct ListColumn {
    double left;
    double width;
    QString caption;
    Align align;
    std::function<QString(const QSqlRecord &, int row)> value;
};

std::function<QString(const QSqlRecord &, int)> field(const char *name)
{
    const QString f = QString::fromLatin1(name);
    return [f](const QSqlRecord &r, int) { return display_text(r.value(f)); };
}

std::function<QString(const QSqlRecord &, int)> month_day(const char *name)
{
    const QString f = QString::fromLatin1(name);
    return [f](const QSqlRecord &r, int) { return r.value(f).toString().mid(5, 5); };
}

Band column_titles(const QList<ListColumn> &columns)
{
    Band b{QStringLiteral("column_header"), column_title_height, {}};
    for (const ListColumn &c : columns) {
        b.items << Frame{QStringLiteral("title_box"), QRectF(c.left, 0, c.width, column_title_height)};
        b.items << text_in(QStringLiteral("title"), c.left, 1.0, c.width, c.caption, 11, true, Align::Centre);
    }
    return b;
}

Band detail(const QList<ListColumn> &columns, const QSqlRecord &row, int number)
{
    Band b{QStringLiteral("detail"), detail_height, {}};
    for (const ListColumn &c : columns) {
        b.items << Frame{QStringLiteral("cell"), QRectF(c.left, 0, c.width, detail_height)};
        b.items << text_in(QStringLiteral("value"), c.left, 0.9, c.width, c.value(row, number), 10, false, c.align);
    }
    return b;
}

// A footer band: rules above and below and the caption at `caption_left`.
Band footer(const QString &name, double height, double width, const QString &caption, double caption_left)
{
    Band b{name, height, {rule(0, width), rule(height, width)}};
    b.items << text_at(QStringLiteral("caption"), caption_left, 1.0, caption, 11, true);
    return b;
}

// The count with "대" and the sum of the order and vehicle logs' footers.
void add_count_and_sum(Band &b, double count, double sum)
{
    b.items << text_in(QStringLiteral("count"), 144.2, 1.2, 10.6, general_number(count), 10, false, Align::Right);
    b.items << text_at(QStringLiteral("trucks"), 156.9, 1.2, trucks, 10);
    b.items << text_in(QStringLiteral("sum"), 163.8, 1.2, 13.5, general_number(sum), 10, false, Align::Right);
}

ListLayout layout(const QString &title, const Heading &h, bool with_last_date, const QList<ListColumn> &columns)
{
    ListLayout l;
    l.setup.paper = QPageSize(QSizeF(210, 280), QPageSize::Millimeter, QStringLiteral("210 x 280"),
                              QPageSize::ExactMatch);
    l.setup.orientation = QPageLayout::Portrait;
    l.setup.margins = QMarginsF(10, 10, 10, 10);
    l.column_header = column_titles(columns);
    l.page_header = [title, h, with_last_date](int page) {
        Band b{QStringLiteral("page_header"), header_height, {}};
        b.items << Frame{QStringLiteral("frame"), QRectF(0, 0, page_width, header_height)};
        b.items << Text{QStringLiteral("title"), QRectF(33, 2.4, 88, 7.5), title, font(18, true), Align::Centre,
                        false, false};
        b.items << text_at(QStringLiteral("date_caption"), 1.1, 11.4, QStringLiteral("일자 : "), 11, true);
        b.items << text_at(QStringLiteral("first_date"), with_last_date ? 15.6 : 16.7, 11.4, h.first_date, 11, true);
        if (with_last_date) {
            b.items << text_at(QStringLiteral("to"), 41.5, 11.4, QStringLiteral(">>"), 11, true);
            b.items << text_at(QStringLiteral("last_date"), 49.5, 11.4, h.last_date, 11, true);
        }
        b.items << text_at(QStringLiteral("page_caption"), 96.8, 12.2, QStringLiteral("PAGE :"), 10);
        b.items << text_at(QStringLiteral("page_number"), 109.3, 12.2, QString::number(page), 10);
        if (page == 1 && !h.picture.isNull())
            b.items << Picture{QStringLiteral("approval"), QRectF(124.1, 0.5, 65.1, 15.6), h.picture};
        return b;
    };
    return l;
}

// The heading's note on a line of its own under the summary.
void add_note(ListBuilder &list, const Heading &h)
{
    if (h.note.isEmpty())
        return;
    Band b{QStringLiteral("note"), summary_height, {}};
    b.items << text_at(QStringLiteral("note"), 40.2, 1.2, h.note, 10, true);
    list.add_across(b);
}

QString plain_title(const QString &title)
{
    return title.mid(1, title.size() - 2);  // without the brackets, for file names
}

// The order and vehicle logs: details with a subtotal per group (rows of
// one group are consecutive), then the summary.
Document grouped_log(const QString &title, const Heading &h, const QList<ListColumn> &columns,
                     const QList<QSqlRecord> &rows, const std::function<QString(const QSqlRecord &)> &group_of,
                     double caption_left)
{
    ListBuilder list(layout(title, h, true, columns));
    double group_count = 0, group_sum = 0, count = 0, sum = 0;
    for (int i = 0; i < rows.size(); ++i) {
        const QSqlRecord &r = rows[i];
        list.add_row(detail(columns, r, i + 1));
        const double q = r.value(QStringLiteral("o_outorder")).toDouble();
        group_count += 1;
        group_sum += q;
        count += 1;
        sum += q;
        if (i + 1 == rows.size() || group_of(rows[i + 1]) != group_of(r)) {
            Band b = footer(QStringLiteral("group_footer"), subtotal_height, page_width, subtotal_caption, caption_left);
            add_count_and_sum(b, group_count, group_sum);
            list.add_row(b);
            group_count = group_sum = 0;
        }
    }
    Band summary = footer(QStringLiteral("summary"), summary_height, page_width, total_caption, caption_left);
    add_count_and_sum(summary, count, sum);
    list.add_across(summary);
    add_note(list, h);
    return list.finish(plain_title(title));
}

QList<ListColumn> log_columns(const char *date_field, const QString &last_caption,
                              std::function<QString(const QSqlRecord &, int)> last_value)
{
    return {
        {0.0, 13.8, QStringLiteral("일 자"), Align::Centre, month_day(date_field)},
        {13.5, 36.2, QStringLiteral("거 래 처 명"), Align::Left, field("v_inout")},
        {49.5, 36.2, QStringLiteral("현   장   명"), Align::Left, field("v_station")},
        {85.5, 13.0, QStringLiteral("코 드"), Align::Centre, field("remi_code")},
        {98.2, 24.3, QStringLiteral("규     격"), Align::Centre, field("v_rule")},
        {122.2, 20.6, QStringLiteral("시    간"), Align::Centre, field("o_otime")},
        {142.6, 20.6, QStringLiteral("차량번호"), Align::Centre, field("o_carnum")},
        {163.0, 15.1, QStringLiteral("출하량"), Align::Right, field("o_outorder")},
        {177.8, 11.6, last_caption, Align::Centre, std::move(last_value)},
    };
}
}

Document qr_custtot(const QList<QSqlRecord> &orders, const Heading &heading)
{
    const QList<ListColumn> columns{
        {0.0, 29.4, QStringLiteral("일   자"), Align::Centre, field("ilja")},
        {29.1, 10.6, QStringLiteral("순번"), Align::Centre, field("seq")},
        {39.4, 36.2, QStringLiteral("거 래 처 명"), Align::Left, field("v_inout")},
        {75.4, 36.2, QStringLiteral("현   장   명"), Align::Left, field("v_station")},
        {111.4, 13.0, QStringLiteral("코 드"), Align::Centre, field("remi_code")},
        {124.1, 24.3, QStringLiteral("규     격"), Align::Centre, field("v_rule")},
        {148.2, 15.1, QStringLiteral("수주량"), Align::Right, field("sum_order_m3")},
        {163.0, 15.1, QStringLiteral("출하량"), Align::Right, field("sum_outorder")},
        {177.8, 11.6, QStringLiteral("횟 수"), Align::Centre, field("sum_ca_count")},
    };
    const QString title = QStringLiteral("[거래처별 출하현황]");
    ListBuilder list(layout(title, heading, true, columns));
    double ordered = 0, delivered = 0, trips = 0;
    for (int i = 0; i < orders.size(); ++i) {
        const QSqlRecord &r = orders[i];
        list.add_row(detail(columns, r, i + 1));
        ordered += r.value(QStringLiteral("sum_order_m3")).toDouble();
        delivered += r.value(QStringLiteral("sum_outorder")).toDouble();
        trips += r.value(QStringLiteral("sum_ca_count")).toDouble();
    }
    Band summary = footer(QStringLiteral("summary"), summary_height, page_width, total_caption, 40.2);
    const double sums[] = {ordered, delivered, trips};
    for (int i = 0; i < 3; ++i) {
        const ListColumn &c = columns[6 + i];
        summary.items << Frame{QStringLiteral("sum_box"), QRectF(c.left, 0, c.width, summary_height)};
        summary.items << text_in(QStringLiteral("sum"), c.left, 1.2, c.width, general_number(sums[i]), 10, false,
                                 c.align);
    }
    list.add_across(summary);
    return list.finish(plain_title(title));
}

Document qr_custlist(const QList<QSqlRecord> &loads, const Heading &heading)
{
    return grouped_log(QStringLiteral("[거래처별 출하일지]"), heading,
                       log_columns("ilja", QStringLiteral("비 고"), [](const QSqlRecord &, int) { return QString(); }),
                       loads,
                       [](const QSqlRecord &r) {
                           return r.value(QStringLiteral("ilja")).toString() + QLatin1Char('|')
                                  + r.value(QStringLiteral("seq")).toString();
                       },
                       19.1);
}

Document qr_carlist(const QList<QSqlRecord> &loads, const Heading &heading)
{
    return grouped_log(QStringLiteral("[차량별 출하일지]"), heading,
                       log_columns("o_fdate", QStringLiteral("회 차"), field("o_return")), loads,
                       [](const QSqlRecord &r) { return r.value(QStringLiteral("o_carnum")).toString(); }, 40.2);
}

Document qr_cartot(const QList<QSqlRecord> &totals, const Heading &heading)
{
    const auto with_trucks = [](const QSqlRecord &r, int) {
        return display_text(r.value(QStringLiteral("sum_ca_count"))) + QLatin1Char(' ') + trucks;
    };
    const QList<ListColumn> columns{
        {0.0, 34.1, QStringLiteral("일 자"), Align::Centre, field("o_fdate")},
        {33.9, 27.8, QStringLiteral("차량번호"), Align::Centre, field("o_carnum")},
        {61.4, 17.2, QStringLiteral("출하량"), Align::Right, field("sum_chol_m3")},
        {78.3, 15.9, QStringLiteral("횟 수"), Align::Centre, with_trucks},
    };
    const QString title = QStringLiteral("[차량별 출하집계표]");
    ListLayout l = layout(title, heading, true, columns);
    l.columns = 2;
    l.column_width = 95;
    ListBuilder list(l);
    const auto sums_band = [&](const QString &name, double height, double width, const QString &caption,
                               double quantity, double count) {
        Band b = footer(name, height, width, caption, 4.2);
        b.items << text_in(QStringLiteral("sum"), 61.4, 1.2, 17.2, general_number(quantity), 10, false, Align::Right);
        b.items << text_in(QStringLiteral("count"), 78.3, 1.2, 15.9, general_number(count) + QLatin1Char(' ') + trucks,
                           10, false, Align::Centre);
        return b;
    };
    double group_q = 0, group_n = 0, all_q = 0, all_n = 0;
    for (int i = 0; i < totals.size(); ++i) {
        const QSqlRecord &r = totals[i];
        list.add_row(detail(columns, r, i + 1));
        const double q = r.value(QStringLiteral("sum_chol_m3")).toDouble();
        const double n = r.value(QStringLiteral("sum_ca_count")).toDouble();
        group_q += q;
        group_n += n;
        all_q += q;
        all_n += n;
        const QString vehicle = r.value(QStringLiteral("o_carnum")).toString();
        if (i + 1 == totals.size() || totals[i + 1].value(QStringLiteral("o_carnum")).toString() != vehicle) {
            list.add_row(sums_band(QStringLiteral("group_footer"), subtotal_height, 94.2, subtotal_caption, group_q,
                                   group_n));
            group_q = group_n = 0;
        }
    }
    list.add_across(sums_band(QStringLiteral("summary"), summary_height, page_width, total_caption, all_q, all_n));
    return list.finish(plain_title(title));
}

Document qr_timeseq(const QList<QSqlRecord> &loads, const Heading &heading)
{
    const QList<ListColumn> columns{
        {0.0, 13.8, QStringLiteral("순 번"), Align::Centre,
         [](const QSqlRecord &, int number) { return QString::number(number); }},
        {13.5, 20.6, QStringLiteral("시    간"), Align::Centre, field("o_otime")},
        {33.9, 36.2, QStringLiteral("거 래 처 명"), Align::Left, field("v_inout")},
        {69.8, 36.2, QStringLiteral("현   장   명"), Align::Left, field("v_station")},
        {105.8, 13.0, QStringLiteral("코 드"), Align::Centre, field("remi_code")},
        {118.5, 24.3, QStringLiteral("규     격"), Align::Centre, field("v_rule")},
        {142.6, 20.6, QStringLiteral("차량번호"), Align::Centre, field("o_carnum")},
        {163.0, 15.1, QStringLiteral("출하량"), Align::Right, field("o_outorder")},
        {177.8, 11.6, QStringLiteral("회 차"), Align::Centre, field("o_return")},
    };
    const QString title = QStringLiteral("[시간대별 출하일지]");
    ListBuilder list(layout(title, heading, false, columns));
    double sum = 0;
    for (int i = 0; i < loads.size(); ++i) {
        list.add_row(detail(columns, loads[i], i + 1));
        sum += loads[i].value(QStringLiteral("o_outorder")).toDouble();
    }
    Band summary = footer(QStringLiteral("summary"), summary_height, page_width, total_caption, 40.2);
    add_count_and_sum(summary, loads.size(), sum);
    list.add_across(summary);
    add_note(list, heading);
    return list.finish(plain_title(title));
}

}
