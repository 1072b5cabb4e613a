#include "core/data/schema.h"
#include "test_support.h"

#include <QSqlField>
#include <QSqlRecord>
#include <QTest>

// The other office software reads and writes the same tables: every table
// and column it expects must be there, on every engine.
class TestSchema : public QObject {
    Q_OBJECT

    static QMap<QString, QStringList> expected_tables()
    {
        return {
            {"r_suju", {"ilja", "seq", "grcd", "v_inout", "code", "v_station", "time_", "saup", "dist",
                        "v_okno", "memo", "ground", "remi_code", "v_rule", "order_m3", "danga", "vat",
                        "v_outorder", "v_reorder", "v_ccount", "v_ftime", "v_ltime", "v_nocarin",
                        "v_cincout", "v_state", "kind", "cement", "gravel", "japum", "con", "v_hon",
                        "ondo", "yeom", "kong"}},
            {"cholha", {"o_date", "o_fdate", "o_otime", "o_scode", "o_count", "o_carnum", "o_hogi",
                        "o_outorder", "o_moltal", "o_ccode", "o_return"}},
            {"car_code", {"saup", "code", "scode", "name", "m3", "wight", "carco", "company", "gubun",
                          "sudang", "c_bool", "c_otime", "c_state", "c_dsum", "c_msum", "c_station"}},
            {"customer", {"saup", "cust_set", "cust_seq", "grcd", "name", "kawn_sa", "vat", "misu",
                          "rank", "julsa"}},
            {"r_hyunjang", {"saup", "grcd", "code", "name", "man_code", "man_name", "misu", "grcd_name",
                            "grcode", "kawn_sa", "office_tel", "ground_tel", "memo", "order_nul",
                            "build", "gover", "gover_num", "ilja"}},
            {"r_size", {"remi_code", "standard", "rul_ks", "ilja", "gubun", "kind", "kwan_danga",
                        "sa_danga", "remi_code1"}},
            {"youngup", {"code", "man"}},
            {"r_hyun_order", {"grcd", "code", "remi_code", "kind", "standard", "demand1", "demand2",
                              "amount", "cost", "order_num", "delivery", "memo"}},
            {"r_mast", {"grcd", "code", "remi_code", "remi_code1", "standard", "kind", "ilja", "m3",
                        "kum", "vatkum", "hap"}},
            {"cont_carry", {"ilja", "seq", "gubun", "danga"}},
            {"car_cust", {"code", "name"}},
            {"carry", {"code", "dis_kum"}},
            {"enrol", {"name", "japum"}},
            {"yu_suju", {"ysu_ilja", "ysu_seq", "ysu_cu_name", "ysu_hy_name", "ysu_ru_name",
                         "ysu_order_m3", "ysu_first_time", "ysu_wait_time", "ysu_cement",
                         "ysu_gravel", "ysu_japum", "ysu_hon"}},
            {"yu_cholha", {"ych_ilja", "ych_su_seq", "ych_seq", "ych_time", "ych_ca_number",
                           "ych_chol_m3", "ych_nu_m3"}},
        };
    }

private Q_SLOTS:
    void every_table_and_column_exists()
    {
        TestPlant plant;
        const QSqlDatabase db = plant.db().connection();
        const auto expected = expected_tables();
        for (auto it = expected.begin(); it != expected.end(); ++it) {
            const QSqlRecord rec = db.record(it.key());
            QVERIFY2(!rec.isEmpty(), qPrintable(it.key()));
            QStringList actual;
            for (int i = 0; i < rec.count(); ++i)
                actual << rec.fieldName(i).toLower();
            QCOMPARE(actual, it.value());
        }
        QCOMPARE(schema::missing_tables(plant.db()), QStringList());
    }

    void existing_tables_are_never_altered()
    {
        TestPlant plant;
        plant.exec(QStringLiteral("drop table enrol"));
        plant.exec(QStringLiteral("drop table carry"));
        // Another program's own version of the table, with a row of its own.
        plant.exec(QStringLiteral("create table enrol (name varchar(40), japum varchar(40), extra varchar(5))"));
        plant.exec(QStringLiteral("insert into enrol (name, japum, extra) values ('대표', '레미콘', 'x')"));
        QCOMPARE(schema::create_missing(plant.db()), QStringList{QStringLiteral("carry")});
        QCOMPARE(plant.db().connection().record(QStringLiteral("enrol")).count(), 3);
        QCOMPARE(plant.db().scalar(QStringLiteral("select extra from enrol")).toString(), QStringLiteral("x"));
        QCOMPARE(schema::create_missing(plant.db()), QStringList());
    }

    void keys_refuse_a_second_row_with_the_same_key()
    {
        TestPlant plant;
        plant.exec(QStringLiteral("insert into customer (grcd, name) values ('A001', '대한건설')"));
        QVERIFY_THROWS_EXCEPTION(DbError, plant.db().exec(
            QStringLiteral("insert into customer (grcd, name) values ('A001', '다른건설')")));
        // Shipments have no key: the same load may be entered twice by hand.
        for (int i = 0; i < 2; ++i)
            plant.exec(QStringLiteral("insert into cholha (o_fdate, o_scode, o_count) values ('2026-12-10', '01', '001')"));
    }

    void stored_dates_and_times_sort_as_text()
    {
        TestPlant plant;
        for (const char *d : {"2001-03-11", "2001-03-09", "2001-03-10", "2001-02-28", "2001-03-15", "2001-03-16"})
            plant.exec(QStringLiteral("insert into cholha (o_date, o_carnum) values (:d, 'T')"),
                       {{":d", QString::fromLatin1(d)}});
        QSqlQuery q = plant.db().query(QStringLiteral("select o_date from cholha order by o_date"));
        QStringList order;
        while (q.next())
            order << q.value(0).toString();
        QCOMPARE(order, (QStringList{"2001-02-28", "2001-03-09", "2001-03-10", "2001-03-11",
                                     "2001-03-15", "2001-03-16"}));
        // The month up to the 15th: the prefix with LIKE and the date as upper bound.
        QCOMPARE(plant.db().scalar(QStringLiteral("select count(*) from cholha where o_date like :m"
                                                  " and o_date <= :d"),
                                   {{":m", QStringLiteral("2001-03-%")}, {":d", QStringLiteral("2001-03-15")}})
                     .toInt(),
                 4);
        QCOMPARE(number_or_zero(plant.db().scalar(QStringLiteral("select sum(order_m3) from r_suju where ilja = :d"),
                                                  {{":d", QStringLiteral("2001-03-15")}})),
                 0.0);
    }
};

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_schema_db.moc"
