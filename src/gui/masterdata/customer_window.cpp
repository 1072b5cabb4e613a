#include "gui/masterdata/customer_window.h"
#include "gui/data/app_context.h"
#include "core/data/data_module.h"
#include "core/masterdata/customer_db.h"
#include "gui/masterdata/field_keys.h"
#include "gui/masterdata/list_grid.h"
#include "core/masterdata/text_pad.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

TF_CUSTOMER::TF_CUSTOMER(AppContext &ctx, QWidget *parent)
    : MasterDataForm(ctx, QStringLiteral("F_CUSTOMER"), QStringLiteral(" 거 래 처 관 리"), false, parent)
{
    code_edt1 = make_box("code_edt1", 1);
    code_edt1->setAttribute(Qt::WA_InputMethodEnabled, false);
    code_edt2 = make_box("code_edt2", 3);
    name_edt = make_box("name_edt", 30);
    kwansa_edt = new QComboBox;
    kwansa_edt->setObjectName(QStringLiteral("kwansa_edt"));
    kwansa_edt->setEditable(true);
    kwansa_edt->addItems({QStringLiteral("관수"), QStringLiteral("민수")});
    add_row(0, QStringLiteral("거래처 코드"), {code_edt1, code_edt2});
    add_row(1, QStringLiteral("거래처    명"), {name_edt});
    set_entry_boxes({code_edt1, code_edt2, name_edt, kwansa_edt});
    kwansa_edt->hide();

    cust_qry = new RecordTableModel(
        {{.field = QStringLiteral("grcd"), .title = QStringLiteral("코드"), .alignment = Qt::AlignCenter, .width_chars = 8},
         {.field = QStringLiteral("name"), .title = QStringLiteral("거 래 처 명")}},
        this);
    cust_qry->setObjectName(QStringLiteral("cust_qry"));
    cust_grd = make_grid("cust_grd", cust_qry);
    body()->addWidget(cust_grd, 1);
    set_browse_grid(cust_grd);
    resize(520, 600);

    keys_->on_char(code_edt1, [this](QChar c) { return code_edt1KeyPress(c); });
    keys_->on_enter(code_edt1, [this] { code_edt1Enter(); });
    make_code_box(code_edt2, 3, [this] { code_edt2Enter(); });
    keys_->on_enter(name_edt, [this] { act([this] { name_edtEnter(); }); });
    connect(new_btn, &QPushButton::clicked, this, &TF_CUSTOMER::new_btnClick);
    connect(sav_btn, &QPushButton::clicked, this, &TF_CUSTOMER::sav_btnClick);
    connect(cust_grd->horizontalHeader(), &QHeaderView::sectionClicked, this, &TF_CUSTOMER::cust_grdTitleClick);
    on_row_chosen(cust_grd, [this] { show_current_row(); });
}

void TF_CUSTOMER::FormShow()
{
    act([this] { load_list(); });
    back_to_browse();
    new_btn->setFocus();
}

void TF_CUSTOMER::load_list()
{
    show_rows(cust_grd, list_customers(ctx_.dbm->db()));
}

void TF_CUSTOMER::show_current_row()
{
    const QSqlRecord row = current_record(cust_grd);
    const QString grcd = row.value(QStringLiteral("grcd")).toString();
    code_edt1->setText(grcd.left(1));
    code_edt2->setText(grcd.mid(1, 3));
    name_edt->setText(row.value(QStringLiteral("name")).toString());
    kwansa_edt->setCurrentText(row.value(QStringLiteral("kawn_sa")).toString());
}

void TF_CUSTOMER::new_btnClick()
{
    lock_entry(false);
    proposed_code_.clear();
    code_edt1->clear();
    code_edt2->clear();
    name_edt->clear();
    kwansa_edt->setCurrentText(QString());
    set_browse_state(false);
    code_edt1->setFocus();
}

// A letter opens its code group with the group's next free number.
bool TF_CUSTOMER::code_edt1KeyPress(QChar c)
{
    if (!((c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || (c >= QLatin1Char('a') && c <= QLatin1Char('z'))))
        return true;
    code_edt1->setText(c.toUpper());
    act([this] {
        code_edt2->setText(next_customer_seq(ctx_.dbm->db(), code_edt1->text()));
        proposed_code_ = code_edt1->text() + code_edt2->text();
        code_edt2->setFocus();
    });
    return true;
}

void TF_CUSTOMER::code_edt1Enter()
{
    if (code_edt1->text().isEmpty())
        say(QStringLiteral("코드를 입력하시오"));
    else
        keys_->focus_next(code_edt1);
}

void TF_CUSTOMER::code_edt2Enter()
{
    if (customer_exists(ctx_.dbm->db(), code_edt1->text() + code_edt2->text())) {
        say(QStringLiteral("이미 거래처 코드가 존재합니다."));
        code_edt1->setFocus();
    } else {
        name_edt->setFocus();
    }
}

void TF_CUSTOMER::name_edtEnter()
{
    show_rows(cust_grd, customers_named_like(ctx_.dbm->db(), name_edt->text()));
    sav_btn->setFocus();
}

void TF_CUSTOMER::sav_btnClick()
{
    if (code_edt1->text().isEmpty() || code_edt2->text().isEmpty()) {
        say(QStringLiteral("코드나 관수/민수 구분이 등록되지 않았습니다.\n   확인하고 저장하시오."));
        return;
    }
    // A number typed without Enter is zero-filled all the same: codes are four characters.
    code_edt2->setText(pad_zero(code_edt2->text(), 3));
    const QString letter = code_edt1->text();
    const QString shown = code_edt2->text();
    const bool renumber = letter + shown == proposed_code_;
    std::optional<QString> stored;
    save_entry([&] { return bool(stored = add_customer(ctx_.dbm->db(), letter, shown, name_edt->text(), renumber)); },
               QStringLiteral("거래처가 이미 존재합니다."), [this] { load_list(); });
    if (stored && *stored != shown)
        say(code_taken_message(QStringLiteral("거래처 코드"), letter + shown, letter + *stored));
}

void TF_CUSTOMER::cust_grdTitleClick(int column)
{
    list_in_order_of(cust_grd, column, [this](const QString &field) { return customers_ordered_by(ctx_.dbm->db(), field); });
}
