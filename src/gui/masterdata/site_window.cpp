#include "gui/masterdata/site_window.h"
#include "gui/data/app_context.h"
#include "core/data/data_module.h"
#include "gui/masterdata/code_lookup.h"
#include "core/masterdata/customer_db.h"
#include "gui/masterdata/field_keys.h"
#include "gui/masterdata/list_grid.h"
#include "core/masterdata/site_db.h"
#include "core/masterdata/text_pad.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {
QWidget *tab_page(const char *name, QTableView *grid)
{
    auto *page = new QWidget;
    page->setObjectName(QString::fromLatin1(name));
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grid);
    return page;
}
}

TF_HYUNJANG::TF_HYUNJANG(AppContext &ctx, QWidget *parent)
    : MasterDataForm(ctx, QStringLiteral("F_HYUNJANG"), QStringLiteral("현 장  관 리"), false, parent)
{
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    code_edt = make_box("code_edt", 4);
    code_edt->setEnabled(false);
    name_edt = make_box("name_edt", 30);
    code1_edt = make_box("code1_edt", 3);
    name1_edt = make_box("name1_edt", 40);
    code2_edt = make_box("code2_edt", 3);
    name2_edt = make_box("name2_edt", 40);
    name2_edt->setEnabled(false);
    add_row(0, QStringLiteral("거래처 코드"), {code_edt});
    add_row(1, QStringLiteral("거래처    명"), {name_edt});
    add_row(2, QStringLiteral("현   장 코드"), {code1_edt});
    add_row(3, QStringLiteral("현   장    명"), {name1_edt});
    add_row(4, QStringLiteral("담당자 "), {code2_edt, name2_edt});
    set_entry_boxes({code1_edt, name1_edt});

    cust_qry = new RecordTableModel(
        {{.field = QStringLiteral("grcd"), .title = QStringLiteral("코   드"), .title_color = Qt::blue, .width_chars = 9},
         {.field = QStringLiteral("name"), .title = QStringLiteral("거   래   처   명"), .title_color = Qt::blue}},
        this);
    cust_qry->setObjectName(QStringLiteral("cust_qry"));
    hyun_qry = new RecordTableModel(
        {{.field = QStringLiteral("code"), .title = QStringLiteral("코   드"), .title_color = Qt::red, .width_chars = 9},
         {.field = QStringLiteral("name"), .title = QStringLiteral("현     장     명"), .title_color = Qt::red}},
        this);
    hyun_qry->setObjectName(QStringLiteral("hyun_qry"));
    cust_grd = make_grid("cust_grd", cust_qry);
    hyun_grd = make_grid("hyun_grd", hyun_qry);
    tab_s = new QTabWidget;
    tab_s->setObjectName(QStringLiteral("tab_s"));
    tab_s->setStyleSheet(QStringLiteral("QTabBar::tab { border: 2px outset #c0c0c0; background: #d4d0c8;"
                                        " padding: 4px 18px; margin-right: 4px; }"
                                        " QTabBar::tab:selected { border-style: inset; background: #e8e8e8; }"));
    cus_tab = tab_page("cus_tab", cust_grd);
    hyu_tab = tab_page("hyu_tab", hyun_grd);
    tab_s->addTab(cus_tab, QStringLiteral("거   래   처"));
    tab_s->addTab(hyu_tab, QStringLiteral("현      장"));
    body()->addWidget(tab_s, 1);
    set_browse_grid(cust_grd);
    resize(600, 660);

    keys_->on_enter(name_edt, [this] { act([this] { name_edtEnter(); }); });
    make_code_box(code1_edt, 3, [this] { code1_edtEnter(); });
    keys_->on_enter(name1_edt, [this] { act([this] { name1_edtEnter(); }); });
    keys_->on_enter(code2_edt, [this] { act([this] { code2_edtEnter(); }); });
    connect(new_btn, &QPushButton::clicked, this, &TF_HYUNJANG::new_btnClick);
    connect(sav_btn, &QPushButton::clicked, this, &TF_HYUNJANG::sav_btnClick);
    connect(cust_grd, &QAbstractItemView::clicked, this, &TF_HYUNJANG::cust_grdCellClick);
    connect(cust_grd->horizontalHeader(), &QHeaderView::sectionClicked, this, &TF_HYUNJANG::cust_grdTitleClick);
    connect(hyun_grd->horizontalHeader(), &QHeaderView::sectionClicked, this, &TF_HYUNJANG::hyun_grdTitleClick);
    on_row_chosen(hyun_grd, [this] { show_current_row(); });
}

void TF_HYUNJANG::FormShow()
{
    act([this] { show_rows(cust_grd, list_customers(ctx_.dbm->db())); });
    for (QLineEdit *box : {code_edt, name_edt, code1_edt, name1_edt})
        box->clear();
    lock_entry(true);
    set_browse_state(true);
    new_btn->setFocus();
    tab_s->setCurrentWidget(cus_tab);
}

void TF_HYUNJANG::load_sites()
{
    show_rows(hyun_grd, list_sites(ctx_.dbm->db(), code_edt->text()));
}

void TF_HYUNJANG::show_current_row()
{
    const QSqlRecord row = current_record(hyun_grd);
    code1_edt->setText(row.value(QStringLiteral("code")).toString());
    name1_edt->setText(row.value(QStringLiteral("name")).toString());
    code2_edt->setText(row.value(QStringLiteral("man_code")).toString());
    name2_edt->setText(row.value(QStringLiteral("man_name")).toString());
}

void TF_HYUNJANG::name_edtEnter()
{
    tab_s->setCurrentWidget(cus_tab);
    show_rows(cust_grd, customers_named_like(ctx_.dbm->db(), name_edt->text()));
}

void TF_HYUNJANG::cust_grdCellClick()
{
    const QSqlRecord row = current_record(cust_grd);
    code_edt->setText(row.value(QStringLiteral("grcd")).toString());
    name_edt->setText(row.value(QStringLiteral("name")).toString());
    act([this] { load_sites(); });
    tab_s->setCurrentWidget(hyu_tab);
    new_btn->setFocus();
}

void TF_HYUNJANG::cust_grdTitleClick(int column)
{
    list_in_order_of(cust_grd, column, [this](const QString &field) { return customers_ordered_by(ctx_.dbm->db(), field); });
}

void TF_HYUNJANG::hyun_grdTitleClick(int column)
{
    list_in_order_of(hyun_grd, column, [this](const QString &field) {
        return sites_ordered_by(ctx_.dbm->db(), code_edt->text(), field);
    });
}

void TF_HYUNJANG::new_btnClick()
{
    if (code_edt->text().isEmpty()) {
        say(QStringLiteral("거래처가 선택되지 않았습니다.\n   거래처를 먼저 선택하시오."));
        return;
    }
    act([this] {
        const QString next = next_site_code(ctx_.dbm->db(), code_edt->text());
        lock_entry(false);
        code1_edt->setText(next);
        proposed_code_ = code_edt->text() + next;
        name1_edt->clear();
        set_browse_state(false);
        name1_edt->setFocus();
    });
}

void TF_HYUNJANG::code1_edtEnter()
{
    if (site_exists(ctx_.dbm->db(), code_edt->text(), code1_edt->text()))
        say(QStringLiteral("이미 자재 코드가 존재합니다."));
    else
        name1_edt->setFocus();
}

void TF_HYUNJANG::name1_edtEnter()
{
    tab_s->setCurrentWidget(hyu_tab);
    show_rows(hyun_grd, sites_named_like(ctx_.dbm->db(), code_edt->text(), name1_edt->text()));
    code2_edt->setFocus();
}

void TF_HYUNJANG::code2_edtEnter()
{
    lookup_into(ctx_, lookup_kinds::sales_persons, code2_edt, name2_edt);
    sav_btn->setFocus();
}

void TF_HYUNJANG::sav_btnClick()
{
    if (code1_edt->text().isEmpty() || code2_edt->text().isEmpty()) {
        say(QStringLiteral("코드를 입력하시오"));
        return;
    }
    // A code typed without Enter is zero-filled all the same.
    code1_edt->setText(pad_zero(code1_edt->text(), 3));
    const NewSite site{code_edt->text(), code1_edt->text(), name1_edt->text(),
                       code2_edt->text(), name2_edt->text(), name_edt->text()};
    const bool renumber = site.grcd + site.code == proposed_code_;
    std::optional<QString> stored;
    save_entry([&] { return bool(stored = add_site(ctx_.dbm->db(), site, renumber)); },
               QStringLiteral("자료가 이미 존재합니다."), [this] { load_sites(); });
    if (stored && *stored != site.code)
        say(code_taken_message(QStringLiteral("현장 코드"), site.code, *stored));
}

