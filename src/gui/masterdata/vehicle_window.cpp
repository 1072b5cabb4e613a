#include "gui/masterdata/vehicle_window.h"
#include "gui/data/app_context.h"
#include "core/data/data_module.h"
#include "core/framework/guarded.h"
#include "core/framework/prompter.h"
#include "gui/masterdata/code_lookup.h"
#include "gui/masterdata/field_keys.h"
#include "gui/masterdata/form_style.h"
#include "gui/masterdata/number_box.h"
#include "gui/masterdata/list_grid.h"
#include "core/masterdata/text_pad.h"
#include "core/masterdata/vehicle_db.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QTableView>
#include <QVBoxLayout>

namespace {
QComboBox *choice(const char *name, const QStringList &items, bool editable = false)
{
    auto *box = new QComboBox;
    box->setObjectName(QString::fromLatin1(name));
    box->setEditable(editable);
    box->addItems(items);
    box->setMinimumWidth(90);
    return box;
}

}

TF_CAR::TF_CAR(AppContext &ctx, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      ctx_(ctx), keys_(new FieldKeys(*ctx.prompter, this))
{
    setObjectName(QStringLiteral("F_CAR"));
    setWindowTitle(QStringLiteral("차량 관리"));
    setFont(QFont(QStringLiteral("굴림"), 10));

    ca1 = make_text_box("ca1", 9, 110);
    ca1->setInputMask(QStringLiteral("00-0000-0;_"));
    ca1_1 = make_text_box("ca1_1", 4, 60);
    ca2 = make_text_box("ca2", 10, 150);
    ca3 = new NumberBox(6);
    ca3->setObjectName(QStringLiteral("ca3"));
    ca3->setFixedWidth(90);
    ca4 = new NumberBox(5);
    ca4->setObjectName(QStringLiteral("ca4"));
    ca4->setFixedWidth(90);
    ca5 = make_text_box("ca5", 2, 40);
    ca5->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), ca5));
    ca5->setAttribute(Qt::WA_InputMethodEnabled, false);
    ca6 = make_text_box("ca6", 40, 170);
    ca6->setReadOnly(true);
    ca7 = choice("ca7", {QStringLiteral("자사"), QStringLiteral("지입"), QStringLiteral("타사")});
    ca8 = choice("ca8", {}, true);
    ca11 = choice("ca11", {QStringLiteral("Y"), QStringLiteral("N")});
    ca10 = choice("ca10", {QStringLiteral("Y"), QStringLiteral("N")});
    fields_ = {ca1, ca1_1, ca2, ca3, ca4, ca5, ca6, ca7, ca8, ca11, ca10};
    for (QWidget *field : fields_)
        keys_->add(field);

    auto *entry_pan = make_entry_panel();
    auto *grid = new QGridLayout(entry_pan);
    grid->setContentsMargins(12, 10, 12, 10);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);
    const auto unit = [] { return new QLabel(QStringLiteral("m3")); };
    const struct {
        const char *label;
        QWidget *field;
        int row;
        int column;
    } places[] = {
        {"차 량      코 드", side_by_side({ca1, ca1_1}), 0, 0}, {"기    사    명", ca2, 1, 0},
        {"적      재     량", side_by_side({ca3, unit()}), 2, 0}, {"공 차  중  량", side_by_side({ca4, unit()}), 3, 0},
        {"운반 회사 코드", ca5, 4, 0}, {"운반 회사 명", ca6, 5, 0},
        {"자/타사    구분", ca7, 0, 2}, {"운반비     구분", ca8, 1, 2},
        {"출 력      여 부", ca11, 2, 2}, {"연장 수당 지급", ca10, 3, 2},
    };
    for (const auto &p : places) {
        grid->addWidget(new QLabel(QString::fromUtf8(p.label)), p.row, p.column);
        grid->addWidget(p.field, p.row, p.column + 1, Qt::AlignLeft);
    }
    grid->setColumnMinimumWidth(2, 110);
    grid->setColumnStretch(4, 1);

    auto *bar = new QHBoxLayout;
    newbtn = add_bar_button(bar, "newbtn", "&1.등록");
    edtbtn = add_bar_button(bar, "edtbtn", "&2.수정");
    delbtn = add_bar_button(bar, "delbtn", "&3.삭제");
    savbtn = add_bar_button(bar, "savbtn", "&4.저장");
    canbtn = add_bar_button(bar, "canbtn", "&5.취소");
    clsbtn = add_bar_button(bar, "clsbtn", "&7.닫기");

    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    listquery = new RecordTableModel(
        {{.field = QStringLiteral("code"), .title = QStringLiteral("차량코드"), .alignment = right, .width_chars = 11},
         {.field = QStringLiteral("scode"), .title = QStringLiteral("번호"), .alignment = right, .width_chars = 7},
         {.field = QStringLiteral("name"), .title = QStringLiteral("기사명"), .width_chars = 12},
         {.field = QStringLiteral("m3"), .title = QStringLiteral("적재량"), .alignment = right, .width_chars = 8},
         {.field = QStringLiteral("c_bool"), .title = QStringLiteral("출력여부"), .alignment = Qt::AlignCenter, .width_chars = 9},
         {.field = QStringLiteral("gubun"), .title = QStringLiteral("운반비구분"), .alignment = Qt::AlignCenter}},
        this);
    listquery->setObjectName(QStringLiteral("listquery"));
    RxDBGrid1 = new QTableView;
    RxDBGrid1->setObjectName(QStringLiteral("RxDBGrid1"));
    set_up_list_grid(RxDBGrid1, listquery);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(make_title_bar(QStringLiteral("차량 코드 관리")));
    layout->addWidget(entry_pan);
    layout->addLayout(bar);
    layout->addWidget(RxDBGrid1, 1);
    resize(660, 640);
    for (int i = 1; i < fields_.size(); ++i)
        setTabOrder(fields_[i - 1], fields_[i]);

    keys_->on_enter(ca1, [this] { guarded(*ctx_.prompter, this, [this] { ca1Enter(); }); });
    keys_->on_enter(ca1_1, [this] { ca1_1Enter(); });
    keys_->on_enter(ca5, [this] { guarded(*ctx_.prompter, this, [this] { ca5Enter(); }); });
    keys_->on_enter(ca10, [this] { savbtn->setFocus(); });
    connect(newbtn, &QPushButton::clicked, this, &TF_CAR::newbtnClick);
    connect(edtbtn, &QPushButton::clicked, this, &TF_CAR::edtbtnClick);
    connect(delbtn, &QPushButton::clicked, this, &TF_CAR::delbtnClick);
    connect(savbtn, &QPushButton::clicked, this, &TF_CAR::savbtnClick);
    connect(canbtn, &QPushButton::clicked, this, &TF_CAR::canbtnClick);
    connect(clsbtn, &QPushButton::clicked, this, &QDialog::close);
    keep_open_on_escape(this);
    on_row_chosen(RxDBGrid1, [this] { RxDBGrid1CellClick(); });
}

void TF_CAR::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void TF_CAR::FormActivate()
{
    clear_fields();
    ca7->setCurrentText(QStringLiteral("자사"));
    ca10->setCurrentText(QStringLiteral("Y"));
    ca5->setText(QStringLiteral("00"));
    guarded(*ctx_.prompter, this, [this] {
        fill_fee_classes();
        load_list();
    });
    back_to_idle_list();
    lock_fields(true);
}

void TF_CAR::clear_fields()
{
    for (QLineEdit *box : {ca1, ca1_1, ca2, static_cast<QLineEdit *>(ca3), static_cast<QLineEdit *>(ca4), ca5, ca6})
        box->clear();
    for (QComboBox *box : {ca7, ca8, ca10, ca11})
        box->setCurrentIndex(box->count() ? 0 : -1);
    if (!ca8->count())
        ca8->setEditText(QString());
}

void TF_CAR::lock_fields(bool locked)
{
    for (QWidget *field : fields_)
        field->setEnabled(!locked);
}

void TF_CAR::enable_buttons(bool add, bool change, bool save, bool cancel)
{
    newbtn->setEnabled(add);
    edtbtn->setEnabled(change);
    delbtn->setEnabled(change);
    savbtn->setEnabled(save);
    canbtn->setEnabled(cancel);
}

void TF_CAR::load_list()
{
    show_rows(RxDBGrid1, list_vehicle_rows(ctx_.dbm->db()));
}

void TF_CAR::fill_fee_classes()
{
    ca8->clear();
    ca8->addItems(vehicle_fee_classes(ctx_.dbm->db()));
}

// The grid usable again and only "&1.등록" to go on with.
void TF_CAR::back_to_idle_list()
{
    RxDBGrid1->setEnabled(true);
    enable_buttons(true, false, false, false);
    newbtn->setFocus();
}

void TF_CAR::RxDBGrid1CellClick()
{
    const QSqlRecord row = current_record(RxDBGrid1);
    if (row.isEmpty())
        return;
    const auto text = [&row](const char *field) { return row.value(QLatin1String(field)).toString(); };
    ca1->setText(text("code"));
    ca1_1->setText(text("scode"));
    ca2->setText(text("name"));
    ca3->set_value(row.value(QStringLiteral("m3")).toDouble());
    ca4->set_value(row.value(QStringLiteral("wight")).toDouble());
    ca5->setText(text("carco"));
    ca7->setCurrentText(text("company"));
    ca8->setCurrentText(text("gubun"));
    // Shown as stored, so that changing another column keeps them.
    const QString sudang = text("sudang");
    ca10->setCurrentIndex(sudang == QLatin1String("0") ? 0 : sudang == QLatin1String("1") ? 1 : -1);
    ca11->setCurrentIndex(ca11->findText(text("c_bool")));
    guarded(*ctx_.prompter, this, [&] { ca6->setText(transport_company_name(ctx_.dbm->db(), text("carco"))); });
    enable_buttons(true, true, false, true);
    lock_fields(true);
}

void TF_CAR::newbtnClick()
{
    mode_ = Adding;
    clear_fields();
    lock_fields(false);
    ca1->setFocus();
    RxDBGrid1->setEnabled(false);
    enable_buttons(false, false, true, true);
}

void TF_CAR::edtbtnClick()
{
    mode_ = Editing;
    lock_fields(false);
    ca1->setEnabled(false);
    ca2->setFocus();
    RxDBGrid1->setEnabled(false);
    enable_buttons(false, false, true, true);
}

bool TF_CAR::has_code_digits() const
{
    return ca1->text().contains(QRegularExpression(QStringLiteral("[0-9]")));
}

void TF_CAR::ca1Enter()
{
    if (!has_code_digits()) {
        ctx_.prompter->information(this, QStringLiteral("차량 코드를 입력하시오"));
        ca1_1->setFocus();
    } else if (vehicle_exists(ctx_.dbm->db(), ca1->text())) {
        ctx_.prompter->information(this, QStringLiteral("이미 차량 코드가 존재합니다."));
    } else {
        keys_->focus_next(ca1);
    }
}

void TF_CAR::ca1_1Enter()
{
    ca1_1->setText(pad_zero(ca1_1->text(), 4));
    keys_->focus_next(ca1_1);
}

void TF_CAR::ca5Enter()
{
    lookup_into(ctx_, lookup_kinds::transport_companies, ca5, ca6);
    ca7->setFocus();
}

Vehicle TF_CAR::vehicle_in_fields() const
{
    // A number typed without Enter is zero-filled all the same.
    const QString scode = ca1_1->text().isEmpty() ? QString() : pad_zero(ca1_1->text(), 4);
    return {ca1->text(), scode, ca2->text(), ca3->value(), ca4->value(), ca5->text(),
            ca7->currentText(), ca8->currentText(), QString::number(ca10->currentIndex()),
            ca11->currentText()};
}

void TF_CAR::savbtnClick()
{
    if (!has_code_digits() || ca2->text().isEmpty()) {
        ctx_.prompter->information(this, QStringLiteral("데이타를 모두 입력하시오."));
        return;
    }
    guarded(*ctx_.prompter, this, [this] {
        const Vehicle v = vehicle_in_fields();
        if (mode_ == Adding) {
            if (!add_vehicle(ctx_.dbm->db(), v))
                ctx_.prompter->information(this, QStringLiteral("코드가 이미 존재합니다."));
        } else {
            update_vehicle(ctx_.dbm->db(), v);
        }
        fill_fee_classes();
        clear_fields();
        back_to_idle_list();
        load_list();
    });
}

void TF_CAR::delbtnClick()
{
    if (!ctx_.prompter->question(this, QStringLiteral("삭제하겠습니까?")))
        return;
    guarded(*ctx_.prompter, this, [this] {
        delete_vehicle(ctx_.dbm->db(), ca1->text());
        clear_fields();
        back_to_idle_list();
        load_list();
    });
}

void TF_CAR::canbtnClick()
{
    clear_fields();
    mode_ = None;
    ca5->setText(QStringLiteral("00"));
    lock_fields(true);
    back_to_idle_list();
}
