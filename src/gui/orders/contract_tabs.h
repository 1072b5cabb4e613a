#pragma once
#include "core/framework/database.h"
#include "core/orders/contract_rules.h"

#include <QObject>
#include <optional>

class GridColumnFilter;
class Prompter;
class QSplitter;
class QTableView;
class QWidget;
class RecordTableModel;

// The content of the order entry window's tabs "관수" and "민수": the
// contracts of the chosen customer and site with what was shipped against
// them (gridhord, and below it behind a splitter the periods of the clicked
// product in gridhord1), and the product sums of the site (gridhord2), each
// grid with its footer of sums and a filter on its "규격" column.
//
// The window hosts it in its two tab pages and calls it when a tab is
// chosen, when its fields are cleared and when a site is picked; it sets
// HY33..HY35 from what the calls return.
class ContractTabs : public QObject {
    Q_OBJECT
public:
    // Builds the grids into the two pages (into their layouts when they
    // have one).
    ContractTabs(const Database &db, Prompter &prompter, QWidget *contract_page, QWidget *sums_page,
                 QObject *parent = nullptr);

    // The tab "관수" chosen: both tables emptied; for a "관수1" customer the
    // product contracts loaded and the figures for HY33..HY35 returned;
    // nothing for any other class (the fields stay as they are).
    std::optional<ContractAmounts> show_contracts(const QString &grcd, const QString &code,
                                                  const QString &class_text);
    // The tab "민수" chosen: for a customer that is not "관수1" the product
    // sums of the site replace the table and HY33..HY35 become 0; for a
    // "관수1" customer nothing changes.
    std::optional<ContractAmounts> show_product_sums(const QString &grcd, const QString &code,
                                                     const QString &class_text);
    // The periods of the product on row `row` of gridhord.
    void show_periods(int row);

    // The window's fields cleared: all three tables empty.
    void clear();
    // A site picked: the product sums empty.
    void clear_product_sums();

    // The check on Enter in the quantity field: true when a "관수1"
    // customer's order (quantity × price) is worth more than what its site
    // has unshipped now, figured at the call for this customer and site.
    bool order_exceeds_unshipped(const QString &grcd, const QString &code, const QString &class_text,
                                 double quantity, double unit_price) const;
    // The figures that check uses now for this customer and site (HY33..
    // HY35): a "관수1" customer's contract amounts, zero for any other.
    ContractAmounts check_amounts(const QString &grcd, const QString &code, const QString &class_text) const;

    QTableView *gridhord;
    QTableView *gridhord1;
    QTableView *gridhord2;
    QSplitter *contract_splitter;
    GridColumnFilter *gridhord_filter;
    GridColumnFilter *gridhord1_filter;
    GridColumnFilter *gridhord2_filter;

private:
    void sum_contract_footer(RecordTableModel *model) const;
    void sum_product_footer() const;

    const Database &db_;
    Prompter &prompter_;
    RecordTableModel *contracts_;
    RecordTableModel *periods_;
    RecordTableModel *sums_;
    QString grcd_;  // of the contracts shown, for a click on a product
    QString code_;
};
