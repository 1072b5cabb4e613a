#include "gui/masterdata/list_window.h"
#include "gui/masterdata/site_window.h"
#include "window_support.h"
#include "window_test.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

// 현장 관리: sites are numbered per customer and stored with the
// customer's copied values.
class TestSiteWindow : public QObject {
    Q_OBJECT

    static void fill(const WindowPlant &plant, const QStringList &a001_sites)
    {
        plant.exec("insert into customer (saup, cust_set, cust_seq, grcd, name, kawn_sa) values"
                   " ('AA', 'A', 1, 'A001', '대한건설(주)', 'T'), ('AA', 'A', 2, 'A002', 'O''Neil 건설', 'S')");
        for (const QString &code : a001_sites)
            plant.exec("insert into r_hyunjang (saup, grcd, code, name, man_code, man_name) values"
                       " ('AA', 'A001', :c, :n, '001', '박영업')",
                       {{":c", code}, {":n", QStringLiteral("현장 ") + code}});
        plant.exec("insert into r_hyunjang (saup, grcd, code, name) values ('AA', 'A002', '001', '다른 현장')");
        plant.exec("insert into youngup (code, man) values ('001', '박영업'), ('002', '최현수')");
    }

    static QSqlRecord site(const WindowPlant &plant, const QString &grcd, const QString &code)
    {
        QSqlQuery q = plant.db().query("select * from r_hyunjang where grcd = :g and code = :c",
                                       {{":g", grcd}, {":c", code}});
        return q.next() ? q.record() : QSqlRecord();
    }

    // The window open, customer A001 chosen and a new site begun.
    static void begin_new_site(TF_HYUNJANG &w)
    {
        QVERIFY(open_active(&w));
        click_row(w.cust_grd, 0);
        click(w.new_btn);
    }

    static double site_count(const WindowPlant &plant)
    {
        return number_or_zero(plant.db().scalar("select count(*) from r_hyunjang"));
    }

private Q_SLOTS:
    void new_needs_a_customer_first()
    {
        WindowPlant plant;
        fill(plant, {});
        TF_HYUNJANG w(plant.ctx);
        QVERIFY(open_active(&w));
        QCOMPARE(w.tab_s->currentWidget(), w.cus_tab);
        QCOMPARE(grid_column(w.cust_grd, 0), (QStringList{"A001", "A002"}));
        QVERIFY(w.code_edt->text().isEmpty() && !w.code_edt->isEnabled() && w.name_edt->isEnabled());
        click(w.new_btn);
        QCOMPARE(plant.prompter.shown,
                 QStringList{QStringLiteral("거래처가 선택되지 않았습니다.\n   거래처를 먼저 선택하시오.")});
        QVERIFY(!w.code1_edt->isEnabled());
        QVERIFY(w.new_btn->isEnabled());
    }

    void clicking_a_customer_lists_only_its_sites()
    {
        WindowPlant plant;
        fill(plant, {"002", "001"});
        TF_HYUNJANG w(plant.ctx);
        QVERIFY(open_active(&w));
        click_row(w.cust_grd, 1);
        QCOMPARE(w.code_edt->text(), QStringLiteral("A002"));
        QCOMPARE(w.name_edt->text(), QStringLiteral("O'Neil 건설"));
        QCOMPARE(w.tab_s->currentWidget(), w.hyu_tab);
        QCOMPARE(grid_column(w.hyun_grd, 1), QStringList{QStringLiteral("다른 현장")});
        QVERIFY(w.new_btn->hasFocus());
        w.tab_s->setCurrentWidget(w.cus_tab);
        click_row(w.cust_grd, 0);
        QCOMPARE(grid_column(w.hyun_grd, 0), (QStringList{"001", "002"}));
        click_row(w.hyun_grd, 1);
        QCOMPARE(w.code1_edt->text(), QStringLiteral("002"));
        QCOMPARE(w.code2_edt->text(), QStringLiteral("001"));
        QCOMPARE(w.name2_edt->text(), QStringLiteral("박영업"));
    }

    void new_proposes_the_next_site_code_data()
    {
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("proposal");
        QTest::newRow("customer without sites") << QStringList{} << "001";
        QTest::newRow("after 009") << QStringList{"001", "009"} << "010";
        QTest::newRow("only the hidden 000") << QStringList{"000"} << "001";
    }

    void new_proposes_the_next_site_code()
    {
        QFETCH(QStringList, existing);
        QFETCH(QString, proposal);
        WindowPlant plant;
        fill(plant, existing);
        TF_HYUNJANG w(plant.ctx);
        begin_new_site(w);
        QCOMPARE(w.code1_edt->text(), proposal);
        QVERIFY(w.name1_edt->text().isEmpty() && w.name1_edt->hasFocus());
        QVERIFY(!w.cust_grd->isEnabled() && w.hyun_grd->isEnabled());
        QVERIFY(!w.new_btn->isEnabled() && w.sav_btn->isEnabled() && w.can_btn->isEnabled());
    }

    void a_new_site_is_stored_with_the_customers_values()
    {
        WindowPlant plant;
        fill(plant, {"001", "002"});
        TF_HYUNJANG w(plant.ctx);
        begin_new_site(w);
        QCOMPARE(w.code1_edt->text(), QStringLiteral("003"));
        w.name1_edt->setText(QStringLiteral("50%현장 '동탄'"));
        w.code2_edt->setText(QStringLiteral("002"));
        press_enter(w.code2_edt);  // the sales person lookup: one match
        QCOMPARE(w.name2_edt->text(), QStringLiteral("최현수"));
        QVERIFY(w.sav_btn->hasFocus());
        // The customer name is stored as the box shows it when saving.
        w.name_edt->setText(QStringLiteral("대한건설"));
        click(w.sav_btn);
        QCOMPARE(plant.prompter.shown, QStringList());
        const QSqlRecord row = site(plant, "A001", "003");
        const QStringList expected{"AA", "A001", "003", "50%현장 '동탄'", "002", "최현수", "H", "대한건설", "A001003", "T"};
        QStringList stored;
        for (const char *c : {"saup", "grcd", "code", "name", "man_code", "man_name", "misu", "grcd_name", "grcode", "kawn_sa"})
            stored << row.value(c).toString();
        QCOMPARE(stored, expected);
        QCOMPARE(grid_column(w.hyun_grd, 0), (QStringList{"001", "002", "003"}));
        QVERIFY(w.new_btn->isEnabled() && !w.code1_edt->isEnabled());
    }

    void enter_in_the_site_code_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("filled");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("new code") << "5" << "005" << "" << "name1_edt";
        QTest::newRow("existing code") << "2" << "002" << "이미 자재 코드가 존재합니다." << "code1_edt";
    }

    void enter_in_the_site_code()
    {
        QFETCH(QString, typed);
        QFETCH(QString, filled);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        WindowPlant plant;
        fill(plant, {"001", "002"});
        TF_HYUNJANG w(plant.ctx);
        begin_new_site(w);
        w.code1_edt->clear();
        w.code1_edt->setFocus();
        QTest::keyClicks(w.code1_edt, typed + "x");
        QCOMPARE(plant.prompter.shown, QStringList{QStringLiteral("숫자만 등록하시오.")});
        plant.prompter.clear();
        QTest::keyClick(w.code1_edt, Qt::Key_Return);
        QCOMPARE(w.code1_edt->text(), filled);
        QCOMPARE(plant.prompter.shown, message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    }

    void save_paths_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("person");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("written");
        QTest::newRow("existing site code") << "002" << "001" << "자료가 이미 존재합니다." << false;
        QTest::newRow("no site code") << "" << "001" << "코드를 입력하시오" << false;
        QTest::newRow("no person in charge") << "003" << "" << "코드를 입력하시오" << false;
        QTest::newRow("a code saved without Enter is zero-filled") << "7" << "001" << "" << true;
    }

    void save_paths()
    {
        QFETCH(QString, code);
        QFETCH(QString, person);
        QFETCH(QString, message);
        QFETCH(bool, written);
        WindowPlant plant;
        fill(plant, {"001", "002"});
        TF_HYUNJANG w(plant.ctx);
        begin_new_site(w);
        w.code1_edt->setText(code);
        w.name1_edt->setText(QStringLiteral("새 현장"));
        w.code2_edt->setText(person);
        click(w.sav_btn);
        QCOMPARE(plant.prompter.shown, message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(site_count(plant), written ? 4.0 : 3.0);
        QCOMPARE(site(plant, "A001", "002").value("name").toString(), QStringLiteral("현장 002"));
        if (written)
            QCOMPARE(site(plant, "A001", "007").value("name").toString(), QStringLiteral("새 현장"));
    }

    // Two office PCs adding a site to the same customer: the second gets
    // the next free code and is told so.
    void the_second_of_two_pcs_saving_the_proposed_code_is_told()
    {
        WindowPlant plant;
        fill(plant, {"001", "002"});
        TF_HYUNJANG first(plant.ctx), second(plant.ctx);
        for (TF_HYUNJANG *w : {&first, &second}) {
            begin_new_site(*w);
            QCOMPARE(w->code1_edt->text(), QStringLiteral("003"));
            w->code2_edt->setText(QStringLiteral("001"));
        }
        first.name1_edt->setText(QStringLiteral("첫째"));
        second.name1_edt->setText(QStringLiteral("둘째"));
        click(first.sav_btn);
        QCOMPARE(plant.prompter.shown, QStringList());
        click(second.sav_btn);
        QCOMPARE(plant.prompter.shown,
                 QStringList{QStringLiteral("현장 코드 003은 다른 곳에서 먼저 사용하여 004로 저장했습니다.")});
        QCOMPARE(site(plant, "A001", "003").value("name").toString(), QStringLiteral("첫째"));
        const QSqlRecord row = site(plant, "A001", "004");
        QCOMPARE(row.value("name").toString(), QStringLiteral("둘째"));
        QCOMPARE(row.value("grcode").toString(), QStringLiteral("A001004"));
        QCOMPARE(grid_column(second.hyun_grd, 0), (QStringList{"001", "002", "003", "004"}));
        QVERIFY(second.new_btn->isEnabled() && !second.sav_btn->isEnabled());
    }

    void the_person_in_charge_is_picked_from_the_list()
    {
        WindowPlant plant;
        fill(plant, {});
        TF_HYUNJANG w(plant.ctx);
        begin_new_site(w);
        w.code2_edt->setText(QStringLiteral("9"));
        on_next_modal([&](QWidget *modal) {
            QCOMPARE(modal, static_cast<QWidget *>(plant.list.get()));
            QCOMPARE(modal->windowTitle(), QStringLiteral("담당자 조회"));
            QTableView *grid = plant.list->Grd_pan;
            click_row(grid, 1, 0);
        });
        press_enter(w.code2_edt);
        QCOMPARE(w.code2_edt->text(), QStringLiteral("002"));
        QCOMPARE(w.name2_edt->text(), QStringLiteral("최현수"));
        QTRY_VERIFY(w.sav_btn->hasFocus());
    }

    void searches_by_name_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("grid");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("customer with a quote") << "name_edt" << "'N" << "cust_grd" << QStringList{"O'Neil 건설"};
        QTest::newRow("the customer's sites") << "name1_edt" << "00" << "hyun_grd"
                                              << QStringList{"현장 001", "현장 002"};
        QTest::newRow("no site with a percent sign") << "name1_edt" << "%" << "hyun_grd" << QStringList{};
    }

    void searches_by_name()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, grid);
        QFETCH(QStringList, listed);
        WindowPlant plant;
        fill(plant, {"002", "001"});
        TF_HYUNJANG w(plant.ctx);
        begin_new_site(w);
        auto *edit = w.findChild<QLineEdit *>(box);
        edit->setText(typed);
        press_enter(edit);
        auto *shown = w.findChild<QTableView *>(grid);
        QCOMPARE(w.tab_s->currentWidget(), shown->parentWidget());
        QCOMPARE(grid_column(shown, 1), listed);
    }

    void a_site_title_click_orders_the_customers_sites()
    {
        WindowPlant plant;
        fill(plant, {});
        plant.exec("insert into r_hyunjang (grcd, code, name) values ('A001', '001', '하남'), ('A001', '002', '가평')");
        TF_HYUNJANG w(plant.ctx);
        QVERIFY(open_active(&w));
        click_row(w.cust_grd, 0);
        click_title(w.hyun_grd, 1);
        QCOMPARE(grid_column(w.hyun_grd, 0), (QStringList{"002", "001"}));
    }
};

QTEST_MAIN(TestSiteWindow)
#include "tst_site_window_db.moc"
