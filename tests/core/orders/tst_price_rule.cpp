#include "core/orders/price_rule.h"

#include <QTest>

// The unit price proposed for an order, exact in decimal.
class TestPriceRule : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void proposal_data()
    {
        QTest::addColumn<QString>("earlier");
        QTest::addColumn<QString>("class_text");
        QTest::addColumn<QString>("vat_text");
        QTest::addColumn<QString>("julsa");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("sa_price");
        QTest::addColumn<QString>("expected");  // "none": the price is left as it is
        const QString sep = QStringLiteral("별도"), incl = QStringLiteral("포함"), none = QStringLiteral("무시");
        const QString min1 = QStringLiteral("민수1");
        QTest::newRow("95% of 70,000 cut 10") << "" << min1 << sep << "10" << "95" << "70000" << "66500";
        QTest::newRow("93.3% cut 10") << "" << min1 << sep << "10" << "93.3" << "70000" << "65300";
        QTest::newRow("93.3% cut 1") << "" << min1 << sep << "1" << "93.3" << "70000" << "65310";
        QTest::newRow("80% of 40,000 cut 100") << "" << min1 << sep << "100" << "80" << "40000" << "32000";
        QTest::newRow("95.5% of 70,100 cut 0: half to even") << "" << min1 << sep << "0" << "95.5" << "70100"
                                                              << "66946";
        QTest::newRow("cut 0: half down to even") << "" << min1 << sep << "0" << "50" << "133" << "66";
        QTest::newRow("cut 100 below 1000") << "" << min1 << sep << "100" << "1" << "70000" << "0";
        QTest::newRow("rate rounded to two decimals") << "" << min1 << sep << "1" << "93.3349" << "100000"
                                                      << "93330";
        QTest::newRow("VAT included ignores the cut") << "" << min1 << incl << "100" << "95.5" << "70100"
                                                      << "66946";
        QTest::newRow("VAT ignored gives the base price") << "" << QStringLiteral("민수2") << none << "10" << "80"
                                                         << "70100.5" << "70100.5";
        QTest::newRow("government customer") << "" << QStringLiteral("관수1") << sep << "10" << "95" << "70000"
                                             << "68000";
        QTest::newRow("government customer class 2") << "" << QStringLiteral("관수2") << incl << "0" << "50"
                                                     << "70000" << "68000";
        QTest::newRow("earlier price wins") << "64250" << QStringLiteral("관수1") << sep << "10" << "95" << "70000"
                                            << "64250";
        QTest::newRow("earlier price 0 does not count") << "0" << min1 << sep << "10" << "95" << "70000"
                                                        << "66500";
        QTest::newRow("julsa outside the table") << "" << min1 << sep << "5" << "95" << "70000" << "none";
        QTest::newRow("empty julsa") << "" << min1 << sep << "" << "95" << "70000" << "none";
        QTest::newRow("unknown VAT text") << "" << min1 << "" << "10" << "95" << "70000" << "none";
    }

    void proposal()
    {
        QFETCH(QString, earlier);
        QFETCH(QString, class_text);
        QFETCH(QString, vat_text);
        QFETCH(QString, julsa);
        QFETCH(QString, rate);
        QFETCH(QString, sa_price);
        QFETCH(QString, expected);
        const std::optional<QString> price = price_rule::propose(
            {.earlier_price = earlier, .class_text = class_text, .vat_text = vat_text, .julsa = julsa,
             .contract_rate = rate, .kwan_price = QStringLiteral("68000"), .sa_price = sa_price});
        QCOMPARE(price.value_or(QStringLiteral("none")), expected);
    }

    void decimals_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<qint64>("scaled");
        QTest::newRow("whole") << "70000" << 3 << qint64(70'000'000);
        QTest::newRow("fraction") << "93.3" << 2 << qint64(9330);
        QTest::newRow("half to even down") << "0.125" << 2 << qint64(12);
        QTest::newRow("half to even up") << "0.135" << 2 << qint64(14);
        QTest::newRow("leading point") << ".5" << 1 << qint64(5);
        QTest::newRow("not a number") << "1,000" << 0 << qint64(-1);
        QTest::newRow("negative") << "-5" << 0 << qint64(-1);
        QTest::newRow("empty") << "" << 0 << qint64(-1);
    }

    void decimals()
    {
        QFETCH(QString, text);
        QFETCH(int, decimals);
        QFETCH(qint64, scaled);
        QCOMPARE(price_rule::parse_decimal(text, decimals).value_or(-1), scaled);
        if (scaled >= 0)
            QCOMPARE(price_rule::parse_decimal(price_rule::decimal_text(scaled, decimals), decimals), scaled);
    }
};

QTEST_GUILESS_MAIN(TestPriceRule)
#include "tst_price_rule.moc"
