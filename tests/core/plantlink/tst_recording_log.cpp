#include "core/framework/support_log.h"
#include "core/plantlink/load_recorder.h"
#include "core/plantlink/shipment_recording.h"
#include "test_support.h"

#include <QFile>
#include <QTest>

using shipment_recording::Input;

// A load that waits or is refused can be found in the support log later.
class TestRecordingLog : public QObject {
    Q_OBJECT

    static Input load(int minute)
    {
        return test_load(QTime(9, minute));
    }

    static QString read(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

private Q_SLOTS:
    void cleanup() { support_log::uninstall(); }

    void a_journalled_then_written_load_is_logged()
    {
        TestPlant p;
        const QString log = p.dir.filePath(QStringLiteral("veldaro.log"));
        support_log::install(log);
        add_order(p, "2026-03-02", "01", 30, 0);
        add_truck(p, "81-1111-1", "1111", "YES");
        p.exec(QStringLiteral("alter table cholha rename to cholha_away"));
        LoadRecorder recorder(p.db(), p.dir.filePath(QStringLiteral("outage_journal.jsonl")));
        QVERIFY(!recorder.record(load(1), {}).recorded);
        p.exec(QStringLiteral("alter table cholha_away rename to cholha"));
        QCOMPARE(recorder.replay(), 1);
        const QString text = read(log);
        QVERIFY2(text.contains(QStringLiteral("I veldaro.recording: load journalled:")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("W veldaro.recording: load kept waiting: 2026-03-02 1호기 순번 01, 차번 1111")));
        QVERIFY(text.contains(QStringLiteral("no such table")));
        QVERIFY(text.contains(QStringLiteral("I veldaro.recording: loads written from the journal: 1 - waiting: 0")));
    }

    void a_refused_load_is_logged()
    {
        TestPlant p;
        const QString log = p.dir.filePath(QStringLiteral("veldaro.log"));
        support_log::install(log);
        add_truck(p, "81-1111-1", "1111", "YES");  // no order 01: it is gone
        LoadRecorder recorder(p.db(), p.dir.filePath(QStringLiteral("outage_journal.jsonl")));
        QVERIFY(recorder.record(load(2), {}).refused);
        const QString text = read(log);
        QVERIFY2(text.contains(QStringLiteral("W veldaro.recording: ")) && text.contains(QStringLiteral(".rejected")),
                 qPrintable(text));
    }
};

QTEST_GUILESS_MAIN(TestRecordingLog)
#include "tst_recording_log.moc"
