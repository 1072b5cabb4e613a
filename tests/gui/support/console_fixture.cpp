#include "console_fixture.h"
#include "gui/data/login_window.h"
#include "gui/framework/board_grid.h"

#include <QDir>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

ConsoleFixture::ConsoleFixture(WindowPlant::Storage storage, Lines lines) : plant(storage)
{
    pdf_folder = plant.dir.filePath(QStringLiteral("printed"));
    QDir().mkpath(pdf_folder);
    reports = std::make_unique<ReportOutput>(pdf_folder);
    ticket = std::make_unique<TF_QR_SONGJANG>(*plant.dbm, plant.prompter, plant.clock, *reports);
    plant.ctx.reports = reports.get();
    plant.ctx.qr_songjang = ticket.get();
    handprint = std::make_unique<TF_HANDPRINT>(plant.ctx);
    plant.ctx.handprint = handprint.get();
    plant.ctx.outage_journal = plant.dir.filePath(QStringLiteral("outage_journal.jsonl"));
    if (lines == FakeLines) {
        plant.ctx.serial_lines[0] = &line1;
        plant.ctx.serial_lines[1] = &line2;
    }
    plant.dbm->settings.comm1_port = QStringLiteral("1");
    plant.dbm->settings.comm1_speed = QStringLiteral("9600");
    plant.dbm->settings.comm2_port = QStringLiteral("2");
    plant.dbm->settings.comm2_speed = QStringLiteral("9600");
    plant.dbm->settings.top_margin = QStringLiteral("2");
    plant.dbm->settings.left_margin = QStringLiteral("1");
    plant.dbm->settings.mortar_code = QStringLiteral("9001");
    plant.dbm->settings.mortar_qty = QStringLiteral("0.5");
}

ConsoleFixture::~ConsoleFixture()
{
    console.reset();
}

void ConsoleFixture::open(const QDate &day)
{
    plant.clock.set(QDateTime(day, QTime(10, 0)));
    console = std::make_unique<TF_MAIN>(plant.ctx);
    QSignalSpy ready(console.get(), &TF_MAIN::ready);
    on_next_modal([](QWidget *m) { QTest::keyClick(static_cast<TF_PASS *>(m)->useredt, Qt::Key_Return); });
    console->resize(1280, 1024);
    console->show();
    if (!ready.wait(5000))
        qFatal("console did not come up");
}

QStringList ConsoleFixture::printed() const
{
    return QDir(pdf_folder).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name);
}

void ConsoleFixture::click_row(BoardGrid *grid, int row) const
{
    const QRect r = grid->visualRect(grid->model()->index(row, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, r.center());
}

void ConsoleFixture::double_click_row(BoardGrid *grid, int row) const
{
    const QPoint at = grid->visualRect(grid->model()->index(row, 1)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, at);
}
