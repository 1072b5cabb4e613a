#include "core/masterdata/customer_db.h"
#include "core/masterdata/site_db.h"
#include "test_support.h"

#include <QTest>

// New customers and sites on a database other PCs add to at the same
// moment: the code shown is a proposal, the code stored is free when saved.
class TestNewCodesDb : public QObject {
    Q_OBJECT

    static constexpr int rounds = 30;

    static void add_customer_row(const TestPlant &p, const QString &grcd, const QString &name = "기존")
    {
        p.exec("insert into customer (saup, cust_set, cust_seq, grcd, name, kawn_sa, vat, misu)"
               " values ('AA', :s, :q, :g, :n, 'K', 'N', 'G')",
               {{":s", grcd.left(1)}, {":q", grcd.mid(1).toInt()}, {":g", grcd}, {":n", name}});
    }

    static void add_site_row(const TestPlant &p, const QString &grcd, const QString &code)
    {
        p.exec("insert into r_hyunjang (saup, grcd, code, name, man_code, man_name, misu, grcode)"
               " values ('AA', :g, :c, '기존', '001', '박영업', 'G', :gc)",
               {{":g", grcd}, {":c", code}, {":gc", grcd + code}});
    }

    static QString customer_name(const TestPlant &p, const QString &grcd)
    {
        return p.db().scalar("select name from customer where grcd = :g", {{":g", grcd}}).toString();
    }

    static QString site_name(const TestPlant &p, const QString &grcd, const QString &code)
    {
        return p.db().scalar("select name from r_hyunjang where grcd = :g and code = :c", {{":g", grcd}, {":c", code}})
            .toString();
    }

    static NewSite site(const QString &grcd, const QString &code, const QString &name)
    {
        return {grcd, code, name, QStringLiteral("001"), QStringLiteral("박영업"), QStringLiteral("대한건설")};
    }

private Q_SLOTS:
    void a_customer_gets_its_code_or_the_next_free_one_data()
    {
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("digits");
        QTest::addColumn<bool>("renumber");
        QTest::addColumn<QString>("stored");  // "" for nothing stored
        QTest::newRow("empty group") << QStringList{"A005"} << "001" << true << "001";
        QTest::newRow("free proposal") << QStringList{"B001", "B002"} << "003" << true << "003";
        QTest::newRow("proposal taken") << QStringList{"B001", "B002", "B003"} << "003" << true << "004";
        QTest::newRow("proposal taken, a higher one too") << QStringList{"B003", "B007"} << "003" << true << "008";
        QTest::newRow("free code typed") << QStringList{"B001", "B007"} << "003" << false << "003";
        QTest::newRow("taken code typed") << QStringList{"B003"} << "003" << false << "";
    }

    void a_customer_gets_its_code_or_the_next_free_one()
    {
        QFETCH(QStringList, existing);
        QFETCH(QString, digits);
        QFETCH(bool, renumber);
        QFETCH(QString, stored);
        TestPlant plant;
        for (const QString &grcd : existing)
            add_customer_row(plant, grcd);
        const std::optional<QString> got = add_customer(plant.db(), "B", digits, "새 거래처", renumber);
        QCOMPARE(got.value_or(QString()), stored);
        for (const QString &grcd : existing)
            QCOMPARE(customer_name(plant, grcd), QStringLiteral("기존"));
        const int rows = int(number_or_zero(plant.db().scalar("select count(*) from customer")));
        QCOMPARE(rows, int(existing.size()) + (stored.isEmpty() ? 0 : 1));
        if (!stored.isEmpty()) {
            QSqlQuery q = plant.db().query("select cust_set, cust_seq, name, vat, kawn_sa, misu from customer"
                                           " where grcd = :g",
                                           {{":g", "B" + stored}});
            QVERIFY(q.next());
            QCOMPARE(q.value(0).toString(), QStringLiteral("B"));
            QCOMPARE(q.value(1).toInt(), stored.toInt());
            QCOMPARE(q.value(2).toString(), QStringLiteral("새 거래처"));
            QCOMPARE(q.value(3).toString() + q.value(4).toString() + q.value(5).toString(), QStringLiteral("VSH"));
        }
    }

    void a_site_gets_its_code_or_the_next_free_one_data()
    {
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("renumber");
        QTest::addColumn<QString>("stored");
        QTest::newRow("first site") << QStringList{} << "001" << true << "001";
        QTest::newRow("proposal taken") << QStringList{"001", "002"} << "002" << true << "003";
        QTest::newRow("proposal taken, a higher one too") << QStringList{"002", "009"} << "002" << true << "010";
        QTest::newRow("free code typed") << QStringList{"001", "009"} << "004" << false << "004";
        QTest::newRow("taken code typed") << QStringList{"004"} << "004" << false << "";
    }

    void a_site_gets_its_code_or_the_next_free_one()
    {
        QFETCH(QStringList, existing);
        QFETCH(QString, code);
        QFETCH(bool, renumber);
        QFETCH(QString, stored);
        TestPlant plant;
        add_customer_row(plant, "A001");
        add_site_row(plant, "B001", "099");  // another customer's sites do not count
        for (const QString &c : existing)
            add_site_row(plant, "A001", c);
        const std::optional<QString> got = add_site(plant.db(), site("A001", code, "새 현장"), renumber);
        QCOMPARE(got.value_or(QString()), stored);
        for (const QString &c : existing)
            QCOMPARE(site_name(plant, "A001", c), QStringLiteral("기존"));
        const int rows = int(number_or_zero(plant.db().scalar("select count(*) from r_hyunjang where grcd = 'A001'")));
        QCOMPARE(rows, int(existing.size()) + (stored.isEmpty() ? 0 : 1));
        if (!stored.isEmpty()) {
            QSqlQuery q = plant.db().query("select name, grcode, kawn_sa, grcd_name from r_hyunjang"
                                           " where grcd = 'A001' and code = :c",
                                           {{":c", stored}});
            QVERIFY(q.next());
            QCOMPARE(q.value(0).toString(), QStringLiteral("새 현장"));
            QCOMPARE(q.value(1).toString(), "A001" + stored);
            QCOMPARE(q.value(2).toString(), QStringLiteral("K"));
            QCOMPARE(q.value(3).toString(), QStringLiteral("대한건설"));
        }
    }

    void two_pcs_adding_a_customer_with_the_same_proposal_keep_both()
    {
        TestPlant plant(TestPlant::OnDisk);
        for (int round = 0; round < rounds; ++round) {
            const QString letter = QString(QChar(u'A' + round % 26));
            const QString first = QStringLiteral("%1").arg(round / 26 * 2 + 1, 3, 10, QLatin1Char('0'));
            std::optional<QString> stored[2];
            const QStringList failures = run_together(plant, 2, [&](const Database &db, int piece) {
                stored[piece] = add_customer(db, letter, first, QStringLiteral("PC %1").arg(piece), true);
            });
            QVERIFY2(failures.isEmpty(), qPrintable(failures.join('\n')));
            QVERIFY(stored[0] && stored[1]);
            QVERIFY2(*stored[0] != *stored[1], qPrintable(*stored[0]));
            for (int piece = 0; piece < 2; ++piece)
                QCOMPARE(customer_name(plant, letter + *stored[piece]), QStringLiteral("PC %1").arg(piece));
        }
    }

    void two_pcs_adding_a_site_with_the_same_proposal_keep_both()
    {
        TestPlant plant(TestPlant::OnDisk);
        for (int round = 0; round < rounds; ++round) {
            const QString grcd = QStringLiteral("A%1").arg(round, 3, 10, QLatin1Char('0'));
            add_customer_row(plant, grcd);
            std::optional<QString> stored[2];
            const QStringList failures = run_together(plant, 2, [&](const Database &db, int piece) {
                stored[piece] = add_site(db, site(grcd, "001", QStringLiteral("PC %1").arg(piece)), true);
            });
            QVERIFY2(failures.isEmpty(), qPrintable(failures.join('\n')));
            QVERIFY(stored[0] && stored[1]);
            QVERIFY2(*stored[0] != *stored[1], qPrintable(*stored[0]));
            for (int piece = 0; piece < 2; ++piece)
                QCOMPARE(site_name(plant, grcd, *stored[piece]), QStringLiteral("PC %1").arg(piece));
        }
    }
};

QTEST_GUILESS_MAIN(TestNewCodesDb)
#include "tst_new_codes_db.moc"
