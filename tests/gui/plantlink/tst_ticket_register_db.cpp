#include "console_fixture.h"
#include "window_test.h"
#include "report_check.h"
#include "core/framework/number_text.h"
#include "core/framework/record_table_model.h"
#include "core/plantlink/plant_link.h"
#include "core/reports/change_log_queries.h"
#include "core/shipments/shipment_edit_db.h"
#include "gui/console/order_board.h"
#include "gui/console/vehicle_board.h"
#include "gui/framework/board_grid.h"
#include "gui/framework/date_box.h"
#include "gui/framework/decimal_box.h"
#include "gui/framework/time_box.h"
#include "gui/framework/two_state_switch.h"
#include "gui/shipments/auto_ticket_window.h"
#include "gui/shipments/shipment_editor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QSqlQuery>
#include <QTest>

namespace {
constexpr const char *day = "2026-03-02";

// The console with a copy folder for tickets, order 01 and a truck, and an
// auto-book order of two loads on the same day.
struct Plant : ConsoleFixture {
    QString copies;
    Plant()
    {
        copies = plant.dir.filePath(QStringLiteral("copies"));
        ticket = std::make_unique<TF_QR_SONGJANG>(*plant.dbm, plant.prompter, plant.clock, *reports, copies);
        plant.ctx.qr_songjang = ticket.get();
        add_order(plant, day, "01", 30, 0);
        add_truck(plant, "81-1111-1", "1111", "YES");
        plant.exec(QStringLiteral("update car_code set name = '김기사'"));
        plant.exec(QStringLiteral("insert into r_size (remi_code, standard, rul_ks) values ('1004', '25-210-12', 'KS')"));
        plant.exec(QStringLiteral("insert into enrol (name, japum) values ('새한레미콘', '레미콘')"));
        plant.exec(QStringLiteral("insert into yu_suju (ysu_ilja, ysu_seq, ysu_cu_name, ysu_hy_name, ysu_ru_name,"
                                  " ysu_order_m3, ysu_first_time, ysu_wait_time, ysu_cement, ysu_gravel, ysu_japum,"
                                  " ysu_hon) values (:d, '1', '한빛건설', '한빛 현장', '25-240-15', 12, '08:00', '00',"
                                  " '보통', '쇄석', 'AE', '0.5%')"),
                   {{":d", QString::fromLatin1(day)}});
        for (const char *seq : {"001", "002"})
            plant.exec(QStringLiteral("insert into yu_cholha (ych_ilja, ych_su_seq, ych_seq, ych_time, ych_ca_number,"
                                      " ych_chol_m3, ych_nu_m3) values (:d, '1', :s, :t, '81-1111-1', 6, :n)"),
                       {{":d", QString::fromLatin1(day)}, {":s", QString::fromLatin1(seq)},
                        {":t", QString::fromLatin1(seq)[2] == QLatin1Char('1') ? QStringLiteral("08:00") : QStringLiteral("08:02")},
                        {":n", QString::fromLatin1(seq)[2] == QLatin1Char('1') ? 6.0 : 12.0}});
        open();
        console->dam_edit->setText(QStringLiteral("박반장"));
    }

    // The load of order 01 on truck 1111 weighed by unit 1.
    void record_load()
    {
        if (!console->comm_switch->is_on())
            QTest::mouseClick(console->comm_switch, Qt::LeftButton);
        double_click_row(console->orders->suju_grid, 0);
        double_click_row(console->vehicles->car_grid, 0);
        QTRY_VERIFY(!console->link->sending());
        const int before = loads();
        line1.feed(QByteArray("B"));
        QTRY_COMPARE(loads(), before + 1);
        QTRY_VERIFY(!console->link->sending());
    }
    int loads() const { return plant.db().scalar(QStringLiteral("select count(*) from cholha")).toInt(); }

    // "path reprint book order trip time", oldest first.
    QStringList registered() const
    {
        QSqlQuery q = plant.db().query(QStringLiteral("select * from ticket_register order by entry_id"));
        QStringList rows;
        while (q.next())
            rows << QStringList{q.value("print_path").toString(), q.value("reprint").toString(),
                                q.value("book").toString(), q.value("order_no").toString(),
                                q.value("trip_no").toString(), q.value("load_time").toString(),
                                q.value("op_name").toString()}
                        .join(QLatin1Char(' '));
        rows.sort();
        return rows;
    }

    QStringList data_files() const
    {
        QStringList files;
        QDirIterator it(copies, {QStringLiteral("*.json")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        files.sort();
        return files;
    }
};

QJsonObject read_json(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(f.readAll()).object();
}

// Every file valid against the published schema; the validator's complaints otherwise.
QString schema_problems(const QStringList &files)
{
    const QString schema = QFINDTESTDATA("../docs/ticket-data.schema.json");
    if (schema.isEmpty())
        return QStringLiteral("schema not found");
    QProcess python;
    python.start(QStringLiteral("python3"),
                 QStringList{QStringLiteral("-c"),
                             QStringLiteral("import json, sys, jsonschema\n"
                                            "schema = json.load(open(sys.argv[1]))\n"
                                            "v = jsonschema.Draft202012Validator(schema)\n"
                                            "bad = [f + ': ' + e.message for f in sys.argv[2:]"
                                            " for e in v.iter_errors(json.load(open(f, encoding='utf-8')))]\n"
                                            "print('\\n'.join(bad)); sys.exit(1 if bad else 0)\n"),
                             schema}
                     + files);
    if (!python.waitForFinished(30000))
        return QStringLiteral("python3 did not run");
    if (python.exitStatus() != QProcess::NormalExit || python.exitCode() != 0)
        return QString::fromUtf8(python.readAllStandardOutput() + python.readAllStandardError());
    return QString();
}

// The data file says what its PDF copy shows.
void matches_its_pdf(const QString &json_path)
{
    const QJsonObject json = read_json(json_path);
    const QString pdf = json_path.left(json_path.size() - 5) + QStringLiteral(".pdf");
    QVERIFY2(QFile::exists(pdf), qPrintable(pdf));
    const QString text = all_text(pdf_words(pdf));
    const QJsonObject printed = json.value(QLatin1String("printed_text")).toObject();
    for (auto it = printed.begin(); it != printed.end(); ++it) {
        const QString value = it.value().toString();
        if (!value.isEmpty() && it.key() != QLatin1String("ks_mark"))
            QVERIFY2(text.contains(value), qPrintable(it.key() + " " + value + " not in: " + text));
    }
    QCOMPARE(number_2n(json.value(QLatin1String("quantity_m3")).toDouble()), printed.value(QLatin1String("quantity")).toString());
    QCOMPARE(number_2n(json.value(QLatin1String("cumulative_m3")).toDouble()),
             printed.value(QLatin1String("cumulative")).toString());
    QCOMPARE(json.value(QLatin1String("ks_mark")).toBool(), !text.contains(QStringLiteral("규격외 제품")));
}
}

// Every delivery ticket printed, by any path, is registered once.
class TestTicketRegister : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void every_path_registers_its_ticket_once()
    {
        Plant p;
        p.record_load();  // "자동인쇄": the console prints its ticket
        QTRY_COMPARE(p.registered().size(), 1);

        p.click_row(p.console->orders->suju_grid, 0);
        QTRY_COMPARE(p.console->orders->cholha_query->rowCount(), 1);
        p.click_row(p.console->orders->cholha_grid, 0);
        p.console->reprint_btn->click();

        {
            TF_CHOLHAEDIT editor(p.plant.ctx);
            QVERIFY(open_active(&editor));
            editor.prn_btn->click();
            editor.songjang_chk->click();
            editor.Edt_Sujuno->setText(QStringLiteral("01"));
            editor.first_seq_edit->setText(QStringLiteral("001"));
            editor.last_seq_edit->setText(QStringLiteral("001"));
            editor.Btn_Ok->click();
        }

        p.handprint->HD02->set_text_date(QString::fromLatin1(day));
        p.handprint->HD03->setText(QStringLiteral("수기 거래처"));
        p.handprint->HD05->setText(QStringLiteral("9999"));
        p.handprint->HD08->set_value(6);
        p.handprint->HD10->set_value(6);
        p.handprint->HD14->set_time_text(QStringLiteral("11:30"));
        p.handprint->BTN_PRN->click();

        {
            TF_CHOLHAAUTO book(p.plant.ctx);
            QVERIFY(open_active(&book));
            click_row(book.cholha_grid, 0);
            click(book.chprn_btn);
            book.first_seq_edit->setText(QStringLiteral("001"));
            book.last_seq_edit->setText(QStringLiteral("002"));
            click(book.prn_btn);
        }

        const QString time = p.plant.db().scalar(QStringLiteral("select o_otime from cholha")).toString();
        QStringList expected{QStringLiteral("console N cholha 01 001 %1 박반장").arg(time),
                             QStringLiteral("reprint Y cholha 01 001 %1 박반장").arg(time),
                             QStringLiteral("editor Y cholha 01 001 %1 박반장").arg(time),
                             QStringLiteral("editor_range Y cholha 01 001 %1 박반장").arg(time),
                             QStringLiteral("hand N hand    박반장"),
                             QStringLiteral("auto N yu_cholha 1 001 08:00 박반장"),
                             QStringLiteral("auto_range Y yu_cholha 1 001 08:00 박반장"),
                             QStringLiteral("auto_range N yu_cholha 1 002 08:02 박반장")};
        expected.sort();
        QCOMPARE(p.registered(), expected);
        QCOMPARE(p.printed().size(), 8);
        QCOMPARE(p.plant.prompter.errors, QStringList());

        // Each print left its data beside its copy, valid and as printed.
        const QStringList files = p.data_files();
        QCOMPARE(files.size(), 8);
        QCOMPARE(schema_problems(files), QString());
        QList<QJsonObject> by_path;
        for (const QString &f : files) {
            const QJsonObject json = read_json(f);
            const QString path = json.value(QLatin1String("printed")).toObject().value(QLatin1String("path")).toString();
            if (path == QLatin1String("console") || path == QLatin1String("reprint") || path == QLatin1String("hand")) {
                matches_its_pdf(f);
                by_path << json;
            }
        }
        QCOMPARE(by_path.size(), 3);
        for (const QJsonObject &json : by_path) {
            const QJsonObject printed = json.value(QLatin1String("printed")).toObject();
            QCOMPARE(printed.value(QLatin1String("by")).toString(), QStringLiteral("박반장"));
            QCOMPARE(json.value(QLatin1String("plant")).toObject().value(QLatin1String("name")).toString(),
                     QStringLiteral("새한레미콘"));
            if (printed.value(QLatin1String("path")).toString() == QLatin1String("hand")) {
                QCOMPARE(json.value(QLatin1String("book")).toString(), QStringLiteral("hand"));
                QCOMPARE(json.value(QLatin1String("customer")).toString(), QStringLiteral("수기 거래처"));
                QCOMPARE(json.value(QLatin1String("departure")).toString(), QStringLiteral("11:30"));
            } else {
                QCOMPARE(printed.value(QLatin1String("reprint")).toBool(),
                         printed.value(QLatin1String("path")).toString() == QLatin1String("reprint"));
                QCOMPARE(json.value(QLatin1String("specification")).toObject().value(QLatin1String("name")).toString(),
                         QStringLiteral("25-210-12"));
                QCOMPARE(json.value(QLatin1String("trip_no")).toInt(), 1);
                QCOMPARE(json.value(QLatin1String("quantity_m3")).toDouble(), 6.0);
                QCOMPARE(json.value(QLatin1String("mortar_m3")).toDouble(), 0.0);
                QCOMPARE(json.value(QLatin1String("load_time")).toString(), time);
                QVERIFY(json.value(QLatin1String("ks_mark")).toBool());
            }
        }
    }

    void a_failed_print_registers_nothing()
    {
        Plant p;
        p.plant.dbm->settings.top_margin = QStringLiteral("x");
        p.handprint->HD03->setText(QStringLiteral("수기 거래처"));
        p.handprint->BTN_PRN->click();
        // A printer (here: a PDF folder) that cannot take the ticket.
        QFile blocker(p.plant.dir.filePath(QStringLiteral("not-a-folder")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        ReportOutput broken(blocker.fileName() + QStringLiteral("/pdf"));
        TF_QR_SONGJANG ticket(*p.plant.dbm, p.plant.prompter, p.plant.clock, broken, p.copies);
        p.plant.ctx.qr_songjang = &ticket;
        p.plant.dbm->settings.top_margin = QStringLiteral("2");
        p.handprint->BTN_PRN->click();
        QCOMPARE(p.plant.prompter.errors.size(), 2);
        QCOMPARE(p.registered(), QStringList());
        QCOMPARE(p.data_files(), QStringList());
    }

    void loads_without_a_ticket_are_listed()
    {
        Plant p;
        p.console->prn_sel->setCurrentText(QStringLiteral("수동인쇄"));
        p.record_load();
        shipment_edit_db::SaveRequest hand;
        hand.board_date = QString::fromLatin1(day);
        hand.shipment = {QString::fromLatin1(day), QString::fromLatin1(day), QStringLiteral("07:30:00"), 5, 0,
                         QStringLiteral("1111"), QString(), QStringLiteral("81-1111-1"), QStringLiteral("01"),
                         QStringLiteral("**"), QStringLiteral("1")};
        shipment_edit_db::save(p.plant.db(), hand);
        QCOMPARE(p.registered(), QStringList());
        const auto unprinted = [&] {
            QStringList rows;
            for (const QSqlRecord &r : change_log_queries::unprinted(p.plant.db(), {QString::fromLatin1(day), QString::fromLatin1(day)}))
                rows << r.value("o_scode").toString() + QLatin1Char(' ') + r.value("o_otime").toString();
            return rows;
        };
        const QString recorded = p.plant.db().scalar(QStringLiteral("select o_otime from cholha where o_otime <> '07:30:00'")).toString();
        // By trip: the load entered by hand afterwards is trip 002.
        QCOMPARE(unprinted(), (QStringList{QStringLiteral("01 ") + recorded, QStringLiteral("01 07:30:00")}));

        TF_CHOLHAEDIT editor(p.plant.ctx);
        QVERIFY(open_active(&editor));
        editor.songjang_chk->click();
        editor.Edt_Sujuno->setText(QStringLiteral("01"));
        editor.first_seq_edit->setText(QStringLiteral("002"));
        editor.last_seq_edit->setText(QStringLiteral("002"));
        editor.Btn_Ok->click();
        QCOMPARE(p.registered().size(), 1);
        QCOMPARE(unprinted(), QStringList{QStringLiteral("01 ") + recorded});
    }
};

QTEST_MAIN(TestTicketRegister)
#include "tst_ticket_register_db.moc"
