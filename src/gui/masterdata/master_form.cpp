#include "gui/masterdata/master_form.h"
#include "gui/data/app_context.h"
#include "core/framework/guarded.h"
#include "core/framework/prompter.h"
#include "gui/masterdata/field_keys.h"
#include "gui/masterdata/form_style.h"
#include "gui/masterdata/list_grid.h"
#include "core/masterdata/text_pad.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTableView>
#include <QVBoxLayout>

MasterDataForm::MasterDataForm(AppContext &ctx, const QString &object_name, const QString &heading,
                               bool with_print, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      ctx_(ctx), keys_(new FieldKeys(*ctx.prompter, this))
{
    setObjectName(object_name);
    setWindowTitle(QStringLiteral("VELDARO"));
    setFont(QFont(QStringLiteral("굴림"), 10));

    title_pan = make_title_bar(heading);
    auto *entry_pan = make_entry_panel();
    auto *entry_row = new QHBoxLayout(entry_pan);
    entry_row->setContentsMargins(12, 10, 12, 10);
    entry_grid_ = new QGridLayout;
    entry_row->addLayout(entry_grid_);
    entry_row->addStretch();
    entry_grid_->setHorizontalSpacing(8);
    entry_grid_->setVerticalSpacing(6);

    auto *bar = new QHBoxLayout;
    bar->setSpacing(4);
    new_btn = add_bar_button(bar, "new_btn", "&A.등록");
    edt_btn = add_bar_button(bar, "edt_btn", "&E.수정");
    del_btn = add_bar_button(bar, "del_btn", "&D.삭제");
    prn_btn = add_bar_button(bar, "prn_btn", "&P.출력");
    sav_btn = add_bar_button(bar, "sav_btn", "&S.저장");
    can_btn = add_bar_button(bar, "can_btn", "&C.취소");
    cls_btn = add_bar_button(bar, "cls_btn", "&Z.닫기");
    hlp_btn = add_bar_button(bar, "hlp_btn", "&H.도움");
    // Changing and deleting are not done in these windows.
    edt_btn->hide();
    del_btn->hide();
    prn_btn->setVisible(with_print);

    body_ = new QVBoxLayout(this);
    body_->setContentsMargins(4, 4, 4, 4);
    body_->setSpacing(4);
    body_->addWidget(title_pan);
    body_->addWidget(entry_pan);
    body_->addLayout(bar);

    connect(cls_btn, &QPushButton::clicked, this, &QDialog::close);
    keep_open_on_escape(this);
    connect(can_btn, &QPushButton::clicked, this, &MasterDataForm::can_btnClick);
    connect(hlp_btn, &QPushButton::clicked, this, &MasterDataForm::hlp_btnClick);
}

QLineEdit *MasterDataForm::make_box(const char *name, int chars)
{
    const int width = fontMetrics().horizontalAdvance(QStringLiteral("가")) * qMin(chars, 20) + 16;
    QLineEdit *box = make_text_box(name, chars, width);
    keys_->add(box);
    return box;
}

void MasterDataForm::add_row(int row, const QString &label, const QList<QWidget *> &widgets)
{
    entry_grid_->addWidget(new QLabel(label), row, 0);
    entry_grid_->addWidget(side_by_side(widgets), row, 1);
}

void MasterDataForm::make_code_box(QLineEdit *box, int width, const std::function<void()> &then)
{
    keys_->digits_only(box);
    keys_->on_enter(box, [this, box, width, then] {
        box->setText(pad_zero(box->text(), width));
        act(then);
    });
}

QTableView *MasterDataForm::make_grid(const char *name, RecordTableModel *model)
{
    auto *grid = new QTableView;
    grid->setObjectName(QString::fromLatin1(name));
    set_up_list_grid(grid, model);
    return grid;
}

void MasterDataForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Not again when a minimised window comes back.
    if (!event->spontaneous())
        FormShow();
}

void MasterDataForm::back_to_browse()
{
    show_current_row();
    lock_entry(true);
    set_browse_state(true);
}

void MasterDataForm::list_in_order_of(QTableView *grid, int column,
                                      const std::function<QList<QSqlRecord>(const QString &)> &rows)
{
    const auto *model = static_cast<const RecordTableModel *>(grid->model());
    if (column < 0 || column >= model->columns().size())
        return;
    act([&] { show_rows(grid, rows(model->columns().at(column).field)); });
}

void MasterDataForm::save_entry(const std::function<bool()> &add, const QString &exists_message,
                                const std::function<void()> &reload)
{
    act([&] {
        if (!add())
            say(exists_message);
        reload();
        back_to_browse();
    });
}

void MasterDataForm::set_browse_state(bool on)
{
    if (browse_grid_)
        browse_grid_->setEnabled(on);
    new_btn->setEnabled(on);
    sav_btn->setEnabled(!on);
    can_btn->setEnabled(!on);
}

void MasterDataForm::lock_entry(bool locked)
{
    for (QWidget *box : entry_boxes_)
        box->setEnabled(!locked);
}

void MasterDataForm::act(const std::function<void()> &action)
{
    guarded(*ctx_.prompter, this, action);
}

void MasterDataForm::say(const QString &text)
{
    ctx_.prompter->information(this, text);
}

void MasterDataForm::can_btnClick()
{
    back_to_browse();
}

void MasterDataForm::hlp_btnClick()
{
    say(QStringLiteral("A.등록: 새 코드를 입력합니다.\nS.저장: 입력한 코드를 저장합니다.\n"
                       "C.취소: 입력을 취소합니다.\nZ.닫기: 창을 닫습니다.\n"
                       "Enter: 다음 칸, Page Up / Page Down: 앞 칸 / 다음 칸"));
}
