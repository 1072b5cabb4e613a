#include "console_fixture.h"
#include "fake_console.h"
#include "report_check.h"
#include "window_support.h"
#include "core/data/change_log.h"
#include "core/framework/record_table_model.h"
#include "core/shipments/editor_ticket.h"
#include "core/shipments/shipment_edit_db.h"
#include "gui/console/navigation.h"
#include "gui/framework/board_grid.h"
#include "gui/framework/date_box.h"
#include "gui/framework/report_output.h"
#include "gui/plantlink/ticket_report.h"
#include "gui/reports/changelog_window.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

using shipment_edit_db::SaveRequest;
using shipment_edit_db::Shipment;

namespace {
constexpr const char *day = "2026-03-02";

Shipment load(const char *seq, const char *time, double m3, const char *count = "")
{
    return {QString::fromLatin1(day), QString::fromLatin1(day), QString::fromLatin1(time), m3, 0,
            QStringLiteral("1111"), QString::fromLatin1(count), QStringLiteral("81-1111-1"), QString::fromLatin1(seq),
            QStringLiteral("**"), QStringLiteral("1")};
}

SaveRequest insert(const Shipment &s, bool replace = false)
{
    SaveRequest r;
    r.board_date = QString::fromLatin1(day);
    r.shipment = s;
    r.replace_occupant = replace;
    return r;
}

// Three loads entered by hand, then a correction, a replacement and a
// deletion of one load each, and one load's ticket printed twice.
struct Fixture {
    WindowPlant plant;
    FakeConsoleOps console;
    QString pdf_folder;
    std::unique_ptr<ReportOutput> reports;
    std::unique_ptr<TF_QR_SONGJANG> ticket;
    std::unique_ptr<TF_CHANGELOG> w;

    Fixture()
    {
        plant.clock.set(QDateTime::currentDateTime());
        plant.ctx.console = &console;
        pdf_folder = plant.dir.filePath(QStringLiteral("printed"));
        reports = std::make_unique<ReportOutput>(pdf_folder);
        ticket = std::make_unique<TF_QR_SONGJANG>(*plant.dbm, plant.prompter, plant.clock, *reports);
        plant.ctx.reports = reports.get();
        plant.ctx.qr_songjang = ticket.get();
        plant.dbm->settings.top_margin = QStringLiteral("2");
        plant.dbm->settings.left_margin = QStringLiteral("1");
        add_order(plant, day, "01", 30, 0);
        add_order(plant, day, "02", 12, 0);
        add_truck(plant, "81-1111-1", "1111", "YES");
        const Database &db = plant.db();
        change_log::set_author(db, {QStringLiteral("김철수"), QStringLiteral("OFFICE-2")});
        shipment_edit_db::save(db, insert(load("01", "09:00:00", 6)));
        shipment_edit_db::save(db, insert(load("01", "10:00:00", 5)));
        shipment_edit_db::save(db, insert(load("02", "11:00:00", 4)));
        change_log::set_author(db, {QStringLiteral("이영희"), QStringLiteral("OFFICE-3")});
        SaveRequest correct = insert(load("01", "09:00:00", 7, "001"));
        correct.mode = SaveRequest::Mode::Edit;
        correct.previous = load("01", "09:00:00", 6, "001");
        shipment_edit_db::save(db, correct);
        shipment_edit_db::save(db, insert(load("01", "11:00:00", 6), true));
        shipment_edit_db::delete_shipment(db, load("01", "09:00:00", 7, "001"), QString::fromLatin1(day));
        for (int i = 0; i < 2; ++i) {
            plant.dbm->ticket_data = *editor_ticket::ticket_of(db, load("01", "10:00:00", 5, "001"), QStringLiteral("이영희"));
            ticket->print_ticket();
        }
        w = std::make_unique<TF_CHANGELOG>(plant.ctx);
        w->resize(1280, 800);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }

    QStringList column(RecordTableModel *m, const char *field) const
    {
        QStringList values;
        for (int r = 0; r < m->rowCount(); ++r)
            values << m->text(r, QString::fromLatin1(field));
        return values;
    }
    int row_of(const char *kind, const char *table) const
    {
        for (int r = 0; r < w->log_query->rowCount(); ++r)
            if (w->log_query->text(r, "kind_words") == QString::fromUtf8(kind)
                && w->log_query->text(r, "tbl_name") == QLatin1String(table))
                return r;
        return -1;
    }
    QStringList detail() const
    {
        QStringList rows;
        for (int r = 0; r < w->detail_grid->rowCount(); ++r)
            if (w->detail_grid->item(r, 0)->text().startsWith(QStringLiteral("● ")))
                rows << QStringLiteral("%1 %2>%3").arg(w->detail_grid->item(r, 0)->text(), w->detail_grid->item(r, 1)->text(),
                                                      w->detail_grid->item(r, 2)->text());
        return rows;
    }
    void shoot(const char *name) const
    {
        const QString folder = qEnvironmentVariable("VELDARO_SCREENSHOTS");
        if (!folder.isEmpty())
            w->grab().save(QDir(folder).filePath(QString::fromLatin1(name) + QStringLiteral(".png")));
    }
    QString last_pdf() const
    {
        const QStringList files = QDir(pdf_folder).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Time);
        return files.isEmpty() ? QString() : QDir(pdf_folder).filePath(files.first());
    }
    void keep_pdf(const char *name) const
    {
        const QString folder = qEnvironmentVariable("VELDARO_SCREENSHOTS");
        if (!folder.isEmpty())
            QFile::copy(last_pdf(), QDir(folder).filePath(QString::fromLatin1(name) + QStringLiteral(".pdf")));
    }
};
}

// 변경 이력: the log of a period newest first with before and after, and the
// ticket register with the loads left without a ticket.
class TestChangelogWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void the_log_of_today_newest_first()
    {
        Fixture f;
        const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
        QCOMPARE(f.w->first_date->text_date(), today);
        QCOMPARE(f.w->last_date->text_date(), today);
        QCOMPARE(f.w->sel_btn->text(), QStringLiteral("검   색"));
        f.w->sel_btn->click();
        RecordTableModel *log = f.w->log_query;
        log->fetch_all();
        QCOMPARE(f.column(log, "kind_words"),
                 (QStringList{"삭제", "순번정리", "순번정리", "삭제",      // the deletion
                              "대체", "대체", "대체",                    // the replacement: orders 02, 01, the load
                              "수정", "수정",                          // the correction
                              "입력", "입력", "입력", "입력", "입력", "입력"}));
        QCOMPARE(f.column(log, "tbl_name").mid(0, 4), (QStringList{"r_suju", "cholha", "cholha", "cholha"}));
        QCOMPARE(log->text(0, "op_name"), QStringLiteral("이영희"));
        QCOMPARE(log->text(14, "op_name"), QStringLiteral("김철수"));
        QCOMPARE(log->text(14, "station"), QStringLiteral("OFFICE-2"));

        // Before and after of the correction side by side, the changed field marked.
        f.w->log_grid->set_cursor_row(f.row_of("수정", "cholha"));
        QCOMPARE(log->text(f.row_of("수정", "cholha"), "before_text"), QStringLiteral("o_outorder=6"));
        QCOMPARE(log->text(f.row_of("수정", "cholha"), "after_text"), QStringLiteral("o_outorder=7"));
        QCOMPARE(f.detail(), QStringList{"● o_outorder 6>7"});
        QCOMPARE(f.w->detail_grid->rowCount(), 11);
        f.shoot("changelog_correction");
        f.w->log_grid->set_cursor_row(f.row_of("대체", "cholha"));
        // It took trip 003 of order 01, after that order's two loads.
        QCOMPARE(f.detail(), (QStringList{"● o_count 001>003", "● o_outorder 4>6", "● o_scode 02>01"}));
        f.shoot("changelog_replacement");
        f.w->log_grid->set_cursor_row(f.row_of("삭제", "cholha"));
        QCOMPARE(log->text(f.row_of("삭제", "cholha"), "after_text"), QStringLiteral("(없음)"));
        QVERIFY(f.detail().contains(QStringLiteral("● o_outorder 7>")));
        f.shoot("changelog_deletion");

        // Printed as a list.
        f.w->prn_btn->click();
        QCOMPARE(f.plant.prompter.errors, QStringList());
        const QString printed = all_text(pdf_words(f.last_pdf()));
        QVERIFY2(printed.contains(QStringLiteral("변경 이력")) && printed.contains(QStringLiteral("대체"))
                     && printed.contains(QStringLiteral("o_outorder=4")) && printed.contains(QStringLiteral("합계 15건")),
                 qPrintable(printed));
        f.keep_pdf("changelog_list");

        // Nothing in the window changes an entry.
        QCOMPARE(f.w->log_grid->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(f.w->detail_grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    }

    void filters_narrow_the_log()
    {
        Fixture f;
        f.w->kind_combo->setCurrentText(QStringLiteral("대체"));
        f.w->sel_btn->click();
        f.w->log_query->fetch_all();
        QCOMPARE(f.w->log_query->rowCount(), 3);
        f.w->kind_combo->setCurrentIndex(0);
        f.w->order_edit->setText(QStringLiteral("02"));
        f.w->sel_btn->click();
        f.w->log_query->fetch_all();
        QCOMPARE(f.column(f.w->log_query, "kind_words"), (QStringList{"대체", "입력", "입력"}));
        f.w->order_edit->clear();
        f.w->operator_combo->setCurrentText(QStringLiteral("김철수"));
        f.w->sel_btn->click();
        f.w->log_query->fetch_all();
        QCOMPARE(f.w->log_query->rowCount(), 6);
        QVERIFY(f.w->operator_combo->findText(QStringLiteral("이영희")) >= 0);
        // Another day has nothing.
        f.w->operator_combo->setCurrentIndex(0);
        f.w->first_date->set_text_date(QStringLiteral("2020-01-01"));
        f.w->last_date->set_text_date(QStringLiteral("2020-01-31"));
        f.w->sel_btn->click();
        QCOMPARE(f.w->log_query->rowCount(), 0);
    }

    void the_register_with_its_reprint_and_the_loads_without_a_ticket()
    {
        Fixture f;
        f.w->sel_btn->click();
        f.w->log_tabs->setCurrentIndex(1);
        QCOMPARE(f.w->log_tabs->tabText(1), QStringLiteral("송장 발행 대장"));
        RecordTableModel *reg = f.w->register_query;
        QCOMPARE(f.w->register_grid->records(), reg);
        QCOMPARE(f.column(reg, "reprint"), (QStringList{"재발행", "최초"}));
        QCOMPARE(f.column(reg, "path_words"), (QStringList{"수동송장", "수동송장"}));
        QCOMPARE(f.column(reg, "load_time"), (QStringList{"10:00:00", "10:00:00"}));
        QVERIFY(reg->text(0, "output").endsWith(QStringLiteral(".pdf")));
        f.shoot("register_reprint");
        f.w->prn_btn->click();
        const QString printed = all_text(pdf_words(f.last_pdf()));
        QVERIFY2(printed.contains(QStringLiteral("송장 발행 대장")) && printed.contains(QStringLiteral("재발행")),
                 qPrintable(printed));
        f.keep_pdf("register_list");

        // The loads by their working date: a period that covers it.
        const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
        f.w->first_date->set_text_date(qMin(today, QString::fromLatin1(day)));
        f.w->last_date->set_text_date(qMax(today, QString::fromLatin1(day)));
        f.w->sel_btn->click();
        f.w->unprinted_chk->click();
        QCOMPARE(f.w->register_grid->records(), f.w->unprinted_query);
        QCOMPARE(f.column(f.w->unprinted_query, "o_otime"), QStringList{"11:00:00"});
        QCOMPARE(f.w->count_label->text(), QStringLiteral("미발행 1건"));
        f.shoot("register_unprinted");

        // The status window's export.
        const QString csv = f.plant.dir.filePath(QStringLiteral("register.csv"));
        f.w->ask_csv_path = [&](const QString &) { return csv; };
        f.w->excel_btn->click();
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        QVERIFY2(text.contains(QStringLiteral("시간")) && text.contains(QStringLiteral("11:00:00")), qPrintable(text));
    }

    void the_consoles_menu_opens_it()
    {
        ConsoleFixture c;
        c.open();
        QAction *entry = c.console->findChild<QAction *>(QStringLiteral("changelog_act"));
        QVERIFY(entry && entry->isEnabled());
        QString opened;
        on_next_modal([&](QWidget *window) {
            opened = window->objectName();
            window->close();
        });
        entry->trigger();
        QCOMPARE(opened, QStringLiteral("F_CHANGELOG"));
    }
};

QTEST_MAIN(TestChangelogWindow)
#include "tst_changelog_window_db.moc"
