#include "console_fixture.h"
#include "app/login_window.h"
#include "console/board_grid.h"

#include <QDir>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

ConsoleFixture::ConsoleFixture(TestPlant::Storage storage, Lines lines) : plant(storage)
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

void add_order(const TestPlant &p, const char *day, const char *seq, double m3, double shipped, const char *state)
{
    p.exec(QStringLiteral("insert into r_suju (ilja, seq, v_inout, v_station, remi_code, v_rule, order_m3,"
                          " v_outorder, v_reorder, v_ccount, v_state, time_, cement, japum, v_hon) values"
                          " (:d, :s, :c, :st, '1004', '25-210-12', :m3, :o, :r, 0, :state, '08:00', '보통', 'AE', '0.8')"),
           {{":d", QString::fromLatin1(day)}, {":s", QString::fromLatin1(seq)},
            {":c", QStringLiteral("거래처%1").arg(QString::fromLatin1(seq))},
            {":st", QStringLiteral("현장%1").arg(QString::fromLatin1(seq))},
            {":m3", m3}, {":o", shipped}, {":r", m3 - shipped}, {":state", QString::fromLatin1(state)}});
}

void add_truck(const TestPlant &p, const char *code, const char *number, const char *state, const char *station)
{
    p.exec(QStringLiteral("insert into car_code (saup, code, scode, name, c_state, c_dsum, c_msum, c_station)"
                          " values ('AA', :c, :n, '기사', :s, 7, 7, :st)"),
           {{":c", QString::fromLatin1(code)}, {":n", QString::fromLatin1(number)},
            {":s", QString::fromLatin1(state)}, {":st", QString::fromUtf8(station)}});
}

void add_load(const TestPlant &p, const char *date, const char *fdate, const char *seq, const char *count,
              const char *car, const char *time, double m3)
{
    p.exec(QStringLiteral("insert into cholha (o_date, o_fdate, o_otime, o_scode, o_count, o_carnum,"
                          " o_hogi, o_outorder, o_moltal, o_ccode, o_return) values"
                          " (:d, :f, :t, :s, :c, :car, '1', :q, 0, '0000', '**')"),
           {{":d", QString::fromLatin1(date)}, {":f", QString::fromLatin1(fdate)},
            {":t", QString::fromLatin1(time)}, {":s", QString::fromLatin1(seq)},
            {":c", QString::fromLatin1(count)}, {":car", QString::fromLatin1(car)}, {":q", m3}});
}
