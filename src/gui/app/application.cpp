#include "gui/app/application.h"
#include "core/data/instance_lock.h"
#include "core/plantlink/outage_journal.h"
#include "gui/framework/pictures.h"
#include "gui/data/app_context.h"
#include "core/data/connection_settings.h"
#include "core/data/data_module.h"
#include "core/data/demo_data.h"
#include "core/data/plant_settings.h"
#include "core/data/print_settings.h"
#include "core/data/schema.h"
#include "gui/app/splash_window.h"
#include "gui/console/main_window.h"
#include "core/framework/clock.h"
#include "core/framework/korean_text.h"
#include "gui/framework/message_box_prompter.h"
#include "gui/framework/report_output.h"
#include "gui/masterdata/list_window.h"
#include "core/masterdata/lookup_state.h"
#include "gui/plantlink/ticket_report.h"
#include "gui/shipments/hand_ticket.h"

#include <QApplication>
#include <QFileInfo>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QScreen>
#include <QTextStream>

#include <cstdio>
#include <memory>

namespace {
struct Options {
    QString settings_path;
    QString connection_path;
    bool create_schema = false;
    bool demo_data = false;
    bool quit = false;
};

Options parse_options(const QApplication &app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("레미콘출하: shipping office of a ready-mixed concrete plant"));
    parser.addHelpOption();
    const QCommandLineOption settings({QStringLiteral("s"), QStringLiteral("settings")},
                                      QStringLiteral("Settings file (Vorn.Ini) to use."),
                                      QStringLiteral("file"));
    const QCommandLineOption connection({QStringLiteral("c"), QStringLiteral("connection")},
                                        QStringLiteral("Connection settings file (default: Connection.ini beside the settings file)."),
                                        QStringLiteral("file"));
    const QCommandLineOption create_schema(QStringLiteral("create-schema"),
                                           QStringLiteral("Create the tables that the database lacks (for a new, empty server database)."));
    const QCommandLineOption demo(QStringLiteral("demo-data"),
                                  QStringLiteral("Fill an empty database with a small demo plant, and write demo settings if there is no settings file."));
    const QCommandLineOption quit(QStringLiteral("quit"),
                                  QStringLiteral("Stop after --create-schema / --demo-data instead of starting."));
    parser.addOptions({settings, connection, create_schema, demo, quit});
    parser.process(app);

    Options o;
    o.settings_path = parser.isSet(settings) ? parser.value(settings) : default_settings_path();
    o.connection_path = parser.isSet(connection) ? parser.value(connection)
                                                 : ConnectionSettings::default_path(o.settings_path);
    o.create_schema = parser.isSet(create_schema);
    o.demo_data = parser.isSet(demo);
    o.quit = parser.isSet(quit);
    return o;
}

// --create-schema and --demo-data, before anything is shown.
bool prepare_database(const Options &o, const ConnectionSettings &connection, const Clock &clock)
{
    QTextStream err(stderr);
    try {
        if (o.demo_data && demo::write_default_settings(o.settings_path))
            err << "demo settings written to " << o.settings_path << Qt::endl;
        TF_DBMDL dbm(o.settings_path, connection);
        dbm.connect_database();
        const QStringList made = schema::create_missing(dbm.db());
        if (!made.isEmpty())
            err << "tables created: " << made.join(QStringLiteral(", ")) << Qt::endl;
        if (o.demo_data) {
            demo::fill(dbm.db(), clock.today());
            err << "demo data written" << Qt::endl;
        }
        return true;
    } catch (const DbError &e) {
        err << e.message() << Qt::endl;
        return false;
    }
}
}

int run_application(int argc, char **argv)
{
    QElapsedTimer since_start;
    since_start.start();
    QApplication app(argc, argv);
    init_resources();
    install_korean_fonts();

    auto splash = std::make_unique<TF_SPLASH>();
    splash->show();
    splash->repaint();
    app.processEvents();

    QApplication::setApplicationName(QStringLiteral("레미콘출하"));
    const Options options = parse_options(app);
    const ConnectionSettings connection = ConnectionSettings::load(options.connection_path);

    SystemClock clock;
    MessageBoxPrompter prompter;
    if (!cp949::available())
        prompter.error(nullptr, QStringLiteral("이 시스템에는 CP949 문자 변환이 없습니다. 한글 설정과 통신이 깨질 수 있습니다."));
    if ((options.create_schema || options.demo_data) && !prepare_database(options, connection, clock))
        return 1;
    if (options.quit)
        return 0;

    // The outage journal in the data folder is this program's alone.
    InstanceLock instance(QFileInfo(OutageJournal::default_path()).absolutePath());
    if (!instance.acquire()) {
        splash.reset();
        fprintf(stderr, "%s\n", qPrintable(instance.refusal()));
        prompter.error(nullptr, instance.refusal());
        return 1;
    }

    AppContext ctx;
    ctx.prompter = &prompter;
    ctx.clock = &clock;
    auto console = std::make_unique<TF_MAIN>(ctx);
    auto dbm = std::make_unique<TF_DBMDL>(options.settings_path, connection);
    ctx.dbm = dbm.get();
    LookupState lookup;
    ctx.lookup = &lookup;
    auto list = std::make_unique<TF_LIST>(ctx);
    ctx.list = list.get();
    const PrintSettings printing = PrintSettings::load(options.settings_path);
    ReportOutput reports(printing.pdf_folder);
    ctx.reports = &reports;
    auto qr_songjang = std::make_unique<TF_QR_SONGJANG>(*dbm, prompter, clock, reports,
                                                        printing.ticket_copy_folder);
    ctx.qr_songjang = qr_songjang.get();
    auto handprint = std::make_unique<TF_HANDPRINT>(ctx);
    ctx.handprint = handprint.get();

    splash.reset();
    if (!dbm->settings_notice.isEmpty())
        prompter.information(nullptr, dbm->settings_notice);

    const bool timing = qEnvironmentVariableIsSet("VELDARO_TIMING");
    QObject::connect(console.get(), &TF_MAIN::ready, [&] {
        if (timing)
            fprintf(stderr, "first working screen after %lld ms\n",
                    static_cast<long long>(since_start.elapsed()));
    });
    // Full screen also where no window manager maximises.
    console->setGeometry(console->screen()->availableGeometry());
    console->showMaximized();
    const int rc = app.exec();
    console.reset();
    return rc;
}
