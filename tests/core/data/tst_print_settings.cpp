#include "core/data/print_settings.h"
#include "core/framework/korean_text.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The PDF folders live in a section of their own in the settings file; the
// environment overrides them.
class TestPrintSettings : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        qunsetenv("VELDARO_PRINT_TO_PDF");
        qunsetenv("VELDARO_TICKET_COPIES");
    }
    void cleanup() { init(); }

    void file_and_environment_data()
    {
        QTest::addColumn<QByteArray>("pdf_env");  // "-" leaves it unset
        QTest::addColumn<QString>("pdf_folder");
        QTest::addColumn<QString>("copy_folder");
        QTest::newRow("from the file, backslashes kept") << QByteArray("-") << "D:\\송장\\pdf" << "D:\\송장\\사본";
        QTest::newRow("environment wins") << QByteArray("/tmp/out") << "/tmp/out" << "D:\\송장\\사본";
        QTest::newRow("set but empty turns it off") << QByteArray("") << "" << "D:\\송장\\사본";
    }
    void file_and_environment()
    {
        QFETCH(QByteArray, pdf_env);
        QFETCH(QString, pdf_folder);
        QFETCH(QString, copy_folder);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Vorn.Ini"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(cp949::encode(QStringLiteral("[여백]\r\n윗여백=2\r\n[VELDARO]\r\nprint_to_pdf=D:\\송장\\pdf\r\n"
                                             "ticket_copies= D:\\송장\\사본 \r\n")));
        f.close();
        if (pdf_env != "-")
            qputenv("VELDARO_PRINT_TO_PDF", pdf_env);
        const PrintSettings s = PrintSettings::load(path);
        QCOMPARE(s.pdf_folder, pdf_folder);
        QCOMPARE(s.ticket_copy_folder, copy_folder);
    }

    void nothing_set_means_the_printer_and_no_copies()
    {
        const PrintSettings s = PrintSettings::load(QStringLiteral("/nonexistent/Vorn.Ini"));
        QVERIFY(s.pdf_folder.isEmpty());
        QVERIFY(s.ticket_copy_folder.isEmpty());
    }
};

QTEST_MAIN(TestPrintSettings)
#include "tst_print_settings.moc"
