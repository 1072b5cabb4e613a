#include "gui/masterdata/spec_window.h"
#include "gui/data/app_context.h"
#include "core/data/data_module.h"
#include "core/framework/clock.h"
#include "gui/framework/date_box.h"
#include "gui/masterdata/field_keys.h"
#include "gui/masterdata/list_grid.h"
#include "core/masterdata/spec_db.h"
#include "core/masterdata/text_pad.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

TF_RULE::TF_RULE(AppContext &ctx, QWidget *parent)
    : MasterDataForm(ctx, QStringLiteral("F_RULE"), QStringLiteral("규  격  관  리"), true, parent)
{
    code_edt = make_box("code_edt", 4);
    name_edt = make_box("name_edt", 30);
    ks_edt = new QComboBox;
    ks_edt->setObjectName(QStringLiteral("ks_edt"));
    ks_edt->setEditable(true);
    ks_edt->addItems({QStringLiteral("KS"), QStringLiteral("비KS")});
    ks_edt->setMinimumWidth(100);
    keys_->add(ks_edt);
    edt_date = new DateBox;
    edt_date->setObjectName(QStringLiteral("edt_date"));
    auto *form_hint = new QLabel(QStringLiteral("형식 : 00-000-00"));
    auto *mortar_hint = new QLabel(QStringLiteral("몰탈은 예외"));
    add_row(0, QStringLiteral("규격 코드"), {code_edt});
    add_row(1, QStringLiteral("규격    명"), {name_edt, form_hint, mortar_hint});
    add_row(2, QStringLiteral("KS 구분"), {ks_edt});
    add_row(3, QStringLiteral("등록일자"), {edt_date});
    set_entry_boxes({code_edt, name_edt, ks_edt});

    rule_qry = new RecordTableModel(
        {{.field = QStringLiteral("remi_code"), .title = QStringLiteral("코드"), .alignment = Qt::AlignCenter, .width_chars = 8},
         {.field = QStringLiteral("standard"), .title = QStringLiteral("규  격  명"), .width_chars = 30},
         {.field = QStringLiteral("rul_ks"), .title = QStringLiteral("KS 구분"), .alignment = Qt::AlignCenter}},
        this);
    rule_qry->setObjectName(QStringLiteral("rule_qry"));
    rule_grd = make_grid("rule_grd", rule_qry);
    body()->addWidget(rule_grd, 1);
    set_browse_grid(rule_grd);
    resize(600, 600);

    make_code_box(code_edt, 4, [this] { code_edtEnter(); });
    keys_->on_enter(name_edt, [this] { act([this] { name_edtEnter(); }); });
    keys_->on_enter(ks_edt, [this] { sav_btn->setFocus(); });
    connect(new_btn, &QPushButton::clicked, this, &TF_RULE::new_btnClick);
    connect(sav_btn, &QPushButton::clicked, this, &TF_RULE::sav_btnClick);
    connect(rule_grd->horizontalHeader(), &QHeaderView::sectionClicked, this, &TF_RULE::rule_grdTitleClick);
    on_row_chosen(rule_grd, [this] { show_current_row(); });
}

void TF_RULE::FormShow()
{
    act([this] { load_list(); });
    back_to_browse();
    new_btn->setFocus();
}

void TF_RULE::load_list()
{
    show_rows(rule_grd, list_specs(ctx_.dbm->db()));
}

void TF_RULE::show_current_row()
{
    const QSqlRecord row = current_record(rule_grd);
    code_edt->setText(row.value(QStringLiteral("remi_code")).toString());
    name_edt->setText(row.value(QStringLiteral("standard")).toString());
    ks_edt->setCurrentText(row.value(QStringLiteral("rul_ks")).toString());
}

void TF_RULE::new_btnClick()
{
    lock_entry(false);
    code_edt->clear();
    name_edt->clear();
    ks_edt->setCurrentText(QStringLiteral("KS"));
    edt_date->setDate(ctx_.clock->today());
    set_browse_state(false);
    code_edt->setFocus();
}

void TF_RULE::code_edtEnter()
{
    if (spec_exists(ctx_.dbm->db(), code_edt->text()))
        say(QStringLiteral("이미 자재 코드가 존재합니다."));
    else
        name_edt->setFocus();
}

void TF_RULE::name_edtEnter()
{
    show_rows(rule_grd, specs_named_like(ctx_.dbm->db(), name_edt->text()));
    ks_edt->setFocus();
}

void TF_RULE::sav_btnClick()
{
    if (code_edt->text().isEmpty() || ks_edt->currentText().isEmpty()) {
        say(QStringLiteral("코드나 KS 구분이 등록되지 않았습니다.\n   확인하고 저장하시오."));
        return;
    }
    // A code typed without Enter is zero-filled all the same.
    code_edt->setText(pad_zero(code_edt->text(), 4));
    save_entry([this] {
        return add_spec(ctx_.dbm->db(), code_edt->text(), name_edt->text(), ks_edt->currentText(),
                        edt_date->text_date());
    }, QStringLiteral("코드가 이미 존재합니다."), [this] { load_list(); });
}

void TF_RULE::rule_grdTitleClick(int column)
{
    list_in_order_of(rule_grd, column, [this](const QString &field) { return specs_ordered_by(ctx_.dbm->db(), field); });
}
