#include "core/framework/guarded.h"
#include "core/framework/korean_text.h"
#include "core/plantlink/send_frame.h"

#include <QTest>

using send_frame::SlotLoad;
Q_DECLARE_METATYPE(SlotLoad)

// The controllers read the frame by byte positions: every byte counts.
class TestSendFrame : public QObject {
    Q_OBJECT

    static QByteArray stx() { return QByteArray(1, send_frame::STX); }
    static QByteArray etx() { return QByteArray(1, send_frame::ETX); }
    static QByteArray zeros(int n) { return QByteArray(n, '0'); }
    static QByteArray spaces(int n) { return QByteArray(n, ' '); }

private Q_SLOTS:
    void frames_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<SlotLoad>("slot1");
        QTest::addColumn<SlotLoad>("slot2");
        QTest::addColumn<SlotLoad>("slot3");
        QTest::addColumn<QByteArray>("expected");

        const SlotLoad none;
        QTest::newRow("unit 1, all slots empty") << 1 << none << none << none
            << stx() + zeros(44) + spaces(63) + etx();
        QTest::newRow("unit 2, slot 1 complete") << 2 << SlotLoad{"1004", "6", "1234"} << none << none
            << stx() + "1004" + "600" + "1234" + zeros(33) + etx();
        QTest::newRow("unit 2, slots 2 and 3") << 2 << none << SlotLoad{"1001", "6.5", "0007"} << SlotLoad{"9001", "0.5", "0007"}
            << stx() + zeros(22) + "10016500007" + "90010500007" + etx();
        QTest::newRow("vehicle number of 3 characters") << 2 << SlotLoad{"1004", "6", "123"} << none << none
            << stx() + zeros(44) + etx();
        QTest::newRow("vehicle number of 5 characters") << 2 << SlotLoad{"1004", "6", "12345"} << none << none
            << stx() + zeros(44) + etx();
        QTest::newRow("order without quantity") << 2 << SlotLoad{"1004", "", "1234"} << none << none
            << stx() + zeros(44) + etx();
        QTest::newRow("unit 1 with a load") << 1 << SlotLoad{"1004", "6", "1234"} << none << none
            << stx() + "10046001234" + zeros(33) + spaces(63) + etx();
    }

    void frames()
    {
        QFETCH(int, unit);
        QFETCH(SlotLoad, slot1);
        QFETCH(SlotLoad, slot2);
        QFETCH(SlotLoad, slot3);
        QFETCH(QByteArray, expected);
        const QByteArray frame = send_frame::build(unit, {slot1, slot2, slot3});
        QCOMPARE(frame, expected);
        QCOMPARE(frame.size(), unit == 1 ? 109 : 46);
    }

    void quantity_digits_data()
    {
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QByteArray>("digits");  // empty: refused
        QTest::newRow("6") << "6" << QByteArray("600");
        QTest::newRow("6.5") << "6.5" << QByteArray("650");
        QTest::newRow("0.5") << "0.5" << QByteArray("050");
        QTest::newRow("0") << "0" << QByteArray("000");
        QTest::newRow("9.99") << "9.99" << QByteArray("999");
        QTest::newRow("half to even, down") << "0.125" << QByteArray("012");
        QTest::newRow("half to even, up") << "0.375" << QByteArray("038");
        QTest::newRow("blanks around") << " 7 " << QByteArray("700");
        QTest::newRow("12 would go out as 2.00") << "12" << QByteArray();
        QTest::newRow("10") << "10" << QByteArray();
        QTest::newRow("below 0") << "-1" << QByteArray();
        QTest::newRow("not a number") << "6m3" << QByteArray();
    }

    void quantity_digits()
    {
        QFETCH(QString, quantity);
        QFETCH(QByteArray, digits);
        if (digits.isEmpty()) {
            try {
                send_frame::quantity_digits(quantity, 1, 2);
                QFAIL("accepted");
            } catch (const ActionError &e) {
                QVERIFY2(e.message().contains(QStringLiteral("1호기 예약2")), qPrintable(e.message()));
                QVERIFY(e.message().contains(quantity));
            }
        } else {
            QCOMPARE(send_frame::quantity_digits(quantity, 1, 1), digits);
        }
    }

    void a_product_code_that_would_shift_the_frame_is_refused_data()
    {
        QTest::addColumn<QString>("product");
        QTest::newRow("3 characters") << "100";
        QTest::newRow("5 characters") << "10045";
        QTest::newRow("4 characters of 5 bytes") << "가123";
    }

    void a_product_code_that_would_shift_the_frame_is_refused()
    {
        QFETCH(QString, product);
        QVERIFY_THROWS_EXCEPTION(ActionError, send_frame::build(2, {SlotLoad{}, SlotLoad{product, "6", "1234"}, SlotLoad{}}));
        // Not complete: no load, nothing to refuse.
        QCOMPARE(send_frame::build(2, {SlotLoad{product, "6", "12"}, SlotLoad{}, SlotLoad{}}).size(), 46);
    }

    void site_names_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("short, trimmed") << "  동탄 현장\t" << QStringLiteral("동탄 현장") + QString(12, ' ');
        QTest::newRow("exactly 21 bytes") << "123456789012345678901" << "123456789012345678901";
        // 20 ASCII bytes, then a Korean character whose first byte is byte 21.
        QTest::newRow("22 bytes, byte 21 starts a character") << "12345678901234567890가" << "12345678901234567890 ";
        QTest::newRow("Korean only, 24 bytes") << "가나다라마바사아자차카타" << "가나다라마바사아자차 ";
        QTest::newRow("odd cut of mixed text") << "A가나다라마바사아자차카" << "A가나다라마바사아자차";
        QTest::newRow("empty") << "" << QString(21, ' ');
    }

    void site_names()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        const send_frame::SiteName n = send_frame::normalise_site_name(name);
        QCOMPARE(n.text, text);
        QCOMPARE(n.bytes.size(), 21);
        QCOMPARE(n.bytes, cp949::encode(text));
    }
};

QTEST_GUILESS_MAIN(TestSendFrame)
#include "tst_send_frame.moc"
