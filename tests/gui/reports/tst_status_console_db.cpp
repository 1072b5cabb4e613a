#include "gui/console/navigation.h"
#include "console_fixture.h"

#include <QAction>
#include <QTest>
#include <QToolButton>

// The console opens the shipment status window from its toolbar and menu.
class TestStatusConsole : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void toolbar_and_menu_open_the_status_window()
    {
        ConsoleFixture f;
        f.open();
        ConsoleNavigation *n = f.console->navigation;
        for (int i = 0; i < 2; ++i) {
            QString opened;
            on_next_modal([&](QWidget *m) {
                opened = m->objectName();
                m->close();
            });
            if (i == 0)
                n->B1->trigger();
            else
                QTest::mouseClick(n->rule_btn, Qt::LeftButton);
            QCOMPARE(opened, QStringLiteral("F_CUSTLIST"));
            QVERIFY(!f.console->findChild<QDialog *>(QStringLiteral("F_CUSTLIST")));  // destroyed
        }
        QCOMPARE(f.plant.prompter.shown, QStringList());
    }
};

QTEST_MAIN(TestStatusConsole)
#include "tst_status_console_db.moc"
