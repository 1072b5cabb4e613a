#include "gui/orders/contract_tabs.h"
#include "gui/framework/grid_column_filter.h"
#include "gui/framework/grid_footer.h"
#include "core/framework/guarded.h"
#include "core/framework/record_table_model.h"
#include "gui/masterdata/list_grid.h"
#include "core/orders/contract_db.h"

#include <QLayout>
#include <QSplitter>
#include <QSqlField>
#include <QSqlRecord>
#include <QTableView>
#include <QVBoxLayout>

namespace {
constexpr auto right = Qt::AlignRight | Qt::AlignVCenter;

QList<RecordTableModel::Column> contract_columns()
{
    using C = RecordTableModel::Column;
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    return {
        C{"REMI_CODE", "코드", left, {}, false, 5},
        C{"name", "품명", left, {}, false, 10},
        C{"STANDARD", "규격", left, {}, false, 10},
        C{"order_num", "납품지시번호", left, {}, false, 14},
        C{"demand1", "납품요구일자1", left, {}, false, 12},
        C{"demand2", "납품요구일자2", left, {}, false, 12},
        C{"AMOUNT", "계약량", right, {}, false, 10, "#,##0.000"},
        C{"COST", "단가", right, {}, false, 9, "#,##0.##"},
        C{"hap", "금액", right, {}, false, 13, "#,##0.##"},
        C{"delivery", "납기일자", left, {}, false, 10},
        C{"MEMO", "메모", left, {}, false, 16},
        C{"CHUL", "출하량", right, {}, false, 10, "#,##0.000"},
        C{"chulkum", "출하금액", right, {}, false, 13, "#,##0.##"},
        C{"MICHUL", "미출하량", right, {}, false, 10, "#,##0.000"},
    };
}

QList<RecordTableModel::Column> sum_columns()
{
    using C = RecordTableModel::Column;
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    return {
        C{"REMI_CODE", "코드", left, {}, false, 5},
        C{"STANDARD", "규격", left, {}, false, 12},
        C{"kind", "종  류", left, {}, false, 10},
        C{"m3", "수  량", right, {}, false, 10, "#,##0.00"},
        C{"kum", "금  액", right, {}, false, 14, "#,##0"},
        C{"vatkum", "세  액", right, {}, false, 12, "#,##0"},
        C{"hap", "합  계", right, {}, false, 14, "#,##0"},
    };
}

void add_text(QSqlRecord &rec, const QString &name, const QString &value)
{
    QSqlField f(name, QMetaType(QMetaType::QString));
    f.setValue(value);
    rec.append(f);
}

void add_number(QSqlRecord &rec, const QString &name, std::optional<double> value)
{
    QSqlField f(name, QMetaType(QMetaType::Double));
    f.setValue(value ? QVariant(*value) : QVariant());
    rec.append(f);
}

QList<QSqlRecord> records(const QList<ContractRow> &rows)
{
    QList<QSqlRecord> out;
    for (const ContractRow &r : rows) {
        QSqlRecord rec;
        add_text(rec, "REMI_CODE", r.remi_code);
        add_text(rec, "name", r.name);
        add_text(rec, "STANDARD", r.standard);
        add_text(rec, "order_num", r.order_num);
        add_text(rec, "demand1", r.demand1);
        add_text(rec, "demand2", r.demand2);
        add_number(rec, "AMOUNT", r.amount);
        add_number(rec, "COST", r.cost);
        add_number(rec, "hap", r.hap);
        add_text(rec, "delivery", r.delivery);
        add_text(rec, "MEMO", r.memo);
        add_number(rec, "CHUL", r.chul);
        add_number(rec, "chulkum", r.chulkum);
        add_number(rec, "MICHUL", r.michul);
        add_text(rec, "kind", r.kind);
        add_number(rec, "hap1", std::nullopt);
        out << rec;
    }
    return out;
}

QList<QSqlRecord> records(const QList<contracts_db::ProductSum> &sums)
{
    QList<QSqlRecord> out;
    for (const contracts_db::ProductSum &s : sums) {
        QSqlRecord rec;
        add_text(rec, "REMI_CODE", s.remi_code);
        add_text(rec, "STANDARD", s.standard);
        add_text(rec, "kind", s.kind);
        add_number(rec, "m3", s.m3);
        add_number(rec, "kum", s.kum);
        add_number(rec, "vatkum", s.vatkum);
        add_number(rec, "hap", s.hap);
        out << rec;
    }
    return out;
}

// A grid with its footer row under it.
QTableView *add_grid(QWidget *holder, const QString &name, RecordTableModel *model)
{
    auto *box = new QVBoxLayout(holder);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    auto *grid = new QTableView(holder);
    grid->setObjectName(name);
    set_up_list_grid(grid, model);
    grid->horizontalHeader()->setStretchLastSection(false);
    box->addWidget(grid, 1);
    auto *footer = new GridFooter(grid, holder);
    box->addWidget(footer);
    show_rows(grid, {});
    return grid;
}

void add_to_page(QWidget *page, QWidget *content)
{
    if (!page->layout()) {
        auto *box = new QVBoxLayout(page);
        box->setContentsMargins(2, 2, 2, 2);
    }
    page->layout()->addWidget(content);
}

int standard_column(const RecordTableModel *model)
{
    for (int i = 0; i < model->columns().size(); ++i)
        if (model->columns().at(i).field == QLatin1String("STANDARD"))
            return i;
    return -1;
}
}

ContractTabs::ContractTabs(const Database &db, Prompter &prompter, QWidget *contract_page, QWidget *sums_page,
                           QObject *parent)
    : QObject(parent), db_(db), prompter_(prompter), contracts_(new RecordTableModel(contract_columns(), this)),
      periods_(new RecordTableModel(contract_columns(), this)), sums_(new RecordTableModel(sum_columns(), this))
{
    contract_splitter = new QSplitter(Qt::Vertical, contract_page);
    contract_splitter->setObjectName(QStringLiteral("Splitter1"));
    auto *top = new QWidget(contract_splitter);
    auto *bottom = new QWidget(contract_splitter);
    gridhord = add_grid(top, QStringLiteral("gridhord"), contracts_);
    gridhord1 = add_grid(bottom, QStringLiteral("gridhord1"), periods_);
    contract_splitter->addWidget(top);
    contract_splitter->addWidget(bottom);
    add_to_page(contract_page, contract_splitter);

    auto *sums_holder = new QWidget(sums_page);
    gridhord2 = add_grid(sums_holder, QStringLiteral("gridhord2"), sums_);
    add_to_page(sums_page, sums_holder);

    gridhord_filter = new GridColumnFilter(gridhord, standard_column(contracts_));
    gridhord1_filter = new GridColumnFilter(gridhord1, standard_column(periods_));
    gridhord2_filter = new GridColumnFilter(gridhord2, standard_column(sums_));

    connect(gridhord, &QTableView::clicked, this, [this](const QModelIndex &index) {
        guarded(prompter_, gridhord, [&] { show_periods(index.row()); });
    });
    clear();
}

void ContractTabs::sum_contract_footer(RecordTableModel *model) const
{
    model->set_footer(QStringLiteral("AMOUNT"), format_number(model->sum(QStringLiteral("AMOUNT")), QStringLiteral("%.3n")));
    model->set_footer(QStringLiteral("hap"), number_0n(model->sum(QStringLiteral("hap"))));
    model->set_footer(QStringLiteral("chulkum"), number_0n(model->sum(QStringLiteral("chulkum"))));
}

void ContractTabs::sum_product_footer() const
{
    sums_->set_footer(QStringLiteral("m3"), number_2n(sums_->sum(QStringLiteral("m3"))));
    for (const char *field : {"kum", "vatkum", "hap"})
        sums_->set_footer(QString::fromLatin1(field), number_0n(sums_->sum(QString::fromLatin1(field))));
}

std::optional<ContractAmounts> ContractTabs::show_contracts(const QString &grcd, const QString &code,
                                                            const QString &class_text)
{
    show_rows(gridhord, {});
    show_rows(gridhord1, {});
    sum_contract_footer(contracts_);
    sum_contract_footer(periods_);
    grcd_ = grcd;
    code_ = code;
    if (!is_contract_class(class_text))
        return std::nullopt;
    const QList<ContractRow> rows = contracts_db::product_contracts(db_, grcd, code);
    show_rows(gridhord, records(rows));
    sum_contract_footer(contracts_);
    return contract_amounts(rows);
}

std::optional<ContractAmounts> ContractTabs::show_product_sums(const QString &grcd, const QString &code,
                                                               const QString &class_text)
{
    if (is_contract_class(class_text))
        return std::nullopt;
    show_rows(gridhord2, {});
    show_rows(gridhord2, records(contracts_db::product_sums(db_, grcd, code)));
    sum_product_footer();
    return ContractAmounts{};
}

void ContractTabs::show_periods(int row)
{
    show_rows(gridhord1, {});
    const QString remi_code = contracts_->text(row, QStringLiteral("REMI_CODE"));
    if (row >= 0 && row < contracts_->rows().size())
        show_rows(gridhord1, records(contracts_db::contract_periods(db_, grcd_, code_, remi_code)));
    sum_contract_footer(periods_);
}

void ContractTabs::clear()
{
    show_rows(gridhord, {});
    show_rows(gridhord1, {});
    sum_contract_footer(contracts_);
    sum_contract_footer(periods_);
    clear_product_sums();
}

void ContractTabs::clear_product_sums()
{
    show_rows(gridhord2, {});
    sum_product_footer();
}

bool ContractTabs::order_exceeds_unshipped(const QString &grcd, const QString &code, const QString &class_text,
                                           double quantity, double unit_price) const
{
    if (!is_contract_class(class_text))
        return false;
    return exceeds_unshipped(quantity, unit_price, check_amounts(grcd, code, class_text).unshipped);
}

ContractAmounts ContractTabs::check_amounts(const QString &grcd, const QString &code, const QString &class_text) const
{
    if (!is_contract_class(class_text))
        return {};
    return contracts_db::current_amounts(db_, grcd, code);
}
