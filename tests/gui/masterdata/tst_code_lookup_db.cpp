#include "gui/masterdata/code_lookup.h"
#include "gui/masterdata/list_window.h"
#include "window_support.h"
#include "window_test.h"

#include <QHeaderView>
#include <QSqlField>
#include <QTableView>
#include <QTest>

// Every window that lets the operator type a code resolves it through the
// code lookup: one match is taken at once, anything else is listed.
class TestCodeLookup : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowPlant> plant;

    void fill_plant()
    {
        plant = std::make_unique<WindowPlant>();
        const auto &p = *plant;
        const char *customers[][6] = {
            {"A001", "대한건설(주)", "S", "V", "A", "10"}, {"A002", "한빛종합건설", "T", "N", "F", "0"},
            {"A003", "O'Neil 건설", "S", "X", "B", "1"}, {"A004", "50%현장 시공사", "S", "V", "A", "0"},
            {"A005", "50번지 현장", "S", "V", "A", "0"}, {"A006", "a_b 상사", "S", "V", "A", "0"},
            {"A007", "axb 상사", "S", "V", "A", "0"}, {"C001", "화성시청", "K", "V", "A", "100"},
        };
        for (const auto &c : customers)
            p.exec("insert into customer (saup, cust_set, cust_seq, grcd, name, kawn_sa, vat, misu, rank, julsa)"
                   " values ('AA', :s, 1, :g, :n, :k, :v, 'H', :r, :j)",
                   {{":s", QString(c[0]).left(1)}, {":g", c[0]}, {":n", c[1]}, {":k", c[2]},
                    {":v", c[3]}, {":r", c[4]}, {":j", c[5]}});
        const char *sites[][5] = {
            {"A001", "000", "본사", "H", "001"}, {"A001", "001", "동탄 현장", "H", "001"},
            {"A001", "002", "평택 현장", "T", "002"}, {"A001", "003", "오산 현장", "G", "003"},
            {"A002", "001", "다른 현장", "H", "001"},
        };
        for (const auto &s : sites)
            p.exec("insert into r_hyunjang (saup, grcd, code, name, misu, man_code, memo, ground_tel)"
                   " values ('AA', :g, :c, :n, :m, :mc, '메모', '010-1234-5678')",
                   {{":g", s[0]}, {":c", s[1]}, {":n", s[2]}, {":m", s[3]}, {":mc", s[4]}});
        p.exec("insert into r_size (remi_code, standard, rul_ks, gubun, kind, kwan_danga, sa_danga, remi_code1) values"
               " ('1001', '25-180-8', 'KS', '0', '보통', 61000.5, 64001.5, 'R181'),"
               " ('1002', '25-210-12', 'KS', '2', '보통', 62000, 65000, 'R212'),"
               " ('1003', '25-240-15', 'KS', '1', '보통', 63000, 66000, 'R241'),"
               " ('9001', '몰탈', '비KS', '0', '몰탈', 70000, 72000, 'M001')");
        p.exec("insert into car_code (code, scode, name) values ('80-1101-1', '1101', '박상철'),"
               " ('81-1238-2', '1238', '김운전'), ('82-1375-3', '1375', '김기사')");
        p.exec("insert into car_cust (code, name) values ('01', '자사운송'), ('02', '대한운수'), ('03', '대한물류')");
        p.exec("insert into carry (code, dis_kum) values ('1', 18900), ('10', 27000), ('2', 19800)");
        p.exec("insert into youngup (code, man) values ('000', '무명'), ('001', '박영업'), ('002', '최현수'),"
               " ('101', '외부')");
    }

    QStringList list_column(int column) const
    {
        const QAbstractItemModel *m = plant->list->Grd_pan->model();
        QStringList values;
        for (int r = 0; r < m->rowCount(); ++r)
            values << m->index(r, column).data().toString();
        return values;
    }

    QStringList list_titles() const
    {
        const QAbstractItemModel *m = plant->list->Grd_pan->model();
        QStringList titles;
        for (int c = 0; c < m->columnCount(); ++c)
            titles << m->headerData(c, Qt::Horizontal).toString();
        return titles;
    }

    // The list as a previous lookup of another kind left it.
    void leave_an_old_list()
    {
        QSqlRecord old;
        old.append(QSqlField(QStringLiteral("grcd")));
        old.setValue(0, QStringLiteral("old"));
        plant->list->fill({{.field = QStringLiteral("grcd"), .title = QStringLiteral("old list")}}, {old});
    }

    bool lookup(int kind, const QString &typed, const QString &key = QString())
    {
        plant->lookup.lookup_code = typed;
        if (!key.isNull())
            plant->lookup.lookup_key = key;
        return code_lookup(plant->ctx, kind, 10, 20, 300, 200);
    }

private Q_SLOTS:
    void init() { fill_plant(); }
    void cleanup() { plant.reset(); }

    void one_match_is_taken_and_anything_else_listed_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("found");
        // found: code, name, attr, key; not found: the list's first column and titles
        QTest::addColumn<QStringList>("result");
        QTest::addColumn<QString>("caption");
        using namespace lookup_kinds;
        const QStringList cust_titles{"코  드", "거래처명", "관/사"};
        const QStringList cust_name_titles{"거래처명", "코  드", "관/사"};
        const QStringList all_customers{"A001", "A002", "A003", "A004", "A005", "A006", "A007", "C001"};

        QTest::newRow("customer code") << customers << "A001" << "" << true
                                       << QStringList{"A001", "대한건설(주)", "S", "V"} << "거래코드조회";
        QTest::newRow("customer code not found lists all") << customers << "Z999" << "" << false
                                                           << all_customers + cust_titles << "거래코드조회";
        QTest::newRow("empty text lists all customers") << customers << "" << "" << false
                                                        << all_customers + cust_titles << "거래코드조회";
        QTest::newRow("customer name, several: the matches by name")
            << customers << "건설" << "" << false
            << QStringList{"O'Neil 건설", "대한건설(주)", "한빛종합건설"} + cust_name_titles << "거래코드조회";
        QTest::newRow("a quote is found as typed") << customers << "'Neil" << "" << true
                                                   << QStringList{"A003", "O'Neil 건설", "S", "X"} << "거래코드조회";
        QTest::newRow("a percent sign is no wildcard") << customers << "%현장" << "" << true
                                                       << QStringList{"A004", "50%현장 시공사", "S", "V"} << "거래코드조회";
        QTest::newRow("an underscore is no wildcard") << customers << "a_b" << "" << true
                                                      << QStringList{"A006", "a_b 상사", "S", "V"} << "거래코드조회";
        QTest::newRow("hyphen third is a name search") << customers << "12-3" << "" << false
                                                       << cust_name_titles << "거래코드조회";
        QTest::newRow("government customer") << government_customers << "C001" << "" << true
                                             << QStringList{"C001", "화성시청", "K", "V"} << "거래코드조회";
        QTest::newRow("a private customer is no government one")
            << government_customers << "A001" << "" << false << QStringList{"C001"} + cust_titles << "거래코드조회";

        QTest::newRow("site of the customer") << sites << "002" << "A001" << true
                                              << QStringList{"002", "평택 현장", "T", "002"} << "현장코드조회";
        QTest::newRow("same site code, other customer") << sites << "001" << "A002" << true
                                                        << QStringList{"001", "다른 현장", "H", "001"} << "현장코드조회";
        QTest::newRow("site list: highest first, without 000")
            << sites << "999" << "A001" << false << QStringList{"003", "002", "001", "코드", "현장명"} << "현장코드조회";
        QTest::newRow("site name search within the customer")
            << sites << "현장" << "A001" << false
            << QStringList{"001", "003", "002", "코드", "현장명"} << "현장코드조회";
        QTest::newRow("site on account") << sites_on_account << "002" << "A001" << true
                                         << QStringList{"002", "평택 현장", "T", "002"} << "현장코드조회";
        QTest::newRow("site not on account: the T and H sites")
            << sites_on_account << "003" << "A001" << false
            << QStringList{"002", "001", "000", "코드", "현장명"} << "현장코드조회";

        QTest::newRow("product") << products << "1001" << "" << true
                                 << QStringList{"1001", "25-180-8", "보통", ""} << "제품규격조회";
        QTest::newRow("product of another class is not found")
            << products << "1003" << "" << false << QStringList{"1001", "1002", "9001", "코드", "제품명", "규격"}
            << "제품규격조회";
        QTest::newRow("specification name with a hyphen third")
            << products << "25-2" << "" << true << QStringList{"1002", "25-210-12", "보통", ""} << "제품규격조회";
        QTest::newRow("product by second code") << products_by_second_code << "R212" << "" << true
                                                << QStringList{"R212", "25-210-12", "보통", ""} << "제품규격조회";
        QTest::newRow("second code of class 0 is not found")
            << products_by_second_code << "R181" << "" << false << QStringList{"R212", "코드", "제품명", "규격"}
            << "제품규격조회";

        QTest::newRow("vehicle number") << vehicles << "1238" << "" << true
                                        << QStringList{"81-1238-2", "김운전", "1238", ""} << "차량코드조회";
        QTest::newRow("vehicle not found: all by code")
            << vehicles << "9999" << "" << false << QStringList{"1101", "1238", "1375", "코드", "차량번호", "기사명"}
            << "차량코드조회";
        QTest::newRow("driver name, several: all vehicles by name")
            << vehicles << "김" << "" << false << QStringList{"1375", "1238", "1101", "코드", "차량번호", "기사명"}
            << "차량코드조회";
        QTest::newRow("driver name, one") << vehicles << "박" << "" << true
                                          << QStringList{"80-1101-1", "박상철", "1101", ""} << "차량코드조회";

        QTest::newRow("transport company") << transport_companies << "02" << "" << true
                                           << QStringList{"02", "대한운수", "prev", ""} << "운반회사조회";
        QTest::newRow("transport company by its exact name") << transport_companies << "대한운수" << "" << true
                                                             << QStringList{"02", "대한운수", "prev", ""} << "운반회사조회";
        QTest::newRow("part of a company name: all by name")
            << transport_companies << "대한" << "" << false
            << QStringList{"대한물류", "대한운수", "자사운송", "회사명", "코  드"} << "운반회사조회";
        QTest::newRow("transport fee") << transport_fees << "10" << "" << true
                                       << QStringList{"10", "27000", "prev", ""} << "운반비조회";
        QTest::newRow("no fee for the distance: all by code")
            << transport_fees << "99" << "" << false << QStringList{"1", "10", "2", "코  드", "운반비"} << "운반비조회";
        QTest::newRow("a negative distance runs nothing: the old list stays")
            << transport_fees << "-5" << "" << false << QStringList{"old", "old list"} << "운반비조회";

        QTest::newRow("sales person") << sales_persons << "002" << "" << true
                                      << QStringList{"002", "최현수", "prev", ""} << "담당자 조회";
        QTest::newRow("sales person by exact name") << sales_persons << "박영업" << "" << true
                                                    << QStringList{"001", "박영업", "prev", ""} << "담당자 조회";
        QTest::newRow("sales persons: only 001 to 100")
            << sales_persons << "999" << "" << false << QStringList{"001", "002", "코  드", "담당자명"} << "담당자 조회";
        QTest::newRow("unknown person's name: all by name")
            << sales_persons << "없는사람" << "" << false
            << QStringList{"무명", "박영업", "외부", "최현수", "담당자명", "코  드"} << "담당자 조회";
        QTest::newRow("unknown kind runs nothing") << 99 << "A001" << "" << false << QStringList{"old", "old list"}
                                                   << "before";
    }

    void one_match_is_taken_and_anything_else_listed()
    {
        QFETCH(int, kind);
        QFETCH(QString, typed);
        QFETCH(QString, key);
        QFETCH(bool, found);
        QFETCH(QStringList, result);
        QFETCH(QString, caption);
        leave_an_old_list();
        plant->list->setWindowTitle(QStringLiteral("before"));
        LookupState &s = plant->lookup;
        s.lookup_name = s.lookup_attr = QStringLiteral("prev");
        QCOMPARE(lookup(kind, typed, key), found);
        QCOMPARE(s.lookup_kind, kind);
        QCOMPARE(plant->list->windowTitle(), caption);
        QCOMPARE(plant->list->geometry(), QRect(20, 10, 200, 300));
        if (found) {
            QCOMPARE((QStringList{s.lookup_code, s.lookup_name, s.lookup_attr, s.lookup_key}), result);
            QVERIFY(!s.lookup_row.isEmpty());
        } else {
            QCOMPARE(list_column(0) + list_titles(), result);
            // Nothing taken: the variables stay as they were.
            QCOMPARE((QStringList{s.lookup_code, s.lookup_name, s.lookup_attr, s.lookup_key}),
                     (QStringList{typed, "prev", "prev", key}));
            QVERIFY(s.lookup_row.isEmpty());
        }
        QVERIFY(!plant->list->isVisible());
    }

    // Order entry reads further columns of the found row.
    void the_found_row_keeps_every_column()
    {
        QVERIFY(lookup(lookup_kinds::customers, "A002"));
        QCOMPARE(plant->lookup.lookup_row.value("rank").toString(), QStringLiteral("F"));
        QCOMPARE(plant->lookup.lookup_julsa, QStringLiteral("0"));
        QVERIFY(lookup(lookup_kinds::sites, "001", "A001"));
        QCOMPARE(plant->lookup.lookup_row.value("memo").toString(), QStringLiteral("메모"));
        QCOMPARE(plant->lookup.lookup_row.value("ground_tel").toString(), QStringLiteral("010-1234-5678"));
    }

    void a_pick_copies_the_row_by_kind_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("picked");  // code, name, attr, key
        using namespace lookup_kinds;
        QTest::newRow("customer") << customers << "Z999" << "" << 1 << QStringList{"A002", "한빛종합건설", "T", "N"};
        QTest::newRow("site") << sites << "999" << "A001" << 0 << QStringList{"003", "오산 현장", "G", "003"};
        QTest::newRow("product") << products << "9999" << "" << 2 << QStringList{"9001", "몰탈", "몰탈", ""};
        QTest::newRow("vehicle") << vehicles << "김" << "" << 0 << QStringList{"82-1375-3", "김기사", "1375", ""};
        QTest::newRow("transport company") << transport_companies << "99" << "" << 2 << QStringList{"03", "대한물류", "", ""};
        QTest::newRow("transport fee") << transport_fees << "99" << "" << 2 << QStringList{"2", "19800", "", ""};
        QTest::newRow("sales person") << sales_persons << "999" << "" << 1 << QStringList{"002", "최현수", "", ""};
    }

    void a_pick_copies_the_row_by_kind()
    {
        QFETCH(int, kind);
        QFETCH(QString, typed);
        QFETCH(QString, key);
        QFETCH(int, row);
        QFETCH(QStringList, picked);
        LookupState &s = plant->lookup;
        s.lookup_attr.clear();
        s.lookup_key = key;
        QVERIFY(!lookup(kind, typed, key));
        on_next_modal([&](QWidget *) {
            QTableView *grid = plant->list->Grd_pan;
            click_row(grid, row);
        });
        QCOMPARE(plant->list->exec(), int(QDialog::Accepted));
        QCOMPARE((QStringList{s.lookup_code, s.lookup_name, s.lookup_attr, s.lookup_key}), picked);
        QCOMPARE(s.lookup_row.value(0).toString().isEmpty(), false);
    }

    void a_picked_price_keeps_its_decimals()
    {
        QVERIFY(!lookup(lookup_kinds::products, "9999"));
        on_next_modal([&](QWidget *) { QTest::keyClick(plant->list->Grd_pan, Qt::Key_Return); });
        QCOMPARE(plant->list->exec(), int(QDialog::Accepted));
        QCOMPARE(plant->lookup.lookup_code, QStringLiteral("1001"));
        QCOMPARE(plant->lookup.lookup_kwan_price, 61000.5);
        QCOMPARE(plant->lookup.lookup_sa_price, 64001.5);
    }

    void closing_the_list_without_a_pick_changes_nothing()
    {
        LookupState &s = plant->lookup;
        QVERIFY(lookup(lookup_kinds::customers, "A002"));
        QVERIFY(!lookup(lookup_kinds::vehicles, "9999"));
        on_next_modal([&](QWidget *) { QTest::keyClick(plant->list->Grd_pan, Qt::Key_Escape); });
        QCOMPARE(plant->list->exec(), int(QDialog::Rejected));
        QCOMPARE(s.lookup_code, QStringLiteral("9999"));  // the caller's text
        QCOMPARE(s.lookup_name, QStringLiteral("한빛종합건설"));
        QCOMPARE(s.lookup_attr, QStringLiteral("T"));
        QCOMPARE(s.lookup_key, QStringLiteral("N"));
        QCOMPARE(s.lookup_julsa, QStringLiteral("0"));
        QCOMPARE(s.lookup_kind, lookup_kinds::vehicles);
    }

    void enter_in_an_empty_list_gives_an_empty_code()
    {
        QVERIFY(!lookup(lookup_kinds::customers, "없는이름"));
        QCOMPARE(plant->list->Grd_pan->model()->rowCount(), 0);
        on_next_modal([&](QWidget *) { QTest::keyClick(plant->list->Grd_pan, Qt::Key_Enter); });
        QCOMPARE(plant->list->exec(), int(QDialog::Accepted));
        QCOMPARE(plant->lookup.lookup_code, QString());
        QCOMPARE(plant->lookup.lookup_name, QString());
    }

    void a_title_click_reorders_the_list_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("title");
        QTest::addColumn<QStringList>("codes");  // the list's code column afterwards
        using namespace lookup_kinds;
        QTest::newRow("customers: all of them by the clicked field")
            << customers << "건설" << "" << 1
            << QStringList{"A001", "A002", "A003", "A004", "A005", "A006", "A007", "C001"};
        QTest::newRow("sites: the same rows by name") << sites << "999" << "A001" << 1
                                                     << QStringList{"001", "003", "002"};
        QTest::newRow("products: the same rows by product name") << products << "9999" << "" << 1
                                                                << QStringList{"9001", "1001", "1002"};
        QTest::newRow("vehicles: no change") << vehicles << "9999" << "" << 2 << QStringList{"1101", "1238", "1375"};
    }

    void a_title_click_reorders_the_list()
    {
        QFETCH(int, kind);
        QFETCH(QString, typed);
        QFETCH(QString, key);
        QFETCH(int, title);
        QFETCH(QStringList, codes);
        QVERIFY(!lookup(kind, typed, key));
        const QStringList titles_before = list_titles();
        const int code_column = kind == lookup_kinds::customers ? 1 : 0;
        plant->list->show();
        click_title(plant->list->Grd_pan, title);
        QCOMPARE(list_column(code_column), codes);
        QCOMPARE(list_titles(), titles_before);
        QVERIFY(plant->list->isVisible());
        plant->list->hide();
    }

    // The shipment recording looks up vehicles without any list.
    void a_lookup_without_list_window_still_matches()
    {
        plant->ctx.list = nullptr;
        QVERIFY(lookup(lookup_kinds::vehicles, "1101"));
        QCOMPARE(plant->lookup.lookup_code, QStringLiteral("80-1101-1"));
        QVERIFY(!lookup(lookup_kinds::vehicles, "9999"));
        QCOMPARE(plant->lookup.lookup_code, QStringLiteral("9999"));
        QVERIFY(!lookup_or_pick(plant->ctx, lookup_kinds::vehicles, nullptr, QRect(0, 0, 100, 100)));
    }
};

QTEST_MAIN(TestCodeLookup)
#include "tst_code_lookup_db.moc"
