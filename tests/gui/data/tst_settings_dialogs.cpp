#include "gui/data/comm_dialog.h"
#include "gui/data/option_dialog.h"
#include "core/framework/profile_file.h"
#include "window_support.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// The two settings dialogs write the file and the running settings at once.
class TestSettingsDialogs : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void comm_dialog_shows_and_writes_the_four_values()
    {
        WindowPlant plant;
        plant.dbm->settings.comm1_port = QStringLiteral("3");
        plant.dbm->settings.comm1_speed = QStringLiteral("9600");
        TF_COMM dialog(*plant.dbm, plant.prompter);
        dialog.show();
        QCOMPARE(dialog.comm_port_edit1->currentText(), QStringLiteral("3"));
        QCOMPARE(dialog.comm_speed_edit1->currentText(), QStringLiteral("9600"));
        QCOMPARE(dialog.comm_port_edit1->count(), 8);
        QCOMPARE(dialog.comm_speed_edit2->count(), 13);
        QCOMPARE(dialog.comm_speed_edit2->itemText(12), QStringLiteral("921600"));

        dialog.comm_port_edit2->setCurrentText(QStringLiteral("2"));
        dialog.comm_speed_edit2->setCurrentText(QStringLiteral("14400"));  // not in the list
        QTest::mouseClick(dialog.But_Seting, Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(plant.dbm->settings.comm2_speed, QStringLiteral("14400"));
        QCOMPARE(plant.dbm->settings.comm2_port, QStringLiteral("2"));
        const ProfileFile file(plant.settings_path);
        QCOMPARE(file.read(QStringLiteral("통신2"), QStringLiteral("속도")), QStringLiteral("14400"));
        QCOMPARE(file.read(QStringLiteral("통신1"), QStringLiteral("포트")), QStringLiteral("3"));
    }

    void option_dialog_writes_all_twelve_and_they_take_effect_at_once()
    {
        WindowPlant plant;
        plant.dbm->settings.top_margin = QStringLiteral("2");
        plant.dbm->settings.comm1_port = QStringLiteral("1");
        TF_OPTION dialog(*plant.dbm, plant.prompter);
        dialog.show();
        QCOMPARE(dialog.edt_top->text(), QStringLiteral("2"));
        const QList<QPair<QLineEdit *, QString>> typed{
            {dialog.mol_code_edit, "9001"}, {dialog.mol_m3_edit, "0.5"},
            {dialog.cement_edit, "보통포틀랜드"}, {dialog.gravel_edit, "25mm"},
            {dialog.japum_edit, "AE제"}, {dialog.con_edit, "레디믹스트"},
            {dialog.dam_edit, "홍길동"}, {dialog.yum_edit, "0.3"},
            {dialog.kong_edit, "4.5"}, {dialog.bigo_edit, "메모 똠"},
            {dialog.edt_top, "12"}, {dialog.edt_left, "abc"},  // not checked: stored as typed
        };
        for (const auto &[box, text] : typed)
            box->setText(text);
        QTest::mouseClick(dialog.But_Seting, Qt::LeftButton);

        const PlantSettings &s = plant.dbm->settings;
        QCOMPARE(s.top_margin, QStringLiteral("12"));
        QCOMPARE(s.left_margin, QStringLiteral("abc"));
        QCOMPARE(s.remark_text, QStringLiteral("메모 똠"));
        QCOMPARE(s.person_in_charge, QStringLiteral("홍길동"));
        QCOMPARE(s.comm1_port, QStringLiteral("1"));  // not the dialog's
        const PlantSettings reread = PlantSettings::load(plant.settings_path);
        for (const PlantSettings::Key &k : PlantSettings::option_keys())
            QCOMPARE(reread.*(k.field), s.*(k.field));
        QCOMPARE(reread.comm1_port, QString());  // the dialog wrote no comm keys
    }

    void the_close_box_discards()
    {
        WindowPlant plant;
        plant.dbm->settings.mortar_code = QStringLiteral("9001");
        {
            TF_OPTION dialog(*plant.dbm, plant.prompter);
            dialog.show();
            dialog.mol_code_edit->setText(QStringLiteral("1234"));
            dialog.close();
        }
        {
            TF_COMM dialog(*plant.dbm, plant.prompter);
            dialog.show();
            dialog.comm_port_edit1->setCurrentText(QStringLiteral("7"));
            dialog.close();
        }
        QCOMPARE(plant.dbm->settings.mortar_code, QStringLiteral("9001"));
        QCOMPARE(plant.dbm->settings.comm1_port, QString());
        QVERIFY(!QFile::exists(plant.settings_path));
    }

    void a_file_that_cannot_be_written_is_reported_and_the_dialog_stays()
    {
        WindowPlant plant;
        const QString blocked = plant.dir.filePath(QStringLiteral("blocker"));
        QFile f(blocked);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        TF_DBMDL dbm(blocked + QStringLiteral("/Vorn.Ini"), test_connection());
        TF_COMM dialog(dbm, plant.prompter);
        dialog.show();
        dialog.comm_port_edit1->setCurrentText(QStringLiteral("4"));
        QTest::mouseClick(dialog.But_Seting, Qt::LeftButton);
        QCOMPARE(plant.prompter.errors.size(), 1);
        QVERIFY(dialog.isVisible());
        QCOMPARE(dbm.settings.comm1_port, QString());
    }
};

QTEST_MAIN(TestSettingsDialogs)
#include "tst_settings_dialogs.moc"
