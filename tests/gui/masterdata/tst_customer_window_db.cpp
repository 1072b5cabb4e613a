#include "core/masterdata/customer_db.h"
#include "gui/masterdata/customer_window.h"
#include "core/masterdata/master_db.h"
#include "window_support.h"
#include "window_test.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>

// 거래처 관리: new customers get the next code of their group and the
// program's registration values; nothing is ever written twice.
class TestCustomerWindow : public QObject {
    Q_OBJECT

    static void add_customers(const WindowPlant &plant, const QStringList &codes)
    {
        for (const QString &code : codes)
            plant.exec("insert into customer (saup, cust_set, cust_seq, grcd, name, kawn_sa) values"
                       " ('AA', :s, :n, :g, :name, 'T')",
                       {{":s", code.left(1)}, {":n", code.mid(1).toInt()}, {":g", code},
                        {":name", QStringLiteral("거래처 ") + code}});
    }

    static QSqlRecord customer(const WindowPlant &plant, const QString &grcd)
    {
        QSqlQuery q = plant.db().query("select * from customer where grcd = :g", {{":g", grcd}});
        return q.next() ? q.record() : QSqlRecord();
    }

private Q_SLOTS:
    void opening_shows_the_first_customer_locked()
    {
        WindowPlant plant;
        add_customers(plant, {"B002", "A001"});
        TF_CUSTOMER w(plant.ctx);
        QVERIFY(open_active(&w));
        QCOMPARE(w.windowTitle(), QStringLiteral("VELDARO"));
        QCOMPARE(w.title_pan->text(), QStringLiteral(" 거 래 처 관 리"));
        QCOMPARE(grid_column(w.cust_grd, 0), (QStringList{"A001", "B002"}));
        QCOMPARE(w.code_edt1->text(), QStringLiteral("A"));
        QCOMPARE(w.code_edt2->text(), QStringLiteral("001"));
        QVERIFY(!w.code_edt1->isEnabled() && !w.name_edt->isEnabled());
        QVERIFY(w.new_btn->isEnabled() && !w.sav_btn->isEnabled() && !w.can_btn->isEnabled());
        QVERIFY(w.new_btn->hasFocus());
        QVERIFY(!w.kwansa_edt->isVisible() && !w.edt_btn->isVisible() && !w.prn_btn->isVisible());
        click_row(w.cust_grd, 1);
        QCOMPARE(w.code_edt1->text() + w.code_edt2->text(), QStringLiteral("B002"));
        QCOMPARE(w.name_edt->text(), QStringLiteral("거래처 B002"));
    }

    void a_group_letter_proposes_the_next_number_data()
    {
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<char>("typed");
        QTest::addColumn<QString>("proposal");
        QTest::newRow("empty table, lower-case letter") << QStringList{} << 'b' << "001";
        QTest::newRow("highest number plus one") << QStringList{"B001", "B002", "B007"} << 'B' << "008";
        QTest::newRow("other groups do not count") << QStringList{"A009", "C004"} << 'b' << "001";
        QTest::newRow("past 009") << QStringList{"B009"} << 'B' << "010";
    }

    void a_group_letter_proposes_the_next_number()
    {
        QFETCH(QStringList, existing);
        QFETCH(char, typed);
        QFETCH(QString, proposal);
        WindowPlant plant;
        add_customers(plant, existing);
        TF_CUSTOMER w(plant.ctx);
        QVERIFY(open_active(&w));
        click(w.new_btn);
        QVERIFY(w.code_edt1->hasFocus());
        QTest::keyClick(w.code_edt1, typed);
        QCOMPARE(w.code_edt1->text(), QStringLiteral("B"));
        QCOMPARE(w.code_edt2->text(), proposal);
        QVERIFY(w.code_edt2->hasFocus());
        QCOMPARE(plant.prompter.shown, QStringList());
    }

    void the_number_box_takes_digits_only()
    {
        WindowPlant plant;
        TF_CUSTOMER w(plant.ctx);
        QVERIFY(open_active(&w));
        click(w.new_btn);
        QTest::keyClicks(w.code_edt2, "1x2");
        QCOMPARE(w.code_edt2->text(), QStringLiteral("12"));
        QCOMPARE(plant.prompter.shown, QStringList{QStringLiteral("숫자만 등록하시오.")});
        QTest::keyClick(w.code_edt2, Qt::Key_Backspace);
        QCOMPARE(w.code_edt2->text(), QStringLiteral("1"));
        QCOMPARE(plant.prompter.shown.size(), 1);
    }

    void enter_in_the_code_boxes_data()
    {
        QTest::addColumn<QString>("letter");
        QTest::addColumn<QString>("digits");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("filled");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("zero fill") << "B" << "12" << "code_edt2" << "012" << "" << "name_edt";
        QTest::newRow("existing code") << "B" << "3" << "code_edt2" << "003" << "이미 거래처 코드가 존재합니다."
                                       << "code_edt1";
        QTest::newRow("empty group letter") << "" << "" << "code_edt1" << "" << "코드를 입력하시오" << "code_edt1";
        QTest::newRow("group letter") << "B" << "" << "code_edt1" << "B" << "" << "code_edt2";
    }

    void enter_in_the_code_boxes()
    {
        QFETCH(QString, letter);
        QFETCH(QString, digits);
        QFETCH(QString, box);
        QFETCH(QString, filled);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        WindowPlant plant;
        add_customers(plant, {"B003"});
        TF_CUSTOMER w(plant.ctx);
        QVERIFY(open_active(&w));
        click(w.new_btn);
        w.code_edt1->setText(letter);
        w.code_edt2->setText(digits);
        auto *edit = w.findChild<QLineEdit *>(box);
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(edit->text(), filled);
        QCOMPARE(plant.prompter.shown, message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    }

    void a_new_customer_is_stored_with_the_registration_values()
    {
        WindowPlant plant;
        TF_CUSTOMER w(plant.ctx);
        QVERIFY(open_active(&w));
        click(w.new_btn);
        QTest::keyClick(w.code_edt1, 'c');
        QTest::keyClick(w.code_edt2, Qt::Key_Return);
        w.name_edt->setText(QStringLiteral("O'Neil 건설"));
        click(w.sav_btn);
        QCOMPARE(plant.prompter.shown, QStringList());
        const QSqlRecord row = customer(plant, "C001");
        QCOMPARE(row.value("saup").toString(), QStringLiteral("AA"));
        QCOMPARE(row.value("cust_set").toString(), QStringLiteral("C"));
        QCOMPARE(row.value("cust_seq").toInt(), 1);
        QCOMPARE(row.value("name").toString(), QStringLiteral("O'Neil 건설"));
        QCOMPARE(row.value("vat").toString(), QStringLiteral("V"));
        QCOMPARE(row.value("kawn_sa").toString(), QStringLiteral("S"));
        QCOMPARE(row.value("misu").toString(), QStringLiteral("H"));
        // Back to browsing the reloaded list.
        QCOMPARE(grid_column(w.cust_grd, 1), QStringList{QStringLiteral("O'Neil 건설")});
        QVERIFY(w.new_btn->isEnabled() && !w.sav_btn->isEnabled() && !w.name_edt->isEnabled());
    }

    void save_paths_data()
    {
        QTest::addColumn<QString>("letter");
        QTest::addColumn<QString>("digits");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("stored");  // the code written, empty: nothing
        QTest::addColumn<bool>("browsing");
        QTest::newRow("existing code") << "B" << "003" << "거래처가 이미 존재합니다." << "" << true;
        QTest::newRow("no group letter") << "" << "004" << "코드나 관수/민수 구분이 등록되지 않았습니다.\n   확인하고 저장하시오."
                                         << "" << false;
        QTest::newRow("no number") << "B" << "" << "코드나 관수/민수 구분이 등록되지 않았습니다.\n   확인하고 저장하시오."
                                   << "" << false;
        QTest::newRow("a number saved without Enter is zero-filled") << "B" << "7" << "" << "B007" << true;
    }

    void save_paths()
    {
        QFETCH(QString, letter);
        QFETCH(QString, digits);
        QFETCH(QString, message);
        QFETCH(QString, stored);
        QFETCH(bool, browsing);
        WindowPlant plant;
        add_customers(plant, {"B003"});
        TF_CUSTOMER w(plant.ctx);
        QVERIFY(open_active(&w));
        click(w.new_btn);
        w.code_edt1->setText(letter);
        w.code_edt2->setText(digits);
        w.name_edt->setText(QStringLiteral("새 거래처"));
        click(w.sav_btn);
        QCOMPARE(plant.prompter.shown, message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(customer(plant, "B003").value("name").toString(), QStringLiteral("거래처 B003"));
        const int expected = stored.isEmpty() ? 1 : 2;
        QCOMPARE(number_or_zero(plant.db().scalar("select count(*) from customer")), double(expected));
        if (!stored.isEmpty())
            QCOMPARE(customer(plant, stored).value("name").toString(), QStringLiteral("새 거래처"));
        QCOMPARE(w.new_btn->isEnabled(), browsing);
        QCOMPARE(w.sav_btn->isEnabled(), !browsing);
    }

    // Two office PCs registering the same proposed code: the second gets
    // the next free one and is told so; a code typed by hand is refused.
    void the_second_of_two_pcs_saving_the_same_code_is_told_data()
    {
        QTest::addColumn<QString>("typed");  // "" keeps the proposal
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("first_code");
        QTest::addColumn<QString>("second_code");  // "": not stored
        QTest::newRow("proposal") << "" << "거래처 코드 D001은 다른 곳에서 먼저 사용하여 D002로 저장했습니다."
                                  << "D001" << "D002";
        QTest::newRow("typed by hand") << "003" << "거래처가 이미 존재합니다." << "D003" << "";
    }

    void the_second_of_two_pcs_saving_the_same_code_is_told()
    {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(QString, first_code);
        QFETCH(QString, second_code);
        WindowPlant plant;
        TF_CUSTOMER first(plant.ctx), second(plant.ctx);
        for (TF_CUSTOMER *w : {&first, &second}) {
            QVERIFY(open_active(w));
            click(w->new_btn);
            QTest::keyClick(w->code_edt1, 'D');
            QCOMPARE(w->code_edt2->text(), QStringLiteral("001"));
            if (!typed.isEmpty())
                w->code_edt2->setText(typed);
        }
        first.name_edt->setText(QStringLiteral("첫째"));
        second.name_edt->setText(QStringLiteral("둘째"));
        click(first.sav_btn);
        QCOMPARE(plant.prompter.shown, QStringList());
        click(second.sav_btn);
        QCOMPARE(plant.prompter.shown, QStringList{message});
        QCOMPARE(number_or_zero(plant.db().scalar("select count(*) from customer")), second_code.isEmpty() ? 1.0 : 2.0);
        QCOMPARE(customer(plant, first_code).value("name").toString(), QStringLiteral("첫째"));
        if (!second_code.isEmpty())
            QCOMPARE(customer(plant, second_code).value("name").toString(), QStringLiteral("둘째"));
        QVERIFY(second.new_btn->isEnabled() && !second.sav_btn->isEnabled());
        QCOMPARE(grid_column(second.cust_grd, 0).size(), second_code.isEmpty() ? 1 : 2);
    }

    // The other PC's row arrives after the check: the table's key refuses
    // the second row and the operator hears "already exists", not an error.
    void a_row_added_between_check_and_insert_counts_as_existing()
    {
        WindowPlant plant;
        add_customers(plant, {"A001"});
        int checks = 0;
        const bool added = insert_new_row(
            [&] { return checks++ > 0 && customer_exists(plant.db(), "A001"); },
            [&] { plant.db().exec("insert into customer (grcd, name) values ('A001', '둘째')"); });
        QVERIFY(!added);
        QCOMPARE(checks, 2);
        QCOMPARE(number_or_zero(plant.db().scalar("select count(*) from customer")), 1.0);
        QCOMPARE(customer(plant, "A001").value("name").toString(), QStringLiteral("거래처 A001"));
        // Any other failure is still an error.
        QVERIFY_THROWS_EXCEPTION(DbError, insert_new_row([] { return false; }, [&] {
            plant.db().exec("insert into customer (no_such_column) values ('x')");
        }));
    }

    void a_name_search_lists_the_names_containing_the_text_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("a percent sign is itself") << "50%" << QStringList{"50%현장 시공사"};
        QTest::newRow("a quote is itself") << "O'N" << QStringList{"O'Neil 건설"};
        QTest::newRow("an underscore is itself") << "a_b" << QStringList{"a_b 상사"};
        QTest::newRow("empty: every customer")
            << "" << QStringList{"50%현장 시공사", "50번지 현장", "O'Neil 건설", "a_b 상사", "axb 상사"};
    }

    void a_name_search_lists_the_names_containing_the_text()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, names);
        WindowPlant plant;
        int n = 0;
        for (const char *name : {"O'Neil 건설", "axb 상사", "50번지 현장", "a_b 상사", "50%현장 시공사"})
            plant.exec("insert into customer (grcd, name) values (:g, :n)",
                       {{":g", QStringLiteral("A%1").arg(++n, 3, 10, QLatin1Char('0'))}, {":n", name}});
        TF_CUSTOMER w(plant.ctx);
        QVERIFY(open_active(&w));
        click(w.new_btn);
        w.name_edt->setText(typed);
        w.name_edt->setFocus();
        QTest::keyClick(w.name_edt, Qt::Key_Return);
        // How punctuation sorts is the server's collation; the ordering by
        // name is shown with plain names below.
        QStringList listed = grid_column(w.cust_grd, 1);
        listed.sort();
        QCOMPARE(listed, names);
        QVERIFY(w.sav_btn->hasFocus());
    }

    void a_title_click_lists_every_customer_by_that_column()
    {
        WindowPlant plant;
        plant.exec("insert into customer (grcd, name) values ('A001', '하나'), ('A002', '가나'), ('A003', '다라'),"
                   " ('A004', '하늘')");
        TF_CUSTOMER w(plant.ctx);
        QVERIFY(open_active(&w));
        click(w.new_btn);
        w.name_edt->setText(QStringLiteral("하"));
        QTest::keyClick(w.name_edt, Qt::Key_Return);
        QCOMPARE(grid_column(w.cust_grd, 1), (QStringList{"하나", "하늘"}));
        click(w.can_btn);
        click_title(w.cust_grd, 1);
        QCOMPARE(grid_column(w.cust_grd, 1), (QStringList{"가나", "다라", "하나", "하늘"}));
    }
};

QTEST_MAIN(TestCustomerWindow)
#include "tst_customer_window_db.moc"
