#include "gui/shipments/hand_ticket.h"
#include "gui/data/app_context.h"
#include "core/data/data_module.h"
#include "core/framework/clock.h"
#include "gui/framework/date_box.h"
#include "gui/framework/decimal_box.h"
#include "core/framework/guarded.h"
#include "core/framework/number_text.h"
#include "core/framework/prompter.h"
#include "gui/framework/time_box.h"
#include "gui/masterdata/code_lookup.h"
#include "gui/plantlink/ticket_report.h"
#include "core/masterdata/spec_db.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlRecord>
#include <QVBoxLayout>

namespace {
QLineEdit *text_field(const char *name, int width)
{
    auto *field = new QLineEdit;
    field->setObjectName(QString::fromLatin1(name));
    field->setMinimumWidth(width);
    return field;
}

QLabel *caption(const QString &text)
{
    auto *label = new QLabel(text);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

// A field with words before or after it ("발", "착", "귀하", "(00:00)").
QWidget *with_words(const QString &before, QWidget *field, const QString &after)
{
    auto *line = new QWidget;
    auto *row = new QHBoxLayout(line);
    row->setContentsMargins(0, 0, 0, 0);
    if (!before.isEmpty())
        row->addWidget(new QLabel(before));
    row->addWidget(field, 1);
    if (!after.isEmpty())
        row->addWidget(new QLabel(after));
    return line;
}

QString order_text(const QSqlRecord &order, const char *column)
{
    return order.value(QString::fromLatin1(column)).toString();
}
}

TF_HANDPRINT::TF_HANDPRINT(AppContext &ctx, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      ctx_(ctx)
{
    setObjectName(QStringLiteral("F_HANDPRINT"));
    setWindowTitle(QStringLiteral("수기송장"));
    setFont(QFont(QStringLiteral("굴림"), 11));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    HD01 = text_field("HD01", 90);
    HD02 = new DateBox;
    HD02->setObjectName(QStringLiteral("HD02"));
    HD02->setDate(ctx_.clock->today());
    HD03 = text_field("HD03", 300);
    HD04 = text_field("HD04", 300);
    HD05 = text_field("HD05", 120);
    HD06 = text_field("HD06", 120);
    HD07 = text_field("HD07", 120);
    HD08 = new DecimalBox(QStringLiteral("0.00#"), 3, 9);
    HD08->setObjectName(QStringLiteral("HD08"));
    HD09 = text_field("HD09", 120);
    HD10 = new DecimalBox(QStringLiteral("0.00"), 3, 9);
    HD10->setObjectName(QStringLiteral("HD10"));
    HD11 = text_field("HD11", 120);
    HD12 = text_field("HD12", 120);
    HD13 = text_field("HD13", 120);
    HD14 = new TimeBox(TimeBox::Form::HoursMinutes);
    HD14->setObjectName(QStringLiteral("HD14"));
    HD15 = text_field("HD15", 120);
    HD16 = text_field("HD16", 70);
    HD17 = text_field("HD17", 120);
    HD18 = text_field("HD18", 120);
    HD19 = text_field("HD19", 120);
    HD20 = text_field("HD20", 120);
    HD21 = text_field("HD21", 120);
    HD22 = text_field("HD22", 120);
    hd23 = new QCheckBox(QStringLiteral("ks 여부"));
    hd23->setObjectName(QStringLiteral("hd23"));
    HD24 = text_field("HD24", 120);
    BTN_PRN = new QPushButton(QStringLiteral("송    장    발    행"));
    BTN_PRN->setObjectName(QStringLiteral("BTN_PRN"));
    // Enter in the last field must not print by itself.
    BTN_PRN->setAutoDefault(false);
    BTN_PRN->setMinimumHeight(40);

    // The paper ticket: label left of its field, two columns.
    auto *form = new QGridLayout;
    form->setHorizontalSpacing(8);
    form->setVerticalSpacing(5);
    const auto pair = [form](int row, int column, const QString &label, QWidget *field, int span = 1) {
        form->addWidget(caption(label), row, column);
        form->addWidget(field, row, column + 1, 1, span);
    };
    pair(0, 0, QStringLiteral("NO."), HD01);
    form->addWidget(HD02, 0, 3);
    form->addWidget(with_words({}, HD03, QStringLiteral("귀하")), 1, 1, 1, 3);
    pair(2, 0, QStringLiteral("납품장소"), HD04, 3);
    pair(3, 0, QStringLiteral("차량번호"), HD05);
    pair(3, 2, QStringLiteral("운전기사"), HD06);
    pair(4, 0, QStringLiteral("굵은골재"), HD07);
    pair(4, 2, QStringLiteral("납품용적"), HD08);
    pair(5, 0, QStringLiteral("호칭강도"), HD09);
    pair(5, 2, QStringLiteral("누      계"), HD10);
    pair(6, 0, QStringLiteral("슬 럼 프"), HD11);
    pair(6, 2, QStringLiteral("누계대수"), HD12);
    pair(7, 0, QStringLiteral("콘크리트"), HD13);
    form->addWidget(caption(QStringLiteral("납  품  시  각")), 7, 2, 2, 1);
    form->addWidget(with_words(QStringLiteral("발"), HD14, {}), 7, 3);
    pair(8, 0, QStringLiteral("골재종류"), HD15);
    form->addWidget(with_words(QStringLiteral("착"), HD16, QStringLiteral("(00:00)")), 8, 3);
    pair(9, 0, QStringLiteral("시 멘 트"), HD17);
    pair(9, 2, QStringLiteral("지정사항"), HD18);
    pair(10, 0, QStringLiteral("공 기 량"), HD19);
    pair(10, 2, QStringLiteral("염화물량"), HD20);
    pair(11, 0, QStringLiteral("출하확인"), HD21);
    pair(11, 2, QStringLiteral("인수확인"), HD22);
    form->addWidget(hd23, 12, 1);
    pair(12, 2, QStringLiteral("혼화제률"), HD24);
    form->setColumnStretch(1, 1);
    form->setColumnStretch(3, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(12);
    layout->addLayout(form);
    layout->addWidget(BTN_PRN);

    order_ = {HD01, HD02, HD03, HD04, HD05, HD06, HD07, HD08, HD09, HD10, HD11, HD12,
              HD13, HD14, HD15, HD16, HD17, HD18, HD19, HD20, HD21, HD22, hd23, HD24, BTN_PRN};
    // The keys belong to every field up to the KS box; the admixture ratio
    // and the button keep their own.
    for (QWidget *w : order_.mid(0, order_.indexOf(HD24)))
        w->installEventFilter(this);
    connect(BTN_PRN, &QPushButton::clicked, this, &TF_HANDPRINT::BTN_PRNClick);
}

void TF_HANDPRINT::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    HD01->setFocus(Qt::OtherFocusReason);
}

bool TF_HANDPRINT::eventFilter(QObject *watched, QEvent *event)
{
    auto *field = qobject_cast<QWidget *>(watched);
    if (!field)
        return false;
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (field == HD05)
                HD05Enter();
            else
                move_focus(field, 1);
            return true;
        }
        // The page keys act on their release.
        return key == Qt::Key_PageUp || key == Qt::Key_PageDown;
    }
    if (event->type() == QEvent::KeyRelease) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->isAutoRepeat())
            return false;
        if (key->key() == Qt::Key_PageUp || key->key() == Qt::Key_PageDown) {
            move_focus(field, key->key() == Qt::Key_PageUp ? -1 : 1);
            return true;
        }
    }
    return false;
}

void TF_HANDPRINT::move_focus(QWidget *from, int step)
{
    const qsizetype at = order_.indexOf(from);
    if (at + step >= 0 && at + step < order_.size())
        order_[at + step]->setFocus(Qt::OtherFocusReason);
}

void TF_HANDPRINT::HD05Enter()
{
    bool found = false;
    if (!guarded(*ctx_.prompter, this, [&] {
            ctx_.lookup->lookup_code = HD05->text();
            found = lookup_or_pick(ctx_, lookup_kinds::vehicles, this, wide_list_area(this));
        }))
        return;
    if (!found || ctx_.lookup->lookup_code.isEmpty()) {
        // Not found: the driver on the form belonged to another vehicle.
        HD06->clear();
        HD05->setFocus(Qt::OtherFocusReason);
        return;
    }
    HD05->setText(ctx_.lookup->lookup_attr);
    HD06->setText(ctx_.lookup->lookup_name);
    move_focus(HD05, 1);
}

void TF_HANDPRINT::fill(const QSqlRecord &order, const QString &working_date, const QString &shipper)
{
    const QString v_rule = order_text(order, "v_rule");
    const bool ks = !v_rule.isEmpty() && ks_mark_of_standard(ctx_.dbm->db(), v_rule) == QLatin1String("KS");
    HD02->set_text_date(working_date);
    HD03->setText(order_text(order, "v_inout"));
    HD04->setText(order_text(order, "v_station"));
    const HandSpecParts parts = split_hand_spec(v_rule);
    HD07->setText(parts.max_aggregate);
    HD09->setText(parts.strength);
    HD11->setText(parts.slump);
    HD13->setText(order_text(order, "con"));
    HD15->setText(order_text(order, "gravel"));
    HD17->setText(order_text(order, "cement"));
    HD18->setText(order_text(order, "japum"));
    HD21->setText(shipper);
    hd23->setChecked(ks);
}

void TF_HANDPRINT::fill_hand_ticket(const QSqlRecord &order, const QString &working_date, const QString &shipper)
{
    if (!guarded(*ctx_.prompter, QApplication::activeWindow(), [&] { fill(order, working_date, shipper); }))
        return;
    exec();
}

TicketData TF_HANDPRINT::ticket() const
{
    TicketData t;
    const QString date = HD02->text_date();
    t.year = date.mid(0, 4);
    t.month = date.mid(5, 2);
    t.day = date.mid(8, 2);
    t.customer_name = HD03->text();
    t.site = HD04->text();
    t.vehicle_no = HD05->text();
    t.driver = HD06->text();
    t.max_aggregate = HD07->text();
    t.quantity = number_2n(HD08->value());
    t.strength = HD09->text();
    t.cumulative = number_2n(HD10->value());
    t.slump = HD11->text();
    t.trip_no = HD12->text();
    const QString time = HD14->time_text();
    t.hour = time.mid(0, 2);
    t.minute = time.mid(3, 2);
    t.cement = HD17->text();
    t.admixture = HD18->text();
    t.shipper = HD21->text();
    t.ks_mark = hd23->isChecked() ? QStringLiteral("KS") : QString();
    t.admixture_rate = HD24->text();
    t.origin.path = QStringLiteral("hand");
    return t;
}

void TF_HANDPRINT::BTN_PRNClick()
{
    const TicketData t = ticket();
    if (t.customer_name.isEmpty() && t.site.isEmpty() && t.vehicle_no.isEmpty() && HD08->value() == 0) {
        ctx_.prompter->information(this, QStringLiteral("거래처, 납품장소, 차량번호와 납품용적이 모두 비어 있습니다. "
                                                        "(송장 인쇄 안 됨)"));
        HD03->setFocus(Qt::OtherFocusReason);
        return;
    }
    ctx_.dbm->ticket_data = t;
    // At the margins of the settings, like every other ticket.
    ctx_.qr_songjang->print_ticket();
    HD01->setFocus(Qt::OtherFocusReason);
}
