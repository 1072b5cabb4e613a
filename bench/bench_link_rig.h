#pragma once
// What a benchmark of the console on its batch-unit lines needs around a
// real TF_MAIN: settings with both ports and the ticket's margins, fake
// lines, every ticket printed into PDF files of a temporary folder, and the
// outage journal there too.
#include "core/data/data_module.h"
#include "core/framework/clock.h"
#include "core/framework/prompter.h"
#include "core/framework/serial_line.h"
#include "core/masterdata/lookup_state.h"
#include "gui/data/app_context.h"
#include "gui/framework/report_output.h"
#include "gui/plantlink/ticket_report.h"

#include <QTemporaryDir>

struct LinkRig {
    explicit LinkRig(const ConnectionSettings &connection)
        : dbm(tmp.filePath(QStringLiteral("Vorn.Ini")), connection),
          reports(tmp.filePath(QStringLiteral("printed"))), ticket(dbm, prompter, clock, reports)
    {
        dbm.settings.comm1_port = QStringLiteral("1");
        dbm.settings.comm1_speed = QStringLiteral("9600");
        dbm.settings.comm2_port = QStringLiteral("2");
        dbm.settings.comm2_speed = QStringLiteral("9600");
        dbm.settings.top_margin = QStringLiteral("2");
        dbm.settings.left_margin = QStringLiteral("1");
        ctx.lookup = &lookup;
        ctx.dbm = &dbm;
        ctx.prompter = &prompter;
        ctx.clock = &clock;
        ctx.reports = &reports;
        ctx.qr_songjang = &ticket;
        ctx.serial_lines[0] = &line1;
        ctx.serial_lines[1] = &line2;
        ctx.outage_journal = tmp.filePath(QStringLiteral("data/outage_journal.jsonl"));
    }

    QTemporaryDir tmp;
    TF_DBMDL dbm;
    FakePrompter prompter;
    SystemClock clock;
    FakeSerialLine line1, line2;
    ReportOutput reports;
    TF_QR_SONGJANG ticket;
    LookupState lookup;
    AppContext ctx;
};
