#include "gui/reports/changelog_window.h"
#include "core/data/change_log.h"
#include "core/data/data_module.h"
#include "core/framework/clock.h"
#include "core/framework/guarded.h"
#include "core/framework/prompter.h"
#include "core/framework/record_table_model.h"
#include "core/framework/stored_text.h"
#include "core/reports/change_log_reports.h"
#include "core/framework/csv_export.h"
#include "gui/data/app_context.h"
#include "gui/framework/board_grid.h"
#include "gui/framework/date_box.h"
#include "gui/framework/report_output.h"

#include <QCheckBox>
#include <algorithm>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
const QString everyone = QStringLiteral("(전체)");
const QString search_first = QStringLiteral("검색버튼을 먼저 누르시오.");

QPushButton *button(const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

QLabel *label(const QString &caption)
{
    return new QLabel(caption);
}

using Col = RecordTableModel::Column;

QList<Col> columns_of(const QList<change_log_reports::Column> &printed)
{
    QList<Col> cols;
    for (const change_log_reports::Column &c : printed)
        cols << Col{c.field, c.caption,
                    c.align == report::Align::Right    ? Qt::AlignRight | Qt::AlignVCenter
                    : c.align == report::Align::Centre ? Qt::AlignCenter
                                                       : Qt::AlignLeft | Qt::AlignVCenter,
                    QColor(), false, int(c.width / 1.6)};
    return cols;
}
}

TF_CHANGELOG::TF_CHANGELOG(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("F_CHANGELOG"));
    setWindowTitle(QStringLiteral("변경 이력 - VELDARO 레미콘출하"));
    resize(1180, 760);

    first_date = new DateBox;
    first_date->setObjectName(QStringLiteral("first_date"));
    last_date = new DateBox;
    last_date->setObjectName(QStringLiteral("last_date"));
    const QString today = stored::date(ctx_.clock->today());
    first_date->set_text_date(today);
    last_date->set_text_date(today);
    order_edit = new QLineEdit;
    order_edit->setObjectName(QStringLiteral("order_edit"));
    order_edit->setFixedWidth(order_edit->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    car_edit = new QLineEdit;
    car_edit->setObjectName(QStringLiteral("car_edit"));
    car_edit->setFixedWidth(car_edit->fontMetrics().horizontalAdvance(QStringLiteral("00-0000-00")) + 12);
    kind_combo = new QComboBox;
    kind_combo->setObjectName(QStringLiteral("kind_combo"));
    kind_combo->addItem(everyone);
    for (change_log::Kind k : change_log::all_kinds())
        kind_combo->addItem(change_log::words(k), change_log::code(k));
    operator_combo = new QComboBox;
    operator_combo->setObjectName(QStringLiteral("operator_combo"));
    operator_combo->setEditable(true);
    operator_combo->addItem(everyone);
    operator_combo->setMinimumWidth(110);
    sel_btn = button("sel_btn", QStringLiteral("검   색"));
    pre_btn = button("pre_btn", QStringLiteral("미리보기"));
    prn_btn = button("prn_btn", QStringLiteral("프린트"));
    excel_btn = button("excel_btn", QStringLiteral("엑셀"));
    cls_btn = button("cls_btn", QStringLiteral("닫  기"));

    auto *bar = new QHBoxLayout;
    bar->addWidget(first_date);
    bar->addWidget(label(QStringLiteral("부터")));
    bar->addWidget(last_date);
    bar->addWidget(label(QStringLiteral("까지")));
    bar->addSpacing(8);
    bar->addWidget(label(QStringLiteral("순번")));
    bar->addWidget(order_edit);
    bar->addWidget(label(QStringLiteral("차량")));
    bar->addWidget(car_edit);
    bar->addWidget(label(QStringLiteral("구분")));
    bar->addWidget(kind_combo);
    bar->addWidget(label(QStringLiteral("작업자")));
    bar->addWidget(operator_combo);
    bar->addStretch();
    for (QPushButton *b : {sel_btn, pre_btn, prn_btn, excel_btn, cls_btn})
        bar->addWidget(b);

    log_query = new RecordTableModel(columns_of(change_log_reports::log_columns()), this);
    log_query->setObjectName(QStringLiteral("log_query"));
    log_grid = new BoardGrid(QStringLiteral("log_grid"), log_query);
    detail_grid = new QTableWidget(0, 3);
    detail_grid->setObjectName(QStringLiteral("detail_grid"));
    detail_grid->setHorizontalHeaderLabels({QStringLiteral("항목"), QStringLiteral("변경 전"), QStringLiteral("변경 후")});
    detail_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    detail_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    detail_grid->verticalHeader()->hide();
    detail_grid->verticalHeader()->setDefaultSectionSize(detail_grid->fontMetrics().height() + 6);
    auto *split = new QSplitter(Qt::Vertical);
    split->addWidget(log_grid);
    split->addWidget(detail_grid);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);

    register_query = new RecordTableModel(columns_of(change_log_reports::register_columns()), this);
    register_query->setObjectName(QStringLiteral("register_query"));
    unprinted_query = new RecordTableModel(columns_of(change_log_reports::unprinted_columns()), this);
    unprinted_query->setObjectName(QStringLiteral("unprinted_query"));
    register_grid = new BoardGrid(QStringLiteral("register_grid"), register_query);
    unprinted_chk = new QCheckBox(QStringLiteral("미발행"));
    unprinted_chk->setObjectName(QStringLiteral("unprinted_chk"));
    auto *register_page = new QWidget;
    auto *register_box = new QVBoxLayout(register_page);
    register_box->addWidget(unprinted_chk);
    register_box->addWidget(register_grid, 1);

    log_tabs = new QTabWidget;
    log_tabs->setObjectName(QStringLiteral("log_tabs"));
    log_tabs->addTab(split, QStringLiteral("변경 이력"));
    log_tabs->addTab(register_page, QStringLiteral("송장 발행 대장"));
    count_label = new QLabel;
    count_label->setObjectName(QStringLiteral("count_label"));

    auto *page = new QVBoxLayout(this);
    page->addLayout(bar);
    page->addWidget(log_tabs, 1);
    page->addWidget(count_label);

    ask_csv_path = [this](const QString &proposed) {
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        return QFileDialog::getSaveFileName(this, QStringLiteral("엑셀 파일로 저장"), QDir(folder).filePath(proposed),
                                            QStringLiteral("CSV (*.csv)"));
    };

    for (RecordTableModel *m : {log_query, register_query})
        connect(m, &RecordTableModel::fetch_failed, this,
                [this](const QString &message) { ctx_.prompter->error(this, message); });
    connect(sel_btn, &QPushButton::clicked, this, &TF_CHANGELOG::sel_btnClick);
    connect(pre_btn, &QPushButton::clicked, this, &TF_CHANGELOG::pre_btnClick);
    connect(prn_btn, &QPushButton::clicked, this, &TF_CHANGELOG::prn_btnClick);
    connect(excel_btn, &QPushButton::clicked, this, &TF_CHANGELOG::excel_btnClick);
    connect(cls_btn, &QPushButton::clicked, this, &QDialog::close);
    connect(unprinted_chk, &QCheckBox::toggled, this, &TF_CHANGELOG::show_register);
    connect(log_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TF_CHANGELOG::show_detail);
    connect(log_query, &QAbstractItemModel::modelReset, this, &TF_CHANGELOG::show_detail);
}

TF_CHANGELOG::~TF_CHANGELOG() = default;

change_log_queries::Filter TF_CHANGELOG::filter() const
{
    change_log_queries::Filter f;
    f.first_date = first_date->text_date();
    f.last_date = last_date->text_date();
    f.order_no = order_edit->text().trimmed();
    f.vehicle = car_edit->text().trimmed();
    f.kind = kind_combo->currentData().toString();
    const QString op = operator_combo->currentText().trimmed();
    f.operator_name = op == everyone ? QString() : op;
    return f;
}

void TF_CHANGELOG::sel_btnClick()
{
    const change_log_queries::Filter f = filter();
    guarded(*ctx_.prompter, this, [&] {
        const Database &db = ctx_.dbm->db();
        log_query->load_in_pages(change_log_queries::entries(db, f));
        register_query->load_in_pages(change_log_queries::register_rows(db, f));
        unprinted_query->set_rows(change_log_queries::unprinted(db, f));
        searched_ = f;
        searched_once_ = true;
        const QString chosen = operator_combo->currentText();
        operator_combo->clear();
        operator_combo->addItem(everyone);
        operator_combo->addItems(change_log_queries::operators(db, f.first_date, f.last_date));
        operator_combo->setCurrentText(chosen);
        log_grid->set_cursor_row(0);
        show_register();
    });
}

void TF_CHANGELOG::show_register()
{
    register_grid->show_records(unprinted_chk->isChecked() ? unprinted_query : register_query);
    count_label->setText(unprinted_chk->isChecked() ? QStringLiteral("미발행 %1건").arg(unprinted_query->rowCount())
                                                    : QString());
}

// Every field of the entry at the cursor, before and after side by side;
// the changed ones marked.
void TF_CHANGELOG::show_detail()
{
    detail_grid->setRowCount(0);
    const int row = log_grid->cursor_row();
    if (row < 0 || row >= log_query->rowCount())
        return;
    const auto before = change_log::parse_json(log_query->text(row, QStringLiteral("before_json")));
    const auto after = change_log::parse_json(log_query->text(row, QStringLiteral("after_json")));
    const QStringList changed =
        log_query->text(row, QStringLiteral("changed")).split(QLatin1Char(','), Qt::SkipEmptyParts);
    QStringList fields = before ? before->keys() : after ? after->keys() : QStringList();
    if (before && after)
        for (const QString &k : after->keys())
            if (!fields.contains(k))
                fields << k;
    // The changed fields first, in the row's order.
    std::stable_partition(fields.begin(), fields.end(), [&](const QString &f) { return changed.contains(f); });
    detail_grid->setRowCount(int(fields.size()));
    for (int i = 0; i < fields.size(); ++i) {
        const QString &f = fields[i];
        const bool marked = changed.contains(f);
        const QString cells[3] = {marked ? QStringLiteral("● ") + f : f,
                                  before ? change_log_queries::value_text(before->value(f)) : QString(),
                                  after ? change_log_queries::value_text(after->value(f)) : QString()};
        for (int c = 0; c < 3; ++c) {
            auto *item = new QTableWidgetItem(cells[c]);
            if (marked) {
                item->setForeground(Qt::red);
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            detail_grid->setItem(i, c, item);
        }
    }
}

RecordTableModel *TF_CHANGELOG::shown_model() const
{
    if (log_tabs->currentIndex() == 0)
        return log_query;
    return unprinted_chk->isChecked() ? unprinted_query : register_query;
}

void TF_CHANGELOG::produce(bool preview)
{
    if (!searched_once_) {
        ctx_.prompter->information(this, search_first);
        return;
    }
    guarded(*ctx_.prompter, this, [&] {
        RecordTableModel *m = shown_model();
        if (!m->fetch_all())
            throw ActionError(QStringLiteral("자료를 끝까지 읽지 못해 인쇄하지 않았습니다."));
        const bool log = m == log_query;
        const bool unprinted = m == unprinted_query;
        const QString title = log ? QStringLiteral("변경 이력") : unprinted ? QStringLiteral("미발행 출하") : QStringLiteral("송장 발행 대장");
        const report::Document doc = change_log_reports::list(
            title, searched_.first_date, searched_.last_date,
            log ? change_log_reports::log_columns()
                : unprinted ? change_log_reports::unprinted_columns() : change_log_reports::register_columns(),
            m->rows());
        if (preview)
            ctx_.reports->preview(doc, this);
        else
            ctx_.reports->print(doc);
    });
}

void TF_CHANGELOG::pre_btnClick()
{
    produce(true);
}

void TF_CHANGELOG::prn_btnClick()
{
    produce(false);
}

void TF_CHANGELOG::excel_btnClick()
{
    if (!searched_once_) {
        ctx_.prompter->information(this, search_first);
        return;
    }
    guarded(*ctx_.prompter, this, [this] {
        const QString path = ask_csv_path ? ask_csv_path(QStringLiteral("변경이력_%1_%2.csv")
                                                             .arg(searched_.first_date, searched_.last_date))
                                          : QString();
        if (path.isEmpty())
            return;
        RecordTableModel *m = shown_model();
        if (!m->fetch_all())
            throw ActionError(QStringLiteral("자료를 끝까지 읽지 못해 저장하지 않았습니다."));
        QList<QStringList> lines;
        QStringList line;
        for (int c = 0; c < m->columnCount(); ++c)
            line << m->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        lines << line;
        for (int r = 0; r < m->rowCount(); ++r) {
            line.clear();
            for (int c = 0; c < m->columnCount(); ++c)
                line << m->index(r, c).data().toString();
            lines << line;
        }
        csv_export::write(path, lines);
    });
}
