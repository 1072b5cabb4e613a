#include "gui/framework/grid_footer.h"
#include "core/framework/number_text.h"
#include "core/framework/record_table_model.h"
#include "gui/framework/time_box.h"

#include <QSqlField>
#include <QSqlRecord>
#include <QTableView>
#include <QTest>
#include <QVBoxLayout>

namespace {
QSqlRecord record(const QString &field, const QVariant &value)
{
    QSqlRecord r;
    QSqlField f(field, value.metaType());
    f.setValue(value);
    r.append(f);
    return r;
}
}

class TestSharedControls : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void number_formats_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("shown");
        QTest::newRow("grouped, two decimals") << 1234.5 << "#,##0.00" << "1,234.50";
        QTest::newRow("grouped whole") << 1234.5 << "#,##0" << "1,235";
        QTest::newRow("optional decimals dropped") << 1234.5 << "#,##0.###" << "1,234.5";
        QTest::newRow("optional decimals all zero") << 70000.0 << "#,##0.##" << "70,000";
        QTest::newRow("three decimals kept") << 2.0 << "#,##0.000" << "2.000";
        QTest::newRow("no grouping") << 1234.25 << "0.##" << "1234.25";
        QTest::newRow("%.2n") << 1234567.891 << "%.2n" << "1,234,567.89";
        QTest::newRow("%.0n") << 66500.0 << "%.0n" << "66,500";
        QTest::newRow("%.3n") << 12.0 << "%.3n" << "12.000";
        QTest::newRow("a decimal half rounds up") << 2.675 << "#,##0.00" << "2.68";
        QTest::newRow("negative") << -1234.5 << "#,##0.0" << "-1,234.5";
        QTest::newRow("negative zero") << -0.001 << "#,##0.00" << "0.00";
        QTest::newRow("general") << 12.5 << "" << "12.5";
    }
    void number_formats()
    {
        QFETCH(double, value);
        QFETCH(QString, format);
        QFETCH(QString, shown);
        QCOMPARE(format_number(value, format), shown);
    }

    void typed_times_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("seconds");
        QTest::addColumn<QString>("stored");
        QTest::newRow("hh:mm") << "08:05" << false << "08:05";
        QTest::newRow("one-digit hour") << "8:05" << false << "08:05";
        QTest::newRow("hh:mm:ss") << "23:59:59" << true << "23:59:59";
        QTest::newRow("hour 24") << "24:00" << false << "";
        QTest::newRow("minute 60") << "12:60" << false << "";
        QTest::newRow("half typed") << "12:6" << false << "";
        QTest::newRow("no seconds in a seconds box") << "12:30" << true << "";
        QTest::newRow("empty") << "" << false << "";
    }
    void typed_times()
    {
        QFETCH(QString, typed);
        QFETCH(bool, seconds);
        QFETCH(QString, stored);
        QCOMPARE(valid_time_text(typed, seconds ? TimeBox::Form::HoursMinutesSeconds : TimeBox::Form::HoursMinutes),
                 stored);
    }

    // What the operator types into the mask is only ever a whole time.
    void the_time_box_never_yields_a_half_typed_mask()
    {
        TimeBox box;
        box.show();
        QVERIFY(box.is_blank());
        QCOMPARE(box.time_text(), QString());
        box.setFocus();
        box.home(false);
        QTest::keyClicks(&box, "123");
        QCOMPARE(box.time_text(), QString());  // "12:3_"
        QVERIFY(!box.is_blank());
        QTest::keyClicks(&box, "0");
        QCOMPARE(box.time_text(), QStringLiteral("12:30"));
        box.set_time_text(QStringLiteral("07:45:12"));  // a stored shipment time into an hh:mm box
        QCOMPARE(box.time_text(), QStringLiteral("07:45"));
        box.set_time_text(QStringLiteral("99:99"));
        QVERIFY(box.is_blank());

        TimeBox seconds(TimeBox::Form::HoursMinutesSeconds);
        seconds.set_time_text(QStringLiteral("14:35:12"));
        QCOMPARE(seconds.time_text(), QStringLiteral("14:35:12"));
    }

    // The grid shows each column in its format; the footer under it follows
    // the columns and shows the texts the window set.
    void grid_formats_and_footer()
    {
        RecordTableModel model({{QStringLiteral("m3"), QStringLiteral("수량"), Qt::AlignRight, {}, false, 0,
                                 QStringLiteral("#,##0.00")},
                                {QStringLiteral("kum"), QStringLiteral("금액"), Qt::AlignRight, {}, false, 0,
                                 QStringLiteral("#,##0")}});
        QList<QSqlRecord> rows;
        for (double m3 : {1234.5, 6.0}) {
            QSqlRecord r = record(QStringLiteral("m3"), m3);
            QSqlField k(QStringLiteral("kum"), QMetaType(QMetaType::QString));
            k.setValue(QString::number(m3 * 1000));  // a numeric that a driver hands over as text
            r.append(k);
            rows << r;
        }
        model.set_rows(rows);
        QCOMPARE(model.data(model.index(0, 0), Qt::DisplayRole).toString(), QStringLiteral("1,234.50"));
        QCOMPARE(model.data(model.index(1, 1), Qt::DisplayRole).toString(), QStringLiteral("6,000"));
        QCOMPARE(model.sum(QStringLiteral("m3")), 1240.5);

        QWidget w;
        auto *layout = new QVBoxLayout(&w);
        auto *grid = new QTableView;
        grid->setObjectName(QStringLiteral("gridhord2"));
        grid->setModel(&model);
        layout->addWidget(grid);
        auto *footer = new GridFooter(grid);
        layout->addWidget(footer);
        w.resize(400, 300);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        model.set_footer(QStringLiteral("M3"), format_number(model.sum(QStringLiteral("m3")), QStringLiteral("%.2n")));
        QCOMPARE(footer->model()->headerData(0, Qt::Horizontal, RecordTableModel::FooterRole).toString(),
                 QStringLiteral("1,240.50"));
        QCOMPARE(footer->objectName(), QStringLiteral("gridhord2_footer"));
        grid->horizontalHeader()->resizeSection(0, 137);
        QTRY_COMPARE(footer->sectionSize(0), 137);
        QCOMPARE(footer->sectionViewportPosition(1), grid->horizontalHeader()->sectionViewportPosition(1));
    }
};

QTEST_MAIN(TestSharedControls)
#include "tst_shared_controls.moc"
