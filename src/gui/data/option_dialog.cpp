#include "gui/data/option_dialog.h"
#include "core/data/data_module.h"
#include "core/framework/prompter.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TF_OPTION::TF_OPTION(TF_DBMDL &dbm, Prompter &prompter, QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      dbm_(dbm), prompter_(prompter)
{
    setObjectName(QStringLiteral("F_OPTION"));
    setWindowTitle(QStringLiteral("옵션"));

    struct Row {
        QLineEdit **box;
        const char *name;
        const char *label;
        QString PlantSettings::*field;
    };
    const Row rows[] = {
        {&mol_code_edit, "mol_code_edit", "몰탈코드", &PlantSettings::mortar_code},
        {&mol_m3_edit, "mol_m3_edit", "몰탈수량", &PlantSettings::mortar_qty},
        {&cement_edit, "cement_edit", "시멘트", &PlantSettings::cement_text},
        {&gravel_edit, "gravel_edit", "골   재", &PlantSettings::gravel_text},
        {&japum_edit, "japum_edit", "혼화제", &PlantSettings::admixture_text},
        {&con_edit, "con_edit", "콘크리트", &PlantSettings::concrete_text},
        {&dam_edit, "dam_edit", "담당자", &PlantSettings::person_in_charge},
        {&yum_edit, "yum_edit", "염분함량", &PlantSettings::chloride_text},
        {&kong_edit, "kong_edit", "공 기 량", &PlantSettings::air_text},
        {&bigo_edit, "bigo_edit", "메   모", &PlantSettings::remark_text},
        {&edt_top, "edt_top", "윗여백", &PlantSettings::top_margin},
        {&edt_left, "edt_left", "왼쪽여백", &PlantSettings::left_margin},
    };

    auto *grid = new QGridLayout;
    int i = 0;
    for (const Row &r : rows) {
        auto *box = new QLineEdit;
        box->setObjectName(QString::fromLatin1(r.name));
        box->setMinimumWidth(200);
        *r.box = box;
        boxes_ << qMakePair(box, r.field);
        auto *label = new QLabel(QString::fromUtf8(r.label));
        label->setBuddy(box);
        grid->addWidget(label, i, 0);
        grid->addWidget(box, i, 1);
        ++i;
    }

    But_Seting = new QPushButton(QStringLiteral("설정 확인"));
    But_Seting->setObjectName(QStringLiteral("But_Seting"));
    But_Seting->setAutoDefault(false);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(But_Seting, 0, Qt::AlignHCenter);

    connect(But_Seting, &QPushButton::clicked, this, &TF_OPTION::But_SetingClick);
}

void TF_OPTION::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TF_OPTION::FormShow()
{
    for (const auto &[box, field] : boxes_)
        box->setText(dbm_.settings.*field);
    if (QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
}

void TF_OPTION::But_SetingClick()
{
    PlantSettings next = dbm_.settings;
    for (const auto &[box, field] : boxes_)
        next.*field = box->text();
    QString error;
    if (!next.write(dbm_.settings_path(), PlantSettings::option_keys(), &error)) {
        prompter_.error(this, error);
        return;
    }
    dbm_.settings = next;
    accept();
}
