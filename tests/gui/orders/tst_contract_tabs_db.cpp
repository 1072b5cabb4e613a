#include "gui/framework/grid_column_filter.h"
#include "core/framework/korean_text.h"
#include "core/framework/record_table_model.h"
#include "core/orders/contract_db.h"
#include "gui/orders/contract_tabs.h"
#include "window_support.h"
#include "window_test.h"

#include <QMenu>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

// The tabs "관수" and "민수" as the operator sees them.
class TestContractTabs : public QObject {
    Q_OBJECT

    struct Tabs {
        explicit Tabs(WindowPlant &p)
        {
            window.resize(1100, 600);
            window.addTab(contract_page = new QWidget, QStringLiteral("관수"));
            window.addTab(sums_page = new QWidget, QStringLiteral("민수"));
            tabs = std::make_unique<ContractTabs>(p.db(), p.prompter, contract_page, sums_page);
        }
        QTabWidget window;
        QWidget *contract_page;
        QWidget *sums_page;
        std::unique_ptr<ContractTabs> tabs;
    };

    static void fill(const WindowPlant &p)
    {
        // Site 001 of K001: 1004 in two periods (the price rising), 1005 in one;
        // 2001 shipped without a contract.  Site 002 has its own contract.
        p.exec("insert into r_hyun_order (grcd, code, remi_code, kind, standard, demand1, demand2, amount, cost,"
               " order_num) values"
               " ('K001', '001', '1004', '보통', '25-240-15', '2026-01-01', '2026-04-01', 100, 60000, 'N-1'),"
               " ('K001', '001', '1004', '보통', '25-240-15', '2026-04-01', '2026-07-01', 0, 62000, 'N-2'),"
               " ('K001', '001', '1005', '보통', '25-210-12', '2026-01-01', '2026-12-31', 50, 55000, 'N-3'),"
               " ('K001', '002', '1004', '보통', '25-240-15', '2026-01-01', '2026-12-31', 10, 60000, 'N-9')");
        const char *ledger[][4] = {{"001", "1004", "2026-02-01", "30"}, {"001", "1004", "2026-05-01", "20"},
                                   {"001", "1005", "2026-03-01", "10"}, {"001", "2001", "2026-03-02", "4"},
                                   {"002", "1004", "2026-03-01", "2"}};
        for (const auto &l : ledger) {
            const double m3 = QByteArray(l[3]).toDouble();
            p.exec("insert into r_mast (grcd, code, remi_code, remi_code1, standard, kind, ilja, m3, kum, vatkum, hap)"
                   " values ('K001', :c, :r, :r, :s, '보통', :d, :m, :k, :v, :h)",
                   {{":c", l[0]}, {":r", l[1]}, {":s", QByteArray(l[1]) == "1005" ? "25-210-12" : "25-240-15"},
                    {":d", l[2]}, {":m", m3}, {":k", m3 * 60000}, {":v", m3 * 6000}, {":h", m3 * 66000}});
        }
    }

    static QString footer(QTableView *grid, int column)
    {
        return grid->model()->headerData(column, Qt::Horizontal, RecordTableModel::FooterRole).toString();
    }

    static int visible_rows(QTableView *grid)
    {
        int n = 0;
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            n += grid->isRowHidden(r) ? 0 : 1;
        return n;
    }

private Q_SLOTS:
    void initTestCase() { install_korean_fonts(); }

    void contracts_then_products_without_contract()
    {
        WindowPlant p;
        fill(p);
        Tabs t(p);
        QVERIFY(open_active(&t.window));
        const auto amounts = t.tabs->show_contracts("K001", "001", "관수1");
        QVERIFY(amounts);
        QTableView *g = t.tabs->gridhord;
        QCOMPARE(grid_column(g, 0), (QStringList{"1004", "1005", "2001"}));
        QCOMPARE(grid_column(g, 6), (QStringList{"100.000", "50.000", ""}));      // AMOUNT
        QCOMPARE(grid_column(g, 7), (QStringList{"62,000", "55,000", ""}));       // COST of the last period
        QCOMPARE(grid_column(g, 13), (QStringList{"50.000", "40.000", ""}));      // MICHUL
        QCOMPARE(grid_column(g, 12), (QStringList{"3,300,000", "660,000", "264,000"}));
        QCOMPARE(grid_column(g, 1), (QStringList{"", "", "보통"}));               // name of the uncontracted
        const double hap = 62000.0 * 50 + 3300000 + 55000.0 * 40 + 660000;
        QCOMPARE(amounts->contract, hap);
        QCOMPARE(amounts->shipped, 3300000.0 + 660000 + 264000);
        QCOMPARE(amounts->unshipped, hap - 3300000 - 660000 - 264000);
        QCOMPARE(footer(g, 6), QStringLiteral("150.000"));
        QCOMPARE(footer(g, 8), QLocale(QLocale::English).toString(hap, 'f', 0));
        QCOMPARE(footer(g, 12), QStringLiteral("4,224,000"));
        QCOMPARE(footer(t.tabs->gridhord1, 6), QStringLiteral("0.000"));

        // A click on the product shows its periods with the carried remainder.
        click_row(g, 0);
        QTableView *g1 = t.tabs->gridhord1;
        QCOMPARE(grid_column(g1, 4), (QStringList{"2026-01-01", "2026-04-01"}));
        QCOMPARE(grid_column(g1, 8), (QStringList{"6,000,000", "140,000"}));
        QCOMPARE(grid_column(g1, 13), (QStringList{"70.000", "50.000"}));
        QCOMPARE(footer(g1, 8), QStringLiteral("6,140,000"));
        QCOMPARE(footer(g1, 6), QStringLiteral("100.000"));
        click_row(g, 2);  // no contract: no periods
        QCOMPARE(g1->model()->rowCount(), 0);
        QCOMPARE(footer(g1, 8), QStringLiteral("0"));
        QVERIFY(t.tabs->contract_splitter->indexOf(g1->parentWidget()) == 1);
        if (qEnvironmentVariableIsSet("VELDARO_SHOTS")) {
            click_row(g, 0);
            t.window.grab().save(qEnvironmentVariable("VELDARO_SHOTS") + "/contract_tab.png");
        }
    }

    void other_classes_are_no_contract_customers_data()
    {
        QTest::addColumn<QString>("class_text");
        QTest::newRow("관수2") << "관수2";
        QTest::newRow("민수1") << "민수1";
        QTest::newRow("empty") << "";
    }
    void other_classes_are_no_contract_customers()
    {
        QFETCH(QString, class_text);
        WindowPlant p;
        fill(p);
        Tabs t(p);
        QVERIFY(t.tabs->show_contracts("K001", "001", "관수1"));
        QVERIFY(!t.tabs->show_contracts("K001", "001", class_text));
        QCOMPARE(t.tabs->gridhord->model()->rowCount(), 0);
        QVERIFY(!t.tabs->order_exceeds_unshipped("K001", "001", class_text, 1000, 1e9));
        const auto sums = t.tabs->show_product_sums("K001", "001", class_text);
        QVERIFY(sums && sums->contract == 0 && sums->shipped == 0 && sums->unshipped == 0);
    }

    void product_sums_show_each_product_once()
    {
        WindowPlant p;
        fill(p);
        Tabs t(p);
        QVERIFY(open_active(&t.window));
        t.window.setCurrentIndex(1);
        for (int i = 0; i < 2; ++i)
            QVERIFY(t.tabs->show_product_sums("K001", "001", "민수1"));
        QTableView *g2 = t.tabs->gridhord2;
        QCOMPARE(grid_column(g2, 0), (QStringList{"1004", "1005", "2001"}));
        QCOMPARE(grid_column(g2, 3), (QStringList{"50.00", "10.00", "4.00"}));
        QCOMPARE(footer(g2, 3), QStringLiteral("64.00"));
        QCOMPARE(footer(g2, 6), QStringLiteral("4,224,000"));
        // A "관수1" customer's tab "민수" changes nothing.
        QVERIFY(!t.tabs->show_product_sums("K001", "002", "관수1"));
        QCOMPARE(g2->model()->rowCount(), 3);
        if (qEnvironmentVariableIsSet("VELDARO_SHOTS"))
            t.window.grab().save(qEnvironmentVariable("VELDARO_SHOTS") + "/sums_tab.png");
        t.tabs->clear_product_sums();
        QCOMPARE(g2->model()->rowCount(), 0);
        QCOMPARE(footer(g2, 3), QStringLiteral("0.00"));
    }

    // The check figures the site of the moment, whatever the tab shows.
    void check_uses_the_current_site()
    {
        WindowPlant p;
        fill(p);
        Tabs t(p);
        // Never shown, the figures are still those of the site: 5,036,000 unshipped.
        QCOMPARE(contracts_db::current_amounts(p.db(), "K001", "001").unshipped, 62000.0 * 50 + 55000.0 * 40 - 264000);
        QVERIFY(!t.tabs->order_exceeds_unshipped("K001", "001", "관수1", 100, 50360));
        QVERIFY(t.tabs->order_exceeds_unshipped("K001", "001", "관수1", 100, 50361));
        t.tabs->show_contracts("K001", "001", "관수1");
        // Site 002: 8 m3 unshipped at 60,000 = 480,000.
        QVERIFY(!t.tabs->order_exceeds_unshipped("K001", "002", "관수1", 8, 60000));
        QVERIFY(t.tabs->order_exceeds_unshipped("K001", "002", "관수1", 8.01, 60000));
        QVERIFY(t.tabs->order_exceeds_unshipped("K001", "009", "관수1", 1, 1));
    }

    void standard_column_filter()
    {
        WindowPlant p;
        fill(p);
        Tabs t(p);
        QVERIFY(open_active(&t.window));
        t.tabs->show_contracts("K001", "001", "관수1");
        QTableView *g = t.tabs->gridhord;
        click_title(g, 2);
        QMenu *menu = t.tabs->gridhord_filter->menu();
        QTRY_VERIFY(menu->isVisible());
        QStringList offered;
        for (QAction *a : menu->actions())
            offered << a->text();
        QCOMPARE(offered, (QStringList{"(전체)", "25-210-12", "25-240-15"}));
        menu->actions().at(1)->trigger();
        QCOMPARE(visible_rows(g), 1);
        QVERIFY(!g->isRowHidden(1));
        menu->close();
        click_title(g, 2);
        QTRY_VERIFY(menu->isVisible());
        menu->actions().at(0)->trigger();
        QCOMPARE(visible_rows(g), 3);
        // Reloaded rows show unfiltered.
        t.tabs->gridhord_filter->set_value("25-210-12");
        t.tabs->show_contracts("K001", "001", "관수1");
        QCOMPARE(visible_rows(g), 3);
        t.tabs->show_product_sums("K001", "001", "민수1");
        t.tabs->gridhord2_filter->set_value("25-240-15");
        QCOMPARE(visible_rows(t.tabs->gridhord2), 2);
    }

};

QTEST_MAIN(TestContractTabs)
#include "tst_contract_tabs_db.moc"
