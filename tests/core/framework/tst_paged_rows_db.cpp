#include "core/framework/record_table_model.h"
#include "test_support.h"

#include <QSignalSpy>
#include <QTest>

// A grid model that reads a long statement a page at a time: the rows come
// whole and in order even while other statements run on the connection,
// and a failure part way is told, never passed off as the end.
class TestPagedRows : public QObject {
    Q_OBJECT

    static QStringList seqs(const RecordTableModel &m)
    {
        QStringList all;
        for (int r = 0; r < m.rowCount(); ++r)
            all << m.text(r, QStringLiteral("seq"));
        return all;
    }

private Q_SLOTS:
    void pages_survive_other_statements()
    {
        TestPlant plant;
        QStringList expected;
        for (int i = 0; i < 10; ++i) {
            const QString seq = QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
            plant.exec("insert into r_suju (ilja, seq, order_m3) values ('2026-03-01', :s, 1)", {{":s", seq}});
            expected << seq;
        }
        RecordTableModel m(QList<RecordTableModel::Column>{{"seq", "seq"}});
        m.load_in_pages(plant.db().query_kept("select seq from r_suju order by seq"), 3);
        QCOMPARE(seqs(m), (QStringList{"00", "01", "02"}));
        QVERIFY(m.canFetchMore(QModelIndex()));
        // What a grid click or a recording runs in between.
        QCOMPARE(plant.db().scalar("select count(*) from r_suju").toInt(), 10);
        {
            Transaction tx(plant.db());  // a recording commits while the grid reads
            plant.exec("update r_suju set order_m3 = 2 where seq = '09'");
            tx.commit();
        }
        {
            Transaction tx(plant.db());  // and one rolls back
            plant.exec("update r_suju set order_m3 = 3 where seq = '08'");
        }
        m.fetchMore(QModelIndex());
        QCOMPARE(m.rowCount(), 6);
        QVERIFY(m.fetch_all());
        QCOMPARE(seqs(m), expected);
        QVERIFY(!m.canFetchMore(QModelIndex()));
    }

    void a_failing_source_is_told()
    {
        RecordTableModel m(QList<RecordTableModel::Column>{{"seq", "seq"}});
        QSignalSpy failed(&m, &RecordTableModel::fetch_failed);
        int made = 0;
        m.load_in_pages(
            [&made](QSqlRecord &row) {
                if (made == 4)
                    throw DbError(QStringLiteral("연결이 끊어졌습니다."));
                row = QSqlRecord();
                ++made;
                return true;
            },
            3);
        QCOMPARE(m.rowCount(), 3);
        QVERIFY(!m.fetch_all());
        QCOMPARE(m.rowCount(), 4);
        QCOMPARE(failed.size(), 1);
        QCOMPARE(failed.first().first().toString(), QStringLiteral("연결이 끊어졌습니다."));
        QVERIFY(!m.canFetchMore(QModelIndex()));
        m.clear();
        QVERIFY(m.fetch_all());
    }
};

QTEST_MAIN(TestPagedRows)
#include "tst_paged_rows_db.moc"
