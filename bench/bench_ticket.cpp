// Time from print_ticket to the PDF file written, in the PDF-folder mode
// (the same drawing a printer gets).  Usage: bench_ticket [prints] [folder]
// (the PDF files are kept in `folder` when it is given).
#include "core/data/data_module.h"
#include "core/framework/clock.h"
#include "core/framework/korean_text.h"
#include "core/framework/prompter.h"
#include "gui/framework/report_output.h"
#include "core/plantlink/spec_split.h"
#include "gui/plantlink/ticket_report.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
void fill(TicketData &t)
{
    t.year = QStringLiteral("2024");
    t.month = QStringLiteral("11");
    t.day = QStringLiteral("28");
    t.trip_no = QStringLiteral("7");
    t.customer_name = QStringLiteral("한빛건설 주식회사");
    t.site = QStringLiteral("새솔아파트 3단지");
    t.vehicle_no = QStringLiteral("경기12가3456");
    t.driver = QStringLiteral("김철수");
    t.hour = QStringLiteral("14");
    t.minute = QStringLiteral("35");
    t.quantity = QStringLiteral("6.00");
    t.cumulative = QStringLiteral("1,234.50");
    fill_spec_parts(t, QStringLiteral("25-240-15"));
    t.cement = QStringLiteral("보통포틀랜드 시멘트 1종");
    t.admixture = QStringLiteral("AE제");
    t.admixture_rate = QStringLiteral("0.8%");
    t.shipper = QStringLiteral("박영희");
    t.order_no = QStringLiteral("05");
}
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    install_korean_fonts();
    const int prints = argc > 1 ? std::max(1, atoi(argv[1])) : 50;

    QTemporaryDir temp;
    const QDir dir(argc > 2 ? QString::fromLocal8Bit(argv[2]) : temp.path());
    ConnectionSettings connection;
    connection.sqlite_file = QStringLiteral(":memory:");
    TF_DBMDL dbm(dir.filePath(QStringLiteral("Vorn.Ini")), connection);
    dbm.settings.top_margin = QStringLiteral("2");
    dbm.settings.left_margin = QStringLiteral("1");
    FakePrompter prompter;
    SystemClock clock;
    ReportOutput output(dir.filePath(QStringLiteral("pdf")));

    for (const bool with_copy : {false, true}) {
        TF_QR_SONGJANG report(dbm, prompter, clock, output,
                              with_copy ? dir.filePath(QStringLiteral("copies")) : QString());
        std::vector<double> ms;
        for (int i = 0; i < prints; ++i) {
            fill(dbm.ticket_data);
            QElapsedTimer t;
            t.start();
            if (!report.print_ticket()) {
                fprintf(stderr, "print failed: %s\n", qPrintable(prompter.last()));
                return 1;
            }
            ms.push_back(t.nsecsElapsed() / 1e6);
        }
        const double first = ms.front();
        std::sort(ms.begin(), ms.end());
        printf("%s: first %.1f ms, median %.1f ms, slowest %.1f ms over %d prints\n",
               with_copy ? "ticket + PDF copy" : "ticket to PDF", first, ms[ms.size() / 2], ms.back(), prints);
    }
    return 0;
}
