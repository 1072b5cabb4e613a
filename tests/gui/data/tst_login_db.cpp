#include "gui/data/login_window.h"
#include "gui/console/main_window.h"
#include "gui/framework/date_box.h"
#include "gui/framework/picture_button.h"
#include "gui/framework/two_state_switch.h"
#include "window_support.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

// The way into the program: the login at the console's first showing.
class TestLogin : public QObject {
    Q_OBJECT

    static ConnectionSettings unreachable()
    {
        ConnectionSettings c;
        c.driver = ConnectionSettings::Driver::Sqlite;
        c.sqlite_file = QStringLiteral("/etc/passwd/rc_db.sqlite");  // under a file: cannot exist
        return c;
    }

private Q_SLOTS:
    void init()
    {
        qputenv("VELDARO_DATA_DIR", qgetenv("VELDARO_DATA_DIR_ORIG"));
    }

    void initTestCase()
    {
        qputenv("VELDARO_DATA_DIR_ORIG", qgetenv("VELDARO_DATA_DIR"));
    }

    void enter_and_picture_log_in_data()
    {
        QTest::addColumn<bool>("by_enter");
        QTest::addColumn<QString>("name");
        QTest::newRow("Enter in the name box") << true << QStringLiteral("홍길동");
        QTest::newRow("the login picture") << false << QStringLiteral("김배차");
        QTest::newRow("an empty name") << true << QString();
    }

    void enter_and_picture_log_in()
    {
        QFETCH(bool, by_enter);
        QFETCH(QString, name);
        WindowPlant plant;
        plant.dbm->settings.person_in_charge = QStringLiteral("기본담당");
        QLineEdit dam_edit;
        TF_PASS login(*plant.dbm, plant.prompter, &dam_edit);
        login.show();
        QVERIFY(QTest::qWaitForWindowExposed(&login));
        QCOMPARE(login.useredt->text(), QStringLiteral("기본담당"));
        QVERIFY(!login.main_img->pixmap().isNull());
        QVERIFY(!login.login_btn->pixmap().isNull());
        QVERIFY(!login.logout_btn->pixmap().isNull());
        login.useredt->setText(name);
        if (by_enter)
            QTest::keyClick(login.useredt, Qt::Key_Return);
        else
            QTest::mouseClick(login.login_btn, Qt::LeftButton);
        QCOMPARE(login.result(), int(TF_PASS::LoggedIn));
        QVERIFY(!login.isVisible());
        QCOMPARE(dam_edit.text(), name);
        QVERIFY(plant.db().is_open());
        QCOMPARE(plant.prompter.shown, QStringList());
    }

    void a_failed_connection_keeps_the_login_open()
    {
        WindowPlant plant;
        TF_DBMDL dbm(plant.settings_path, unreachable());
        QLineEdit dam_edit;
        TF_PASS login(dbm, plant.prompter, &dam_edit);
        login.show();
        login.useredt->setText(QStringLiteral("홍길동"));
        QTest::mouseClick(login.login_btn, Qt::LeftButton);
        QCOMPARE(plant.prompter.errors.size(), 1);
        QVERIFY(plant.prompter.errors[0].startsWith(QStringLiteral("데이터베이스 오류")));
        QVERIFY(login.isVisible());
        QCOMPARE(dam_edit.text(), QString());
        // The operator may try again or log out.
        QTest::mouseClick(login.logout_btn, Qt::LeftButton);
        QCOMPARE(login.result(), int(TF_PASS::LoggedOut));
    }

    void a_server_that_does_not_answer_fails_within_seconds()
    {
        WindowPlant plant;
        ConnectionSettings c;
        c.driver = ConnectionSettings::Driver::Postgres;
        c.host = QStringLiteral("10.255.255.1");  // nothing answers there
        c.user = QStringLiteral("rc");
        TF_DBMDL dbm(plant.settings_path, c);
        QElapsedTimer t;
        t.start();
        QVERIFY_THROWS_EXCEPTION(DbError, dbm.connect_database());
        QVERIFY2(t.elapsed() < 8000, qPrintable(QString::number(t.elapsed())));
    }

    void a_missing_or_broken_picture_is_reported_and_the_login_still_opens_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("not a JPEG") << QByteArray("this is no picture");
    }

    void a_missing_or_broken_picture_is_reported_and_the_login_still_opens()
    {
        QFETCH(QByteArray, content);
        WindowPlant plant;
        QDir(plant.dir.path()).mkpath(QStringLiteral("image"));
        if (!content.isEmpty()) {
            QFile f(plant.dir.filePath(QStringLiteral("image/pass.jpg")));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        qputenv("VELDARO_DATA_DIR", plant.dir.path().toUtf8());
        QLineEdit dam_edit;
        TF_PASS login(*plant.dbm, plant.prompter, &dam_edit);
        QCOMPARE(plant.prompter.errors.size(), 1);
        QVERIFY(plant.prompter.errors[0].contains(QStringLiteral("pass.jpg")));
        login.show();
        QVERIFY(QTest::qWaitForWindowExposed(&login));
        QTest::keyClick(login.useredt, Qt::Key_Return);
        QCOMPARE(login.result(), int(TF_PASS::LoggedIn));
    }

    // The console's first showing opens the login and then loads the day.
    void console_logs_in_at_first_show_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("operator_name");
        QTest::addColumn<bool>("console_open");
        QTest::newRow("login picture") << "login" << QStringLiteral("이배차") << true;
        QTest::newRow("close box") << "close" << QString() << true;
        QTest::newRow("logout") << "logout" << QString() << false;
    }

    void console_logs_in_at_first_show()
    {
        QFETCH(QString, how);
        QFETCH(QString, operator_name);
        QFETCH(bool, console_open);
        WindowPlant plant(WindowPlant::OnDisk);
        plant.exec(QStringLiteral("insert into enrol (name, japum) values ('베달로레미콘', '레미콘')"));
        // Closed again so that the login (or the first statement) opens it.
        plant.db().connection().close();
        plant.clock.set(QDateTime(QDate(2026, 3, 9), QTime(7, 0)));

        TF_MAIN console(plant.ctx);
        QSignalSpy ready(&console, &TF_MAIN::ready);
        on_next_modal([&](QWidget *modal) {
            auto *login = qobject_cast<TF_PASS *>(modal);
            QVERIFY(login);
            login->useredt->setText(QStringLiteral("이배차"));
            if (how == QLatin1String("login"))
                QTest::mouseClick(login->login_btn, Qt::LeftButton);
            else if (how == QLatin1String("logout"))
                QTest::mouseClick(login->logout_btn, Qt::LeftButton);
            else
                login->reject();
        });
        console.show();
        if (console_open) {
            QVERIFY(ready.wait(5000));
            QVERIFY(console.isVisible());
            QCOMPARE(console.dam_edit->text(), operator_name);
            QCOMPARE(console.board_date(), QStringLiteral("2026-03-09"));
            QCOMPARE(console.ilja_combo->text_date(), QStringLiteral("2026-03-09"));
            QVERIFY(plant.db().is_open());
            QCOMPARE(console.enrol_name, QStringLiteral("베달로레미콘"));
            QCOMPARE(console.enrol_product, QStringLiteral("레미콘"));
        } else {
            QTRY_VERIFY(!console.isVisible());
            QCOMPARE(ready.count(), 0);
        }
        QCOMPARE(plant.prompter.shown, QStringList());
    }

    void console_starts_with_the_link_off()
    {
        WindowPlant plant;
        TF_MAIN console(plant.ctx);
        QCOMPARE(console.windowTitle(), QStringLiteral("VELDARO (V.1)"));
        QCOMPARE(console.comm_switch->isChecked(), false);
        QCOMPARE(console.findChild<QWidget *>(QStringLiteral("comm_switch")), console.comm_switch);
        QCOMPARE(console.display_lab1->text(), QStringLiteral("대기중"));
        QCOMPARE(console.display_lab2->text(), QStringLiteral("대기중"));
    }

    void every_activation_rereads_the_enrol_row()
    {
        WindowPlant plant;
        TF_MAIN console(plant.ctx);
        on_next_modal([](QWidget *modal) { QTest::keyClick(static_cast<TF_PASS *>(modal)->useredt, Qt::Key_Return); });
        QSignalSpy ready(&console, &TF_MAIN::ready);
        console.show();
        QVERIFY(ready.wait(5000));
        QCOMPARE(console.enrol_name, QString());  // an empty table gives empty texts

        plant.exec(QStringLiteral("insert into enrol (name, japum) values ('새 대표', '콘크리트')"));
        QDialog other(&console);
        other.show();
        other.activateWindow();
        QTest::qWait(20);
        other.close();
        console.activateWindow();
        QTRY_COMPARE(console.enrol_name, QStringLiteral("새 대표"));
        QCOMPARE(console.enrol_product, QStringLiteral("콘크리트"));
    }
};

QTEST_MAIN(TestLogin)
#include "tst_login_db.moc"
