#include "gui/framework/date_box.h"
#include "core/framework/record_table_model.h"
#include "gui/framework/time_box.h"
#include "gui/masterdata/list_window.h"
#include "gui/framework/decimal_box.h"
#include "gui/orders/suju_window.h"
#include "window_support.h"
#include "window_test.h"
#include "xlsx_check.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

// 수주관리: orders of a day entered, changed and deleted, with the
// customer, site and specification looked up and a price proposed.
class TestSujuWindow : public QObject {
    Q_OBJECT

    static constexpr const char *day = "2026-03-02";

    static void fill(const WindowPlant &p)
    {
        p.exec("insert into customer (saup, grcd, name, kawn_sa, vat, misu, rank, julsa) values"
               " ('AA', 'A001', '대한건설(주)', 'S', 'V', 'H', 'A', '10'),"
               " ('AA', 'K001', '조달청 ''서울''', 'K', 'N', 'G', 'B', '0'),"
               " ('AA', 'F001', '부실건설', 'T', 'X', 'G', 'F', '1'),"
               " ('AA', 'X001', '미분류', 'Q', 'Z', 'Q', 'C', '1')");
        p.exec("insert into r_hyunjang (saup, grcd, code, name, man_code, man_name, misu, memo, ground_tel,"
               " order_nul, build, gover, gover_num, ilja) values"
               " ('AA', 'A001', '001', '동탄 2지구', '001', '박영업', 'H', '야간 타설', '031-111-2222',"
               "  95, '대한시공', '', '', '2026-01-05'),"
               " ('AA', 'A001', '002', '오산 물류', '009', '없는사람', 'G', '', '', 93.3, '', '', '', ''),"
               " ('AA', 'K001', '001', '세종 청사', '002', '최현수', 'G', '', '', 100, '', '행복청', 'G-77', ''),"
               " ('AA', 'F001', '001', '부실 현장', '001', '박영업', 'G', '', '', 80, '', '', '', ''),"
               " ('AA', 'X001', '001', '미분류 현장', '001', '박영업', 'G', '', '', 100, '', '', '', '')");
        p.exec("insert into youngup (code, man) values ('001', '박영업'), ('002', '최현수')");
        p.exec("insert into r_size (remi_code, standard, kind, gubun, kwan_danga, sa_danga) values"
               " ('0101', '25-24-150', '보통', '2', 68000, 70000),"
               " ('0102', '25-30-150', '고강도', '0', 71000, 80000)");
        p.exec("insert into carry (code, dis_kum) values ('12', 5000), ('20', 8000)");
    }

    static void add_order(const WindowPlant &p, const QString &seq, const QString &grcd, const QString &code,
                          double m3, double shipped, double danga = 66000, const QString &date = day)
    {
        p.exec("insert into r_suju (ilja, seq, grcd, v_inout, code, v_station, time_, saup, dist, v_okno,"
               " memo, ground, remi_code, v_rule, order_m3, danga, vat, v_outorder, v_reorder, v_ccount,"
               " v_state, kind, cement, gravel, japum, con, v_hon) values (:d, :s, :g, '거래처', :c, '현장',"
               " '08:30', 'AA', 12, '도선아님', '메모', '3동', '0101', '25-24-150', :m, :p, 'V', :o, :r, 0,"
               " 'YES', '보통', '보통시멘트', '쇄석', '일반', '레미콘', '0.5')",
               {{":d", date}, {":s", seq}, {":g", grcd}, {":c", code}, {":m", m3}, {":p", danga},
                {":o", shipped}, {":r", m3 - shipped}});
    }

    static QSqlRecord order(const WindowPlant &p, const QString &seq)
    {
        QSqlQuery q = p.db().query("select * from r_suju where ilja = :d and seq = :s", {{":d", day}, {":s", seq}});
        return q.next() ? q.record() : QSqlRecord();
    }

    static int count(const WindowPlant &p, const char *sql)
    {
        return int(number_or_zero(p.db().scalar(QString::fromLatin1(sql))));
    }

    static void type_into(QWidget *field, const QString &ascii)
    {
        field->setFocus();
        if (auto *line = qobject_cast<QLineEdit *>(field))
            line->clear();
        QTest::keyClicks(field, ascii);
    }

    static void enter(QWidget *field, const QString &ascii)
    {
        type_into(field, ascii);
        QTest::keyClick(field, Qt::Key_Return);
    }

    // The window open on the fixture's day, a new order begun and its
    // number proposed.
    static void begin_new(WindowPlant &p, TF_SUJU &w)
    {
        p.clock.set(QDateTime(QDate(2026, 3, 2), QTime(9, 0)));
        QVERIFY(open_active(&w));
        click(w.newbtn);
        press_enter(w.HY01);
    }

    // Customer A001, site 001, specification 0101 confirmed with Enter.
    static void enter_codes(TF_SUJU &w, const QString &grcd = "A001", const QString &site = "001")
    {
        enter(w.HY03, grcd);
        enter(w.HY05, site);
        enter(w.HY29, "0101");
    }

private Q_SLOTS:
    void opening_shows_the_day_in_browse_state()
    {
        WindowPlant plant;
        fill(plant);
        plant.clock.set(QDateTime(QDate(2026, 3, 2), QTime(9, 0)));
        add_order(plant, "02", "A001", "001", 30, 0);
        add_order(plant, "01", "K001", "001", 12.5, 0);
        add_order(plant, "01", "A001", "001", 9, 0, 1, "2026-03-01");
        TF_SUJU w(plant.ctx);
        QVERIFY(open_active(&w));
        QCOMPARE(w.windowTitle(), QStringLiteral("수주관리"));
        QCOMPARE(w.HY01->text_date(), QString::fromLatin1(day));
        QCOMPARE(w.PageControl1->currentWidget(), w.TabSheet3);
        QCOMPARE(grid_column(w.gridhord3, 0), (QStringList{"01", "02"}));
        QCOMPARE(grid_column(w.gridhord3, 5), (QStringList{"12.50", "30.00"}));
        QCOMPARE(w.suju_query->columns().size(), 12);
        QVERIFY(w.newbtn->isEnabled() && w.edtbtn->isEnabled() && w.delbtn->isEnabled());
        QVERIFY(!w.savbtn->isEnabled() && !w.canbtn->isEnabled());
        QVERIFY(!w.HY03->isEnabled() && !w.HY31->isEnabled() && w.hy36->isEnabled());
        QCOMPARE(w.hy20->count(), 1);
        QCOMPARE(w.hy20->itemText(0), QStringLiteral("보통시멘트"));
        QCOMPARE(w.hy37->currentText(), QStringLiteral("NO"));
        QCOMPARE(w.HY24->text(), QStringLiteral("00:00"));
        QVERIFY(w.findChild<QWidget *>("TabSheet1") && w.findChild<QWidget *>("TabSheet2"));
    }

    void the_next_number_is_proposed_data()
    {
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("proposal");
        QTest::newRow("empty day") << QStringList{} << "01";
        QTest::newRow("after 09") << QStringList{"01", "09"} << "10";
        QTest::newRow("after 99") << QStringList{"98", "99"} << "00";
    }

    void the_next_number_is_proposed()
    {
        QFETCH(QStringList, existing);
        QFETCH(QString, proposal);
        WindowPlant plant;
        fill(plant);
        for (const QString &seq : existing)
            add_order(plant, seq, "A001", "001", 6, 0);
        TF_SUJU w(plant.ctx);
        begin_new(plant, w);
        QCOMPARE(w.HY02->text(), proposal);
        QVERIFY(w.HY02->hasFocus());
        QCOMPARE(w.entry_mode(), 1);
    }

    void a_new_order_is_stored_with_the_proposed_price()
    {
        WindowPlant plant;
        fill(plant);
        TF_SUJU w(plant.ctx);
        begin_new(plant, w);
        QCOMPARE(w.hy20->currentText(), plant.dbm->settings.cement_text);
        press_enter(w.HY02);
        QVERIFY(w.HY03->hasFocus());  // no such order: on to the customer
        enter(w.HY03, "A001");
        QCOMPARE(w.hy04->text(), QStringLiteral("대한건설(주)"));
        QCOMPARE(w.HY07->text(), QStringLiteral("민수1"));
        QCOMPARE(w.HY13->text(), QStringLiteral("별도"));
        QCOMPARE(w.hy36->text(), QStringLiteral("V"));
        QVERIFY(w.HY05->hasFocus());
        enter(w.HY05, "001");
        QCOMPARE(w.HY06->text(), QStringLiteral("동탄 2지구"));
        QCOMPARE(w.HY08->text(), QStringLiteral("박영업"));
        QCOMPARE(w.HY10->text(), QStringLiteral("현장별"));
        QCOMPARE(w.HY12->text(), QStringLiteral("2026-01-05"));
        QCOMPARE(w.hy14->text(), QStringLiteral("95"));
        QVERIFY(w.HY24->hasFocus());
        type_into(w.HY24, "0730");
        QTest::keyClick(w.HY24, Qt::Key_Return);
        QVERIFY(w.HY25->hasFocus());
        enter(w.HY25, "12");
        QCOMPARE(w.HY25->plain(), QStringLiteral("12"));
        QVERIFY(w.HY29->hasFocus());
        enter(w.HY29, "0101");
        QCOMPARE(w.HY30->text(), QStringLiteral("25-24-150"));
        QCOMPARE(w.hy38->text(), QStringLiteral("보통"));
        QCOMPARE(w.HY32->text(), QStringLiteral("66,500"));  // 95 % of 70,000, cut to hundreds
        QVERIFY(w.HY31->hasFocus());
        enter(w.HY31, "6.125");
        w.HY27->setText(QStringLiteral("50% '선불' \"확인\""));
        w.e_hon->setText(QStringLiteral("0.8"));
        w.HY25->set_plain(QStringLiteral("12.7"));  // typed without Enter
        w.HY28->setText(QString(60, QChar(0xB3D9)));  // longer than the column
        click(w.savbtn);
        QVERIFY2(plant.prompter.shown.isEmpty(), qPrintable(plant.prompter.shown.join('|')));
        const QSqlRecord row = order(plant, "01");
        QCOMPARE(row.value("grcd").toString(), QStringLiteral("A001"));
        QCOMPARE(row.value("v_station").toString(), QStringLiteral("동탄 2지구"));
        QCOMPARE(row.value("time_").toString(), QStringLiteral("07:30"));
        QCOMPARE(row.value("dist").toDouble(), 12.0);
        QCOMPARE(row.value("order_m3").toDouble(), 6.125);
        QCOMPARE(row.value("v_reorder").toDouble(), 6.125);
        QCOMPARE(row.value("v_outorder").toDouble(), 0.0);
        QCOMPARE(row.value("danga").toDouble(), 66500.0);
        QCOMPARE(row.value("vat").toString(), QStringLiteral("V"));
        QCOMPARE(row.value("v_state").toString(), QStringLiteral("YES"));
        QCOMPARE(row.value("memo").toString(), QStringLiteral("50% '선불' \"확인\""));
        QCOMPARE(row.value("v_hon").toString(), QStringLiteral("0.8"));
        QCOMPARE(row.value("v_rule").toString(), QStringLiteral("25-24-150"));
        QCOMPARE(row.value("ground").toString(), QString(50, QChar(0xB3D9)));
        // Back to browse with the list reloaded.
        QVERIFY(!w.savbtn->isEnabled() && w.newbtn->isEnabled() && !w.HY03->isEnabled());
        QCOMPARE(grid_column(w.gridhord3, 0), QStringList{"01"});
        QVERIFY(w.hy04->text().isEmpty());
    }

    void an_earlier_price_wins_over_the_computed_one_data()
    {
        QTest::addColumn<QString>("grcd");
        QTest::addColumn<double>("earlier");
        QTest::addColumn<QString>("shown");
        QTest::newRow("earlier price") << "A001" << 64250.0 << "64,250";
        QTest::newRow("earlier price 0") << "A001" << 0.0 << "66,500";
        QTest::newRow("government customer") << "K001" << 0.0 << "68,000";
    }

    void an_earlier_price_wins_over_the_computed_one()
    {
        QFETCH(QString, grcd);
        QFETCH(double, earlier);
        QFETCH(QString, shown);
        WindowPlant plant;
        fill(plant);
        add_order(plant, "01", grcd, "001", 6, 0, 61000, "2025-12-01");
        add_order(plant, "01", grcd, "001", 6, 0, earlier, "2026-02-01");
        TF_SUJU w(plant.ctx);
        begin_new(plant, w);
        enter_codes(w, grcd);
        QCOMPARE(w.HY32->text(), shown);
    }

    void a_bad_number_or_missing_code_saves_nothing_data()
    {
        QTest::addColumn<QString>("seq");
        QTest::addColumn<QString>("skip");  // what is left unconfirmed
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("00") << "00" << "" << "6" << "순번을 확인하세요" << "HY02";
        QTest::newRow("one digit") << "7" << "" << "6" << "순번을 확인하세요" << "HY02";
        QTest::newRow("empty number") << "" << "" << "6" << "순번을 확인하세요" << "HY02";
        QTest::newRow("customer typed over") << "01" << "customer" << "6" << "거래처를 확인하세요" << "HY03";
        QTest::newRow("site typed over") << "01" << "site" << "6" << "현장을 확인하세요" << "HY05";
        QTest::newRow("specification typed over") << "01" << "spec" << "6" << "규격을 확인하세요" << "HY29";
        QTest::newRow("no quantity") << "01" << "" << "0" << "수주량을 확인하세요" << "HY31";
        QTest::newRow("half-typed time") << "01" << "time" << "6" << "첫차시간을 확인하세요" << "HY24";
    }

    void a_bad_number_or_missing_code_saves_nothing()
    {
        QFETCH(QString, seq);
        QFETCH(QString, skip);
        QFETCH(QString, quantity);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        WindowPlant plant;
        fill(plant);
        TF_SUJU w(plant.ctx);
        begin_new(plant, w);
        enter_codes(w);
        enter(w.HY31, quantity);
        w.HY02->setText(seq);
        if (skip == "customer")
            w.HY03->setText("K001");
        if (skip == "site")
            w.HY05->setText("002");
        if (skip == "spec")
            w.HY29->setText("0102");
        if (skip == "time")
            type_into(w.HY24, "12");
        click(w.savbtn);
        QCOMPARE(plant.prompter.shown, QStringList{message});
        QCOMPARE(count(plant, "select count(*) from r_suju"), 0);
        QVERIFY(w.savbtn->isEnabled());  // still entering
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    }

    void saving_an_existing_number_asks_before_updating_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::addColumn<double>("quantity");
        QTest::addColumn<double>("remaining");
        QTest::newRow("cancel") << false << 30.0 << 30.0;
        QTest::newRow("ok, more than shipped") << true << 40.0 << 22.0;
        QTest::newRow("ok, less than shipped") << true << 10.0 << 0.0;
    }

    void saving_an_existing_number_asks_before_updating()
    {
        QFETCH(bool, answer);
        QFETCH(double, quantity);
        QFETCH(double, remaining);
        WindowPlant plant;
        fill(plant);
        add_order(plant, "01", "A001", "001", 30, 0);
        TF_SUJU w(plant.ctx);
        plant.clock.set(QDateTime(QDate(2026, 3, 2), QTime(9, 0)));
        QVERIFY(open_active(&w));
        click_row(w.gridhord3, 0);
        QCOMPARE(w.HY02->text(), QStringLiteral("01"));
        click(w.edtbtn);
        QVERIFY(!w.HY02->isEnabled() && w.HY31->isEnabled());
        // A load recorded meanwhile: the update reads the shipped quantity anew.
        plant.exec("update r_suju set v_outorder = 18");
        enter(w.HY31, QString::number(quantity));
        plant.prompter.answers = {answer};
        click(w.savbtn);
        QCOMPARE(plant.prompter.questions, QStringList{QStringLiteral("자료가 이미 존재합니다.\r 갱신하시겠습니까?")});
        const QSqlRecord row = order(plant, "01");
        QCOMPARE(row.value("order_m3").toDouble(), answer ? quantity : 30.0);
        QCOMPARE(row.value("v_reorder").toDouble(), remaining);
        QCOMPARE(row.value("v_outorder").toDouble(), 18.0);
        QCOMPARE(w.savbtn->isEnabled(), !answer);
        QCOMPARE(w.HY31->plain(), answer ? QStringLiteral("0") : QString::number(quantity));
    }

    void a_new_order_never_replaces_one_data()
    {
        QTest::addColumn<QString>("typed");  // "" keeps the proposal
        QTest::addColumn<QString>("message");
        QTest::newRow("proposal taken by another PC meanwhile")
            << "" << "순번 02는 다른 곳에서 먼저 사용하여 03으로 저장했습니다.";
        QTest::newRow("an existing number typed") << "01" << "순번 01은 다른 곳에서 먼저 사용하여 03으로 저장했습니다.";
    }

    void a_new_order_never_replaces_one()
    {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        WindowPlant plant;
        fill(plant);
        add_order(plant, "01", "K001", "001", 30, 0);
        TF_SUJU w(plant.ctx);
        begin_new(plant, w);
        QCOMPARE(w.HY02->text(), QStringLiteral("02"));
        if (!typed.isEmpty())
            enter(w.HY02, typed);  // brings that order's fields
        else
            press_enter(w.HY02);
        enter_codes(w);
        enter(w.HY31, "6");
        add_order(plant, "02", "K001", "001", 12, 0);  // saved on another PC
        click(w.savbtn);
        QCOMPARE(plant.prompter.questions, QStringList());
        QCOMPARE(plant.prompter.shown, QStringList{message});
        QCOMPARE(order(plant, "01").value("order_m3").toDouble(), 30.0);
        QCOMPARE(order(plant, "02").value("order_m3").toDouble(), 12.0);
        QCOMPARE(order(plant, "02").value("grcd").toString(), QStringLiteral("K001"));
        const QSqlRecord stored = order(plant, "03");
        QCOMPARE(stored.value("grcd").toString(), QStringLiteral("A001"));
        QCOMPARE(stored.value("order_m3").toDouble(), 6.0);
        QCOMPARE(stored.value("v_reorder").toDouble(), 6.0);
        QCOMPARE(grid_column(w.gridhord3, 0), (QStringList{"01", "02", "03"}));
        QVERIFY(!w.savbtn->isEnabled() && w.newbtn->isEnabled());
    }

    void an_order_with_loads_is_not_deleted()
    {
        WindowPlant plant;
        fill(plant);
        add_order(plant, "01", "A001", "001", 30, 12);
        plant.exec("insert into cholha (o_date, o_fdate, o_scode, o_count, o_carnum, o_outorder) values"
                   " ('2026-03-02', '2026-03-02', '01', '001', '81-1111-1', 6),"
                   " ('2026-03-02', '2026-03-02', '01', '002', '81-1111-1', 6)");
        plant.exec("insert into cont_carry (ilja, seq, gubun, danga) values ('2026-03-02', '01', 'A', 3000)");
        TF_SUJU w(plant.ctx);
        plant.clock.set(QDateTime(QDate(2026, 3, 2), QTime(9, 0)));
        QVERIFY(open_active(&w));
        click_row(w.gridhord3, 0);
        click(w.delbtn);
        QCOMPARE(plant.prompter.questions, QStringList{QStringLiteral("삭제하겠습니까?")});
        QCOMPARE(plant.prompter.last(), QStringLiteral("출하된 자료가 2건 있어 삭제할 수 없습니다."));
        QCOMPARE(count(plant, "select count(*) from r_suju"), 1);
        QCOMPARE(count(plant, "select count(*) from cont_carry"), 1);
    }

    void deleting_removes_the_fee_rows_and_returns_to_browse()
    {
        WindowPlant plant;
        fill(plant);
        add_order(plant, "01", "A001", "001", 30, 0);
        add_order(plant, "02", "A001", "001", 30, 0);
        plant.exec("insert into cont_carry (ilja, seq, gubun, danga) values ('2026-03-02', '01', 'A', 3000),"
                   " ('2026-03-02', '01', 'B', 500), ('2026-03-02', '02', 'A', 3000)");
        TF_SUJU w(plant.ctx);
        plant.clock.set(QDateTime(QDate(2026, 3, 2), QTime(9, 0)));
        QVERIFY(open_active(&w));
        click_row(w.gridhord3, 0);
        click(w.edtbtn);
        plant.prompter.answers = {false};
        click(w.delbtn);
        QCOMPARE(count(plant, "select count(*) from r_suju"), 2);
        click(w.delbtn);
        QCOMPARE(count(plant, "select count(*) from r_suju where seq = '01'"), 0);
        QCOMPARE(count(plant, "select count(*) from cont_carry where seq = '01'"), 0);
        QCOMPARE(count(plant, "select count(*) from cont_carry"), 1);
        QCOMPARE(grid_column(w.gridhord3, 0), QStringList{"02"});
        // A second 저장 cannot store an empty order under the deleted number.
        QVERIFY(!w.savbtn->isEnabled() && w.newbtn->isEnabled());
        QVERIFY(!w.HY03->isEnabled() && w.HY02->text().isEmpty());
    }

    void a_row_click_loads_the_order_with_its_classes()
    {
        WindowPlant plant;
        fill(plant);
        add_order(plant, "01", "A001", "001", 30, 0);
        add_order(plant, "02", "X001", "001", 30, 0);
        add_order(plant, "03", "A001", "002", 30, 0);  // its sales person is unknown
        plant.exec("update r_suju set v_hon = '1.2' where seq = '02'");
        TF_SUJU w(plant.ctx);
        plant.clock.set(QDateTime(QDate(2026, 3, 2), QTime(9, 0)));
        QVERIFY(open_active(&w));
        click_row(w.gridhord3, 0);
        QCOMPARE(w.HY07->text(), QStringLiteral("민수1"));
        QCOMPARE(w.HY13->text(), QStringLiteral("별도"));
        QCOMPARE(w.HY10->text(), QStringLiteral("현장별"));
        QCOMPARE(w.HY08->text(), QStringLiteral("박영업"));
        QCOMPARE(w.HY24->time_text(), QStringLiteral("08:30"));
        click_row(w.gridhord3, 1);
        QCOMPARE(w.HY02->text(), QStringLiteral("02"));
        QCOMPARE(w.hy04->text(), QStringLiteral("미분류"));
        QCOMPARE(w.HY07->text(), QStringLiteral("민수1"));
        QCOMPARE(w.HY13->text(), QStringLiteral("무시"));
        QCOMPARE(w.HY10->text(), QStringLiteral("현장통합"));
        QCOMPARE(w.cust_vat(), QStringLiteral("Z"));
        QCOMPARE(w.cust_julsa(), QStringLiteral("1"));
        QCOMPARE(w.e_hon->text(), QStringLiteral("1.2"));
        click_row(w.gridhord3, 2);
        QCOMPARE(w.HY02->text(), QStringLiteral("03"));
        QCOMPARE(w.HY06->text(), QStringLiteral("오산 물류"));
        QVERIFY(w.HY08->text().isEmpty());
        QCOMPARE(w.hy14->text(), QStringLiteral("93.3"));
    }

    void a_loaded_number_brings_its_admixture_rate()
    {
        WindowPlant plant;
        fill(plant);
        add_order(plant, "01", "A001", "001", 30, 0);
        add_order(plant, "02", "A001", "001", 30, 0);
        plant.exec("update r_suju set v_hon = '1.2' where seq = '02'");
        TF_SUJU w(plant.ctx);
        begin_new(plant, w);
        click_row(w.gridhord3, 0);
        QCOMPARE(w.e_hon->text(), QStringLiteral("0.5"));
        enter(w.HY02, "2");
        QCOMPARE(w.HY02->text(), QStringLiteral("02"));
        QCOMPARE(w.e_hon->text(), QStringLiteral("1.2"));
    }

    void an_f_rank_customer_is_announced()
    {
        WindowPlant plant;
        fill(plant);
        TF_SUJU w(plant.ctx);
        begin_new(plant, w);
        enter(w.HY03, "F001");
        QCOMPARE(plant.prompter.shown, QStringList{QStringLiteral("이 거래처의 등급은 F입니다.")});
        QCOMPARE(w.HY15->text(), QStringLiteral("F"));
        QCOMPARE(w.HY07->text(), QStringLiteral("민수2"));
        QVERIFY(w.HY05->hasFocus());
        enter(w.HY05, "001");
        enter(w.HY29, "0101");
        QCOMPARE(w.HY32->text(), QStringLiteral("70,000"));  // VAT ignored: the base price
    }

    void a_list_closed_without_a_pick_is_not_found()
    {
        WindowPlant plant;
        fill(plant);
        TF_SUJU w(plant.ctx);
        begin_new(plant, w);
        enter(w.HY03, "A001");
        on_next_modal([&](QWidget *) { QTest::keyClick(plant.list->Grd_pan, Qt::Key_Escape); });
        enter(w.HY03, "B999");
        QCOMPARE(w.HY03->text(), QStringLiteral("B999"));
        QVERIFY(w.hy04->text().isEmpty() && w.HY07->text().isEmpty() && w.HY13->text().isEmpty());
        QTRY_VERIFY(w.HY03->hasFocus());
        on_next_modal([&](QWidget *) { QTest::keyClick(plant.list->Grd_pan, Qt::Key_Escape); });
        enter(w.HY29, "9999");
        QVERIFY(w.HY30->text().isEmpty());
        QTRY_VERIFY(w.HY29->hasFocus());
        QCOMPARE(w.HY32->plain(), QStringLiteral("0"));
    }

    void a_site_is_looked_up_among_the_customers_sites()
    {
        WindowPlant plant;
        fill(plant);
        TF_SUJU w(plant.ctx);
        begin_new(plant, w);
        enter(w.HY03, "K001");
        QStringList listed;
        on_next_modal([&](QWidget *) {
            listed = grid_column(plant.list->Grd_pan, 1);
            QTest::keyClick(plant.list->Grd_pan, Qt::Key_Return);
        });
        enter(w.HY05, "002");
        QCOMPARE(listed, QStringList{QStringLiteral("세종 청사")});
        QCOMPARE(w.HY05->text(), QStringLiteral("001"));
        QCOMPARE(w.HY17->text(), QStringLiteral("행복청"));
        QTRY_VERIFY(w.HY24->hasFocus());
    }

    void a_date_from_the_calendar_lists_its_day()
    {
        WindowPlant plant;
        fill(plant);
        add_order(plant, "01", "A001", "001", 30, 0, 66000, "2026-03-01");
        add_order(plant, "02", "A001", "001", 30, 0, 66000, "2026-03-01");
        TF_SUJU w(plant.ctx);
        begin_new(plant, w);
        enter(w.HY03, "A001");
        QCOMPARE(w.gridhord3->model()->rowCount(), 0);
        w.HY01->setDate(QDate(2026, 3, 1));
        emit w.HY01->calendar_picked(QDate(2026, 3, 1));
        QCOMPARE(grid_column(w.gridhord3, 0), (QStringList{"01", "02"}));
        QVERIFY(w.hy04->text().isEmpty());
        QCOMPARE(w.HY02->text(), QStringLiteral("01"));  // no new number proposed
    }

    void enter_and_the_page_keys_follow_the_entry_path()
    {
        WindowPlant plant;
        fill(plant);
        TF_SUJU w(plant.ctx);
        begin_new(plant, w);
        const QList<QWidget *> path{w.hy20, w.hy21, w.hy22, w.hy23, w.e_hon, w.HY24, w.HY25};
        path.first()->setFocus();
        for (int i = 1; i < path.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget()->objectName(), path[i]->objectName());
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp);
        QCOMPARE(QApplication::focusWidget(), w.HY24);
        QTest::keyClick(w.HY24, Qt::Key_PageDown);
        QCOMPARE(QApplication::focusWidget(), w.HY25);
        press_enter(w.HY25);  // distance 0: no fee lookup
        QCOMPARE(QApplication::focusWidget(), w.HY29);
        press_enter(w.hy36);
        QCOMPARE(QApplication::focusWidget(), w.savbtn);
        QVERIFY(plant.prompter.shown.isEmpty());
    }

    void cancel_and_query_states()
    {
        WindowPlant plant;
        fill(plant);
        add_order(plant, "01", "A001", "001", 30, 0);
        TF_SUJU w(plant.ctx);
        begin_new(plant, w);
        enter(w.HY03, "A001");
        click(w.canbtn);
        QVERIFY(w.HY02->text().isEmpty() && w.hy04->text().isEmpty());
        QVERIFY(!w.savbtn->isEnabled() && w.newbtn->isEnabled() && w.newbtn->hasFocus());
        QCOMPARE(w.cust_vat(), QStringLiteral("V"));  // kept for the next order
        click(w.BitBtn3);
        QCOMPARE(w.entry_mode(), 4);
        QVERIFY(w.HY01->isEnabled() && !w.HY02->isEnabled() && w.canbtn->isEnabled() && !w.newbtn->isEnabled());
        press_enter(w.HY01);
        QCOMPARE(w.HY02->text(), QStringLiteral("02"));
        QVERIFY(w.HY01->hasFocus());
    }

    // Distances missing from the fee table are common: Enter always moves
    // on to the specification unless the distance is no whole number.
    void a_distance_without_a_fee_moves_on_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("picked");  // row picked in the list, -1: closed without a pick
        QTest::addColumn<QString>("distance");
        QTest::addColumn<bool>("moves_on");
        QTest::newRow("in the table") << "12" << -1 << "12" << true;
        QTest::newRow("not in the table, list closed") << "7" << -1 << "7" << true;
        QTest::newRow("not in the table, a row picked") << "7" << 1 << "20" << true;
        QTest::newRow("no whole number, list closed") << "2.5" << -1 << "2.5" << false;
    }

    void a_distance_without_a_fee_moves_on()
    {
        QFETCH(QString, typed);
        QFETCH(int, picked);
        QFETCH(QString, distance);
        QFETCH(bool, moves_on);
        WindowPlant plant;
        fill(plant);
        TF_SUJU w(plant.ctx);
        begin_new(plant, w);
        on_next_modal([&](QWidget *) {
            if (picked < 0) {
                QTest::keyClick(plant.list->Grd_pan, Qt::Key_Escape);
                return;
            }
            plant.list->Grd_pan->setCurrentIndex(plant.list->Grd_pan->model()->index(picked, 0));
            plant.list->pick_from_list();
        });
        enter(w.HY25, typed);
        QCOMPARE(w.HY25->plain(), distance);
        QTRY_COMPARE(QApplication::focusWidget(), moves_on ? static_cast<QWidget *>(w.HY29) : w.HY25);
        QCOMPARE(plant.prompter.errors.size(), moves_on ? 0 : 1);
    }

    // A change of customer, site or specification on an order with loads
    // says how many tickets keep the old texts; other changes ask as usual.
    void changing_an_order_with_loads_says_what_stays_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("question");
        const QString usual = QStringLiteral("자료가 이미 존재합니다.\r 갱신하시겠습니까?");
        const QString with_loads = QStringLiteral("이 수주에 출하된 자료가 2건 있습니다.\r발행된 송장 2장에는 이전 %1이(가) "
                                                  "그대로 남습니다.\r 갱신하시겠습니까?");
        QTest::newRow("quantity only") << "quantity" << usual;
        QTest::newRow("site") << "site" << with_loads.arg(QStringLiteral("현장"));
        QTest::newRow("specification") << "spec" << with_loads.arg(QStringLiteral("규격"));
        QTest::newRow("customer and site") << "customer" << with_loads.arg(QStringLiteral("거래처, 현장"));
    }

    void changing_an_order_with_loads_says_what_stays()
    {
        QFETCH(QString, change);
        QFETCH(QString, question);
        WindowPlant plant;
        fill(plant);
        plant.exec("insert into r_hyunjang (saup, grcd, code, name, misu, order_nul) values"
                   " ('AA', 'K001', '002', '세종 도로', 'G', 100)");
        add_order(plant, "01", "A001", "001", 30, 12);
        plant.exec("insert into cholha (o_date, o_fdate, o_otime, o_scode, o_count, o_carnum, o_outorder) values"
                   " ('2026-03-02', '2026-03-02', '08:00:00', '01', '001', '80-1', 6),"
                   " ('2026-03-02', '2026-03-02', '09:00:00', '01', '002', '80-1', 6)");
        TF_SUJU w(plant.ctx);
        plant.clock.set(QDateTime(QDate(2026, 3, 2), QTime(9, 0)));
        QVERIFY(open_active(&w));
        click_row(w.gridhord3, 0);
        click(w.edtbtn);
        if (change == QLatin1String("site")) {
            enter(w.HY05, "002");
        } else if (change == QLatin1String("spec")) {
            enter(w.HY29, "0102");
        } else if (change == QLatin1String("customer")) {
            enter(w.HY03, "K001");
            enter(w.HY05, "002");
        }
        enter(w.HY31, "40");
        w.HY32->set_plain(QStringLiteral("66000"));
        plant.prompter.answers = {false};
        click(w.savbtn);
        QCOMPARE(plant.prompter.questions, QStringList{question});
        const QSqlRecord row = order(plant, "01");
        QCOMPARE(row.value("order_m3").toDouble(), 30.0);
        QCOMPARE(row.value("code").toString(), QStringLiteral("001"));
        QVERIFY(w.savbtn->isEnabled());
    }

    void a_zero_price_asks_before_saving_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::newRow("cancel") << false;
        QTest::newRow("ok") << true;
    }

    void a_zero_price_asks_before_saving()
    {
        QFETCH(bool, answer);
        WindowPlant plant;
        fill(plant);
        TF_SUJU w(plant.ctx);
        begin_new(plant, w);
        enter_codes(w);
        enter(w.HY31, "6");
        w.HY32->set_plain(QStringLiteral("0"));
        plant.prompter.answers = {answer};
        click(w.savbtn);
        QCOMPARE(plant.prompter.questions, QStringList{QStringLiteral("단가가 0원입니다.\r 저장하시겠습니까?")});
        QCOMPARE(count(plant, "select count(*) from r_suju"), answer ? 1 : 0);
        if (!answer) {
            QVERIFY(w.savbtn->isEnabled());
            QTRY_VERIFY(w.HY32->hasFocus());
        }
    }

    // The price follows another site or customer picked after the
    // specification; a site picked again as it was keeps a typed price.
    void the_price_follows_a_later_site_or_customer()
    {
        WindowPlant plant;
        fill(plant);
        TF_SUJU w(plant.ctx);
        begin_new(plant, w);
        enter_codes(w);
        QCOMPARE(w.HY32->text(), QStringLiteral("66,500"));  // 95 % of 70,000
        enter(w.HY05, "002");
        QCOMPARE(w.HY32->text(), QStringLiteral("65,300"));  // 93.3 %, cut to hundreds
        w.HY32->set_plain(QStringLiteral("64000"));
        enter(w.HY05, "002");
        QCOMPARE(w.HY32->text(), QStringLiteral("64,000"));
        enter(w.HY03, "K001");
        enter(w.HY05, "001");
        QCOMPARE(w.HY32->text(), QStringLiteral("68,000"));  // the government price
        // An order loaded from the database: its specification's prices are read.
        add_order(plant, "05", "A001", "001", 10, 0, 1);
        click(w.canbtn);
        w.load_day_orders();
        click_row(w.gridhord3, 0);
        QCOMPARE(w.HY32->text(), QStringLiteral("1"));
        click(w.edtbtn);
        enter(w.HY05, "002");
        QCOMPARE(w.HY32->text(), QStringLiteral("65,300"));
        enter(w.HY05, "001");
        QCOMPARE(w.HY32->text(), QStringLiteral("1"));  // the earlier order of that site wins
    }

    // "엑셀": the day's orders as a workbook, codes as texts, quantities
    // and prices as numbers, the totals under them.
    void the_day_list_saves_a_workbook()
    {
        WindowPlant plant;
        fill(plant);
        add_order(plant, "02", "A001", "001", 30, 0);
        add_order(plant, "01", "K001", "001", 12.5, 0, 68000);
        TF_SUJU w(plant.ctx);
        plant.clock.set(QDateTime(QDate(2026, 3, 2), QTime(9, 0)));
        QVERIFY(open_active(&w));
        const QString path = plant.dir.filePath(QStringLiteral("day.xlsx"));
        QString proposed;
        w.ask_export_path = [&](const QString &name) {
            proposed = name;
            return path;
        };
        click(w.excel_btn);
        QCOMPARE(plant.prompter.shown, QStringList());
        QCOMPARE(proposed, QStringLiteral("금일수주현황_2026-03-02"));
        const XlsxSheet x = read_xlsx(path);
        QCOMPARE(x.texts(0), QStringList{"[금일 수주 현황]"});
        QCOMPARE(x.texts(1), QStringList{"일자 : 2026-03-02"});
        QCOMPARE(x.texts(3).mid(0, 7), (QStringList{"순번", "거래처명", "현장명", "규격코드", "규격명", "수주량", "단가"}));
        QCOMPARE(x.texts(4).mid(0, 7), (QStringList{"01", "거래처", "현장", "0101", "25-24-150", "12.5", "68000"}));
        QVERIFY(!x.rows[4][0].number && !x.rows[4][3].number && x.rows[4][5].number && x.rows[4][6].number);
        QCOMPARE(x.rows[4][5].format, QStringLiteral("#,##0.00"));
        QCOMPARE(x.rows[4][6].format, QStringLiteral("#,##0"));
        QCOMPARE(x.texts(6).mid(0, 6), (QStringList{"합계", "2", "", "", "", "42.5"}));
    }
};

QTEST_MAIN(TestSujuWindow)
#include "tst_suju_window_db.moc"
