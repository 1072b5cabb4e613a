#include "test_support.h"
#include "core/framework/guarded.h"
#include "core/shipments/shipment_edit_db.h"

#include <QSqlQuery>
#include <QTest>

using shipment_edit_db::SaveRequest;
using shipment_edit_db::Shipment;

// The shipment editor's changes: every save and delete keeps the shipment
// rows, the order's figures, the trip numbers and the trucks' day counts
// in step, or changes nothing at all.
class TestShipmentEditDb : public QObject {
    Q_OBJECT

    static constexpr const char *day = "2026-03-02";

    struct Plant {
        TestPlant p;
        Plant()
        {
            add_order(p, day, "01", 30, 0);
            add_order(p, day, "02", 12, 0);
            add_truck(p, "81-1111-1", "1111", "YES", "옛현장");
            add_truck(p, "81-2222-2", "2222", "YES", "옛현장");
        }
        const Database &db() const { return p.db(); }
        // A load of the order, counted into the order's figures as the
        // recording does.
        void load(const char *seq, const char *count, const char *car, const char *time, double m3,
                  const char *date = day, const char *fdate = day) const
        {
            add_load(p, date, fdate, seq, count, car, time, m3);
            if (QString::fromLatin1(fdate) == QLatin1String(day))
                shipment_edit_db::adjust_order(db(), QString::fromLatin1(fdate), QString::fromLatin1(seq), m3, 1);
        }
        // The order's shipments: "count time vehicle total mortar mark" by time.
        QStringList loads(const QString &seq, const QString &fdate = QString::fromLatin1(day)) const
        {
            QSqlQuery q = db().query(QStringLiteral("select * from cholha where o_fdate = :f and o_scode = :s"
                                                    " order by o_date, o_otime, o_hogi"),
                                     {{":f", fdate}, {":s", seq}});
            QStringList rows;
            while (q.next()) {
                const Shipment s = Shipment::from_record(q.record());
                rows << QStringLiteral("%1 %2 %3 %4 %5 %6")
                            .arg(s.o_count, s.o_otime, s.o_ccode)
                            .arg(s.o_outorder)
                            .arg(s.o_moltal)
                            .arg(s.o_return);
            }
            return rows;
        }
        // "shipped remaining trips"
        QString order(const QString &seq) const
        {
            QSqlQuery q = db().query(QStringLiteral("select v_outorder, v_reorder, v_ccount from r_suju"
                                                    " where ilja = :d and seq = :s"),
                                     {{":d", QString::fromLatin1(day)}, {":s", seq}});
            if (!q.next())
                return QStringLiteral("missing");
            return QStringLiteral("%1 %2 %3").arg(number_or_zero(q.value(0))).arg(number_or_zero(q.value(1)))
                .arg(number_or_zero(q.value(2)));
        }
        // "day count site"
        QString truck(const QString &code) const
        {
            QSqlQuery q = db().query(QStringLiteral("select c_dsum, c_station from car_code where code = :c"),
                                     {{":c", code}});
            return q.next() ? QStringLiteral("%1 %2").arg(q.value(0).toInt()).arg(q.value(1).toString())
                            : QStringLiteral("missing");
        }
        Shipment stored(const QString &seq, const QString &time) const
        {
            QSqlQuery q = db().query(QStringLiteral("select * from cholha where o_fdate = :f and o_scode = :s"
                                                    " and o_otime = :t"),
                                     {{":f", QString::fromLatin1(day)}, {":s", seq}, {":t", time}});
            if (!q.next())
                qFatal("no such load");
            return Shipment::from_record(q.record());
        }
    };

    static Shipment typed(const char *seq, const char *time, double qty, double mortar, const char *car,
                          const char *number, const char *count = "")
    {
        Shipment s;
        s.o_fdate = QString::fromLatin1(day);
        s.o_date = QString::fromLatin1(day);
        s.o_otime = QString::fromLatin1(time);
        s.o_outorder = qty + mortar;
        s.o_moltal = mortar;
        s.o_ccode = QString::fromLatin1(number);
        s.o_count = QString::fromLatin1(count);
        s.o_carnum = QString::fromLatin1(car);
        s.o_scode = QString::fromLatin1(seq);
        s.o_return = QStringLiteral("**");
        s.o_hogi = QStringLiteral("1");
        return s;
    }

    static SaveRequest insert(const Shipment &s, bool replace = false)
    {
        SaveRequest r;
        r.mode = SaveRequest::Mode::Insert;
        r.board_date = QString::fromLatin1(day);
        r.site = QStringLiteral("현장%1").arg(s.o_scode);
        r.shipment = s;
        r.replace_occupant = replace;
        return r;
    }

    static SaveRequest edit(const Shipment &before, const Shipment &after, bool replace = true)
    {
        SaveRequest r = insert(after, replace);
        r.mode = SaveRequest::Mode::Edit;
        r.previous = before;
        return r;
    }

private Q_SLOTS:
    void a_load_with_mortar_and_its_delete()
    {
        Plant t;
        const auto result = shipment_edit_db::save(t.db(), insert(typed("01", "09:00:00", 2, 1, "81-1111-1", "1111")));
        QCOMPARE(result.o_count, QStringLiteral("001"));
        QCOMPARE(t.loads("01"), QStringList{"001 09:00:00 1111 3 1 **"});
        QCOMPARE(t.order("01"), QStringLiteral("3 27 1"));
        QCOMPARE(t.truck("81-1111-1"), QStringLiteral("1 현장01"));

        shipment_edit_db::delete_shipment(t.db(), t.stored("01", "09:00:00"), QString::fromLatin1(day));
        QCOMPARE(t.loads("01"), QStringList());
        QCOMPARE(t.order("01"), QStringLiteral("0 30 0"));
        QCOMPARE(t.truck("81-1111-1"), QStringLiteral("0 "));
    }

    void an_over_shipped_order_keeps_remaining_at_zero()
    {
        Plant t;
        t.p.exec(QStringLiteral("update r_suju set v_outorder = 28, v_reorder = 2, v_ccount = 5 where seq = '01'"));
        shipment_edit_db::save(t.db(), insert(typed("01", "09:00:00", 6, 0, "81-1111-1", "1111")));
        QCOMPARE(t.order("01"), QStringLiteral("34 0 6"));
        QCOMPARE(t.loads("01"), QStringList{"006 09:00:00 1111 6 0 **"});
        QCOMPARE(t.truck("81-1111-1"), QStringLiteral("1 현장01"));
    }

    void edits_change_the_order_by_the_difference_data()
    {
        QTest::addColumn<double>("qty");
        QTest::addColumn<double>("mortar");
        QTest::addColumn<QString>("mark");
        QTest::addColumn<QString>("order");
        QTest::newRow("mark only") << 6.0 << 0.0 << "회차" << "12 18 2";
        QTest::newRow("mortar only") << 6.0 << 1.0 << "**" << "13 17 2";
        QTest::newRow("mortar and mark") << 6.0 << 1.0 << "회차" << "13 17 2";
        QTest::newRow("quantity down") << 4.5 << 0.0 << "**" << "10.5 19.5 2";
    }
    void edits_change_the_order_by_the_difference()
    {
        QFETCH(double, qty);
        QFETCH(double, mortar);
        QFETCH(QString, mark);
        QFETCH(QString, order);
        Plant t;
        t.load("01", "001", "81-1111-1", "08:00:00", 6);
        t.load("01", "002", "81-2222-2", "09:00:00", 6);
        const Shipment before = t.stored("01", "09:00:00");
        Shipment after = typed("01", "09:00:00", qty, mortar, "81-2222-2", "2222", "002");
        after.o_return = mark;
        shipment_edit_db::save(t.db(), edit(before, after));
        QCOMPARE(t.order("01"), order);
        QCOMPARE(t.loads("01").size(), 2);
        QCOMPARE(t.loads("01").last(), QStringLiteral("002 09:00:00 2222 %1 %2 %3").arg(qty + mortar).arg(mortar).arg(mark));
        QCOMPARE(t.truck("81-2222-2"), QStringLiteral("1 현장01"));
    }

    void deleting_the_second_of_three_renumbers_the_rest()
    {
        Plant t;
        t.load("01", "001", "81-1111-1", "08:00:00", 6);
        t.load("01", "002", "81-2222-2", "09:00:00", 6);
        t.load("01", "003", "81-1111-1", "10:00:00", 6);
        shipment_edit_db::delete_shipment(t.db(), t.stored("01", "09:00:00"), QString::fromLatin1(day));
        QCOMPARE(t.loads("01"), (QStringList{"001 08:00:00 0000 6 0 **", "002 10:00:00 0000 6 0 **"}));
        QCOMPARE(t.order("01"), QStringLiteral("12 18 2"));
        QCOMPARE(t.truck("81-2222-2"), QStringLiteral("0 "));
        QCOMPARE(t.truck("81-1111-1"), QStringLiteral("7 옛현장"));  // not touched

        // An earlier load added later gets the next number; the others
        // keep theirs until the next edit or delete.
        shipment_edit_db::save(t.db(), insert(typed("01", "07:00:00", 6, 0, "81-2222-2", "2222")));
        QCOMPARE(t.loads("01"), (QStringList{"003 07:00:00 2222 6 0 **", "001 08:00:00 0000 6 0 **",
                                             "002 10:00:00 0000 6 0 **"}));
        QCOMPARE(t.order("01"), QStringLiteral("18 12 3"));
        QCOMPARE(t.truck("81-2222-2"), QStringLiteral("1 현장01"));
    }

    void a_trip_count_of_zero_stays_zero()
    {
        Plant t;
        add_load(t.p, day, day, "01", "001", "81-1111-1", "08:00:00", 6);  // not counted on the order
        t.p.exec(QStringLiteral("update r_suju set v_outorder = 6, v_reorder = 24 where seq = '01'"));
        shipment_edit_db::delete_shipment(t.db(), t.stored("01", "08:00:00"), QString::fromLatin1(day));
        QCOMPARE(t.order("01"), QStringLiteral("0 30 0"));
        QCOMPARE(t.loads("01"), QStringList());
    }

    void an_insert_over_another_orders_time_replaces_exactly_that_load()
    {
        Plant t;
        t.load("02", "001", "81-2222-2", "08:00:00", 6);
        t.load("02", "002", "81-2222-2", "09:00:00", 6);
        t.load("02", "003", "81-2222-2", "10:00:00", 6);
        // Yesterday's order left today in the same second: another load.
        add_load(t.p, day, "2026-03-01", "02", "004", "81-1111-1", "09:00:00", 6);

        const auto result = shipment_edit_db::save(t.db(), insert(typed("01", "09:00:00", 5, 0, "81-1111-1", "1111"), true));
        QVERIFY(result.replaced);
        QCOMPARE(result.replaced->o_scode, QStringLiteral("02"));
        QCOMPARE(t.loads("01"), QStringList{"001 09:00:00 1111 5 0 **"});
        QCOMPARE(t.order("01"), QStringLiteral("5 25 1"));
        QCOMPARE(t.loads("02"), (QStringList{"001 08:00:00 0000 6 0 **", "002 10:00:00 0000 6 0 **"}));
        QCOMPARE(t.order("02"), QStringLiteral("12 0 2"));
        QCOMPARE(t.loads("02", QStringLiteral("2026-03-01")).size(), 1);
        QCOMPARE(t.truck("81-2222-2"), QStringLiteral("2 "));
        QCOMPARE(t.truck("81-1111-1"), QStringLiteral("1 현장01"));
    }

    void an_insert_over_its_own_orders_time_takes_that_trip_number()
    {
        Plant t;
        t.load("01", "001", "81-2222-2", "08:00:00", 6);
        t.load("01", "002", "81-2222-2", "09:00:00", 6);
        shipment_edit_db::save(t.db(), insert(typed("01", "08:00:00", 4, 0, "81-1111-1", "1111"), true));
        QCOMPARE(t.loads("01"), (QStringList{"001 08:00:00 1111 4 0 **", "002 09:00:00 0000 6 0 **"}));
        QCOMPARE(t.order("01"), QStringLiteral("10 20 2"));
    }

    void an_edit_onto_another_orders_time_adjusts_that_order_too()
    {
        Plant t;
        t.load("01", "001", "81-1111-1", "08:00:00", 6);
        t.load("02", "001", "81-2222-2", "09:00:00", 6);
        t.load("02", "002", "81-2222-2", "10:00:00", 6);
        const Shipment before = t.stored("01", "08:00:00");
        shipment_edit_db::save(t.db(), edit(before, typed("01", "09:00:00", 6, 0, "81-1111-1", "1111", "001")));
        QCOMPARE(t.loads("01"), QStringList{"001 09:00:00 1111 6 0 **"});
        QCOMPARE(t.order("01"), QStringLiteral("6 24 1"));
        QCOMPARE(t.loads("02"), QStringList{"001 10:00:00 0000 6 0 **"});
        QCOMPARE(t.order("02"), QStringLiteral("6 6 1"));
        QCOMPARE(t.truck("81-2222-2"), QStringLiteral("1 "));
    }

    void without_consent_a_time_taken_meanwhile_stops_the_save()
    {
        Plant t;
        t.load("02", "001", "81-2222-2", "09:00:00", 6);
        try {
            shipment_edit_db::save(t.db(), insert(typed("01", "09:00:00", 6, 0, "81-1111-1", "1111")));
            QFAIL("saved over a load nobody agreed to replace");
        } catch (const ActionError &) {
        }
        QCOMPARE(t.loads("01"), QStringList());
        QCOMPARE(t.order("01"), QStringLiteral("0 30 0"));
        QCOMPARE(t.loads("02").size(), 1);
    }

    void consent_covers_the_load_named_only()
    {
        Plant t;
        t.load("02", "001", "81-2222-2", "09:00:00", 6);
        const std::optional<Shipment> named = shipment_edit_db::occupant(t.db(), QString::fromLatin1(day), "09:00:00");
        QVERIFY(named);
        QCOMPARE(shipment_edit_db::describe(*named), QStringLiteral("출하예정 02번, 차량 0000, 6 m3, 09:00:00"));
        // While the question was open, that load was deleted and another took its time.
        shipment_edit_db::delete_shipment(t.db(), *named, QString::fromLatin1(day));
        t.load("02", "001", "81-1111-1", "09:00:00", 3);
        SaveRequest r = insert(typed("01", "09:00:00", 6, 0, "81-1111-1", "1111"), true);
        r.consented_occupant = named;
        QVERIFY_THROWS_EXCEPTION(ActionError, shipment_edit_db::save(t.db(), r));
        QCOMPARE(t.loads("02"), QStringList{"001 09:00:00 0000 3 0 **"});
        QCOMPARE(t.loads("01"), QStringList());
    }

    void twins_of_the_same_second_are_told_apart()
    {
        Plant t;
        // Both units recorded a load of the same order in the same second.
        t.load("01", "001", "81-1111-1", "09:00:00", 6);
        t.p.exec(QStringLiteral("insert into cholha (o_date, o_fdate, o_otime, o_scode, o_count, o_carnum, o_hogi,"
                                " o_outorder, o_moltal, o_ccode, o_return) values"
                                " ('2026-03-02', '2026-03-02', '09:00:00', '01', '002', '81-2222-2', '2', 7, 0, '2222', '**')"));
        shipment_edit_db::adjust_order(t.db(), QString::fromLatin1(day), QStringLiteral("01"), 7, 1);

        Shipment second = typed("01", "09:00:00", 7, 0, "81-2222-2", "2222", "002");
        second.o_hogi = QStringLiteral("2");
        Shipment changed = second;
        changed.o_outorder = 8;
        shipment_edit_db::save(t.db(), edit(second, changed));
        QCOMPARE(t.loads("01"), (QStringList{"001 09:00:00 0000 6 0 **", "002 09:00:00 2222 8 0 **"}));
        QCOMPARE(t.order("01"), QStringLiteral("14 16 2"));

        shipment_edit_db::delete_shipment(t.db(), t.stored("01", "09:00:00"), QString::fromLatin1(day));
        QCOMPARE(t.loads("01"), QStringList{"001 09:00:00 2222 8 0 **"});
        QCOMPARE(t.order("01"), QStringLiteral("8 22 1"));
    }

    void a_row_changed_by_someone_else_is_not_saved_over()
    {
        Plant t;
        t.load("01", "001", "81-1111-1", "09:00:00", 6);
        const Shipment before = t.stored("01", "09:00:00");
        t.p.exec(QStringLiteral("delete from cholha"));
        QVERIFY_THROWS_EXCEPTION(ActionError, shipment_edit_db::save(t.db(), edit(before, typed("01", "09:30:00", 6, 0, "81-1111-1", "1111", "001"))));
        QVERIFY_THROWS_EXCEPTION(ActionError, shipment_edit_db::delete_shipment(t.db(), before, QString::fromLatin1(day)));
        QCOMPARE(t.order("01"), QStringLiteral("6 24 1"));
        QCOMPARE(t.loads("01"), QStringList());
    }

    void the_quantity_as_stored_counts_not_as_it_was_seen()
    {
        Plant t;
        t.load("01", "001", "81-1111-1", "09:00:00", 6);
        t.load("01", "002", "81-1111-1", "10:00:00", 6);
        const Shipment first = t.stored("01", "09:00:00");
        // Another office PC corrected both loads to 8 meanwhile.
        t.p.exec(QStringLiteral("update cholha set o_outorder = 8"));
        shipment_edit_db::adjust_order(t.db(), QString::fromLatin1(day), QStringLiteral("01"), 4, 0);

        shipment_edit_db::delete_shipment(t.db(), first, QString::fromLatin1(day));
        QCOMPARE(t.order("01"), QStringLiteral("8 22 1"));
        const Shipment second = t.stored("01", "10:00:00");
        t.p.exec(QStringLiteral("update cholha set o_outorder = 9"));
        shipment_edit_db::adjust_order(t.db(), QString::fromLatin1(day), QStringLiteral("01"), 1, 0);
        Shipment changed = second;
        changed.o_outorder = 7;
        shipment_edit_db::save(t.db(), edit(second, changed));
        QCOMPARE(t.order("01"), QStringLiteral("7 23 1"));
        QCOMPARE(t.loads("01"), QStringList{"001 10:00:00 0000 7 0 **"});
    }

    void vehicle_counts_change_on_the_consoles_day_only_data()
    {
        QTest::addColumn<QString>("board_date");
        QTest::addColumn<QString>("after_save");
        QTest::addColumn<QString>("after_delete");
        QTest::newRow("console's day") << QString::fromLatin1(day) << "2 현장01" << "1 ";
        QTest::newRow("another day") << "2026-03-03" << "7 옛현장" << "7 옛현장";
    }
    void vehicle_counts_change_on_the_consoles_day_only()
    {
        QFETCH(QString, board_date);
        QFETCH(QString, after_save);
        QFETCH(QString, after_delete);
        Plant t;
        t.load("01", "001", "81-1111-1", "08:00:00", 6);
        SaveRequest r = insert(typed("01", "09:00:00", 6, 0, "81-1111-1", "1111"));
        r.board_date = board_date;
        shipment_edit_db::save(t.db(), r);
        QCOMPARE(t.truck("81-1111-1"), after_save);
        shipment_edit_db::delete_shipment(t.db(), t.stored("01", "09:00:00"), board_date);
        QCOMPARE(t.truck("81-1111-1"), after_delete);
        QCOMPARE(t.order("01"), QStringLiteral("6 24 1"));
    }

    // The editor's order deleted on another PC: the save says so and
    // writes nothing, neither load nor figures nor trucks.
    void an_order_gone_meanwhile_takes_nothing()
    {
        Plant t;
        t.load("02", "001", "81-2222-2", "09:00:00", 6);
        const Shipment kept = t.stored("02", "09:00:00");
        t.p.exec(QStringLiteral("delete from r_suju where seq = '02'"));
        QVERIFY_THROWS_EXCEPTION(ActionError, shipment_edit_db::save(t.db(), insert(typed("02", "10:00:00", 6, 0, "81-1111-1", "1111"))));
        QVERIFY_THROWS_EXCEPTION(ActionError, shipment_edit_db::delete_shipment(t.db(), kept, QString::fromLatin1(day)));
        QCOMPARE(t.loads("02"), QStringList{"001 09:00:00 0000 6 0 **"});
        QCOMPARE(t.truck("81-1111-1"), QStringLiteral("7 옛현장"));
    }

    // A load edited into another order leaves the old order a trip and its
    // quantity less and both orders numbered from 001.
    void a_load_moved_to_another_order_keeps_both_in_step()
    {
        Plant t;
        t.load("01", "001", "81-1111-1", "08:00:00", 6);
        t.load("01", "002", "81-1111-1", "09:00:00", 6);
        t.load("02", "001", "81-2222-2", "10:00:00", 6);
        const Shipment before = t.stored("01", "08:00:00");
        const auto result = shipment_edit_db::save(
            t.db(), edit(before, typed("02", "08:00:00", 5, 0, "81-1111-1", "1111", "001"), false));
        QCOMPARE(result.o_count, QStringLiteral("001"));
        QCOMPARE(t.loads("01"), QStringList{"001 09:00:00 0000 6 0 **"});
        QCOMPARE(t.order("01"), QStringLiteral("6 24 1"));
        QCOMPARE(t.loads("02"), (QStringList{"001 08:00:00 1111 5 0 **", "002 10:00:00 0000 6 0 **"}));
        QCOMPARE(t.order("02"), QStringLiteral("11 1 2"));
    }

    // Locks go orders first, by number, then trucks, by code, whatever
    // order the save meets them in: an edit onto another order's time that
    // also changes the truck touches two orders and two trucks.
    void locks_are_taken_in_one_order()
    {
        Plant t;
        t.load("01", "001", "81-1111-1", "09:00:00", 6);
        t.load("02", "001", "81-2222-2", "08:00:00", 6);
        const Shipment before = t.stored("02", "08:00:00");
        QStringList taken;
        Database::set_tracer([&](const QString &sql, const Params &params) {
            const auto value = [&](const char *name) {
                for (const auto &[key, v] : params)
                    if (key == QLatin1String(name))
                        return v.toString();
                return QString();
            };
            if (sql.startsWith(QLatin1String("update r_suju set v_ccount = v_ccount")))
                taken << QStringLiteral("order ") + value(":s");
            else if (sql.startsWith(QLatin1String("update car_code set c_dsum = c_dsum where")))
                taken << QStringLiteral("truck ") + value(":c");
        });
        shipment_edit_db::save(t.db(), edit(before, typed("02", "09:00:00", 6, 0, "81-1111-1", "1111", "001")));
        Database::set_tracer({});
        QCOMPARE(taken, (QStringList{"order 01", "order 02", "truck 81-1111-1", "truck 81-2222-2"}));
        QCOMPARE(t.order("01"), QStringLiteral("0 30 0"));
        QCOMPARE(t.loads("02"), QStringList{"001 09:00:00 1111 6 0 **"});
    }

    void a_save_that_fails_half_way_leaves_everything_as_it_was()
    {
        Plant t;
        t.load("01", "001", "81-1111-1", "08:00:00", 6);
        t.load("02", "001", "81-2222-2", "09:00:00", 6);
        const QStringList loads1 = t.loads("01"), loads2 = t.loads("02");
        // The vehicle count, the last step, cannot be written.
        t.p.exec(QStringLiteral("alter table car_code rename to car_code_away"));
        const Shipment before = t.stored("01", "08:00:00");
        QVERIFY_THROWS_EXCEPTION(DbError, shipment_edit_db::save(t.db(), edit(before, typed("01", "09:00:00", 7, 1, "81-1111-1", "1111", "001"))));
        QVERIFY_THROWS_EXCEPTION(DbError, shipment_edit_db::delete_shipment(t.db(), before, QString::fromLatin1(day)));
        t.p.exec(QStringLiteral("alter table car_code_away rename to car_code"));
        QCOMPARE(t.loads("01"), loads1);
        QCOMPARE(t.loads("02"), loads2);
        QCOMPARE(t.order("01"), QStringLiteral("6 24 1"));
        QCOMPARE(t.order("02"), QStringLiteral("6 6 1"));
        QCOMPARE(t.truck("81-2222-2"), QStringLiteral("7 옛현장"));
    }
};

QTEST_GUILESS_MAIN(TestShipmentEditDb)
#include "tst_shipment_edit_db.moc"
