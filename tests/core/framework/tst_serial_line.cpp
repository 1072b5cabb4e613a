#include "core/framework/serial_line.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// A port setting that names something other than a serial port: one
// message that says so, no line error after it.
class TestSerialLine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void something_that_is_not_a_serial_port_data()
    {
        QTest::addColumn<QString>("what");
        QTest::newRow("a file") << "file";
        QTest::newRow("a folder") << "folder";
        QTest::newRow("another device") << "/dev/null";
    }

    void something_that_is_not_a_serial_port()
    {
        QFETCH(QString, what);
        QTemporaryDir dir;
        QString device = what;
        if (what == QLatin1String("file")) {
            device = dir.filePath(QStringLiteral("Vorn.Ini"));
            QFile f(device);
            QVERIFY(f.open(QIODevice::WriteOnly));
        } else if (what == QLatin1String("folder")) {
            device = dir.path();
        }
        SerialPortLine line;
        QSignalSpy errors(&line, &SerialLine::line_error);
        QString error;
        QVERIFY(!line.open(device, 9600, &error));
        QVERIFY2(error.startsWith(QStringLiteral("직렬 포트가 아닙니다: ") + device), qPrintable(error));
        QVERIFY(!error.contains(QStringLiteral("No error")));
        QVERIFY(!line.is_open());
        QCoreApplication::processEvents();
        QCOMPARE(errors.count(), 0);
    }
};

QTEST_GUILESS_MAIN(TestSerialLine)
#include "tst_serial_line.moc"
