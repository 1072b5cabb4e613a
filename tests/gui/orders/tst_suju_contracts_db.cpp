#include "gui/framework/date_box.h"
#include "gui/framework/report_output.h"
#include "core/orders/contract_rules.h"
#include "gui/framework/decimal_box.h"
#include "gui/orders/suju_window.h"
#include "window_support.h"
#include "window_test.h"

#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

// The contract tabs, the unshipped-amount check and the order sheet as the
// order entry window offers them.
class TestSujuContracts : public QObject {
    Q_OBJECT

    static void fill(const WindowPlant &p)
    {
        p.exec("insert into customer (saup, grcd, name, kawn_sa, vat, misu, rank, julsa) values"
               " ('AA', 'K001', '조달청', 'K', 'N', 'G', 'B', '0'), ('AA', 'L001', '교육청', 'L', 'N', 'G', 'B', '0'),"
               " ('AA', 'A001', '대한건설', 'S', 'V', 'H', 'A', '10')");
        p.exec("insert into r_hyunjang (saup, grcd, code, name, man_code, misu, order_nul) values"
               " ('AA', 'K001', '001', '세종 청사', '001', 'G', 100), ('AA', 'K001', '002', '세종 도로', '001', 'G', 100),"
               " ('AA', 'L001', '001', '학교', '001', 'G', 100), ('AA', 'A001', '001', '동탄', '001', 'H', 95)");
        p.exec("insert into youngup (code, man) values ('001', '박영업')");
        p.exec("insert into r_size (remi_code, standard, kind, gubun, kwan_danga, sa_danga) values"
               " ('1004', '25-240-15', '보통', '2', 60000, 70000)");
        // K001/001: 100 m3 at 60,000 then 62,000; 50 shipped: 3,100,000 unshipped.
        p.exec("insert into r_hyun_order (grcd, code, remi_code, kind, standard, demand1, demand2, amount, cost) values"
               " ('K001', '001', '1004', '보통', '25-240-15', '2026-01-01', '2026-04-01', 100, 60000),"
               " ('K001', '001', '1004', '보통', '25-240-15', '2026-04-01', '2026-07-01', 0, 62000),"
               " ('L001', '001', '1004', '보통', '25-240-15', '2026-01-01', '2026-12-31', 100, 60000)");
        p.exec("insert into r_mast (grcd, code, remi_code, remi_code1, standard, kind, ilja, m3, kum, vatkum, hap) values"
               " ('K001', '001', '1004', '1004', '25-240-15', '보통', '2026-02-01', 30, 1800000, 180000, 1980000),"
               " ('K001', '001', '1004', '1004', '25-240-15', '보통', '2026-05-01', 20, 1240000, 124000, 1364000),"
               " ('A001', '001', '1004', '1004', '25-240-15', '보통', '2026-02-01', 6, 420000, 42000, 462000),"
               " ('A001', '001', '1004', '1004', '25-240-15', '보통', '2026-02-02', 6, 420000, 42000, 462000)");
    }

    static void enter(QWidget *field, const QString &ascii)
    {
        field->setFocus();
        if (auto *line = qobject_cast<QLineEdit *>(field))
            line->clear();
        QTest::keyClicks(field, ascii);
        QTest::keyClick(field, Qt::Key_Return);
    }

    // A new order begun for the customer and site, specification 1004.
    static void begin_order(WindowPlant &p, TF_SUJU &w, const QString &grcd, const QString &site)
    {
        p.clock.set(QDateTime(QDate(2026, 3, 2), QTime(9, 0)));
        QVERIFY(open_active(&w));
        click(w.newbtn);
        press_enter(w.HY01);
        enter(w.HY03, grcd);
        enter(w.HY05, site);
        enter(w.HY29, "1004");
    }

    // Quantity and price typed, Enter in the quantity: the message shown or not.
    static bool check_warns(WindowPlant &p, TF_SUJU &w, const QString &m3, const QString &price)
    {
        p.prompter.clear();
        w.HY32->set_plain(price);
        enter(w.HY31, m3);
        const bool warned = p.prompter.shown == QStringList{unshipped_exceeded_message};
        if (warned != w.HY31->hasFocus())
            qWarning("the focus does not follow the message");
        return warned && w.HY31->hasFocus();
    }

private Q_SLOTS:
    void contract_tab_fills_the_amounts()
    {
        WindowPlant p;
        fill(p);
        TF_SUJU w(p.ctx);
        begin_order(p, w, "K001", "001");
        QCOMPARE(w.HY07->text(), QStringLiteral("관수1"));
        w.PageControl1->setCurrentWidget(w.TabSheet1);
        auto *gridhord = w.findChild<QTableView *>("gridhord");
        QVERIFY(gridhord && gridhord->isVisible());
        QCOMPARE(grid_column(gridhord, 0), QStringList{"1004"});
        QCOMPARE(w.HY33->value(), 62000.0 * 50 + 3344000);
        QCOMPARE(w.HY34->value(), 3344000.0);
        QCOMPARE(w.HY35->value(), 3100000.0);
        click_row(gridhord, 0);
        QCOMPARE(grid_column(w.findChild<QTableView *>("gridhord1"), 8), (QStringList{"6,000,000", "140,000"}));
        if (qEnvironmentVariableIsSet("VELDARO_SHOTS"))
            w.grab().save(qEnvironmentVariable("VELDARO_SHOTS") + "/suju_contract_tab.png");
        // Cancel clears the tables and the amounts.
        click(w.canbtn);
        QCOMPARE(gridhord->model()->rowCount(), 0);
        QCOMPARE(w.HY35->value(), 0.0);
    }

    // Figured for the customer and site typed now, whether the tab was
    // chosen or not, and only for "관수1".
    void quantity_check_data()
    {
        QTest::addColumn<QString>("grcd");
        QTest::addColumn<QString>("site");
        QTest::addColumn<bool>("tab_first");
        QTest::addColumn<QString>("m3");
        QTest::addColumn<bool>("warn");
        QTest::newRow("within, tab never chosen") << "K001" << "001" << false << "50" << false;
        QTest::newRow("above, tab never chosen") << "K001" << "001" << false << "50.001" << true;
        QTest::newRow("within, tab chosen") << "K001" << "001" << true << "50" << false;
        QTest::newRow("site without contract") << "K001" << "002" << false << "1" << true;
        QTest::newRow("관수2 is not checked") << "L001" << "001" << true << "1000" << false;
        QTest::newRow("민수1 is not checked") << "A001" << "001" << false << "1000" << false;
    }
    void quantity_check()
    {
        QFETCH(QString, grcd);
        QFETCH(QString, site);
        QFETCH(bool, tab_first);
        QFETCH(QString, m3);
        QFETCH(bool, warn);
        WindowPlant p;
        fill(p);
        TF_SUJU w(p.ctx);
        begin_order(p, w, grcd, site);
        if (tab_first)
            w.PageControl1->setCurrentWidget(w.TabSheet1);
        QCOMPARE(check_warns(p, w, m3, "62000"), warn);
        if (!warn)
            QVERIFY(w.HY32->hasFocus());
    }

    void the_check_follows_a_change_of_site()
    {
        WindowPlant p;
        fill(p);
        TF_SUJU w(p.ctx);
        begin_order(p, w, "K001", "001");
        w.PageControl1->setCurrentWidget(w.TabSheet1);
        QVERIFY(!check_warns(p, w, "10", "62000"));
        enter(w.HY05, "002");  // no contract at this site
        QVERIFY(check_warns(p, w, "10", "62000"));
        // Advice only: the order is saved all the same.
        w.HY02->setText("01");
        click(w.savbtn);
        QCOMPARE(number_or_zero(p.db().scalar("select order_m3 from r_suju where ilja = '2026-03-02' and code = '002'")),
                 10.0);
    }

    // The amounts shown are those the quantity check uses: the site's
    // picked now, not the previous one's.
    void the_amounts_follow_the_site()
    {
        WindowPlant p;
        fill(p);
        TF_SUJU w(p.ctx);
        begin_order(p, w, "K001", "001");
        QCOMPARE(w.HY35->value(), 3100000.0);  // the tab never chosen
        QCOMPARE(w.HY34->value(), 3344000.0);
        enter(w.HY05, "002");
        QCOMPARE(w.HY33->value(), 0.0);
        QCOMPARE(w.HY35->value(), 0.0);
        QVERIFY(check_warns(p, w, "1", "62000"));
        enter(w.HY03, "A001");
        enter(w.HY05, "001");
        QCOMPARE(w.HY35->value(), 0.0);
        enter(w.HY03, "K001");
        enter(w.HY05, "001");
        QVERIFY(!check_warns(p, w, "50", "62000"));
        QCOMPARE(w.HY35->value(), 3100000.0);
    }

    void product_sums_once_and_emptied_by_a_site_pick()
    {
        WindowPlant p;
        fill(p);
        TF_SUJU w(p.ctx);
        begin_order(p, w, "A001", "001");
        w.HY33->set_value(5);
        for (QWidget *tab : {w.TabSheet2, w.TabSheet3, w.TabSheet2})
            w.PageControl1->setCurrentWidget(tab);
        auto *gridhord2 = w.findChild<QTableView *>("gridhord2");
        QCOMPARE(grid_column(gridhord2, 0), QStringList{"1004"});
        QCOMPARE(grid_column(gridhord2, 3), QStringList{"12.00"});
        QCOMPARE(w.HY33->value(), 0.0);
        enter(w.HY05, "001");
        QCOMPARE(gridhord2->model()->rowCount(), 0);
    }

    // The sheet of the date in the window, over the window, which keeps its
    // half-typed order.
    void printing_leaves_the_window_as_it_was()
    {
        WindowPlant p;
        fill(p);
        ReportOutput reports(p.dir.filePath("pdf"));
        reports.default_printer_name = [] { return QString(); };
        p.ctx.reports = &reports;
        TF_SUJU w(p.ctx);
        begin_order(p, w, "K001", "001");
        w.HY01->set_text_date("2026-02-27");
        w.HY31->set_plain("7.5");
        QString title;
        on_next_modal([&](QWidget *preview) {
            if (qobject_cast<QPrintPreviewDialog *>(preview))
                title = preview->windowTitle();
            preview->close();
        });
        click(w.prnbtn);
        QTRY_COMPARE(title, QStringLiteral("출하예정표_2026-02-27"));
        QCOMPARE(w.entry_mode(), 1);
        QCOMPARE(w.HY01->text_date(), QStringLiteral("2026-02-27"));
        QCOMPARE(w.HY03->text(), QStringLiteral("K001"));
        QCOMPARE(w.HY31->plain(), QStringLiteral("7.5"));
        QVERIFY(w.savbtn->isEnabled() && w.HY03->isEnabled());
        QVERIFY(p.prompter.errors.isEmpty());
    }
};

QTEST_MAIN(TestSujuContracts)
#include "tst_suju_contracts_db.moc"
