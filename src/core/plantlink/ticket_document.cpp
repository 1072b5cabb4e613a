#include "core/plantlink/ticket_document.h"

namespace {
using report::Align;

// One printed value of the form: a field of the record or a fixed text.
struct TicketItem {
    const char *name;
    QString TicketData::*field;
    const char *fixed_text;
    double top, left, width, height;  // mm from the band's top-left corner
    double point_size;
    Align align;
    bool auto_width;  // fixed widths wrap
};

constexpr bool Auto = true;
constexpr bool Fixed = false;

const TicketItem ticket_items[] = {
    {"LblNo", &TicketData::trip_no, nullptr, 32.0, 9.8, 11.1, 5.3, 14, Align::Left, Auto},
    {"LblDate", &TicketData::year, nullptr, 38.9, 5.3, 16.9, 5.3, 14, Align::Left, Auto},
    {"LblDate2", &TicketData::month, nullptr, 38.9, 26.5, 5.3, 5.3, 14, Align::Left, Auto},
    {"LblDate3", &TicketData::day, nullptr, 38.9, 40.2, 5.3, 5.3, 14, Align::Left, Auto},
    {"LblName", &TicketData::customer_name, nullptr, 47.6, 5.8, 15.3, 5.3, 14, Align::Left, Auto},
    {"LblPosition", &TicketData::site, nullptr, 56.1, 31.5, 22.0, 5.3, 14, Align::Left, Auto},
    {"LblDriver", &TicketData::driver, nullptr, 64.6, 95.8, 16.9, 5.3, 14, Align::Left, Auto},
    {"LblCarNo", &TicketData::vehicle_no, nullptr, 64.8, 48.9, 22.0, 5.3, 14, Align::Left, Auto},
    {"LblStart", &TicketData::hour, nullptr, 73.6, 33.1, 16.9, 5.3, 14, Align::Right, Auto},
    {"LblStart2", &TicketData::minute, nullptr, 73.6, 60.6, 5.3, 5.3, 14, Align::Right, Auto},
    {"LblM3", &TicketData::quantity, nullptr, 83.3, 27.3, 20.4, 5.3, 14, Align::Right, Auto},
    {"LblCount", &TicketData::cumulative, nullptr, 83.3, 92.9, 22.0, 5.3, 14, Align::Right, Auto},
    {"QRLabel1", nullptr, "보통 콘크리트", 100.8, 8.5, 21.4, 9.5, 11, Align::Centre, Fixed},
    {"LblCiment", &TicketData::cement, nullptr, 100.8, 95.0, 31.2, 9.8, 11, Align::Centre, Fixed},
    {"LblGolJae", &TicketData::max_aggregate, nullptr, 101.6, 32.3, 23.5, 5.3, 14, Align::Centre, Fixed},
    {"LblKangDo", &TicketData::strength, nullptr, 101.6, 56.9, 17.7, 5.3, 14, Align::Centre, Fixed},
    {"LblSlemp", &TicketData::slump, nullptr, 101.6, 75.1, 19.1, 5.3, 14, Align::Centre, Fixed},
    {"LblEtc", &TicketData::admixture, nullptr, 130.4, 20.1, 10.6, 4.2, 10, Align::Left, Auto},
    {"Lbl_hon", &TicketData::admixture_rate, nullptr, 130.4, 64.6, 14.0, 4.5, 10, Align::Left, Auto},
    {"LblOK", &TicketData::spec_other, nullptr, 130.4, 100.0, 17.2, 5.3, 9, Align::Left, Auto},
    {"LblOut", &TicketData::shipper, nullptr, 145.5, 82.6, 19.1, 5.3, 11, Align::Left, Fixed},
};

// Printed over the form's KS box when the product is not certified.
void add_not_ks_marking(report::Band &band)
{
    const double pen = 5 * report::mm_per_design_pixel;
    band.items << report::Line{QStringLiteral("line1"), QRectF(-1.3, 19.6, 22.0, 1.3), Qt::Horizontal, pen}
               << report::Line{QStringLiteral("line2"), QRectF(-1.3, 23.8, 22.0, 1.3), Qt::Horizontal, pen}
               << report::Text{QStringLiteral("ks"), QRectF(0.8, 27.3, 18.5, 3.7),
                               QStringLiteral("규격외 제품"), report::Font{QStringLiteral("굴림"), 10, false},
                               Align::Left, Auto, false};
}
}

report::Document ticket_document(const TicketData &ticket, double top_margin, double left_margin)
{
    report::Band band{QStringLiteral("detail"), 191.8, {}};
    if (ticket.ks_mark != QLatin1String("KS"))
        add_not_ks_marking(band);
    for (const TicketItem &i : ticket_items) {
        const QString text = i.field ? ticket.*(i.field) : QString::fromUtf8(i.fixed_text);
        band.items << report::Text{QString::fromLatin1(i.name), QRectF(i.left, i.top, i.width, i.height),
                                   text, report::Font{QStringLiteral("굴림"), i.point_size, false},
                                   i.align, i.auto_width, !i.auto_width};
    }

    report::Document doc;
    doc.title = QStringLiteral("송장");
    doc.setup.paper = QPageSize(QSizeF(148, 204), QPageSize::Millimeter, QStringLiteral("송장 148x204"));
    doc.setup.printer_paper = true;
    doc.setup.margins = QMarginsF(left_margin, top_margin, 10, 10);
    doc.pages.append(report::Page{});
    doc.pages.first().append(std::move(band));
    return doc;
}
