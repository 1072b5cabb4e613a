#include "gui/framework/board_grid.h"
#include "gui/console/navigation.h"
#include "gui/console/order_board.h"
#include "console_fixture.h"
#include "gui/framework/date_box.h"
#include "gui/framework/decimal_box.h"
#include "core/framework/korean_text.h"
#include "core/framework/record_table_model.h"
#include "gui/framework/time_box.h"
#include "report_check.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlRecord>
#include <QTest>

Q_DECLARE_METATYPE(HandSpecParts)

namespace {
constexpr double tolerance = 0.5;  // mm

// The hand ticket window of a plant with two orders of 2026-03-02 and the
// trucks 1111 (one) and 2222 (two, so a list opens).
struct Bench : ConsoleFixture {
    Bench()
    {
        plant.exec(QStringLiteral(
            "insert into r_suju (ilja, seq, v_inout, v_station, remi_code, v_rule, order_m3, v_state,"
            " con, gravel, cement, japum) values"
            " ('2026-03-02', '01', '한빛건설', '새솔아파트', '1004', '25-240-15', 30, 'YES', '보통', '쇄석', '포틀랜드', 'AE제'),"
            " ('2026-03-02', '02', '대한토건', '동탄현장', '1005', '25-240-8', 12, 'YES', '고강도', '강자갈', '조강', '감수제')"));
        plant.exec(QStringLiteral("insert into r_size (remi_code, standard, rul_ks) values"
                                  " ('1004', '25-240-15', 'KS'), ('1005', '25-240-8', 'KS')"));
        plant.exec(QStringLiteral("insert into car_code (code, scode, name, c_state) values"
                                  " ('81-1111-1', '1111', '김기사', 'YES'), ('81-2222-2', '2222', '이기사', 'YES'),"
                                  " ('81-2222-3', '2222', '박기사', 'YES')"));
    }
    TF_HANDPRINT &w() { return *handprint; }

    QSqlRecord order(const char *seq) const
    {
        QSqlQuery q = plant.db().query(QStringLiteral("select * from r_suju where ilja = '2026-03-02' and seq = :s"),
                                       {{":s", QString::fromLatin1(seq)}});
        return q.next() ? q.record() : QSqlRecord();
    }

    void show_active()
    {
        w().show();
        w().activateWindow();
        QTRY_VERIFY(w().isActiveWindow());
    }

    QList<PdfWord> last_ticket() const
    {
        const QStringList files = printed();
        if (files.isEmpty())
            return {};
        return pdf_words(QDir(pdf_folder).filePath(files.last()));
    }
};

void type_into(QLineEdit *field, const QString &text)
{
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
}

// Closes the window that fill_hand_ticket / E1 show, once it is up.
void close_when_shown(TF_HANDPRINT &w)
{
    on_next_modal([&w](QWidget *m) {
        if (m == &w)
            w.close();
    });
}
}

// The hand ticket: a paper-like form filled from an order, typed by hand
// and printed as a delivery ticket.
class TestHandTicket : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { install_korean_fonts(); }

    void the_specification_is_split_only_when_nine_characters_long_data()
    {
        QTest::addColumn<QString>("v_rule");
        QTest::addColumn<HandSpecParts>("parts");
        QTest::newRow("25-240-15") << "25-240-15" << HandSpecParts{"25", "240", "15"};
        QTest::newRow("25-240-8: eight") << "25-240-8" << HandSpecParts{};
        QTest::newRow("25-1240-15: ten") << "25-1240-15" << HandSpecParts{};
        QTest::newRow("mortar") << "몰탈" << HandSpecParts{};
        QTest::newRow("nine without dashes: by position") << "ABCDEFGHI" << HandSpecParts{"AB", "DEF", "HI"};
    }
    void the_specification_is_split_only_when_nine_characters_long()
    {
        QFETCH(QString, v_rule);
        QFETCH(HandSpecParts, parts);
        QCOMPARE(split_hand_spec(v_rule), parts);
    }

    void filling_refills_the_order_and_keeps_what_was_typed()
    {
        Bench b;
        b.w().fill(b.order("01"), QStringLiteral("2026-03-02"), QStringLiteral("홍길동"));
        QCOMPARE(b.w().HD02->text_date(), QStringLiteral("2026-03-02"));
        QCOMPARE(b.w().HD03->text(), QStringLiteral("한빛건설"));
        QCOMPARE(b.w().HD04->text(), QStringLiteral("새솔아파트"));
        QCOMPARE(b.w().HD07->text(), QStringLiteral("25"));
        QCOMPARE(b.w().HD09->text(), QStringLiteral("240"));
        QCOMPARE(b.w().HD11->text(), QStringLiteral("15"));
        QCOMPARE(b.w().HD13->text(), QStringLiteral("보통"));
        QCOMPARE(b.w().HD15->text(), QStringLiteral("쇄석"));
        QCOMPARE(b.w().HD17->text(), QStringLiteral("포틀랜드"));
        QCOMPARE(b.w().HD18->text(), QStringLiteral("AE제"));
        QCOMPARE(b.w().HD21->text(), QStringLiteral("홍길동"));
        QVERIFY(b.w().hd23->isChecked());

        // Typed by the operator, then the window is filled from another order.
        b.w().HD05->setText(QStringLiteral("1111"));
        b.w().HD08->set_value(6);
        b.w().HD10->set_value(18);
        b.w().HD12->setText(QStringLiteral("3"));
        b.w().HD14->set_time_text(QStringLiteral("14:35"));
        b.w().HD19->setText(QStringLiteral("4.5"));
        b.w().HD24->setText(QStringLiteral("0.8%"));
        b.w().fill(b.order("02"), QStringLiteral("2026-03-03"), QStringLiteral("김반장"));
        QCOMPARE(b.w().HD02->text_date(), QStringLiteral("2026-03-03"));
        QCOMPARE(b.w().HD03->text(), QStringLiteral("대한토건"));
        // 25-240-8 has eight characters: the three parts are emptied.
        QCOMPARE(b.w().HD07->text(), QString());
        QCOMPARE(b.w().HD09->text(), QString());
        QCOMPARE(b.w().HD11->text(), QString());
        QCOMPARE(b.w().HD13->text(), QStringLiteral("고강도"));
        QCOMPARE(b.w().HD21->text(), QStringLiteral("김반장"));
        QCOMPARE(b.w().HD05->text(), QStringLiteral("1111"));
        QCOMPARE(b.w().HD08->text(), QStringLiteral("6.00"));
        QCOMPARE(b.w().HD10->text(), QStringLiteral("18.00"));
        QCOMPARE(b.w().HD12->text(), QStringLiteral("3"));
        QCOMPARE(b.w().HD14->time_text(), QStringLiteral("14:35"));
        QCOMPARE(b.w().HD19->text(), QStringLiteral("4.5"));
        QCOMPARE(b.w().HD24->text(), QStringLiteral("0.8%"));
    }

    void the_ks_box_follows_the_specification_name_data()
    {
        QTest::addColumn<QString>("rul_ks");
        QTest::addColumn<bool>("ticked");
        QTest::newRow("KS") << "KS" << true;
        QTest::newRow("not certified") << "NO" << false;
        QTest::newRow("no such specification") << "" << false;
    }
    void the_ks_box_follows_the_specification_name()
    {
        QFETCH(QString, rul_ks);
        QFETCH(bool, ticked);
        Bench b;
        // Found by the name, not by the order's product code.
        b.plant.exec(QStringLiteral("update r_size set rul_ks = 'KS'"));
        b.plant.exec(QStringLiteral("update r_suju set remi_code = '1004', v_rule = '30-300-18' where seq = '01'"));
        if (!rul_ks.isEmpty())
            b.plant.exec(QStringLiteral("insert into r_size (remi_code, standard, rul_ks) values ('2000', '30-300-18', :k)"),
                         {{":k", rul_ks}});
        b.w().hd23->setChecked(!ticked);
        b.w().fill(b.order("01"), QStringLiteral("2026-03-02"), QString());
        QCOMPARE(b.w().hd23->isChecked(), ticked);
    }

    void no_order_at_the_cursor_empties_the_order_fields()
    {
        Bench b;
        b.w().fill(b.order("01"), QStringLiteral("2026-03-02"), QStringLiteral("홍길동"));
        b.w().fill(QSqlRecord(), QStringLiteral("2026-03-02"), QStringLiteral("홍길동"));
        for (QLineEdit *f : {b.w().HD03, b.w().HD04, b.w().HD07, b.w().HD09, b.w().HD11, b.w().HD13,
                             b.w().HD15, b.w().HD17, b.w().HD18})
            QCOMPARE(f->text(), QString());
        QVERIFY(!b.w().hd23->isChecked());
    }

    void printing_at_the_margins_of_the_settings()
    {
        Bench b;
        b.plant.dbm->settings.top_margin = QStringLiteral("12");
        b.plant.dbm->settings.left_margin = QStringLiteral("5");
        b.w().fill(b.order("01"), QStringLiteral("2026-03-02"), QStringLiteral("홍길동"));
        b.w().HD05->setText(QStringLiteral("1111"));
        b.w().HD08->setText(QStringLiteral("1234.567"));
        b.w().HD10->setText(QStringLiteral("2000"));
        b.w().HD12->setText(QStringLiteral("7"));
        b.w().HD14->set_time_text(QStringLiteral("09:05"));
        b.w().BTN_PRN->click();
        QCOMPARE(b.plant.prompter.shown, QStringList());
        QCOMPARE(b.printed().size(), 1);
        QVERIFY(b.plant.dbm->ticket_data.is_empty());

        const QList<PdfWord> words = b.last_ticket();
        struct Place {
            const char *text;
            double top, x;  // x: left edge, or right edge for the right-aligned values
            bool right;
        };
        const Place places[] = {
            {"1,234.57", 83.3, 27.3 + 20.4, true}, {"2,000.00", 83.3, 92.9 + 22.0, true},
            {"7", 32.0, 9.8, false},               {"2026", 38.9, 5.3, false},
            {"09", 73.6, 33.1 + 16.9, true},       {"05", 73.6, 60.6 + 5.3, true},
            {"1111", 64.8, 48.9, false},           {"한빛건설", 47.6, 5.8, false},
            {"홍길동", 145.5, 82.6, false},
        };
        for (const Place &p : places) {
            const QList<QRectF> found = find_text(words, QString::fromUtf8(p.text));
            QVERIFY2(found.size() == 1, qPrintable(QString::fromUtf8(p.text) + " in: " + all_text(words)));
            QVERIFY2(std::abs(found.first().top() - (12 + p.top)) <= tolerance, p.text);
            const double x = p.right ? found.first().right() : found.first().left();
            QVERIFY2(std::abs(x - (5 + p.x)) <= tolerance, p.text);
        }
        // The three centred specification boxes.
        for (const auto &[text, left, width] : {std::tuple{"25", 32.3, 23.5}, std::tuple{"240", 56.9, 17.7},
                                                std::tuple{"15", 75.1, 19.1}}) {
            const QList<QRectF> found = find_text(words, QString::fromUtf8(text));
            QCOMPARE(found.size(), 1);
            QVERIFY(std::abs(found.first().center().x() - (5 + left + width / 2)) <= tolerance);
            QVERIFY(std::abs(found.first().top() - (12 + 101.6)) <= tolerance);
        }
        // The KS box was ticked by the order: no not-KS marking.
        QCOMPARE(find_text(words, QStringLiteral("규격외 제품")).size(), 0);
        QCOMPARE(b.w().HD08->text(), QStringLiteral("1234.567"));
    }

    void the_ks_box_decides_the_not_ks_marking_data()
    {
        QTest::addColumn<bool>("ks");
        QTest::newRow("ticked") << true;
        QTest::newRow("cleared") << false;
    }
    void the_ks_box_decides_the_not_ks_marking()
    {
        QFETCH(bool, ks);
        Bench b;
        b.w().HD03->setText(QStringLiteral("한빛건설"));
        b.w().HD08->set_value(6);
        b.w().hd23->setChecked(ks);
        b.w().BTN_PRN->click();
        QCOMPARE(b.printed().size(), 1);
        const QList<PdfWord> words = b.last_ticket();
        QCOMPARE(find_text(words, QStringLiteral("규격외 제품")).size(), ks ? 0 : 1);
        QCOMPARE(find_text(words, QStringLiteral("6.00")).size(), 1);
    }

    void a_failed_print_says_so_and_a_blank_form_prints_nothing()
    {
        Bench b;
        b.w().BTN_PRN->click();  // nothing typed but the date
        QCOMPARE(b.printed(), QStringList());
        QCOMPARE(b.plant.prompter.shown.size(), 1);
        QVERIFY(b.plant.prompter.last().contains(QStringLiteral("인쇄 안 됨")));

        b.plant.prompter.clear();
        b.w().HD03->setText(QStringLiteral("한빛건설"));
        b.plant.dbm->settings.top_margin = QStringLiteral("abc");
        b.w().BTN_PRN->click();
        QCOMPARE(b.printed(), QStringList());
        QCOMPARE(b.plant.prompter.errors.size(), 1);
        QCOMPARE(b.plant.dbm->ticket_data.customer_name, QStringLiteral("한빛건설"));
    }

    void enter_and_the_page_keys_move_along_the_ticket()
    {
        Bench b;
        b.show_active();
        QTRY_VERIFY(b.w().HD01->hasFocus());
        const QList<QWidget *> order{b.w().HD01, b.w().HD02, b.w().HD03, b.w().HD04};
        for (qsizetype i = 0; i + 1 < order.size(); ++i) {
            QTest::keyClick(order[i], Qt::Key_Return);
            QVERIFY(order[i + 1]->hasFocus());
        }
        b.w().HD21->setFocus();
        QTest::keyClick(b.w().HD21, Qt::Key_Return);
        QVERIFY(b.w().HD22->hasFocus());
        QTest::keyClick(b.w().HD22, Qt::Key_Return);
        QVERIFY(b.w().hd23->hasFocus());
        QTest::keyClick(b.w().hd23, Qt::Key_Return);
        QVERIFY(b.w().HD24->hasFocus());
        QVERIFY(!b.w().hd23->isChecked());  // Enter only moves
        QTest::keyClick(b.w().HD24, Qt::Key_Return);  // the last field: no print
        QCOMPARE(b.printed(), QStringList());

        b.w().HD09->setFocus();
        QTest::keyClick(b.w().HD09, Qt::Key_PageUp);
        QVERIFY(b.w().HD08->hasFocus());
        QTest::keyClick(b.w().HD08, Qt::Key_PageDown);
        QVERIFY(b.w().HD09->hasFocus());
        // The date does not step by itself on Page Up.
        b.w().HD02->setFocus();
        const QString date = b.w().HD02->text_date();
        QTest::keyClick(b.w().HD02, Qt::Key_PageUp);
        QVERIFY(b.w().HD01->hasFocus());
        QCOMPARE(b.w().HD02->text_date(), date);
        b.w().close();
    }

    void the_vehicle_lookup_in_its_field()
    {
        Bench b;
        b.show_active();
        type_into(b.w().HD05, QStringLiteral("1111"));  // exactly one
        QTest::keyClick(b.w().HD05, Qt::Key_Return);
        QCOMPARE(b.w().HD05->text(), QStringLiteral("1111"));
        QCOMPARE(b.w().HD06->text(), QStringLiteral("김기사"));
        QVERIFY(b.w().HD06->hasFocus());

        // Two trucks numbered 2222: the list opens; the second is picked.
        type_into(b.w().HD05, QStringLiteral("2222"));
        on_next_modal([](QWidget *list) {
            auto *grid = list->findChild<QAbstractItemView *>(QStringLiteral("Grd_pan"));
            grid->setFocus();
            grid->setCurrentIndex(grid->model()->index(2, 0));
            QTest::keyClick(grid, Qt::Key_Return);
        });
        QTest::keyClick(b.w().HD05, Qt::Key_Return);
        QCOMPARE(b.w().HD05->text(), QStringLiteral("2222"));
        QCOMPARE(b.w().HD06->text(), QStringLiteral("박기사"));

        // No such truck, the list closed without a pick: not found.
        b.w().activateWindow();
        QTRY_VERIFY(b.w().isActiveWindow());
        type_into(b.w().HD05, QStringLiteral("9999"));
        on_next_modal([](QWidget *list) { QTest::keyClick(list, Qt::Key_Escape); });
        QTest::keyClick(b.w().HD05, Qt::Key_Return);
        QCOMPARE(b.w().HD05->text(), QStringLiteral("9999"));
        QCOMPARE(b.w().HD06->text(), QString());
        QTRY_VERIFY(b.w().HD05->hasFocus());
        b.w().close();
    }

    void the_console_shows_it_as_it_is_and_its_pop_up_fills_it()
    {
        Bench b;
        b.open();
        TF_MAIN &console = *b.console;
        console.dam_edit->setText(QStringLiteral("박반장"));
        b.w().HD03->setText(QStringLiteral("손으로 쓴 거래처"));
        b.w().HD05->setText(QStringLiteral("1111"));

        // [&E] 수 기 송 장: shown unfilled, the same window.
        QVERIFY(console.navigation->E1->isEnabled());
        QString shown_customer;
        on_next_modal([&](QWidget *m) {
            shown_customer = b.w().HD03->text();
            QCOMPARE(m, static_cast<QWidget *>(&b.w()));
            b.w().HD08->set_value(3.5);
            b.w().close();
        });
        console.navigation->E1->trigger();
        QCOMPARE(shown_customer, QStringLiteral("손으로 쓴 거래처"));
        QVERIFY(!b.w().isVisible());
        QCOMPARE(b.handprint.get(), b.plant.ctx.handprint);

        // 수기송장 on the order grid: the order at the cursor, the day, the operator.
        b.click_row(console.orders->suju_grid, 1);
        QCOMPARE(console.orders->current_seq(), QStringLiteral("02"));
        close_when_shown(b.w());
        console.navigation->N6->trigger();
        QCOMPARE(b.w().HD03->text(), QStringLiteral("대한토건"));
        QCOMPARE(b.w().HD02->text_date(), QStringLiteral("2026-03-02"));
        QCOMPARE(b.w().HD21->text(), QStringLiteral("박반장"));
        QVERIFY(b.w().hd23->isChecked());
        // What was typed in the window's earlier use is still there.
        QCOMPARE(b.w().HD05->text(), QStringLiteral("1111"));
        QCOMPARE(b.w().HD08->value(), 3.5);
        QVERIFY(console.orders->suju_grid->actions().contains(console.navigation->N6));
    }
};

QTEST_MAIN(TestHandTicket)
#include "tst_hand_ticket_db.moc"
