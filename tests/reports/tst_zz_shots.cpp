#include "app/app_context.h"
#include "app/data_module.h"
#include "framework/clock.h"
#include "framework/date_box.h"
#include "framework/korean_text.h"
#include "framework/prompter.h"
#include "framework/report_output.h"
#include "masterdata/list_window.h"
#include "masterdata/lookup_state.h"
#include "reports/status_window.h"
#include "reports/status_grid.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    install_korean_fonts();
    TF_DBMDL dbm(QString(), ConnectionSettings::load(QString()));
    dbm.connect_database();
    FakePrompter prompter;
    FakeClock clock(QDateTime(QDate(2026, 12, 10), QTime(15, 0)));
    LookupState lookup;
    ReportOutput reports("/tmp/i13shots");
    AppContext ctx;
    ctx.dbm = &dbm;
    ctx.prompter = &prompter;
    ctx.clock = &clock;
    ctx.lookup = &lookup;
    ctx.reports = &reports;
    TF_LIST list(ctx);
    ctx.list = &list;
    TF_CUSTLIST w(ctx);
    w.resize(1200, 760);
    w.show();
    QTest::qWaitForWindowExposed(&w);
    struct Shot { const char *name; int choice, view; const char *first, *last, *filter; };
    const Shot shots[] = {
        {"orders_brief", 0, 0, "2026-12-01", "2026-12-10", ""},
        {"orders_detailed", 1, 1, "2026-11-01", "2026-12-10", ""},
        {"vehicle_totals", 3, 0, "2026-12-01", "2026-12-10", ""},
        {"vehicle_log", 3, 1, "2026-12-08", "2026-12-10", ""},
        {"by_time", 4, 0, "2026-12-10", "2026-12-10", ""},
    };
    for (const Shot &s : shots) {
        w.find_combo->setCurrentIndex(s.choice);
        w.view_combo->setCurrentIndex(s.view);
        w.first_date->set_text_date(s.first);
        w.last_date->set_text_date(s.last);
        w.find_edit->setText(s.filter);
        if (s.choice == 1) {
            w.find_edit->setText(dbm.db().scalar("select v_station from r_suju where ilja = '2026-12-10'").toString());
        }
        w.sel_btnClick();
        QTest::qWait(200);
        w.grab().save(QStringLiteral("/tmp/i13shots/win_%1.png").arg(s.name));
        const report::Document doc = w.current_report();
        ReportOutput::write_pdf(doc, QStringLiteral("/tmp/i13shots/list_%1.pdf").arg(s.name));
    }
    // The site lookup list.
    w.find_combo->setCurrentIndex(1);
    QTimer::singleShot(300, [&] { list.grab().save("/tmp/i13shots/site_list.png"); list.close(); });
    w.find_edit->setText(QStringLiteral("현장"));
    w.find_editEnter();
    qInfo() << prompter.shown;
    return 0;
}
