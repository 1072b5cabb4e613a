#include "plantlink/ticket_report.h"
#include <utility>
#include "app/data_module.h"
#include "framework/clock.h"
#include "framework/guarded.h"
#include "framework/prompter.h"
#include "framework/report_output.h"
#include "framework/stored_text.h"

#include <QApplication>
#include <QDir>
#include <QRegularExpression>

#include <cmath>
#include <optional>

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

// A margin setting in millimetres; nothing when empty or not a number.
std::optional<double> margin_mm(const QString &text)
{
    bool ok = false;
    const double mm = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(mm))
        return std::nullopt;
    return mm;
}

QString margin_error(const char *caption, const QString &value)
{
    return QStringLiteral("송장 %1 설정 \"%2\"은(는) 숫자가 아닙니다. "
                          "환경 설정에서 %1을 mm 단위 숫자로 입력하십시오. (송장 인쇄 안 됨)")
        .arg(QString::fromUtf8(caption), value);
}

QWidget *box_parent()
{
    return QApplication::activeWindow();
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

TF_QR_SONGJANG::TF_QR_SONGJANG(TF_DBMDL &dbm, Prompter &prompter, const Clock &clock,
                               const ReportOutput &output, QString copy_folder, QObject *parent)
    : QObject(parent), dbm_(dbm), prompter_(&prompter), clock_(clock), output_(output),
      copy_folder_(std::move(copy_folder))
{
    setObjectName(QStringLiteral("F_QR_SONGJANG"));
}

bool TF_QR_SONGJANG::print_ticket()
{
    const PlantSettings &s = dbm_.settings;
    const std::optional<double> top = margin_mm(s.top_margin);
    if (!top) {
        prompter_->error(box_parent(), margin_error("윗여백", s.top_margin));
        return false;
    }
    const std::optional<double> left = margin_mm(s.left_margin);
    if (!left) {
        prompter_->error(box_parent(), margin_error("왼쪽여백", s.left_margin));
        return false;
    }
    top_margin_ = *top;
    left_margin_ = *left;
    return print();
}

bool TF_QR_SONGJANG::print_ticket(Prompter &messages)
{
    Prompter *own = std::exchange(prompter_, &messages);
    const bool printed = print_ticket();
    prompter_ = own;
    return printed;
}

bool TF_QR_SONGJANG::print()
{
    const TicketData ticket = dbm_.ticket_data;
    const report::Document doc = ticket_document(ticket, top_margin_, left_margin_);
    if (!guarded(*prompter_, box_parent(), [&] { output_.print(doc); }))
        return false;
    dbm_.ticket_data.clear();

    if (!copy_folder_.isEmpty()) {
        guarded(*prompter_, box_parent(), [&] {
            try {
                ReportOutput::write_pdf(doc, copy_path(copy_folder_, ticket, clock_.now()));
            } catch (const ActionError &e) {
                throw ActionError(QStringLiteral("송장은 인쇄했으나 사본을 남기지 못했습니다. ") + e.message());
            }
        });
    }
    return true;
}

QString TF_QR_SONGJANG::copy_path(const QString &folder, const TicketData &ticket, const QDateTime &printed)
{
    const QDate ticket_date = stored::parse_date(ticket.year + QLatin1Char('-') + ticket.month
                                                 + QLatin1Char('-') + ticket.day);
    const QString date = stored::date(ticket_date.isValid() ? ticket_date : printed.date());

    QString order = ticket.order_no;
    order.remove(QRegularExpression(QStringLiteral("[^0-9A-Za-z]")));
    if (order.isEmpty())
        order = QStringLiteral("00");

    bool numeric = false;
    const int trip_no = ticket.trip_no.trimmed().toInt(&numeric);
    const QString trip = QStringLiteral("%1").arg(numeric && trip_no > 0 ? trip_no : 0, 3, 10, QLatin1Char('0'));

    const QString base = QStringLiteral("%1_%2_%3_%4")
                             .arg(date, order, trip, printed.time().toString(QStringLiteral("HH-mm-ss")));
    return ReportOutput::unused_pdf_path(QDir(folder).filePath(date), base);
}
