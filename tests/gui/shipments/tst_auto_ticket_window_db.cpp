#include "auto_ticket_test.h"
#include "console_fixture.h"
#include "gui/console/navigation.h"
#include "window_test.h"
#include "gui/framework/date_box.h"
#include "core/framework/guarded.h"
#include "gui/framework/time_box.h"
#include "gui/masterdata/list_window.h"
#include "gui/masterdata/number_box.h"
#include "gui/shipments/auto_ticket_window.h"
#include "core/shipments/yusa_db.h"

#include <QLineEdit>
#include <QRandomGenerator>
#include <QTableView>
#include <QToolButton>

// 자동송장: yusa orders and their loads per working day, and the loads
// generated from an order.
class TestAutoTicketWindow : public QObject {
    Q_OBJECT

    static constexpr const char *today = "2026-12-10";

    // new, edit, delete, save, cancel, generate
    static QList<bool> order_buttons(const TF_CHOLHAAUTO &w)
    {
        return {w.new_btn->isEnabled(), w.edt_btn->isEnabled(), w.del_btn->isEnabled(), w.sav_btn->isEnabled(),
                w.can_btn->isEnabled(), w.ColorButton1->isEnabled()};
    }

    static QString stored(const AutoBookPlant &p, const char *date, const char *seq, const char *column)
    {
        return p.db()
            .scalar(QStringLiteral("select %1 from yu_suju where ysu_ilja = :d and ysu_seq = :s")
                        .arg(QString::fromLatin1(column)),
                    {{":d", date}, {":s", seq}})
            .toString();
    }

private Q_SLOTS:
    // The console's "자동송장" opens the book modally with the operator
    // logged in as the shipper, and destroys it when it closes.
    void the_console_opens_it()
    {
        ConsoleFixture f;
        f.open();
        f.console->dam_edit->setText(QStringLiteral("김출하"));
        QToolButton *button = f.console->navigation->auto_btn;
        QVERIFY(button->isEnabled());
        QString opened, shipper;
        on_next_modal([&](QWidget *m) {
            opened = m->objectName();
            shipper = m->findChild<QLineEdit *>(QStringLiteral("dam_edit"))->text();
            m->close();
        });
        button->click();
        QCOMPARE(opened, QStringLiteral("F_CHOLHAAUTO"));
        QCOMPARE(shipper, QStringLiteral("김출하"));
        QVERIFY(!f.console->findChild<QDialog *>(QStringLiteral("F_CHOLHAAUTO")));
    }

    void opening_shows_the_day_with_the_operator()
    {
        AutoBookPlant p;
        p.add_order(today, "2");
        p.add_order(today, "1");
        p.add_order("2026-12-09", "3");
        p.add_load(today, "1", "001");
        TF_CHOLHAAUTO w(p.ctx);
        QVERIFY(open_active(&w));
        QCOMPARE(w.windowTitle(), QStringLiteral("자동송장"));
        QCOMPARE(w.working_date, QString::fromLatin1(today));
        QCOMPARE(w.ilja_combo->text_date(), QString::fromLatin1(today));
        QCOMPARE(w.dam_edit->text(), QStringLiteral("홍길동"));
        QCOMPARE(grid_column(w.suju_grid, 0), (QStringList{"1", "2"}));
        QCOMPARE(w.su01->text(), QStringLiteral("1"));
        QCOMPARE(w.su06->time_text(), QStringLiteral("08:00"));
        QCOMPARE(grid_column(w.cholha_grid, 0), QStringList{"001"});
        QCOMPARE(w.ch01->text(), QStringLiteral("001"));
        QVERIFY(!w.su01->isEnabled() && !w.e_hon->isEnabled());
        QCOMPARE(order_buttons(w), (QList<bool>{true, true, true, false, false, true}));
        QVERIFY(w.new_btn->hasFocus());

        // Another day shows its own orders.
        w.ilja_combo->set_text_date("2026-12-09");
        QCOMPARE(w.working_date, QStringLiteral("2026-12-09"));
        QCOMPARE(grid_column(w.suju_grid, 0), QStringList{"3"});
        QCOMPARE(w.cholha_query->rowCount(), 0);
    }

    // With orders 1 to 9 the next is 10, listed between 1 and 2, and it
    // stays the shown order after saving (so 출하 makes its loads).
    void a_new_order_is_numbered_on_and_sorted_as_text()
    {
        AutoBookPlant p;
        for (const char *seq : {"1", "2", "3", "4", "5", "6", "7", "8", "9"})
            p.add_order(today, seq);
        TF_CHOLHAAUTO w(p.ctx);
        QVERIFY(open_active(&w));
        click(w.new_btn);
        QCOMPARE(w.su01->text(), QStringLiteral("10"));
        QStringList defaults{w.su02->text(), w.su03->text(), w.su04->text(), w.su05->text(), w.su06->time_text(),
                             w.su07->text(), w.su08->text(), w.su09->text(), w.su10->text(), w.e_hon->text()};
        QCOMPARE(defaults, (QStringList{"", "", "", "0", "00:00", "00", "보통시멘트", "쇄석", "AE제", "0.5%"}));
        QVERIFY(w.su02->hasFocus());
        QVERIFY(!w.ilja_combo->isEnabled());
        QCOMPARE(order_buttons(w), (QList<bool>{false, false, false, true, true, false}));
        // No load can be made or saved for an order that is not saved.
        QVERIFY(!w.cholha_pan->isEnabled());

        w.su02->setText("A002");
        QTest::keyClick(w.su02, Qt::Key_Return);
        QCOMPARE(w.su02->text(), QStringLiteral("대한건설"));
        QVERIFY(w.su03->hasFocus());
        w.su03->setText("001");
        QTest::keyClick(w.su03, Qt::Key_Return);
        QCOMPARE(w.su03->text(), QStringLiteral("대한 현장"));
        QVERIFY(w.su04->hasFocus());
        w.su04->setText("0101");
        QTest::keyClick(w.su04, Qt::Key_Return);
        QCOMPARE(w.su04->text(), QStringLiteral("25-240-15"));
        QVERIFY(w.su05->hasFocus());
        QTest::keyClick(w.su05, Qt::Key_Return);
        QCOMPARE(p.prompter.last(), QStringLiteral("수주량을 등록하시오."));
        QVERIFY(w.su05->hasFocus());
        w.su05->setText("30");
        QTest::keyClick(w.su05, Qt::Key_Return);
        QVERIFY(w.su06->hasFocus());
        w.su06->set_time_text("09:30");
        w.su07->setText("05");
        press_enter(w.e_hon);
        QVERIFY(w.sav_btn->hasFocus());
        click(w.sav_btn);

        QCOMPARE(grid_column(w.suju_grid, 0), (QStringList{"1", "10", "2", "3", "4", "5", "6", "7", "8", "9"}));
        QCOMPARE(w.suju_grid->currentIndex().row(), 1);
        QCOMPARE(w.su01->text(), QStringLiteral("10"));
        QVERIFY(w.ilja_combo->isEnabled() && w.cholha_pan->isEnabled());
        QCOMPARE(order_buttons(w), (QList<bool>{true, true, true, false, false, true}));
        QStringList row;
        for (const char *c : {"ysu_cu_name", "ysu_hy_name", "ysu_ru_name", "ysu_order_m3", "ysu_first_time",
                              "ysu_wait_time", "ysu_cement", "ysu_gravel", "ysu_japum", "ysu_hon"})
            row << stored(p, today, "10", c);
        QCOMPARE(row, (QStringList{"대한건설", "대한 현장", "25-240-15", "30", "09:30", "05", "보통시멘트", "쇄석",
                                   "AE제", "0.5%"}));
    }

    void saving_an_edited_order_asks_first_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("customer");
        QTest::newRow("declined: nothing written") << false << "한빛건설";
        QTest::newRow("accepted: overwritten") << true << "대한건설";
    }
    void saving_an_edited_order_asks_first()
    {
        QFETCH(bool, answer);
        QFETCH(QString, customer);
        AutoBookPlant p;
        p.add_order(today, "1");
        TF_CHOLHAAUTO w(p.ctx);
        QVERIFY(open_active(&w));
        click(w.edt_btn);
        w.su02->setText("대한건설");
        p.prompter.answers = {answer};
        click(w.sav_btn);
        QCOMPARE(p.prompter.questions, QStringList{"자료가 이미 존재합니다.\n 갱신하시겠습니까?"});
        QCOMPARE(stored(p, today, "1", "ysu_cu_name"), customer);
        // Declined, the entry goes on; accepted, the window browses again.
        QCOMPARE(w.sav_btn->isEnabled(), !answer);
    }

    // Deleted on another PC while it was edited here: nothing comes back.
    void an_edited_order_deleted_meanwhile_is_not_saved()
    {
        AutoBookPlant p;
        p.add_order(today, "1");
        TF_CHOLHAAUTO w(p.ctx);
        QVERIFY(open_active(&w));
        click(w.edt_btn);
        w.su02->setText("대한건설");
        p.exec("delete from yu_suju");
        p.prompter.answers = {true};
        click(w.sav_btn);
        QCOMPARE(p.prompter.last(), QStringLiteral("유사 수주 1이(가) 다른 곳에서 삭제되었습니다. 저장하지 않았습니다."));
        QCOMPARE(p.db().scalar("select count(*) from yu_suju").toInt(), 0);
        QCOMPARE(grid_column(w.suju_grid, 0), QStringList());
    }

    // A number shown as new may be taken by another PC before the save: the
    // order goes under the next free number, the other stays as it is.
    void a_new_order_never_overwrites_a_taken_number()
    {
        AutoBookPlant p;
        p.add_order(today, "1");
        TF_CHOLHAAUTO w(p.ctx);
        QVERIFY(open_active(&w));
        click(w.new_btn);
        w.su01->setText("1");
        w.su02->setText("대한건설");
        w.su03->setText("대한 현장");
        w.su04->setText("25-240-15");
        w.su05->setText("12");
        click(w.sav_btn);
        QCOMPARE(p.prompter.questions, QStringList());
        QCOMPARE(p.prompter.last(), QStringLiteral("순번 1은(는) 다른 곳에서 먼저 사용하여 2(으)로 저장했습니다."));
        QCOMPARE(stored(p, today, "1", "ysu_cu_name"), QStringLiteral("한빛건설"));
        QCOMPARE(stored(p, today, "2", "ysu_cu_name"), QStringLiteral("대한건설"));
        QCOMPARE(w.su01->text(), QStringLiteral("2"));
        QVERIFY(!w.sav_btn->isEnabled());
    }

    void an_order_needs_its_values()
    {
        AutoBookPlant p;
        TF_CHOLHAAUTO w(p.ctx);
        QVERIFY(open_active(&w));
        click(w.new_btn);
        w.su02->setText("대한건설");
        w.su03->setText("대한 현장");
        w.su04->setText("25-240-15");
        click(w.sav_btn);  // quantity 0
        QCOMPARE(p.prompter.last(), QStringLiteral("순번,거래처, 현장, 규격, 출하량을 등록하시오."));
        QCOMPARE(p.db().scalar("select count(*) from yu_suju").toInt(), 0);
        QVERIFY(w.sav_btn->isEnabled());
        click(w.can_btn);
        QCOMPARE(w.su01->text(), QString());
        QCOMPARE(order_buttons(w), (QList<bool>{true, true, true, false, false, true}));
    }

    void deleting_an_order_takes_its_loads_of_that_day()
    {
        AutoBookPlant p;
        p.add_order(today, "1");
        p.add_order(today, "2");
        p.add_order("2026-12-09", "1");
        p.add_load(today, "1", "001");
        p.add_load(today, "1", "002");
        p.add_load(today, "2", "001");
        p.add_load("2026-12-09", "1", "001");
        TF_CHOLHAAUTO w(p.ctx);
        QVERIFY(open_active(&w));
        p.prompter.answers = {false};
        click(w.del_btn);
        QCOMPARE(p.prompter.questions, QStringList{"삭제하겠습니까?"});
        QCOMPARE(p.loads().size(), 4);
        click(w.del_btn);
        QCOMPARE(grid_column(w.suju_grid, 0), QStringList{"2"});
        QCOMPARE(p.loads(), (QStringList{"2026-12-09/1/001 08:00 80-1101-1 6", "2026-12-10/2/001 08:00 80-1101-1 6"}));
        QCOMPARE(stored(p, "2026-12-09", "1", "ysu_seq"), QStringLiteral("1"));
    }

    // Deleting 002 of three leaves 001 and 003; the next new load is
    // numbered 003 (count + 1) and saving it asks before overwriting.
    void load_numbers_and_overwrite()
    {
        AutoBookPlant p;
        p.add_order(today, "1");
        p.add_load(today, "1", "001", "08:00");
        p.add_load(today, "1", "002", "08:05");
        p.add_load(today, "1", "003", "08:10");
        TF_CHOLHAAUTO w(p.ctx);
        QVERIFY(open_active(&w));
        click_row(w.cholha_grid, 1);
        QCOMPARE(w.ch01->text(), QStringLiteral("002"));
        QCOMPARE(w.ch02->time_text(), QStringLiteral("08:05"));
        click(w.chdel_btn);
        QCOMPARE(grid_column(w.cholha_grid, 0), (QStringList{"001", "003"}));

        click(w.chnew_btn);
        QCOMPARE(w.ch01->text(), QStringLiteral("003"));
        QVERIFY(w.ch02->hasFocus());
        // The order side waits while a load is entered.
        QVERIFY(!w.suju_grid->isEnabled() && !w.new_btn->isEnabled() && !w.ColorButton1->isEnabled()
                && !w.ilja_combo->isEnabled());
        w.ch02->set_time_text("09:00");
        w.ch03->setText("1103");
        press_enter(w.ch03);
        QCOMPARE(w.ch03->text(), QStringLiteral("80-1103-1"));
        QVERIFY(w.ch04->hasFocus());
        w.ch04->setText("4");
        w.ch05->setText("16");
        press_enter(w.ch05);
        QVERIFY(w.chsav_btn->hasFocus());
        p.prompter.answers = {false};
        click(w.chsav_btn);
        QCOMPARE(p.prompter.questions.last(), QStringLiteral("자료가 이미 존재합니다.\n 갱신하시겠습니까?"));
        QCOMPARE(p.loads().last(), QStringLiteral("2026-12-10/1/003 08:10 80-1101-1 6"));
        p.prompter.answers = {true};
        click(w.chsav_btn);
        QCOMPARE(p.loads().last(), QStringLiteral("2026-12-10/1/003 09:00 80-1103-1 4"));
        QVERIFY(w.suju_grid->isEnabled() && w.new_btn->isEnabled() && w.ColorButton1->isEnabled());
        QVERIFY(w.chnew_btn->hasFocus() && !w.ch02->isEnabled());

        // A number typed without Enter is zero-filled all the same.
        click(w.chnew_btn);
        w.ch01->setText("7");
        w.ch02->set_time_text("10:00");
        w.ch03->setText("80-1101-1");
        w.ch04->setText("2");
        w.ch05->setText("18");
        click(w.chsav_btn);
        QCOMPARE(p.loads().last(), QStringLiteral("2026-12-10/1/007 10:00 80-1101-1 2"));
    }

    void generating_makes_the_loads_and_sets_the_range()
    {
        AutoBookPlant p;
        p.add_order(today, "1", 20, "08:00", "00");
        TF_CHOLHAAUTO w(p.ctx);
        QVERIFY(open_active(&w));
        click(w.ColorButton1);
        QCOMPARE(p.prompter.shown, QStringList());
        QCOMPARE(p.loads(), (QStringList{"2026-12-10/1/001 08:00 80-1101-1 6", "2026-12-10/1/002 08:02 80-1103-1 6",
                                         "2026-12-10/1/003 08:04 80-1101-1 6", "2026-12-10/1/004 08:06 80-1103-1 2"}));
        QCOMPARE(grid_column(w.cholha_grid, 4), (QStringList{"6", "12", "18", "20"}));
        QCOMPARE(w.first_seq_edit->text(), QStringLiteral("001"));
        QCOMPARE(w.last_seq_edit->text(), QStringLiteral("004"));
        QVERIFY(w.prn_btn->hasFocus());
    }

    void the_seeded_generator_gives_the_gaps()
    {
        AutoBookPlant p;
        p.add_order(today, "1", 600, "06:00", "10");
        TF_CHOLHAAUTO w(p.ctx);
        w.random_seed = [] { return 99u; };
        QVERIFY(open_active(&w));
        click(w.ColorButton1);
        QRandomGenerator same(99);
        const LoadPlan plan = generate_loads({600, "06:00", "10"}, {"80-1101-1", "80-1103-1"}, same);
        QCOMPARE(grid_column(w.cholha_grid, 1).size(), 100);
        QStringList times;
        for (const GeneratedLoad &l : plan.loads)
            times << l.time;
        QCOMPARE(grid_column(w.cholha_grid, 1), times);
    }

    // Whether loads exist is asked of the database for the order shown,
    // not read off the grid, which may be out of date.
    void regenerating_asks_when_the_order_has_loads_data()
    {
        QTest::addColumn<bool>("loads_before");  // in the grid at opening
        QTest::addColumn<bool>("loads_now");     // in the database at the click
        QTest::addColumn<bool>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<QStringList>("loads_of_1");
        const QStringList kept{"001 07:00 80-1102-1 3"};
        const QStringList made{"001 08:00 80-1101-1 6", "002 08:02 80-1103-1 6", "003 08:04 80-1101-1 6",
                               "004 08:06 80-1103-1 2"};
        QTest::newRow("loads: OK replaces them") << true << true << true << true << made;
        QTest::newRow("loads: Cancel keeps them") << true << true << false << true << kept;
        QTest::newRow("added by another PC since: asked") << false << true << false << true << kept;
        QTest::newRow("deleted by another PC since: not asked") << true << false << false << false << made;
        QTest::newRow("none: not asked") << false << false << false << false << made;
    }
    void regenerating_asks_when_the_order_has_loads()
    {
        QFETCH(bool, loads_before);
        QFETCH(bool, loads_now);
        QFETCH(bool, answer);
        QFETCH(bool, asked);
        QFETCH(QStringList, loads_of_1);
        AutoBookPlant p;
        p.add_order(today, "1");
        p.add_order(today, "2");
        p.add_load(today, "2", "001", "09:00", "80-1103-1", 5, 5);
        if (loads_before)
            p.add_load(today, "1", "001", "07:00", "80-1102-1", 3, 3);
        TF_CHOLHAAUTO w(p.ctx);
        QVERIFY(open_active(&w));
        if (loads_before && !loads_now)
            p.exec("delete from yu_cholha where ych_su_seq = '1'");
        if (!loads_before && loads_now)
            p.add_load(today, "1", "001", "07:00", "80-1102-1", 3, 3);
        p.prompter.answers = {answer};
        click(w.ColorButton1);
        QCOMPARE(p.prompter.questions,
                 asked ? QStringList{"출하자료가 이미 존재합니다. 다시 출하하시겠습니까?"} : QStringList());
        QStringList expected;
        for (const QString &l : loads_of_1)
            expected << QStringLiteral("2026-12-10/1/") + l;
        expected << "2026-12-10/2/001 09:00 80-1103-1 5";  // another order's loads stay
        QCOMPARE(p.loads(), expected);
    }

    // Values that would stop the generator half-way are refused before
    // anything is asked or written.
    void refused_values_write_nothing_data()
    {
        QTest::addColumn<double>("quantity");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("interval");
        QTest::addColumn<QString>("message");
        QTest::newRow("interval 59") << 20.0 << "08:00" << "59" << "간격 \"59\"";
        QTest::newRow("interval not whole") << 20.0 << "08:00" << "x" << "간격";
        QTest::newRow("no valid first time") << 20.0 << "25:00" << "00" << "첫차시간";
        QTest::newRow("more than 999 loads") << 6000.0 << "08:00" << "00" << "999대";
    }
    void refused_values_write_nothing()
    {
        QFETCH(double, quantity);
        QFETCH(QString, first);
        QFETCH(QString, interval);
        QFETCH(QString, message);
        AutoBookPlant p;
        p.add_order(today, "1", quantity, qPrintable(first), qPrintable(interval));
        p.add_load(today, "1", "001", "07:00", "80-1102-1", 3, 3);
        const QStringList before = p.loads();
        TF_CHOLHAAUTO w(p.ctx);
        QVERIFY(open_active(&w));
        click(w.ColorButton1);
        QCOMPARE(p.prompter.questions, QStringList());
        QCOMPARE(p.prompter.shown.size(), 1);
        QVERIFY2(p.prompter.last().contains(message), qPrintable(p.prompter.last()));
        QCOMPARE(p.loads(), before);

        // The database operation refuses the stored values by itself too.
        QRandomGenerator random(1);
        try {
            yusa_db::generate(p.db(), today, "1", random);
            QFAIL("generated");
        } catch (const ActionError &e) {
            QVERIFY2(e.message().contains(message), qPrintable(e.message()));
        }
        QCOMPARE(p.loads(), before);
    }

    void only_a_saved_order_gets_loads()
    {
        AutoBookPlant p;
        p.add_order(today, "1");
        TF_CHOLHAAUTO w(p.ctx);
        QVERIFY(open_active(&w));
        p.exec("delete from yu_suju");  // by another PC
        click(w.ColorButton1);
        QVERIFY2(p.prompter.last().contains(QStringLiteral("저장")), qPrintable(p.prompter.last()));
        QCOMPARE(p.loads(), QStringList());
        QRandomGenerator random(1);
        QVERIFY_THROWS_EXCEPTION(ActionError, yusa_db::generate(p.db(), today, "1", random));
        QCOMPARE(p.loads(), QStringList());

        // Nor a hand-entered one.
        click(w.chnew_btn);
        w.ch02->set_time_text("09:00");
        w.ch03->setText("80-1101-1");
        w.ch04->setText("6");
        w.ch05->setText("6");
        click(w.chsav_btn);
        QVERIFY2(p.prompter.last().contains(QStringLiteral("저장")), qPrintable(p.prompter.last()));
        QCOMPARE(p.loads(), QStringList());
    }

    void an_empty_order_makes_nothing()
    {
        AutoBookPlant p;
        TF_CHOLHAAUTO w(p.ctx);
        QVERIFY(open_active(&w));
        click(w.ColorButton1);
        QCOMPARE(p.prompter.shown, QStringList{"데이타를 모두 등록하시오."});
        QCOMPARE(p.loads(), QStringList());
    }

    // The sites are those of the customer picked in su02, whatever code a
    // lookup elsewhere has left in the shared variables since.
    void the_site_is_looked_up_under_the_picked_customer()
    {
        AutoBookPlant p;
        TF_CHOLHAAUTO w(p.ctx);
        QVERIFY(open_active(&w));
        click(w.new_btn);
        w.su02->setText("A002");
        QTest::keyClick(w.su02, Qt::Key_Return);
        p.lookup.lookup_code = QStringLiteral("A001");
        p.lookup.lookup_key = QStringLiteral("A001");
        w.su03->setText("001");
        QTest::keyClick(w.su03, Qt::Key_Return);
        QCOMPARE(w.su03->text(), QStringLiteral("대한 현장"));

        // A customer typed over, not picked: no sites of another customer.
        w.su02->setFocus();
        QTest::keyClicks(w.su02, "x");
        w.su03->setText("001");
        press_enter(w.su03);
        QCOMPARE(w.su03->text(), QStringLiteral("001"));
        QVERIFY(w.su02->hasFocus());
    }

    // A list closed without a pick is "not found": the field keeps its
    // text and the focus, and nothing of an earlier lookup is shown.
    void a_list_closed_without_a_pick_finds_nothing_data()
    {
        QTest::addColumn<QString>("field");
        QTest::newRow("customer") << "su02";
        QTest::newRow("specification") << "su04";
    }
    void a_list_closed_without_a_pick_finds_nothing()
    {
        QFETCH(QString, field);
        AutoBookPlant p;
        TF_CHOLHAAUTO w(p.ctx);
        QVERIFY(open_active(&w));
        click(w.new_btn);
        p.lookup.lookup_code = QStringLiteral("A001");
        p.lookup.lookup_name = QStringLiteral("이전 조회");
        auto *box = w.findChild<QLineEdit *>(field);
        box->setText(QStringLiteral("없는이름"));
        on_next_modal([&](QWidget *) { QTest::keyClick(p.list->Grd_pan, Qt::Key_Escape); });
        press_enter(box);
        QCOMPARE(box->text(), QStringLiteral("없는이름"));
        QTRY_VERIFY(box->hasFocus());
    }

    void a_vehicle_not_picked_leaves_the_field()
    {
        AutoBookPlant p;
        p.add_order(today, "1");
        TF_CHOLHAAUTO w(p.ctx);
        QVERIFY(open_active(&w));
        click(w.chnew_btn);
        p.lookup.lookup_code = QStringLiteral("80-1102-1");
        w.ch03->setText(QStringLiteral("없는기사"));
        on_next_modal([&](QWidget *) { QTest::keyClick(p.list->Grd_pan, Qt::Key_Escape); });
        press_enter(w.ch03);
        QCOMPARE(w.ch03->text(), QStringLiteral("없는기사"));
        QTRY_VERIFY(w.ch03->hasFocus());
    }

    // Cancelling a new order shows the order that was current before it.
    void cancelling_a_new_order_comes_back_to_the_current_one()
    {
        AutoBookPlant p;
        for (const char *seq : {"1", "2", "3"})
            p.add_order(today, seq);
        TF_CHOLHAAUTO w(p.ctx);
        QVERIFY(open_active(&w));
        click_row(w.suju_grid, 2);
        QCOMPARE(w.su01->text(), QStringLiteral("3"));
        click(w.new_btn);
        QCOMPARE(w.su01->text(), QStringLiteral("4"));
        click(w.can_btn);
        QCOMPARE(w.su01->text(), QStringLiteral("3"));
        QCOMPARE(w.suju_grid->currentIndex().row(), 2);
        QCOMPARE(order_buttons(w), (QList<bool>{true, true, true, false, false, true}));
        // After a cancelled edit too.
        click_row(w.suju_grid, 1);
        click(w.edt_btn);
        click(w.can_btn);
        QCOMPARE(w.su01->text(), QStringLiteral("2"));
    }

    // A first-load time that is no time is refused where it is typed and
    // at the save, never stored as no time.
    void a_first_time_that_is_no_time_is_refused_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("half typed") << "9";
        QTest::newRow("no such hour") << "2599";
    }

    void a_first_time_that_is_no_time_is_refused()
    {
        QFETCH(QString, typed);
        AutoBookPlant p;
        p.add_order(today, "1");
        TF_CHOLHAAUTO w(p.ctx);
        QVERIFY(open_active(&w));
        click(w.edt_btn);
        w.su06->setFocus();
        w.su06->selectAll();
        QTest::keyClick(w.su06, Qt::Key_Delete);
        QTest::keyClick(w.su06, Qt::Key_Home);
        QTest::keyClicks(w.su06, typed);
        QVERIFY(!w.su06->has_time());
        QTest::keyClick(w.su06, Qt::Key_Return);
        const QString refused = QStringLiteral("첫차시간을 확인하시오. (시:분, 00:00 ~ 23:59)");
        QCOMPARE(p.prompter.shown, QStringList{refused});
        QTRY_VERIFY(w.su06->hasFocus());
        p.prompter.answers = {true};
        click(w.sav_btn);
        QCOMPARE(p.prompter.shown, (QStringList{refused, refused}));
        QCOMPARE(stored(p, today, "1", "ysu_first_time"), QStringLiteral("08:00"));
        QVERIFY(w.sav_btn->isEnabled());
    }
};

QTEST_MAIN(TestAutoTicketWindow)
#include "tst_auto_ticket_window_db.moc"
