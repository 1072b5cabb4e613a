#include "core/data/data_module.h"
#include "core/data/plant_settings.h"
#include "core/framework/korean_text.h"
#include "core/framework/profile_file.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The plant's settings file is shared with other programs and people: it
// must be read exactly as Windows writes it, and only the written keys may
// change.
class TestProfileFile : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    QByteArray iconv_to_cp949(const QByteArray &utf8)
    {
        QProcess p;
        p.start(QStringLiteral("iconv"), {QStringLiteral("-f"), QStringLiteral("UTF-8"),
                                          QStringLiteral("-t"), QStringLiteral("CP949")});
        p.write(utf8);
        p.closeWriteChannel();
        p.waitForFinished();
        if (p.exitCode() != 0)
            qFatal("iconv failed: %s", p.readAllStandardError().constData());
        return p.readAllStandardOutput();
    }

    QString write_file(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }

    static QByteArray read_bytes(const QString &path)
    {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }

    // A file as the plant's office PC has it, made outside the program.
    const QByteArray plant_file_utf8 =
        "; 베달로 출하 설정 (똠 햏)\r\n"
        "[통신1]\r\n"
        "포트=3\r\n"
        "속도=9600\r\n"
        "\r\n"
        "[기타]\r\n"
        "경로=C:\\Program Files\\vorn\\image\\pass.jpg\r\n"
        "[제품]\r\n"
        "시멘트=보통포틀랜드 똠\r\n"
        "골재 = 25mm 쇄석 \r\n"
        "혼화제=AE감수제 햏\r\n"
        "[여백]\r\n"
        "윗여백=2.5\r\n"
        "왼쪽여백=1\r\n"
        "[담당]\r\n"
        "담당자=홍길동\r\n";

private Q_SLOTS:
    void codec_is_windows_949()
    {
        QVERIFY(cp949::available());
        // ICU's "CP949" would turn the backslash into a won sign and drop 똠.
        QCOMPARE(cp949::encode(QStringLiteral("C:\\똠햏")), iconv_to_cp949("C:\\똠햏"));
        QCOMPARE(cp949::decode(iconv_to_cp949("C:\\똠햏")), QStringLiteral("C:\\똠햏"));
    }

    void reads_a_cp949_file_made_outside()
    {
        const QString path = write_file(QStringLiteral("plant.ini"), iconv_to_cp949(plant_file_utf8));
        const PlantSettings s = PlantSettings::load(path);
        QCOMPARE(s.comm1_port, QStringLiteral("3"));
        QCOMPARE(s.comm1_speed, QStringLiteral("9600"));
        QCOMPARE(s.comm2_port, QString());  // section missing
        QCOMPARE(s.cement_text, QStringLiteral("보통포틀랜드 똠"));
        QCOMPARE(s.gravel_text, QStringLiteral("25mm 쇄석"));
        QCOMPARE(s.admixture_text, QStringLiteral("AE감수제 햏"));
        QCOMPARE(s.concrete_text, QString());  // key missing
        QCOMPARE(s.top_margin, QStringLiteral("2.5"));
        QCOMPARE(s.person_in_charge, QStringLiteral("홍길동"));
        ProfileFile f(path);
        QCOMPARE(f.read(QStringLiteral("기타"), QStringLiteral("경로")),
                 QStringLiteral("C:\\Program Files\\vorn\\image\\pass.jpg"));
    }

    // Notepad's "Unicode" is UTF-16 with a byte-order mark: read as such
    // (not as an empty file), written back the same way.
    void reads_and_writes_a_utf16_file_data()
    {
        QTest::addColumn<bool>("little_endian");
        QTest::newRow("Notepad's Unicode") << true;
        QTest::newRow("Unicode big endian") << false;
    }

    void reads_and_writes_a_utf16_file()
    {
        QFETCH(bool, little_endian);
        const QString text = QString::fromUtf8(plant_file_utf8);
        QByteArray bytes = little_endian ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
        for (QChar c : text) {
            const char hi = char(c.unicode() >> 8), lo = char(c.unicode() & 0xFF);
            bytes.append(little_endian ? lo : hi).append(little_endian ? hi : lo);
        }
        const QString path = write_file(QStringLiteral("unicode.ini"), bytes);
        const ProfileFile f(path);
        QVERIFY(f.is_utf16());
        const PlantSettings s = PlantSettings::load(path);
        QCOMPARE(s.comm1_port, QStringLiteral("3"));
        QCOMPARE(s.cement_text, QStringLiteral("보통포틀랜드 똠"));
        QCOMPARE(s.top_margin, QStringLiteral("2.5"));

        QVERIFY(ProfileFile::write(path, {{QStringLiteral("여백"), QStringLiteral("윗여백"), QStringLiteral("3")}}));
        const QByteArray after = read_bytes(path);
        QVERIFY(after.startsWith(bytes.left(2)));
        QString expected = text;
        expected.replace(QStringLiteral("윗여백=2.5"), QStringLiteral("윗여백=3"));
        QCOMPARE(ProfileFile(path).read(QStringLiteral("여백"), QStringLiteral("윗여백")), QStringLiteral("3"));
        QCOMPARE(after.size(), 2 + 2 * expected.size());
        QCOMPARE(ProfileFile(path).read(QStringLiteral("담당"), QStringLiteral("담당자")), QStringLiteral("홍길동"));

        // Start-up says so; a CP949 file says nothing.
        const TF_DBMDL unicode(path, ConnectionSettings{});
        QVERIFY2(unicode.settings_notice.startsWith(QStringLiteral("설정 파일이 유니코드(UTF-16)로 저장되어 있습니다")),
                 qPrintable(unicode.settings_notice));
        QCOMPARE(unicode.settings.cement_text, QStringLiteral("보통포틀랜드 똠"));
        const TF_DBMDL plain(write_file(QStringLiteral("plain.ini"), iconv_to_cp949(plant_file_utf8)), ConnectionSettings{});
        QCOMPARE(plain.settings_notice, QString());
    }

    void writing_changes_only_the_written_keys()
    {
        const QByteArray original = iconv_to_cp949(plant_file_utf8);
        const QString path = write_file(QStringLiteral("write.ini"), original);

        PlantSettings s = PlantSettings::load(path);
        s.comm1_port = QStringLiteral("4");              // existing key
        s.comm1_speed = QStringLiteral("9600");          // unchanged value
        s.comm2_port = QStringLiteral("5");              // missing section
        s.comm2_speed = QStringLiteral("14400");
        QVERIFY(s.write(path, PlantSettings::comm_keys()));

        const QByteArray written = read_bytes(path);
        QByteArray expected = original;
        expected.replace(iconv_to_cp949("포트=3\r\n"), iconv_to_cp949("포트=4\r\n"));
        expected += "\r\n" + iconv_to_cp949("[통신2]\r\n포트=5\r\n속도=14400\r\n");
        QCOMPARE(written, expected);

        PlantSettings more = PlantSettings::load(path);
        more.cement_text = QStringLiteral("고로슬래그 똠");
        more.concrete_text = QStringLiteral("레디믹스트");  // missing key in an existing section
        more.person_in_charge = QString();
        QVERIFY(more.write(path, PlantSettings::option_keys()));
        const PlantSettings again = PlantSettings::load(path);
        QCOMPARE(again.cement_text, QStringLiteral("고로슬래그 똠"));
        QCOMPARE(again.concrete_text, QStringLiteral("레디믹스트"));
        QCOMPARE(again.person_in_charge, QString());
        QCOMPARE(again.comm2_speed, QStringLiteral("14400"));
        QCOMPARE(again.gravel_text, QStringLiteral("25mm 쇄석"));
        // The comment, the Windows path and the blank line are untouched.
        const QByteArray final_bytes = read_bytes(path);
        QVERIFY(final_bytes.startsWith(iconv_to_cp949("; 베달로 출하 설정 (똠 햏)\r\n[통신1]\r\n포트=4\r\n")));
        QVERIFY(final_bytes.contains(iconv_to_cp949("경로=C:\\Program Files\\vorn\\image\\pass.jpg\r\n")));
        QVERIFY(final_bytes.contains(iconv_to_cp949("시멘트=고로슬래그 똠\r\n골재=25mm 쇄석\r\n혼화제=AE감수제 햏\r\n콘크리트=레디믹스트\r\n")));
    }

    void missing_file_reads_empty_and_writing_creates_it()
    {
        const QString path = dir.filePath(QStringLiteral("new/folder/Vorn.Ini"));
        const PlantSettings empty = PlantSettings::load(path);
        for (const PlantSettings::Key &k : PlantSettings::read_order())
            QVERIFY((empty.*(k.field)).isEmpty());
        PlantSettings s;
        s.top_margin = QStringLiteral("12");
        QVERIFY(s.write(path, {PlantSettings::option_keys()[9]}));
        QCOMPARE(read_bytes(path), iconv_to_cp949("[여백]\r\n윗여백=12\r\n"));
    }

    void bad_files_are_read_as_far_as_possible_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("cement");

        QTest::newRow("garbage lines and a value without =")
            << QByteArray("garbage\r\n[]]]\r\n=nothing\r\n") + iconv_to_cp949("[통신1]\r\n포트\r\n속도=9600\r\n포트=2\r\n[제품]\r\n시멘트=조강\r\n")
            << "2" << QStringLiteral("조강");
        QTest::newRow("bytes that are not CP949")
            << QByteArray("\xFF\xFE\xFF junk\r\n") + iconv_to_cp949("[통신1]\r\n포트=1\r\n[제품]\r\n") + QByteArray("\xEB\xFF=\xFF\r\n") + iconv_to_cp949("시멘트=보통\r\n")
            << "1" << QStringLiteral("보통");
        QTest::newRow("saved as UTF-8 by an editor")
            << QByteArray("[통신1]\n포트=7\n[제품]\n시멘트=혼합 똠\n")
            << "7" << QStringLiteral("혼합 똠");
        QTest::newRow("UTF-8 with a byte order mark")
            << QByteArray("\xEF\xBB\xBF[통신1]\n포트=8\n")
            << "8" << QString();
        QTest::newRow("Unix line ends, no final line end")
            << iconv_to_cp949("[통신1]\n포트=6\n[제품]\n시멘트=백색")
            << "6" << QStringLiteral("백색");
    }

    void bad_files_are_read_as_far_as_possible()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, port);
        QFETCH(QString, cement);
        const QString path = write_file(QStringLiteral("bad.ini"), bytes);
        const PlantSettings s = PlantSettings::load(path);
        QCOMPARE(s.comm1_port, port);
        QCOMPARE(s.cement_text, cement);

        // Writing one key leaves every other line exactly as it was.
        PlantSettings changed = s;
        changed.comm1_speed = QStringLiteral("19200");
        QVERIFY(changed.write(path, PlantSettings::comm_keys()));
        const QByteArray after = read_bytes(path);
        const QList<QByteArray> before_lines = bytes.split('\n');
        for (QByteArray line : before_lines) {
            if (line.endsWith('\r'))
                line.chop(1);
            const QString text = ProfileFile(path).is_utf8() ? QString::fromUtf8(line) : cp949::decode(line);
            if (text.trimmed().startsWith(QStringLiteral("속도")) || line.isEmpty())
                continue;
            QVERIFY2(after.contains(line), line.constData());
        }
        const PlantSettings again = PlantSettings::load(path);
        QCOMPARE(again.comm1_speed, QStringLiteral("19200"));
        QCOMPARE(again.comm1_port, port);
        QCOMPARE(again.cement_text, cement);
    }
};

QTEST_GUILESS_MAIN(TestProfileFile)
#include "tst_profile_file.moc"
