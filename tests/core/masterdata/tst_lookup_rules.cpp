#include "core/masterdata/lookup_state.h"
#include "core/masterdata/text_pad.h"

#include <QSqlField>
#include <QTest>

// The text rules every code box relies on.
class TestLookupRules : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pad_zero_right_aligns_and_cuts_from_the_left_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("padded");
        QTest::newRow("7 in 2") << "7" << 2 << "07";
        QTest::newRow("5 in 2") << "5" << 2 << "05";
        QTest::newRow("100 in 2 keeps the last two") << "100" << 2 << "00";
        QTest::newRow("123 in 2") << "123" << 2 << "23";
        QTest::newRow("12 in 3") << "12" << 3 << "012";
        QTest::newRow("25 in 4") << "25" << 4 << "0025";
        QTest::newRow("empty in 3") << "" << 3 << "000";
        QTest::newRow("not a number is padded all the same") << "A1" << 4 << "00A1";
        QTest::newRow("at most 13 zeros") << "7" << 20 << "00000000000007";
        QTest::newRow("width 0") << "7" << 0 << "";
    }

    void pad_zero_right_aligns_and_cuts_from_the_left()
    {
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(QString, padded);
        QCOMPARE(pad_zero(text, width), padded);
    }

    void a_taken_code_is_told_with_the_particles_of_its_reading_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("message");
        QTest::newRow("7 to 8") << "순번" << "07" << "08" << "순번 07은 다른 곳에서 먼저 사용하여 08로 저장했습니다.";
        QTest::newRow("2 to 3") << "순번" << "02" << "03" << "순번 02는 다른 곳에서 먼저 사용하여 03으로 저장했습니다.";
        QTest::newRow("9 to 10") << "거래처 코드" << "B009" << "B010"
                                 << "거래처 코드 B009는 다른 곳에서 먼저 사용하여 B010으로 저장했습니다.";
        QTest::newRow("5 to 6") << "현장 코드" << "005" << "006" << "현장 코드 005는 다른 곳에서 먼저 사용하여 006으로 저장했습니다.";
        QTest::newRow("6 to 7") << "순번" << "16" << "17" << "순번 16은 다른 곳에서 먼저 사용하여 17로 저장했습니다.";
        QTest::newRow("not a digit") << "순번" << "0A" << "" << "순번 0A은(는) 다른 곳에서 먼저 사용하여 (으)로 저장했습니다.";
    }

    void a_taken_code_is_told_with_the_particles_of_its_reading()
    {
        QFETCH(QString, label);
        QFETCH(QString, shown);
        QFETCH(QString, stored);
        QFETCH(QString, message);
        QCOMPARE(code_taken_message(label, shown, stored), message);
    }

    void pad_space_left_aligns_and_cuts_on_the_right_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("padded");
        QTest::newRow("AB in 4") << "AB" << 4 << "AB  ";
        QTest::newRow("cut") << "ABCDEF" << 3 << "ABC";
        QTest::newRow("Korean counts characters") << "현장명" << 5 << "현장명  ";
        QTest::newRow("at most 29 blanks") << "A" << 40 << QString("A") + QString(29, ' ');
    }

    void pad_space_left_aligns_and_cuts_on_the_right()
    {
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(QString, padded);
        QCOMPARE(pad_space(text, width), padded);
    }

    void the_typed_text_decides_between_code_and_name_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("by_name");
        QTest::newRow("upper-case letter") << "A01" << false;
        QTest::newRow("digits") << "123" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("Hangul") << "대한" << true;
        QTest::newRow("lower-case letter") << "a01" << true;
        QTest::newRow("hyphen third") << "12-3" << true;
        QTest::newRow("vehicle code") << "80-1101-1" << true;
        QTest::newRow("hyphen second") << "1-23" << false;
        QTest::newRow("two characters and a hyphen is too short") << "12" << false;
        QTest::newRow("negative distance") << "-5" << true;
        QTest::newRow("blank first") << " A01" << true;
    }

    void the_typed_text_decides_between_code_and_name()
    {
        QFETCH(QString, typed);
        QFETCH(bool, by_name);
        QCOMPARE(is_name_search(typed), by_name);
    }

    // A single match reads prices as whole numbers (a half to the even
    // neighbour), a pick keeps the decimals.
    void prices_of_a_match_are_whole_and_of_a_pick_exact()
    {
        QSqlRecord row;
        for (const char *name : {"remi_code", "standard", "kind", "kwan_danga", "sa_danga"})
            row.append(QSqlField(QString::fromLatin1(name)));
        row.setValue("remi_code", "1001");
        row.setValue("standard", "25-210-12");
        row.setValue("kind", "보통");
        row.setValue("kwan_danga", 61000.5);
        row.setValue("sa_danga", 64001.5);
        LookupState s;
        copy_lookup_row(s, lookup_kinds::products, row, true);
        QCOMPARE(s.lookup_code, QStringLiteral("1001"));
        QCOMPARE(s.lookup_name, QStringLiteral("25-210-12"));
        QCOMPARE(s.lookup_attr, QStringLiteral("보통"));
        QCOMPARE(s.lookup_kwan_price, 61000.0);
        QCOMPARE(s.lookup_sa_price, 64002.0);
        copy_lookup_row(s, lookup_kinds::products, row, false);
        QCOMPARE(s.lookup_kwan_price, 61000.5);
        QCOMPARE(s.lookup_sa_price, 64001.5);
    }
};

QTEST_GUILESS_MAIN(TestLookupRules)
#include "tst_lookup_rules.moc"
