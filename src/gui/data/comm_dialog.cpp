#include "gui/data/comm_dialog.h"
#include "core/data/data_module.h"
#include "core/framework/prompter.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {
QComboBox *make_box(const QString &name, const QStringList &choices)
{
    auto *box = new QComboBox;
    box->setObjectName(name);
    box->setEditable(true);
    box->addItems(choices);
    box->setMinimumWidth(110);
    return box;
}

QGroupBox *unit_panel(const QString &title, QComboBox *port, QComboBox *speed)
{
    auto *panel = new QGroupBox(title);
    auto *form = new QFormLayout(panel);
    form->addRow(QStringLiteral("통 신 포 트"), port);
    form->addRow(QStringLiteral("전 송 속 도"), speed);
    return panel;
}
}

TF_COMM::TF_COMM(TF_DBMDL &dbm, Prompter &prompter, QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      dbm_(dbm), prompter_(prompter)
{
    setObjectName(QStringLiteral("F_COMM"));
    setWindowTitle(QStringLiteral("통신설정"));

    const QStringList ports{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                            QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6"),
                            QStringLiteral("7"), QStringLiteral("8")};
    const QStringList speeds{QStringLiteral("110"), QStringLiteral("300"), QStringLiteral("1200"),
                             QStringLiteral("2400"), QStringLiteral("4800"), QStringLiteral("9600"),
                             QStringLiteral("19200"), QStringLiteral("38400"),
                             QStringLiteral("57600"), QStringLiteral("115200"),
                             QStringLiteral("230400"), QStringLiteral("460800"),
                             QStringLiteral("921600")};
    comm_port_edit1 = make_box(QStringLiteral("comm_port_edit1"), ports);
    comm_speed_edit1 = make_box(QStringLiteral("comm_speed_edit1"), speeds);
    comm_port_edit2 = make_box(QStringLiteral("comm_port_edit2"), ports);
    comm_speed_edit2 = make_box(QStringLiteral("comm_speed_edit2"), speeds);

    auto *note = new QLabel(QStringLiteral("통신포트와 전송속도를\n정확히 설정하십시요"));
    note->setAlignment(Qt::AlignCenter);

    auto *units = new QHBoxLayout;
    units->addWidget(unit_panel(QStringLiteral("1 호기"), comm_port_edit1, comm_speed_edit1));
    units->addWidget(unit_panel(QStringLiteral("2 호기"), comm_port_edit2, comm_speed_edit2));

    But_Seting = new QPushButton(QStringLiteral("설정 확인"));
    But_Seting->setObjectName(QStringLiteral("But_Seting"));
    But_Seting->setAutoDefault(false);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addLayout(units);
    layout->addWidget(But_Seting, 0, Qt::AlignHCenter);

    connect(But_Seting, &QPushButton::clicked, this, &TF_COMM::But_SetingClick);
}

void TF_COMM::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TF_COMM::FormShow()
{
    comm_port_edit1->setCurrentText(dbm_.settings.comm1_port);
    comm_speed_edit1->setCurrentText(dbm_.settings.comm1_speed);
    comm_port_edit2->setCurrentText(dbm_.settings.comm2_port);
    comm_speed_edit2->setCurrentText(dbm_.settings.comm2_speed);
    if (QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
}

void TF_COMM::But_SetingClick()
{
    PlantSettings next = dbm_.settings;
    next.comm1_port = comm_port_edit1->currentText();
    next.comm1_speed = comm_speed_edit1->currentText();
    next.comm2_port = comm_port_edit2->currentText();
    next.comm2_speed = comm_speed_edit2->currentText();
    QString error;
    if (!next.write(dbm_.settings_path(), PlantSettings::comm_keys(), &error)) {
        prompter_.error(this, error);
        return;
    }
    dbm_.settings = next;
    accept();
}
