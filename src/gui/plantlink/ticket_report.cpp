#include "gui/plantlink/ticket_report.h"
#include <utility>
#include "core/data/data_module.h"
#include "core/data/change_log.h"
#include "core/data/ticket_register.h"
#include "core/plantlink/ticket_json.h"
#include "core/framework/database.h"
#include "core/framework/clock.h"
#include "core/framework/guarded.h"
#include "core/framework/prompter.h"
#include "core/framework/report_pdf.h"
#include "gui/framework/report_output.h"
#include "core/framework/stored_text.h"

#include <QApplication>
#include <QDir>
#include <QRegularExpression>

#include <cmath>
#include <optional>

namespace {
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

QString TF_QR_SONGJANG::not_registered_away_text()
{
    return QStringLiteral("송장은 인쇄했으나 데이터베이스가 응답하지 않아 송장 발행 대장에 기록하지 못했습니다.");
}

bool TF_QR_SONGJANG::print()
{
    const TicketData ticket = dbm_.ticket_data;
    const report::Document doc = ticket_document(ticket, top_margin_, left_margin_);
    QString output;
    if (!guarded(*prompter_, box_parent(), [&] { output = output_.print(doc); }))
        return false;
    dbm_.ticket_data.clear();

    // Registered once it printed: a print that failed is not a ticket.
    const QDateTime printed = clock_.now();
    const ChangeAuthor author = change_log::author(dbm_.db());
    QJsonObject json;
    const bool registered = guarded(*prompter_, box_parent(), [&] {
        // Not a statement to wait out on the console while the server is
        // away: the ticket is printed, the register says nothing of it.
        if (Database::seems_away())
            throw ActionError(not_registered_away_text());
        try {
            ticket_register::record(dbm_.db(), author, ticket, output, printed,
                                    [&](const TicketData &t, const ticket_register::PrintFacts &f) {
                                        return ticket_json::make(t, f, read_enrol(dbm_.db()));
                                    },
                                    &json);
        } catch (const DbError &e) {
            throw ActionError(QStringLiteral("송장은 인쇄했으나 송장 발행 대장에 기록하지 못했습니다. ") + e.message());
        }
    });
    if (!registered)
        json = ticket_json::make(ticket, {printed.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), author, false, output},
                                 EnrolRow());

    if (!copy_folder_.isEmpty()) {
        guarded(*prompter_, box_parent(), [&] {
            try {
                const QString pdf = copy_path(copy_folder_, ticket, printed);
                report::write_pdf(doc, pdf);
                ticket_json::write(json, ticket_json::path_beside(pdf));
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
    return report::unused_pdf_path(QDir(folder).filePath(date), base);
}
