#include "gui/app/application.h"
#include "core/data/backup.h"
#include "core/data/instance_lock.h"
#include "core/framework/guarded.h"
#include "core/framework/support_log.h"
#include "core/plantlink/outage_journal.h"
#include "gui/framework/pictures.h"
#include "gui/data/app_context.h"
#include "core/data/connection_settings.h"
#include "core/data/data_module.h"
#include "core/data/demo_data.h"
#include "core/data/plant_settings.h"
#include "core/data/print_settings.h"
#include "core/data/schema.h"
#include "gui/app/screenshot_tour.h"
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
#include <QDir>
#include <QThread>
#include <QIcon>
#include <QLoggingCategory>
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
    QString restore;
    QString screenshots;
};

Options parse_options(const QCoreApplication &app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("레미콘출하: the shipping office of a ready-mixed concrete plant."));
    parser.addHelpOption();
    parser.addVersionOption();
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
    const QCommandLineOption restore(QStringLiteral("restore"),
                                     QStringLiteral("Put a backup of the embedded database back, after checking it (the program must not be running)."),
                                     QStringLiteral("file"));
    // The guide's pictures (scripts/screenshots.sh); not for the office.
    QCommandLineOption screenshots(QStringLiteral("screenshots"), QStringLiteral("Grab every window into a folder."),
                                   QStringLiteral("folder"));
    screenshots.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions({settings, connection, create_schema, demo, quit, restore, screenshots});
    parser.process(app);

    Options o;
    o.settings_path = parser.isSet(settings) ? parser.value(settings) : default_settings_path();
    o.connection_path = parser.isSet(connection) ? parser.value(connection)
                                                 : ConnectionSettings::default_path(o.settings_path);
    o.create_schema = parser.isSet(create_schema);
    o.demo_data = parser.isSet(demo);
    o.quit = parser.isSet(quit);
    o.restore = parser.value(restore);
    o.screenshots = parser.value(screenshots);
    return o;
}

Q_LOGGING_CATEGORY(lc_app, "veldaro.app")

// The support log in the data folder, from the first message on.
void start_log(const ConnectionSettings &connection)
{
    support_log::install(support_log::default_path(QFileInfo(OutageJournal::default_path()).absolutePath()));
    support_log::hide(connection.password);
    qCInfo(lc_app).noquote() << "veldaro" << QStringLiteral(VELDARO_VERSION) << "started:"
                             << QCoreApplication::arguments().mid(1).join(QLatin1Char(' ')) << "- database"
                             << (connection.embedded() ? connection.sqlite_file
                                                       : QStringLiteral("%1:%2/%3").arg(connection.host).arg(connection.port).arg(connection.database));
}

// What answers on the terminal alone, without a display, as a Debian
// program does: --help, --version, --restore.
bool terminal_only(int argc, char **argv)
{
    static const QByteArrayList words{"-h", "--help", "-?", "--help-all", "-v", "--version"};
    for (int i = 1; i < argc; ++i)
        if (words.contains(QByteArray(argv[i])) || QByteArray(argv[i]).startsWith("--restore"))
            return true;
    return false;
}

int restore_command(const Options &o)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    const ConnectionSettings connection = ConnectionSettings::load(o.connection_path);
    if (!connection.embedded()) {
        err << "--restore puts back a backup of the embedded database; the server's is restored with pg_restore"
            << Qt::endl;
        return 1;
    }
    InstanceLock instance(QFileInfo(OutageJournal::default_path()).absolutePath());
    if (!instance.acquire()) {
        err << instance.refusal() << Qt::endl;
        return 1;
    }
    try {
        const QString kept = backup::restore(o.restore, connection.sqlite_file,
                                             backup::folder_setting(o.settings_path, connection.sqlite_file),
                                             QDateTime::currentDateTime());
        out << "복원했습니다: " << QDir::toNativeSeparators(o.restore) << " → "
            << QDir::toNativeSeparators(connection.sqlite_file) << Qt::endl;
        if (!kept.isEmpty())
            out << "복원 전의 데이터베이스: " << QDir::toNativeSeparators(kept) << Qt::endl;
        return 0;
    } catch (const ActionError &e) {
        err << e.message() << Qt::endl << "복원하지 않았습니다." << Qt::endl;
    } catch (const DbError &e) {
        err << e.message() << Qt::endl;
    }
    return 1;
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
    if (terminal_only(argc, argv)) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("veldaro"));
        QCoreApplication::setApplicationVersion(QStringLiteral(VELDARO_VERSION));
        const Options options = parse_options(app);  // --help and --version answer and end
        start_log(ConnectionSettings::load(options.connection_path));
        return options.restore.isEmpty() ? 0 : restore_command(options);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(VELDARO_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("kr.vorn.veldaro"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("veldaro")));
    init_resources();
    install_korean_fonts();

    auto splash = std::make_unique<TF_SPLASH>();
    splash->show();
    splash->repaint();
    app.processEvents();

    QApplication::setApplicationName(QStringLiteral("레미콘출하"));
    const Options options = parse_options(app);
    const ConnectionSettings connection = ConnectionSettings::load(options.connection_path);
    start_log(connection);

    SystemClock clock;
    MessageBoxPrompter prompter;
    if (!cp949::available())
        prompter.error(nullptr, QStringLiteral("이 시스템에는 CP949 문자 변환이 없습니다. 한글 설정과 통신이 깨질 수 있습니다."));
    // The password file readable by every account of the PC.
    const QString exposed = ConnectionSettings::exposed_password_warning(options.connection_path);
    if (!exposed.isEmpty()) {
        qCWarning(lc_app).noquote() << exposed;
        if (!options.quit)
            prompter.error(nullptr, exposed);
    }
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

    // The day's backup at its first start, on a thread of its own (a large
    // file takes seconds), and again when the program closes.
    std::unique_ptr<DailyBackup> daily;
    std::unique_ptr<QThread> morning_backup;
    QString morning_failure;
    if (connection.embedded() && connection.sqlite_file != QLatin1String(":memory:")) {
        daily = std::make_unique<DailyBackup>(connection.sqlite_file,
                                              backup::folder_setting(options.settings_path, connection.sqlite_file));
        daily->say = [&prompter](const QString &text) { prompter.error(nullptr, text); };
        const QDate today = clock.today();
        if (daily->due(today)) {
            morning_backup.reset(QThread::create([&daily, &morning_failure, today] { morning_failure = daily->run(today); }));
            QObject::connect(morning_backup.get(), &QThread::finished, &app, [&daily, &morning_failure] {
                daily->report(morning_failure);
            });
            morning_backup->start();
        }
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
    if (!options.screenshots.isEmpty()) {
        // A window of an office PC's size, whatever the screen.
        auto *tour = new ScreenshotTour(*console, options.screenshots);
        QObject::connect(console.get(), &TF_MAIN::ready, tour, &ScreenshotTour::console_ready);
        console->resize(1280, 800);
        console->show();
    } else {
        // Full screen also where no window manager maximises.
        console->setGeometry(console->screen()->availableGeometry());
        console->showMaximized();
    }
    const int rc = app.exec();
    qCInfo(lc_app) << "closing";
    if (morning_backup)
        morning_backup->wait();
    if (daily)
        daily->report(daily->run(clock.today()));
    console.reset();
    return rc;
}
