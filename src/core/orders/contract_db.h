#pragma once
#include "core/framework/database.h"
#include "core/orders/contract_rules.h"

// Contracts (r_hyun_order) and the shipment ledger (r_mast) of a customer's
// site, as the order entry window's tabs "관수" and "민수" show them.
namespace contracts_db {

// One row per contracted product (code, kind, standard), its periods
// summed: A, S, K, the last period's cost and order number, MICHUL = A - S,
// hap = cost × MICHUL + K; then one row per product shipped to the site
// without a contract, with what it shipped.  Shipments outside every period
// of a product do not count.
QList<ContractRow> product_contracts(const Database &db, const QString &grcd, const QString &code);

// The periods of one product in order, each with what was shipped in it
// and the price in force and carried remainder of period_figures().
QList<ContractRow> contract_periods(const Database &db, const QString &grcd, const QString &code,
                                    const QString &remi_code);

// The figures of HY33..HY35 for the customer and site as they are now.
ContractAmounts current_amounts(const Database &db, const QString &grcd, const QString &code);

// What was shipped to the site per product, all dates (tab "민수").
struct ProductSum {
    QString remi_code;
    QString standard;
    QString kind;
    double m3 = 0;
    double kum = 0;
    double vatkum = 0;
    double hap = 0;
};
QList<ProductSum> product_sums(const Database &db, const QString &grcd, const QString &code);

}
