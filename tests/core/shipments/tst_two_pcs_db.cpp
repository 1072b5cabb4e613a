#include "test_support.h"
#include "core/framework/guarded.h"
#include "core/plantlink/shipment_recording.h"
#include "core/shipments/load_generator.h"
#include "core/shipments/shipment_edit_db.h"
#include "core/shipments/yusa_db.h"

#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTest>
#include <array>

using shipment_edit_db::SaveRequest;
using shipment_edit_db::Shipment;

// Two PCs on one database doing the same thing at the same moment: the
// console recording a load while the office corrects the same order, two
// offices saving, two auto books generating.  Each round releases both
// together on an order of its own; afterwards the order's trip numbers are
// distinct, its figures are what its loads add up to and neither PC's rows
// were written over.
class TestTwoPcs : public QObject {
    Q_OBJECT

    static constexpr const char *day = "2026-03-02";
    static constexpr int rounds = 30;

    struct Plant {
        TestPlant p{TestPlant::OnDisk};
        Plant()
        {
            add_truck(p, "81-1111-1", "1111", "YES");
            add_truck(p, "81-2222-2", "2222", "YES");
        }
        const Database &db() const { return p.db(); }

        // An order of 60 m3 with `loads` loads of 6 m3 from 08:00, its
        // figures in step with them.
        QString order(int round, int loads = 0) const
        {
            const QByteArray seq = QByteArray::number(10 + round);
            add_order(p, day, seq.constData(), 60, 0);
            for (int n = 1; n <= loads; ++n) {
                const QByteArray count = QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0')).toLatin1();
                const QByteArray time = QTime(8, 0).addSecs(60 * n).toString(QStringLiteral("hh:mm:ss")).toLatin1();
                add_load(p, day, day, seq.constData(), count.constData(), "81-1111-1", time.constData(), 6);
            }
            shipment_edit_db::adjust_order(db(), QString::fromLatin1(day), QString::fromLatin1(seq), 6.0 * loads, loads);
            return QString::fromLatin1(seq);
        }

        // What is out of step in the order, empty when nothing.
        QString out_of_step(const QString &seq) const
        {
            QStringList problems;
            QSqlQuery q = db().query(QStringLiteral("select o_count from cholha where o_fdate = :f and o_scode = :s"
                                                    " order by o_count"),
                                     {{":f", QString::fromLatin1(day)}, {":s", seq}});
            QStringList trips;
            while (q.next())
                trips << q.value(0).toString();
            for (qsizetype i = 1; i < trips.size(); ++i)
                if (trips[i] == trips[i - 1])
                    problems << QStringLiteral("trip %1 twice").arg(trips[i]);
            QSqlQuery sums = db().query(QStringLiteral("select count(*), sum(o_outorder) from cholha"
                                                       " where o_fdate = :f and o_scode = :s"),
                                        {{":f", QString::fromLatin1(day)}, {":s", seq}});
            sums.next();
            const int count = sums.value(0).toInt();
            const double shipped = number_or_zero(sums.value(1));
            QSqlQuery o = db().query(QStringLiteral("select v_outorder, v_reorder, v_ccount from r_suju"
                                                    " where ilja = :d and seq = :s"),
                                     {{":d", QString::fromLatin1(day)}, {":s", seq}});
            o.next();
            const QString stored = QStringLiteral("%1 %2 %3").arg(number_or_zero(o.value(0)))
                                       .arg(number_or_zero(o.value(1))).arg(number_or_zero(o.value(2)));
            const QString summed = QStringLiteral("%1 %2 %3").arg(shipped).arg(std::max(60 - shipped, 0.0)).arg(count);
            if (stored != summed)
                problems << QStringLiteral("order holds %1, its loads %2").arg(stored, summed);
            return problems.join(QStringLiteral("; "));
        }

        bool has_load(const QString &seq, const QString &time, double m3) const
        {
            return db().scalar(QStringLiteral("select count(*) from cholha where o_fdate = :f and o_scode = :s"
                                              " and o_otime = :t and o_outorder = :q"),
                               {{":f", QString::fromLatin1(day)}, {":s", seq}, {":t", time}, {":q", m3}})
                       .toInt()
                   == 1;
        }

        int load_count(const QString &seq) const
        {
            return db().scalar(QStringLiteral("select count(*) from cholha where o_fdate = :f and o_scode = :s"),
                               {{":f", QString::fromLatin1(day)}, {":s", seq}})
                .toInt();
        }
    };

    static QString time_of(int hour, int round)
    {
        return QTime(hour, 0).addSecs(60 * round).toString(QStringLiteral("hh:mm:ss"));
    }

    static SaveRequest new_load(const QString &seq, const QString &time, double m3, const char *car, const char *number)
    {
        SaveRequest r;
        r.mode = SaveRequest::Mode::Insert;
        r.board_date = QString::fromLatin1(day);
        r.site = QStringLiteral("현장") + seq;
        Shipment &s = r.shipment;
        s.o_fdate = s.o_date = QString::fromLatin1(day);
        s.o_otime = time;
        s.o_outorder = m3;
        s.o_ccode = QString::fromLatin1(number);
        s.o_carnum = QString::fromLatin1(car);
        s.o_scode = seq;
        s.o_return = QStringLiteral("**");
        s.o_hogi = QStringLiteral("1");
        return r;
    }

    static shipment_recording::Input recorded_load(const QString &seq, const QString &time, double m3)
    {
        shipment_recording::Input in;
        in.unit = 1;
        in.order_no = seq;
        in.product_code = QStringLiteral("1004");
        in.quantity = QString::number(m3);
        in.vehicle_no = QStringLiteral("2222");
        in.vehicle_code = QStringLiteral("81-2222-2");
        in.site_name = QStringLiteral("현장") + seq;
        in.board_date = QString::fromLatin1(day);
        in.today = QDate::fromString(QString::fromLatin1(day), Qt::ISODate);
        in.time = QTime::fromString(time, QStringLiteral("hh:mm:ss"));
        return in;
    }

    static Shipment stored(const Plant &t, const QString &seq, const QString &count)
    {
        QSqlQuery q = t.db().query(QStringLiteral("select * from cholha where o_fdate = :f and o_scode = :s"
                                                  " and o_count = :c"),
                                   {{":f", QString::fromLatin1(day)}, {":s", seq}, {":c", count}});
        if (!q.next())
            qFatal("no such load");
        return Shipment::from_record(q.record());
    }

    // The yusa order `seq` of the day: 20 m3 from 08:00 every 10 minutes.
    static yusa_db::YusaOrder yusa_order(const QString &date, const QString &seq, const QString &customer)
    {
        return {date, seq, customer, QStringLiteral("현장"), QStringLiteral("25-240-15"), 20,
                QStringLiteral("08:00"), QStringLiteral("10"), QStringLiteral("보통"), QStringLiteral("25mm"),
                QStringLiteral("AE"), QStringLiteral("0.8")};
    }

    // A round whose order no longer matches its loads fails the test.
    static bool in_step(const Plant &t, const QString &seq, int round)
    {
        const QString problem = t.out_of_step(seq);
        if (problem.isEmpty())
            return true;
        QTest::qFail(qPrintable(QStringLiteral("round %1: %2").arg(round).arg(problem)), __FILE__, __LINE__);
        return false;
    }

private Q_SLOTS:
    // The editor's load and the recorded one, both on the same order; and
    // two editors adding to the same order.
    void two_new_loads_of_one_order_data()
    {
        QTest::addColumn<bool>("recording");
        QTest::newRow("recording and editor") << true;
        QTest::newRow("editor and editor") << false;
    }
    void two_new_loads_of_one_order()
    {
        QFETCH(bool, recording);
        Plant t;
        for (int round = 0; round < rounds; ++round) {
            const QString seq = t.order(round, 1);
            const QString first = time_of(9, round), second = time_of(10, round);
            const QStringList failures = run_together(t.p, 2, [&](const Database &db, int piece) {
                if (piece == 0)
                    shipment_edit_db::save(db, new_load(seq, first, 5, "81-1111-1", "1111"));
                else if (recording)
                    shipment_recording::record(db, recorded_load(seq, second, 4), {});
                else
                    shipment_edit_db::save(db, new_load(seq, second, 4, "81-2222-2", "2222"));
            });
            QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
            QCOMPARE(t.load_count(seq), 3);
            QVERIFY(t.has_load(seq, first, 5));
            QVERIFY(t.has_load(seq, second, 4));
            if (!in_step(t, seq, round))
                return;
        }
    }

    // The editor deletes the first load while the console records one.
    void a_delete_while_a_load_is_recorded()
    {
        Plant t;
        for (int round = 0; round < rounds; ++round) {
            const QString seq = t.order(round, 2);
            const Shipment gone = stored(t, seq, QStringLiteral("001"));
            const QString time = time_of(10, round);
            const QStringList failures = run_together(t.p, 2, [&](const Database &db, int piece) {
                if (piece == 0)
                    shipment_edit_db::delete_shipment(db, gone, QString::fromLatin1(day));
                else
                    shipment_recording::record(db, recorded_load(seq, time, 4), {});
            });
            QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
            QCOMPARE(t.load_count(seq), 2);
            QVERIFY(!t.has_load(seq, gone.o_otime, 6));
            QVERIFY(t.has_load(seq, time, 4));
            if (!in_step(t, seq, round))
                return;
        }
    }

    // Two auto books generate the same yusa order's loads: both succeed one
    // after the other, and the loads are all of one generation.
    void two_generations_of_one_yusa_order()
    {
        Plant t;
        const QStringList trucks = yusa_db::vehicles_in_service(t.db());
        for (int round = 0; round < rounds; ++round) {
            const QString seq = QString::number(round + 1);
            yusa_db::insert_order(t.db(), yusa_order(QString::fromLatin1(day), seq, QStringLiteral("한빛건설")));
            std::array<QList<GeneratedLoad>, 2> plans;
            for (int piece = 0; piece < 2; ++piece) {
                QRandomGenerator random(quint32(100 * round + piece));
                plans[piece] = generate_loads({20, QStringLiteral("08:00"), QStringLiteral("10")}, trucks, random).loads;
            }
            QVERIFY(plans[0] != plans[1]);
            const QStringList failures = run_together(t.p, 2, [&](const Database &db, int piece) {
                QRandomGenerator random(quint32(100 * round + piece));
                yusa_db::generate(db, QString::fromLatin1(day), seq, random);
            });
            QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
            QList<GeneratedLoad> stored;
            for (const QSqlRecord &r : yusa_db::loads(t.db(), QString::fromLatin1(day), seq)) {
                const yusa_db::YusaLoad l = yusa_db::load_from(r);
                stored << GeneratedLoad{l.seq, l.time, l.vehicle_code, l.m3, l.cumulative};
            }
            QVERIFY2(stored == plans[0] || stored == plans[1], qPrintable(QStringLiteral("round %1").arg(round)));
        }
    }

    // The console records a load of an order while the auto book makes a
    // yusa order's loads with the same trucks: each keeps all of its own.
    void a_recording_while_the_auto_book_generates()
    {
        Plant t;
        const QStringList trucks = yusa_db::vehicles_in_service(t.db());
        for (int round = 0; round < rounds; ++round) {
            const QString seq = t.order(round, 1);
            const QString yusa_seq = QString::number(round + 1);
            yusa_db::insert_order(t.db(), yusa_order(QString::fromLatin1(day), yusa_seq, QStringLiteral("한빛건설")));
            QRandomGenerator planned{quint32(round)};
            const QList<GeneratedLoad> plan =
                generate_loads({20, QStringLiteral("08:00"), QStringLiteral("10")}, trucks, planned).loads;
            const QString time = time_of(11, round);
            const QStringList failures = run_together(t.p, 2, [&](const Database &db, int piece) {
                if (piece == 0) {
                    QRandomGenerator random{quint32(round)};
                    yusa_db::generate(db, QString::fromLatin1(day), yusa_seq, random);
                } else {
                    shipment_recording::record(db, recorded_load(seq, time, 4), {});
                }
            });
            QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
            QCOMPARE(t.load_count(seq), 2);
            QVERIFY(t.has_load(seq, time, 4));
            QCOMPARE(yusa_db::loads(t.db(), QString::fromLatin1(day), yusa_seq).size(), plan.size());
            if (!in_step(t, seq, round))
                return;
        }
    }

    // Two auto books store a new yusa order under the same shown number:
    // one gets it, the other the next one, and both orders are kept.
    void two_new_yusa_orders_under_one_number()
    {
        Plant t;
        for (int round = 0; round < rounds; ++round) {
            const QString date = QDate(2026, 3, 1).addDays(round).toString(Qt::ISODate);
            std::array<yusa_db::NewOrder, 2> saved;
            const QStringList failures = run_together(t.p, 2, [&](const Database &db, int piece) {
                saved[piece] = yusa_db::insert_new_order(db, yusa_order(date, QStringLiteral("1"),
                                                                        QStringLiteral("PC%1").arg(piece)));
            });
            QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
            QStringList rows;
            for (const QSqlRecord &r : yusa_db::orders(t.db(), date))
                rows << yusa_db::order_from(r).seq + QLatin1Char(' ') + yusa_db::order_from(r).customer;
            const QString first = saved[0].moved ? QStringLiteral("PC1") : QStringLiteral("PC0");
            const QString second = saved[0].moved ? QStringLiteral("PC0") : QStringLiteral("PC1");
            QCOMPARE(rows, (QStringList{QStringLiteral("1 ") + first, QStringLiteral("2 ") + second}));
            QCOMPARE(saved[0].moved + saved[1].moved, 1);
        }
    }
};

QTEST_GUILESS_MAIN(TestTwoPcs)
#include "tst_two_pcs_db.moc"
