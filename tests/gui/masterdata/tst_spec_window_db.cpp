#include "gui/framework/date_box.h"
#include "gui/masterdata/spec_window.h"
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

// 규격 관리: specifications typed by code, stored with the registration date.
class TestSpecWindow : public QObject {
    Q_OBJECT

    static void fill(const WindowPlant &plant)
    {
        plant.exec("insert into r_size (remi_code, standard, rul_ks, gubun) values"
                   " ('1001', '25-240-12', 'KS', '0'), ('1002', '25-180-8', '비KS', '2'),"
                   " ('9001', '몰탈 1:3', 'KS', '0')");
    }

    static QSqlRecord spec(const WindowPlant &plant, const QString &code)
    {
        QSqlQuery q = plant.db().query("select * from r_size where remi_code = :c", {{":c", code}});
        return q.next() ? q.record() : QSqlRecord();
    }

private Q_SLOTS:
    void opening_and_new()
    {
        WindowPlant plant;
        fill(plant);
        TF_RULE w(plant.ctx);
        QVERIFY(open_active(&w));
        QCOMPARE(w.title_pan->text(), QStringLiteral("규  격  관  리"));
        QCOMPARE(grid_column(w.rule_grd, 0), (QStringList{"1001", "1002", "9001"}));
        QCOMPARE(w.code_edt->text(), QStringLiteral("1001"));
        QCOMPARE(w.ks_edt->currentText(), QStringLiteral("KS"));
        QVERIFY(!w.code_edt->isEnabled() && !w.ks_edt->isEnabled() && w.edt_date->isEnabled());
        QVERIFY(w.prn_btn->isVisible() && !w.edt_btn->isVisible());
        w.ks_edt->setCurrentText(QStringLiteral("비KS"));
        click(w.new_btn);
        QVERIFY(w.code_edt->text().isEmpty() && w.name_edt->text().isEmpty());
        QCOMPARE(w.ks_edt->currentText(), QStringLiteral("KS"));
        QCOMPARE(w.edt_date->text_date(), QStringLiteral("2026-12-10"));
        QVERIFY(w.code_edt->hasFocus());
        QVERIFY(!w.rule_grd->isEnabled() && w.sav_btn->isEnabled());
    }

    void enter_in_the_code_box_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("filled");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("focus");
        QTest::newRow("zero fill") << "25" << "0025" << QStringList{} << "name_edt";
        QTest::newRow("existing code") << "1001" << "1001" << QStringList{"이미 자재 코드가 존재합니다."} << "code_edt";
        QTest::newRow("letters refused") << "1a" << "0001" << QStringList{"숫자만 등록하시오."} << "name_edt";
    }

    void enter_in_the_code_box()
    {
        QFETCH(QString, typed);
        QFETCH(QString, filled);
        QFETCH(QStringList, messages);
        QFETCH(QString, focus);
        WindowPlant plant;
        fill(plant);
        TF_RULE w(plant.ctx);
        QVERIFY(open_active(&w));
        click(w.new_btn);
        QTest::keyClicks(w.code_edt, typed);
        QTest::keyClick(w.code_edt, Qt::Key_Return);
        QCOMPARE(w.code_edt->text(), filled);
        QCOMPARE(plant.prompter.shown, messages);
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    }

    void a_new_specification_is_stored_as_entered()
    {
        WindowPlant plant;
        TF_RULE w(plant.ctx);
        QVERIFY(open_active(&w));
        click(w.new_btn);
        QTest::keyClicks(w.code_edt, "25");
        QTest::keyClick(w.code_edt, Qt::Key_Return);
        w.name_edt->setText(QStringLiteral("25-210-15"));
        w.ks_edt->setCurrentText(QStringLiteral("비KS"));
        click(w.sav_btn);
        QCOMPARE(plant.prompter.shown, QStringList());
        const QSqlRecord row = spec(plant, "0025");
        QCOMPARE(row.value("standard").toString(), QStringLiteral("25-210-15"));
        QCOMPARE(row.value("rul_ks").toString(), QStringLiteral("비KS"));
        QCOMPARE(row.value("ilja").toString(), QStringLiteral("2026-12-10"));
        QCOMPARE(row.value("gubun").toString(), QStringLiteral("0"));
        for (const char *untouched : {"kind", "kwan_danga", "sa_danga", "remi_code1"})
            QVERIFY2(row.value(untouched).isNull(), untouched);
        QCOMPARE(grid_column(w.rule_grd, 0), QStringList{"0025"});
        QVERIFY(w.new_btn->isEnabled() && !w.code_edt->isEnabled());
    }

    void save_paths_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("ks");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("stored");
        const QString missing = QStringLiteral("코드나 KS 구분이 등록되지 않았습니다.\n   확인하고 저장하시오.");
        QTest::newRow("KS box emptied") << "0030" << "" << missing << "";
        QTest::newRow("no code") << "" << "KS" << missing << "";
        QTest::newRow("existing code") << "1002" << "KS" << "코드가 이미 존재합니다." << "";
        QTest::newRow("a code saved without Enter is zero-filled") << "7" << "KS" << "" << "0007";
    }

    void save_paths()
    {
        QFETCH(QString, code);
        QFETCH(QString, ks);
        QFETCH(QString, message);
        QFETCH(QString, stored);
        WindowPlant plant;
        fill(plant);
        TF_RULE w(plant.ctx);
        QVERIFY(open_active(&w));
        click(w.new_btn);
        w.code_edt->setText(code);
        w.name_edt->setText(QStringLiteral("새 규격"));
        w.ks_edt->setCurrentText(ks);
        click(w.sav_btn);
        QCOMPARE(plant.prompter.shown, message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(number_or_zero(plant.db().scalar("select count(*) from r_size")), stored.isEmpty() ? 3.0 : 4.0);
        QCOMPARE(spec(plant, "1002").value("standard").toString(), QStringLiteral("25-180-8"));
        if (!stored.isEmpty())
            QCOMPARE(spec(plant, stored).value("standard").toString(), QStringLiteral("새 규격"));
    }

    void a_name_search_then_the_ks_box_then_save()
    {
        WindowPlant plant;
        fill(plant);
        plant.exec("insert into r_size (remi_code, standard) values ('2001', '25-240_12')");
        TF_RULE w(plant.ctx);
        QVERIFY(open_active(&w));
        click(w.new_btn);
        w.name_edt->setText(QStringLiteral("240_"));
        w.name_edt->setFocus();
        QTest::keyClick(w.name_edt, Qt::Key_Return);
        QCOMPARE(grid_column(w.rule_grd, 1), QStringList{QStringLiteral("25-240_12")});
        QVERIFY(w.ks_edt->hasFocus());
        QTest::keyClick(w.ks_edt, Qt::Key_Return);
        QVERIFY(w.sav_btn->hasFocus());
    }

    void the_name_title_lists_every_specification_by_name()
    {
        WindowPlant plant;
        fill(plant);
        TF_RULE w(plant.ctx);
        QVERIFY(open_active(&w));
        click_title(w.rule_grd, 1);
        QCOMPARE(grid_column(w.rule_grd, 0), (QStringList{"1002", "1001", "9001"}));
    }
};

QTEST_MAIN(TestSpecWindow)
#include "tst_spec_window_db.moc"
