#include "gui/masterdata/list_window.h"
#include "gui/masterdata/number_box.h"
#include "gui/masterdata/vehicle_window.h"
#include "window_support.h"
#include "window_test.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>

// 차량 관리: trucks are registered in service with no trips, and changing
// one keeps every column the operator did not change.
class TestVehicleWindow : public QObject {
    Q_OBJECT

    static void fill(const WindowPlant &plant)
    {
        plant.exec("insert into car_cust (code, name) values ('01', '자사운송'), ('02', '대한운수'), ('03', '대한물류')");
        plant.exec("insert into car_code (saup, code, scode, name, m3, wight, carco, company, gubun, sudang, c_bool,"
                   " c_otime, c_state, c_dsum, c_msum, c_station) values"
                   " ('AA', '80-1101-1', '1101', '김기사', 6.5, 11800, '02', '지입', 'B', '1', 'N', '07:10', 'NO',"
                   " 3, 40, '화성 현장'),"
                   " ('AA', '81-1238-2', '0238', '이운전', 6, 11900, '01', '자사', 'A', '0', 'Y', '00:00', 'YES',"
                   " 0, 0, '')");
    }

    static QSqlRecord vehicle(const WindowPlant &plant, const QString &code)
    {
        QSqlQuery q = plant.db().query("select * from car_code where code = :c", {{":c", code}});
        return q.next() ? q.record() : QSqlRecord();
    }

    static double vehicle_count(const WindowPlant &plant)
    {
        return number_or_zero(plant.db().scalar("select count(*) from car_code"));
    }

    static QStringList items(const QComboBox *box)
    {
        QStringList all;
        for (int i = 0; i < box->count(); ++i)
            all << box->itemText(i);
        return all;
    }

    // new, edit, delete, save, cancel
    static QList<bool> buttons(const TF_CAR &w)
    {
        return {w.newbtn->isEnabled(), w.edtbtn->isEnabled(), w.delbtn->isEnabled(), w.savbtn->isEnabled(),
                w.canbtn->isEnabled()};
    }

private Q_SLOTS:
    void opening_lists_the_vehicles_by_number()
    {
        WindowPlant plant;
        fill(plant);
        TF_CAR w(plant.ctx);
        QVERIFY(open_active(&w));
        QCOMPARE(w.windowTitle(), QStringLiteral("차량 관리"));
        QCOMPARE(w.RxDBGrid1->model()->index(0, 0).data().toString(), QStringLiteral("81-1238-2"));
        QCOMPARE(w.RxDBGrid1->model()->rowCount(), 2);
        QCOMPARE(items(w.ca8), (QStringList{"A", "B"}));
        QCOMPARE(w.ca7->currentText(), QStringLiteral("자사"));
        QCOMPARE(w.ca10->currentText(), QStringLiteral("Y"));
        QCOMPARE(w.ca5->text(), QStringLiteral("00"));
        QVERIFY(!w.ca1->isEnabled() && !w.ca10->isEnabled());
        QCOMPARE(buttons(w), (QList<bool>{true, false, false, false, false}));
        QVERIFY(w.newbtn->hasFocus());
    }

    void a_new_vehicle_starts_in_service_without_trips_data()
    {
        QTest::addColumn<QString>("overtime");
        QTest::addColumn<QString>("print");
        QTest::addColumn<QString>("sudang");
        QTest::newRow("overtime Y") << "Y" << "Y" << "0";
        QTest::newRow("overtime N") << "N" << "N" << "1";
        QTest::newRow("print N, overtime Y") << "Y" << "N" << "0";
    }

    void a_new_vehicle_starts_in_service_without_trips()
    {
        QFETCH(QString, overtime);
        QFETCH(QString, print);
        QFETCH(QString, sudang);
        WindowPlant plant;
        fill(plant);
        TF_CAR w(plant.ctx);
        QVERIFY(open_active(&w));
        click(w.newbtn);
        QVERIFY(w.ca1->hasFocus() && !w.RxDBGrid1->isEnabled());
        QCOMPARE(buttons(w), (QList<bool>{false, false, false, true, true}));
        QTest::keyClicks(w.ca1, "82x12345");  // letters are ignored
        QCOMPARE(w.ca1->text(), QStringLiteral("82-1234-5"));
        QTest::keyClick(w.ca1, Qt::Key_Return);
        QVERIFY(w.ca1_1->hasFocus());
        QTest::keyClicks(w.ca1_1, "7");
        QTest::keyClick(w.ca1_1, Qt::Key_Return);
        QCOMPARE(w.ca1_1->text(), QStringLiteral("0007"));
        QVERIFY(w.ca2->hasFocus());
        w.ca2->setText(QStringLiteral("홍길동"));
        QTest::keyClicks(w.ca3, "7.5");
        QTest::keyClicks(w.ca4, "12000");
        w.ca5->setText(QStringLiteral("01"));
        press_enter(w.ca5);
        QCOMPARE(w.ca6->text(), QStringLiteral("자사운송"));
        QVERIFY(w.ca7->hasFocus());
        w.ca7->setCurrentText(QStringLiteral("타사"));
        w.ca8->setEditText(QStringLiteral("C"));
        w.ca11->setCurrentText(print);
        w.ca10->setCurrentText(overtime);
        press_enter(w.ca10);
        QVERIFY(w.savbtn->hasFocus());
        click(w.savbtn);
        QCOMPARE(plant.prompter.shown, QStringList());

        const QSqlRecord row = vehicle(plant, "82-1234-5");
        QStringList stored;
        for (const char *c : {"saup", "scode", "name", "carco", "company", "gubun", "sudang", "c_bool", "c_otime",
                              "c_state"})
            stored << row.value(c).toString();
        QCOMPARE(stored, (QStringList{"AA", "0007", "홍길동", "01", "타사", "C", sudang, print, "00:00", "YES"}));
        QCOMPARE(row.value("m3").toDouble(), 7.5);
        QCOMPARE(row.value("wight").toDouble(), 12000.0);
        QCOMPARE(row.value("c_dsum").toInt(), 0);
        QCOMPARE(row.value("c_msum").toInt(), 0);
        // The fields are left empty and open; only a new registration can follow.
        QVERIFY(w.ca1->text() == QLatin1String("--") && w.ca2->text().isEmpty() && w.ca2->isEnabled());
        QCOMPARE(buttons(w), (QList<bool>{true, false, false, false, false}));
        QVERIFY(w.RxDBGrid1->isEnabled());
        QCOMPARE(w.RxDBGrid1->model()->rowCount(), 3);
        QCOMPARE(items(w.ca8), (QStringList{"A", "B", "C"}));
    }

    // Changing the driver's name must not change what the row held for
    // the capacity, the print mark or the overtime allowance.
    void changing_a_vehicle_keeps_what_was_not_changed()
    {
        WindowPlant plant;
        fill(plant);
        TF_CAR w(plant.ctx);
        QVERIFY(open_active(&w));
        click_row(w.RxDBGrid1, 1);
        QCOMPARE(w.ca1->text(), QStringLiteral("80-1101-1"));
        QCOMPARE(w.ca1_1->text(), QStringLiteral("1101"));
        QCOMPARE(w.ca3->text(), QStringLiteral("6.5"));
        QCOMPARE(w.ca4->text(), QStringLiteral("11,800"));
        QCOMPARE(w.ca6->text(), QStringLiteral("대한운수"));
        QCOMPARE(w.ca7->currentText(), QStringLiteral("지입"));
        QCOMPARE(w.ca8->currentText(), QStringLiteral("B"));
        QCOMPARE(w.ca10->currentText(), QStringLiteral("N"));
        QCOMPARE(w.ca11->currentText(), QStringLiteral("N"));
        QVERIFY(!w.ca2->isEnabled());
        QCOMPARE(buttons(w), (QList<bool>{true, true, true, false, true}));

        click(w.edtbtn);
        QVERIFY(!w.ca1->isEnabled() && w.ca2->isEnabled() && w.ca2->hasFocus());
        w.ca2->setText(QStringLiteral("김새기사"));
        click(w.savbtn);
        QCOMPARE(plant.prompter.shown, QStringList());
        const QSqlRecord row = vehicle(plant, "80-1101-1");
        QCOMPARE(row.value("name").toString(), QStringLiteral("김새기사"));
        QCOMPARE(row.value("m3").toDouble(), 6.5);
        QCOMPARE(row.value("wight").toDouble(), 11800.0);
        QCOMPARE(row.value("sudang").toString(), QStringLiteral("1"));
        QCOMPARE(row.value("c_bool").toString(), QStringLiteral("N"));
        QCOMPARE(row.value("company").toString(), QStringLiteral("지입"));
        // The console's counters and state are not the window's.
        QCOMPARE(row.value("c_dsum").toInt(), 3);
        QCOMPARE(row.value("c_msum").toInt(), 40);
        QCOMPARE(row.value("c_state").toString(), QStringLiteral("NO"));
        QCOMPARE(row.value("c_otime").toString(), QStringLiteral("07:10"));
        QCOMPARE(vehicle_count(plant), 2.0);
    }

    void enter_in_the_vehicle_code_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("no digits") << "" << "차량 코드를 입력하시오" << "ca1_1";
        QTest::newRow("registered code") << "8011011" << "이미 차량 코드가 존재합니다." << "ca1";
        QTest::newRow("new code") << "8011012" << "" << "ca1_1";
    }

    void enter_in_the_vehicle_code()
    {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        WindowPlant plant;
        fill(plant);
        TF_CAR w(plant.ctx);
        QVERIFY(open_active(&w));
        click(w.newbtn);
        QTest::keyClicks(w.ca1, typed);
        QTest::keyClick(w.ca1, Qt::Key_Return);
        QCOMPARE(plant.prompter.shown, message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    }

    void the_vehicle_number_takes_four_characters()
    {
        WindowPlant plant;
        TF_CAR w(plant.ctx);
        QVERIFY(open_active(&w));
        click(w.newbtn);
        QTest::keyClicks(w.ca1_1, "12345");
        QCOMPARE(w.ca1_1->text(), QStringLiteral("1234"));
    }

    void save_paths_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("driver");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("cleared");
        QTest::newRow("no driver") << "82-1234-5" << "" << "데이타를 모두 입력하시오." << false;
        QTest::newRow("no code digits") << "" << "홍길동" << "데이타를 모두 입력하시오." << false;
        QTest::newRow("registered code") << "80-1101-1" << "홍길동" << "코드가 이미 존재합니다." << true;
    }

    void save_paths()
    {
        QFETCH(QString, code);
        QFETCH(QString, driver);
        QFETCH(QString, message);
        QFETCH(bool, cleared);
        WindowPlant plant;
        fill(plant);
        TF_CAR w(plant.ctx);
        QVERIFY(open_active(&w));
        click(w.newbtn);
        w.ca1->setText(code);
        w.ca2->setText(driver);
        click(w.savbtn);
        QCOMPARE(plant.prompter.shown, QStringList{message});
        QCOMPARE(vehicle_count(plant), 2.0);
        QCOMPARE(vehicle(plant, "80-1101-1").value("name").toString(), QStringLiteral("김기사"));
        QCOMPARE(w.ca2->text().isEmpty(), cleared || driver.isEmpty());
        QCOMPARE(w.savbtn->isEnabled(), !cleared);
    }

    void delete_asks_first_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::newRow("Cancel keeps the vehicle") << false;
        QTest::newRow("OK deletes it") << true;
    }

    void delete_asks_first()
    {
        QFETCH(bool, answer);
        WindowPlant plant;
        fill(plant);
        plant.prompter.answers = {answer};
        TF_CAR w(plant.ctx);
        QVERIFY(open_active(&w));
        click_row(w.RxDBGrid1, 1);
        click(w.delbtn);
        QCOMPARE(plant.prompter.questions, QStringList{QStringLiteral("삭제하겠습니까?")});
        QCOMPARE(vehicle(plant, "80-1101-1").isEmpty(), answer);
        QCOMPARE(w.RxDBGrid1->model()->rowCount(), answer ? 1 : 2);
        if (answer)
            QCOMPARE(buttons(w), (QList<bool>{true, false, false, false, false}));
    }

    void cancel_returns_to_idle()
    {
        WindowPlant plant;
        fill(plant);
        TF_CAR w(plant.ctx);
        QVERIFY(open_active(&w));
        click(w.newbtn);
        w.ca2->setText(QStringLiteral("홍길동"));
        click(w.canbtn);
        QVERIFY(w.ca2->text().isEmpty() && !w.ca2->isEnabled());
        QCOMPARE(w.ca5->text(), QStringLiteral("00"));
        QCOMPARE(buttons(w), (QList<bool>{true, false, false, false, false}));
        QVERIFY(w.RxDBGrid1->isEnabled());
    }

    void the_transport_company_is_picked_from_the_list()
    {
        WindowPlant plant;
        fill(plant);
        TF_CAR w(plant.ctx);
        QVERIFY(open_active(&w));
        click(w.newbtn);
        w.ca5->setText(QStringLiteral("9"));
        on_next_modal([&](QWidget *modal) {
            QCOMPARE(modal->windowTitle(), QStringLiteral("운반회사조회"));
            QTableView *grid = plant.list->Grd_pan;
            grid->setCurrentIndex(grid->model()->index(2, 0));
            QTest::keyClick(grid, Qt::Key_Return);
        });
        press_enter(w.ca5);
        QCOMPARE(w.ca5->text(), QStringLiteral("03"));
        QCOMPARE(w.ca6->text(), QStringLiteral("대한물류"));
        QTRY_VERIFY(w.ca7->hasFocus());
    }

    void page_keys_move_between_fields()
    {
        WindowPlant plant;
        TF_CAR w(plant.ctx);
        QVERIFY(open_active(&w));
        click(w.newbtn);
        w.ca2->setFocus();
        QTest::keyClick(w.ca2, Qt::Key_PageDown);
        QVERIFY(w.ca3->hasFocus());
        QTest::keyClick(w.ca3, Qt::Key_PageUp);
        QTest::keyClick(w.ca2, Qt::Key_PageUp);
        QVERIFY(w.ca1_1->hasFocus());
        w.ca8->setFocus();
        QTest::keyClick(w.ca8, Qt::Key_Return);
        QVERIFY(w.ca11->hasFocus());
        QTest::keyClick(w.ca11, Qt::Key_Return);
        QVERIFY(w.ca10->hasFocus());
    }
};

QTEST_MAIN(TestVehicleWindow)
#include "tst_vehicle_window_db.moc"
