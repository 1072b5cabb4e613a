#include "gui/console/navigation.h"
#include "gui/console/order_board.h"
#include "console_fixture.h"
#include "gui/orders/suju_window.h"

#include <QTest>
#include <QToolButton>

// "출하예정" opens order entry over the console, which shows the day's
// open orders again after it closes.
class TestSujuConsole : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void the_board_is_reloaded_after_order_entry_closes()
    {
        ConsoleFixture f;
        add_order(f.plant, "2026-03-02", "01", 12, 0);
        add_order(f.plant, "2026-03-02", "02", 12, 12, "NO");
        f.open(QDate(2026, 3, 2));
        RecordTableModel *board = f.console->orders->suju_query;
        QCOMPARE(board->rowCount(), 1);
        QString opened;
        on_next_modal([&](QWidget *m) {
            opened = m->objectName();
            // Saved while the window is open (here straight into the table).
            add_order(f.plant, "2026-03-02", "03", 18, 0);
            QCOMPARE(board->rowCount(), 1);
            m->close();
        });
        f.console->navigation->suju_btn->click();
        QCOMPARE(opened, QStringLiteral("F_SUJU"));
        QCOMPARE(board->rowCount(), 2);
        QCOMPARE(board->text(1, "seq"), QStringLiteral("03"));
        QVERIFY(!f.console->findChild<TF_SUJU *>());  // destroyed
    }
};

QTEST_MAIN(TestSujuConsole)
#include "tst_suju_console_db.moc"
