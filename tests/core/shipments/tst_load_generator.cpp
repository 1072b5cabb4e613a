#include "core/shipments/load_generator.h"

#include <QRandomGenerator>
#include <QTest>
#include <QTime>

// The loads a yusa order is split into, with a seeded generator.
class TestLoadGenerator : public QObject {
    Q_OBJECT

    static QList<int> gaps(const QList<GeneratedLoad> &loads)
    {
        QList<int> minutes;
        for (qsizetype i = 1; i < loads.size(); ++i) {
            const QTime a = QTime::fromString(loads[i - 1].time, QStringLiteral("HH:mm"));
            const QTime b = QTime::fromString(loads[i].time, QStringLiteral("HH:mm"));
            minutes << (a.secsTo(b) / 60 + 24 * 60) % (24 * 60);
        }
        return minutes;
    }

private Q_SLOTS:
    void loads_data()
    {
        QTest::addColumn<double>("quantity");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QStringList>("trucks");
        QTest::addColumn<QList<GeneratedLoad>>("expected");
        const QStringList one{QStringLiteral("80-1101-1")};
        const QString t = QStringLiteral("80-1101-1");
        QTest::newRow("20 m3 from 08:00")
            << 20.0 << "08:00" << one
            << QList<GeneratedLoad>{{"001", "08:00", t, 6, 6}, {"002", "08:02", t, 6, 12},
                                    {"003", "08:04", t, 6, 18}, {"004", "08:06", t, 2, 20}};
        QTest::newRow("12 m3: two full loads")
            << 12.0 << "10:30" << one << QList<GeneratedLoad>{{"001", "10:30", t, 6, 6}, {"002", "10:32", t, 6, 12}};
        QTest::newRow("3.5 m3: one load") << 3.5 << "07:00" << one << QList<GeneratedLoad>{{"001", "07:00", t, 3.5, 3.5}};
        QTest::newRow("12.004 m3: below half a hundredth, no load for it")
            << 12.004 << "09:00" << one << QList<GeneratedLoad>{{"001", "09:00", t, 6, 6}, {"002", "09:02", t, 6, 12}};
        QTest::newRow("past midnight")
            << 18.0 << "23:58" << one
            << QList<GeneratedLoad>{{"001", "23:58", t, 6, 6}, {"002", "00:00", t, 6, 12}, {"003", "00:02", t, 6, 18}};
        QTest::newRow("five loads over three trucks in turn")
            << 30.0 << "08:00" << QStringList{"A", "B", "C"}
            << QList<GeneratedLoad>{{"001", "08:00", "A", 6, 6}, {"002", "08:02", "B", 6, 12},
                                    {"003", "08:04", "C", 6, 18}, {"004", "08:06", "A", 6, 24},
                                    {"005", "08:08", "B", 6, 30}};
        QTest::newRow("no truck in service: empty vehicle code")
            << 7.0 << "08:00" << QStringList{} << QList<GeneratedLoad>{{"001", "08:00", "", 6, 6}, {"002", "08:02", "", 1, 7}};
    }
    void loads()
    {
        QFETCH(double, quantity);
        QFETCH(QString, first);
        QFETCH(QStringList, trucks);
        QFETCH(QList<GeneratedLoad>, expected);
        QRandomGenerator random(7);
        const LoadPlan plan = generate_loads({quantity, first, QStringLiteral("00")}, trucks, random);
        QCOMPARE(plan.problem, QString());
        QCOMPARE(plan.loads.size(), expected.size());
        for (qsizetype i = 0; i < expected.size(); ++i) {
            const GeneratedLoad &got = plan.loads[i];
            const GeneratedLoad &want = expected[i];
            QCOMPARE(got.seq, want.seq);
            QCOMPARE(got.time, want.time);
            QCOMPARE(got.vehicle_code, want.vehicle_code);
            QCOMPARE(qRound64(got.m3 * 1000), qRound64(want.m3 * 1000));
            QCOMPARE(qRound64(got.cumulative * 1000), qRound64(want.cumulative * 1000));
        }
    }

    // Interval I: every gap is 2 + R, R uniform in 0 ... I-1, so 2 to I+1;
    // over many runs every one of those gaps turns up.
    void gaps_stay_within_the_interval_data()
    {
        QTest::addColumn<QString>("interval");
        QTest::addColumn<int>("shortest");
        QTest::addColumn<int>("longest");
        QTest::newRow("10") << "10" << 2 << 11;
        QTest::newRow("1: always 2") << "1" << 2 << 2;
        QTest::newRow("58: under an hour") << "58" << 2 << 59;
        QTest::newRow("leading blank") << " 3" << 2 << 4;
    }
    void gaps_stay_within_the_interval()
    {
        QFETCH(QString, interval);
        QFETCH(int, shortest);
        QFETCH(int, longest);
        QSet<int> seen;
        for (quint32 seed = 1; seed <= 200; ++seed) {
            QRandomGenerator random(seed);
            const LoadPlan plan = generate_loads({600, QStringLiteral("06:00"), interval}, {"A"}, random);
            QCOMPARE(plan.problem, QString());
            QCOMPARE(plan.loads.size(), 100);
            for (int g : gaps(plan.loads)) {
                QVERIFY2(g >= shortest && g <= longest, qPrintable(QString::number(g)));
                seen.insert(g);
            }
        }
        QCOMPARE(seen.size(), longest - shortest + 1);
    }

    void same_seed_same_loads()
    {
        QRandomGenerator a(42), b(42), c(43);
        const LoadOrder order{60, QStringLiteral("08:00"), QStringLiteral("30")};
        const auto times = [](const LoadPlan &p) {
            QStringList t;
            for (const GeneratedLoad &l : p.loads)
                t << l.time;
            return t;
        };
        const QStringList first = times(generate_loads(order, {}, a));
        QCOMPARE(times(generate_loads(order, {}, b)), first);
        QVERIFY(times(generate_loads(order, {}, c)) != first);
    }

    // Refused before anything is made: the message names the value.
    void refused_orders_data()
    {
        QTest::addColumn<double>("quantity");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("interval");
        QTest::addColumn<QString>("problem");  // a part of the message; "" when accepted
        QTest::newRow("interval 58") << 20.0 << "08:00" << "58" << "";
        QTest::newRow("interval 59") << 20.0 << "08:00" << "59" << "간격 \"59\"";
        QTest::newRow("interval 99") << 20.0 << "08:00" << "99" << "간격 \"99\"";
        QTest::newRow("interval not a number") << 20.0 << "08:00" << "1a" << "간격 \"1a\"";
        QTest::newRow("interval blank") << 20.0 << "08:00" << "  " << "간격";
        QTest::newRow("interval negative") << 20.0 << "08:00" << "-1" << "간격";
        QTest::newRow("time 25:00") << 20.0 << "25:00" << "00" << "첫차시간 \"25:00\"";
        QTest::newRow("time half typed") << 20.0 << "08:__" << "00" << "첫차시간";
        QTest::newRow("time empty") << 20.0 << "" << "00" << "첫차시간";
        QTest::newRow("999 loads") << 5994.0 << "08:00" << "00" << "";
        QTest::newRow("1000 loads") << 5994.5 << "08:00" << "00" << "999대";
        QTest::newRow("huge quantity") << 1e12 << "08:00" << "00" << "999대";
        QTest::newRow("no hundredth") << 0.004 << "08:00" << "00" << "수주량";
        QTest::newRow("negative") << -3.0 << "08:00" << "00" << "수주량";
    }
    void refused_orders()
    {
        QFETCH(double, quantity);
        QFETCH(QString, first);
        QFETCH(QString, interval);
        QFETCH(QString, problem);
        QRandomGenerator random(1);
        const LoadPlan plan = generate_loads({quantity, first, interval}, {"A"}, random);
        if (problem.isEmpty()) {
            QCOMPARE(plan.problem, QString());
            QVERIFY(!plan.loads.isEmpty());
        } else {
            QVERIFY2(plan.problem.contains(problem), qPrintable(plan.problem));
            QVERIFY(plan.problem.contains(QStringLiteral("만들지 않았습니다")));
            QVERIFY(plan.loads.isEmpty());
        }
    }

    void last_of_999_loads_is_numbered_999()
    {
        QRandomGenerator random(1);
        const LoadPlan plan = generate_loads({5994, QStringLiteral("08:00"), QStringLiteral("00")}, {}, random);
        QCOMPARE(plan.loads.size(), 999);
        QCOMPARE(plan.loads.last().seq, QStringLiteral("999"));
        QCOMPARE(qRound64(plan.loads.last().cumulative * 100), 599400);
    }
};

QTEST_GUILESS_MAIN(TestLoadGenerator)
#include "tst_load_generator.moc"
