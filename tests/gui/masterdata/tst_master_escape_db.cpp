#include "gui/masterdata/customer_window.h"
#include "gui/masterdata/site_window.h"
#include "gui/masterdata/spec_window.h"
#include "gui/masterdata/vehicle_window.h"
#include "gui/orders/suju_window.h"
#include "window_support.h"
#include "window_test.h"

#include <QLineEdit>
#include <QTest>
#include <functional>
#include <memory>

using Make = std::function<std::unique_ptr<QDialog>(AppContext &)>;
Q_DECLARE_METATYPE(Make)

// Escape in an entry window keeps it open with what was typed.
class TestMasterEscape : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void escape_keeps_the_window_open_data()
    {
        QTest::addColumn<Make>("make");
        QTest::addColumn<QString>("field");
        QTest::newRow("customers") << Make([](AppContext &c) { return std::make_unique<TF_CUSTOMER>(c); })
                                   << "name_edt";
        QTest::newRow("sites") << Make([](AppContext &c) { return std::make_unique<TF_HYUNJANG>(c); })
                               << "name_edt";
        QTest::newRow("specifications") << Make([](AppContext &c) { return std::make_unique<TF_RULE>(c); })
                                        << "name_edt";
        QTest::newRow("vehicles") << Make([](AppContext &c) { return std::make_unique<TF_CAR>(c); }) << "ca2";
        QTest::newRow("order entry") << Make([](AppContext &c) { return std::make_unique<TF_SUJU>(c); })
                                     << "HY27";
    }

    void escape_keeps_the_window_open()
    {
        QFETCH(Make, make);
        QFETCH(QString, field);
        WindowPlant plant;
        std::unique_ptr<QDialog> w = make(plant.ctx);
        QVERIFY(open_active(w.get()));
        auto *box = w->findChild<QLineEdit *>(field);
        QVERIFY(box);
        box->setEnabled(true);
        box->setFocus();
        QTest::keyClicks(box, "AB");
        QTest::keyClick(box, Qt::Key_Escape);
        QVERIFY(w->isVisible());
        QVERIFY(box->text().endsWith(QStringLiteral("AB")));
        w->close();  // the close box still closes
        QVERIFY(!w->isVisible());
    }
};

QTEST_MAIN(TestMasterEscape)
#include "tst_master_escape_db.moc"
