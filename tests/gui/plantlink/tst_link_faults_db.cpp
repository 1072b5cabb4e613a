#include "gui/console/order_board.h"
#include "core/masterdata/lookup_state.h"
#include "gui/masterdata/list_window.h"
#include "console_fixture.h"
#include "core/framework/record_table_model.h"
#include "core/plantlink/plant_link.h"
#include "gui/console/reservation_desk.h"
#include "core/plantlink/reservation_slots.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTableView>
#include <QSqlRecord>
#include <QSqlField>
#include <QTest>

using Slots = ReservationSlots;

// What a plant line does to the link: letters run together, CR/LF and
// noise, boxes open while reports keep coming, a reconnect in the middle
// of a load, a port that vanishes, a quantity the frame cannot carry.
class TestLinkFaults : public QObject {
    Q_OBJECT

    static const QString receive_error;

    // Both units on, three complete loads queued in each.
    struct Plant : ConsoleFixture {
        explicit Plant(bool queue_loads = true)
        {
            for (const char *seq : {"01", "02", "03", "04"})
                add_order(plant, "2026-03-02", seq, 30, 0);
            add_truck(plant, "81-1111-1", "1111", "YES");
            add_truck(plant, "81-2222-2", "2222", "YES");
            add_truck(plant, "81-3333-3", "3333", "YES");
            open();
            link()->set_reopen_interval(50);
            link()->switch_on();
            if (!queue_loads)
                return;
            for (int unit = 1; unit <= 2; ++unit)
                for (int slot = 1; slot <= 3; ++slot)
                    queue(unit, slot, QStringLiteral("0%1").arg(slot),
                          QStringLiteral("%1").arg(slot * 1111), QStringLiteral("81-%1-%2").arg(slot * 1111).arg(slot));
        }
        PlantLink *link() const { return console->link; }
        ReservationSlots &model() const { return *console->desk->slot_model; }
        FakeSerialLine &line(int unit) { return unit == 1 ? line1 : line2; }
        void queue(int unit, int slot, const QString &seq, const QString &number, const QString &code)
        {
            const int row = Slots::row_of(unit, slot);
            model().set_field(row, Slots::OrderNo, seq);
            model().set_field(row, Slots::Product, QStringLiteral("1004"));
            model().set_field(row, Slots::SpecName, QStringLiteral("25-210-12"));
            model().set_field(row, Slots::Quantity, QStringLiteral("6"));
            model().set_field(row, Slots::VehicleNo, number);
            model().set_field(row, Slots::VehicleCode, code);
            model().set_field(row, Slots::Site, QStringLiteral("현장%1").arg(seq));
        }
        // One read of the line; returns when every letter of it is applied
        // and the load it recorded is written.
        void feed(int unit, const QByteArray &bytes)
        {
            line(unit).feed(bytes);
            QTRY_VERIFY(!link()->sending());
            QTRY_COMPARE(console->loads_being_written(), 0);
        }
        int loads() const { return plant.db().scalar(QStringLiteral("select count(*) from cholha")).toInt(); }
        QLabel *label(int unit) const { return unit == 1 ? console->desk->display_lab1 : console->desk->display_lab2; }

        // Everything a report can change, to compare two ways of getting there.
        QStringList state() const
        {
            QStringList s;
            QSqlQuery q = plant.db().query(QStringLiteral(
                "select o_hogi, o_scode, o_count, o_carnum from cholha order by o_hogi, o_scode, o_count"));
            while (q.next())
                s << QStringLiteral("load %1 %2 %3 %4").arg(q.value(0).toString(), q.value(1).toString(),
                                                             q.value(2).toString(), q.value(3).toString());
            for (int row = 1; row <= 6; ++row)
                s << QStringLiteral("row %1: %2 %3").arg(row).arg(model().field(row, Slots::OrderNo),
                                                              model().field(row, Slots::VehicleNo));
            for (int unit = 1; unit <= 2; ++unit) {
                const PlantLink::Unit &u = link()->unit(unit);
                s << QStringLiteral("unit %1: %2 count %3 recorded %4 label %5")
                         .arg(unit).arg(u.last_status).arg(u.batch_count).arg(u.recorded).arg(label(unit)->text());
                for (const QByteArray &frame : (unit == 1 ? line1 : line2).written)
                    s << QStringLiteral("frame %1: %2").arg(unit).arg(QString::fromLatin1(frame.mid(1, 44)));
            }
            QStringList shown = plant.prompter.shown;
            shown.removeAll(receive_error);
            s << shown;
            return s;
        }
    };

private Q_SLOTS:
    void every_letter_of_a_read_counts_as_if_it_came_alone_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<QByteArray>("read");
        const QByteArray letters("BENU");
        for (int unit = 1; unit <= 2; ++unit) {
            const QString u = QStringLiteral("unit %1: ").arg(unit);
            for (const char a : letters) {
                QTest::newRow(qPrintable(u + QLatin1Char(a))) << unit << QByteArray(1, a);
                for (const char b : letters)
                    QTest::newRow(qPrintable(u + QLatin1Char(a) + QLatin1Char(b))) << unit << (QByteArray(1, a) + b);
            }
            for (const QByteArray &r : {QByteArray("B\r\n"), QByteArray("EN\r\n"), QByteArray("\r\nNU\r\n"),
                                        QByteArray("U\rB\n"), QByteArray("\x7f" "E\x00N", 4)})
                QTest::newRow(qPrintable(u + QString::fromLatin1(r.toPercentEncoding()))) << unit << r;
        }
    }

    void every_letter_of_a_read_counts_as_if_it_came_alone()
    {
        QFETCH(int, unit);
        QFETCH(QByteArray, read);
        Plant together;
        together.feed(unit, read);
        Plant alone;
        int letters = 0;
        for (const char c : read) {
            if (QByteArrayView("BENU").contains(c)) {
                alone.feed(unit, QByteArray(1, c));
                ++letters;
            }
        }
        QCOMPARE(together.state(), alone.state());
        // Unit 2 still says so when a read held more than one letter, after applying them.
        const bool said = together.plant.prompter.shown.contains(receive_error);
        QCOMPARE(said, unit == 2 && letters > 1);
        QCOMPARE(alone.plant.prompter.shown.contains(receive_error), false);
    }

    // A box runs a nested event loop in which the next report is handled.
    void a_box_in_the_middle_of_a_read_waits_for_the_rest_of_it_data()
    {
        QTest::addColumn<QByteArray>("read");
        QTest::addColumn<QByteArray>("inside");
        QTest::addColumn<QString>("slot1");
        QTest::addColumn<int>("loads");
        QTest::newRow("EU, then N inside the box: the queue moves once") << QByteArray("EU") << QByteArray("N") << "02" << 0;
        QTest::newRow("UB, then N inside the box: one load, one move") << QByteArray("UB") << QByteArray("N") << "02" << 1;
        QTest::newRow("NU, then B inside the box: the next load") << QByteArray("NU") << QByteArray("B") << "02" << 1;
    }

    void a_box_in_the_middle_of_a_read_waits_for_the_rest_of_it()
    {
        QFETCH(QByteArray, read);
        QFETCH(QByteArray, inside);
        QFETCH(QString, slot1);
        QFETCH(int, loads);
        struct Reentering : FakePrompter {
            std::function<void()> inside;
            void information(QWidget *parent, const QString &text) override
            {
                FakePrompter::information(parent, text);
                if (auto f = std::exchange(inside, nullptr))
                    f();
            }
        } prompter;
        ConsoleFixture f;
        f.plant.ctx.prompter = &prompter;
        for (const char *seq : {"01", "02", "03"})
            add_order(f.plant, "2026-03-02", seq, 30, 0);
        add_truck(f.plant, "81-1111-1", "1111", "YES");
        f.open();
        f.console->link->switch_on();
        ReservationSlots &m = *f.console->desk->slot_model;
        for (int slot = 1; slot <= 3; ++slot) {
            const int row = Slots::row_of(2, slot);
            m.set_field(row, Slots::OrderNo, QStringLiteral("0%1").arg(slot));
            m.set_field(row, Slots::Product, QStringLiteral("1004"));
            m.set_field(row, Slots::Quantity, QStringLiteral("6"));
            m.set_field(row, Slots::VehicleNo, QStringLiteral("1111"));
            m.set_field(row, Slots::VehicleCode, QStringLiteral("81-1111-1"));
        }
        prompter.inside = [&f, inside] { f.line2.feed(inside); };
        f.line2.feed(read);  // two letters: the box, and inside it the next report
        QTRY_VERIFY(!f.console->link->sending());
        QCOMPARE(prompter.shown, QStringList{receive_error});
        QTRY_COMPARE(m.field(2, 1, Slots::OrderNo), slot1);
        QTRY_COMPARE(f.console->loads_being_written(), 0);
        QCOMPARE(f.plant.db().scalar(QStringLiteral("select count(*) from cholha")).toInt(), loads);
        QCOMPARE(f.console->link->unit(2).last_status, QString::fromLatin1(inside));
    }

    void a_load_is_recorded_once_whatever_the_link_does()
    {
        Plant p;
        p.feed(1, "UB");
        QCOMPARE(p.loads(), 1);
        // Off and on in the middle of the load: batch_count starts again.
        p.link()->switch_off();
        p.link()->switch_on();
        p.feed(1, "B");
        QCOMPARE(p.link()->unit(1).batch_count, 1);
        QCOMPARE(p.loads(), 1);
        QCOMPARE(p.printed().size(), 1);
        // The next load of the queue is recorded as usual.
        p.feed(1, "ENUB");
        QCOMPARE(p.loads(), 2);
        // Typed over after a reconnect: another load in slot 1, recorded.
        p.link()->switch_off();
        p.link()->switch_on();
        p.model().set_field(1, Slots::OrderNo, QStringLiteral("04"));
        p.model().typed_over(1);
        p.feed(1, "B");
        QCOMPARE(p.loads(), 3);
        QCOMPARE(p.plant.db().scalar(QStringLiteral("select count(*) from cholha where o_scode = '04'")).toInt(), 1);
    }

    void a_load_keeps_the_time_its_b_came_however_late_it_is_handled()
    {
        Plant p;
        p.plant.clock.set(QDateTime(QDate(2026, 3, 2), QTime(9, 15, 30)));
        // The B waits behind the frame that E sends out...
        p.line(1).feed("EB");
        QVERIFY(p.link()->sending());
        // ...while the clock goes on.
        p.plant.clock.advance_secs(40);
        QTRY_VERIFY(!p.link()->sending());
        QTRY_COMPARE(p.loads(), 1);
        QCOMPARE(p.plant.db().scalar(QStringLiteral("select o_otime from cholha")).toString(), QStringLiteral("09:15:30"));
    }

    void a_recording_leaves_the_clerks_open_list_and_lookup_alone()
    {
        Plant p;
        // The clerk's customer list, open with two names to pick from.
        TF_LIST &list = *p.plant.list;
        QList<QSqlRecord> rows;
        for (const char *name : {"한빛건설", "한빛토건"}) {
            QSqlRecord r;
            r.append(QSqlField(QStringLiteral("name")));
            r.setValue(0, QString::fromUtf8(name));
            rows << r;
        }
        list.fill({{.field = QStringLiteral("name"), .title = QStringLiteral("거래처명")}}, rows);
        list.setWindowTitle(QStringLiteral("거래처조회"));
        LookupState &lookup = p.plant.lookup;
        lookup.lookup_kind = lookup_kinds::customers;
        lookup.lookup_code = QStringLiteral("한빛");
        lookup.lookup_name.clear();

        p.feed(1, "UB");
        QCOMPARE(p.loads(), 1);
        QCOMPARE(p.plant.db().scalar(QStringLiteral("select o_carnum from cholha")).toString(), QStringLiteral("81-1111-1"));
        QCOMPARE(list.windowTitle(), QStringLiteral("거래처조회"));
        QCOMPARE(list.Grd_pan->model()->rowCount(), 2);
        QCOMPARE(list.Grd_pan->model()->index(1, 0).data().toString(), QStringLiteral("한빛토건"));
        QCOMPARE(lookup.lookup_kind, lookup_kinds::customers);
        QCOMPARE(lookup.lookup_code, QStringLiteral("한빛"));
        QCOMPARE(lookup.lookup_name, QString());
    }

    void a_b_for_a_slot_without_a_complete_load_records_nothing_data()
    {
        QTest::addColumn<QString>("order");
        QTest::addColumn<QString>("vehicle");
        QTest::newRow("no vehicle") << "01" << "";
        QTest::newRow("vehicle of 3 characters") << "01" << "111";
        QTest::newRow("no order") << "" << "1111";
    }

    void a_b_for_a_slot_without_a_complete_load_records_nothing()
    {
        QFETCH(QString, order);
        QFETCH(QString, vehicle);
        Plant p(false);
        p.queue(1, 1, order, vehicle, QStringLiteral("81-1111-1"));
        p.feed(1, "B");
        QCOMPARE(p.loads(), 0);
        QCOMPARE(p.plant.prompter.errors.size(), 1);
        QVERIFY(p.plant.prompter.errors[0].startsWith(QStringLiteral("1호기 예약1")));
    }

    void a_quantity_the_frame_cannot_carry_is_refused_where_it_is_typed_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("named");
        QTest::newRow("10 m3 in unit 1 slot 2") << 2 << "10" << "1호기 예약2";
        QTest::newRow("not a number in unit 2 slot 3") << 6 << "6m" << "2호기 예약3";
        QTest::newRow("9.99 m3 goes") << 1 << "9.99" << "";
    }

    void a_quantity_the_frame_cannot_carry_is_refused_where_it_is_typed()
    {
        QFETCH(int, row);
        QFETCH(QString, typed);
        QFETCH(QString, named);
        Plant p;
        p.console->desk->yusa_chk->click();
        p.console->activateWindow();
        QTRY_VERIFY(p.console->isActiveWindow());
        QLineEdit *quantity = p.console->desk->send[row - 1][Slots::Quantity - 1];
        quantity->setFocus();
        QTRY_VERIFY(quantity->hasFocus());
        quantity->selectAll();
        QTest::keyClicks(quantity, typed);
        QTest::keyClick(quantity, Qt::Key_Return);
        if (named.isEmpty()) {
            QCOMPARE(p.plant.prompter.shown, QStringList());
            QCOMPARE(p.model().yusa(row, Slots::YusaQuantity), typed);
            return;
        }
        QCOMPARE(p.plant.prompter.shown.size(), 1);
        QVERIFY2(p.plant.prompter.shown[0].startsWith(named), qPrintable(p.plant.prompter.shown[0]));
        QCOMPARE(p.model().yusa(row, Slots::YusaQuantity), QStringLiteral("6"));  // not taken
        QVERIFY(quantity->hasFocus());  // stays to be corrected
    }

    void a_mortar_quantity_the_frame_cannot_carry_is_refused()
    {
        Plant p(false);
        p.plant.dbm->settings.mortar_qty = QStringLiteral("12");
        p.queue(1, 1, QStringLiteral("01"), QStringLiteral("1111"), QStringLiteral("81-1111-1"));
        p.console->desk->moltal_btn->click();
        QCOMPARE(p.plant.prompter.shown.size(), 1);
        QVERIFY(p.plant.prompter.shown[0].startsWith(QStringLiteral("1호기 예약2")));
        QCOMPARE(p.model().field(1, 2, Slots::OrderNo), QString());
    }

    void a_vanished_port_comes_back_by_itself()
    {
        Plant p;
        p.console->send_btn->click();  // unit 1's queue goes out
        QTRY_VERIFY(!p.link()->sending());
        QCOMPARE(p.line1.written.size(), 1);
        const QByteArray frame = p.line1.written.last();

        p.line1.refuse_open = QStringLiteral("포트가 없습니다");
        p.line1.vanish();
        QCOMPARE(p.plant.prompter.errors.size(), 1);
        QVERIFY(p.plant.prompter.errors[0].startsWith(QStringLiteral("1호기 포트에서 알수없는 통신오류.")));
        QCOMPARE(p.label(1)->text(), PlantLink::line_down_text());
        QTRY_VERIFY(p.line1.opens >= 3);  // tried again, quietly
        QCOMPARE(p.plant.prompter.errors.size(), 1);
        p.console->send_btn->click();  // nothing goes to a line that is down
        QCOMPARE(p.plant.prompter.errors.size(), 1);

        p.line1.refuse_open.clear();
        QTRY_VERIFY(p.line1.is_open());
        // The unit's queue goes out again, though it is the frame sent last.
        QTRY_COMPARE(p.line1.written.size(), 2);
        QCOMPARE(p.line1.written.last(), frame);
        QCOMPARE(p.label(1)->text(), QStringLiteral("대기중"));
        QCOMPARE(p.plant.prompter.errors.size(), 1);
    }

    void a_vanished_port_is_announced_over_another_message()
    {
        struct Prompting : FakePrompter {
            std::function<void()> inside;
            QStringList open_when_shown;
            int open = 0;
            void information(QWidget *parent, const QString &text) override
            {
                FakePrompter::information(parent, text);
                ++open;
                if (auto f = std::exchange(inside, nullptr))
                    f();
                --open;
            }
            void error(QWidget *parent, const QString &text) override
            {
                FakePrompter::error(parent, text);
                if (open > 0)
                    open_when_shown << text;
            }
        } prompter;
        ConsoleFixture f;
        f.plant.ctx.prompter = &prompter;
        f.open();
        f.console->link->switch_on();
        prompter.inside = [&f] { f.line1.vanish(); };
        f.line2.feed("UU");  // "데이타 수신오류", and the port of unit 1 goes while it is open
        QCOMPARE(prompter.open_when_shown.size(), 1);
        QVERIFY(prompter.open_when_shown[0].startsWith(QStringLiteral("1호기 포트에서")));
    }

    // Noise, bursts and pauses on both lines while the operator keeps the
    // queues filled: nothing crashes or hangs, and no load is recorded twice
    // or for a slot without a complete load.  Five seconds here;
    // VELDARO_RANDOM_SECONDS=60 for the full minute.
    void random_bytes_on_both_lines()
    {
        Plant p(false);
        p.console->prn_sel->setCurrentText(QStringLiteral("수동인쇄"));
        const int seconds = qEnvironmentVariableIsSet("VELDARO_RANDOM_SECONDS")
                                ? qEnvironmentVariableIntValue("VELDARO_RANDOM_SECONDS")
                                : 5;
        QRandomGenerator random(20261210);
        int next_load = 1;
        QSet<QString> complete_loads;
        const auto keep_queued = [&] {
            for (int unit = 1; unit <= 2; ++unit) {
                for (int slot = 1; slot <= 3; ++slot) {
                    if (!p.model().field(unit, slot, Slots::OrderNo).isEmpty())
                        continue;
                    // Every load its own (unknown) truck code: a second row would show.
                    const QString code = QStringLiteral("L%1").arg(next_load, 5, 10, QLatin1Char('0'));
                    const bool complete = random.bounded(4) != 0;
                    p.queue(unit, slot, QStringLiteral("0%1").arg(1 + next_load % 4),
                            complete ? QStringLiteral("5%1").arg(next_load % 1000, 3, 10, QLatin1Char('0')) : QString(),
                            code);
                    if (complete)
                        complete_loads << code;
                    ++next_load;
                }
            }
        };
        const QByteArray alphabet("BBBBEENNNUU\r\n\x00\xff?Z", 17);
        QDeadlineTimer end(seconds * 1000);
        int reads = 0;
        while (!end.hasExpired()) {
            keep_queued();
            FakeSerialLine &line = p.line(1 + random.bounded(2));
            QByteArray burst;
            const int size = 1 + random.bounded(random.bounded(10) == 0 ? 40 : 4);
            for (int i = 0; i < size; ++i)
                burst += alphabet[random.bounded(alphabet.size())];
            line.feed(burst);
            ++reads;
            // A pause now and then: the sends finish, reports waiting come in.
            if (random.bounded(8) == 0)
                QTRY_VERIFY_WITH_TIMEOUT(!p.link()->sending(), 5000);
            else
                QCoreApplication::processEvents();
        }
        QTRY_VERIFY_WITH_TIMEOUT(!p.link()->sending(), 5000);
        QVERIFY2(reads > 20, qPrintable(QString::number(reads)));
        QVERIFY(p.loads() > 0);
        QSqlQuery q = p.plant.db().query(QStringLiteral("select o_carnum, count(*) from cholha group by o_carnum"));
        while (q.next()) {
            QCOMPARE(q.value(1).toInt(), 1);
            QVERIFY2(complete_loads.contains(q.value(0).toString()), qPrintable(q.value(0).toString()));
        }
    }
};

const QString TestLinkFaults::receive_error = QStringLiteral("데이타 수신오류");

QTEST_MAIN(TestLinkFaults)
#include "tst_link_faults_db.moc"
