#pragma once
#include <QAbstractTableModel>
#include <QColor>
#include <QList>
#include <QSqlRecord>
#include <functional>

#include "core/framework/number_text.h"

class QSqlQuery;

// A read-only grid model over rows read once from a statement: the
// program's data sets (orders, shipments, vehicles) shown in grids.  Rows
// are copied out, so no cursor stays open on the database.
class RecordTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Column {
        QString field;  // column of the rows, any case
        QString title;
        Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
        QColor title_color = QColor();
        bool title_bold = false;
        int width_chars = 0;  // suggested width in characters, 0: fit
        // Display format of numbers (see format_number): "#,##0.00", "%.2n";
        // empty: the general format.
        QString format = QString();
    };

    // The footer texts are the horizontal header's data in this role; a
    // GridFooter under the grid shows them.
    static constexpr int FooterRole = Qt::UserRole + 100;

    explicit RecordTableModel(QList<Column> columns, QObject *parent = nullptr);
    ~RecordTableModel() override;

    // Replaces the rows with those of the statement (run, not yet read).
    void load(QSqlQuery &query);
    // The same, but reads `page_rows` rows now and the rest a page at a time
    // as the grid scrolls to them (fetchMore), so a long result shows at
    // once.  The statement stays open until every row is read or the rows
    // are replaced.
    void load_in_pages(QSqlQuery query, int page_rows = 200);
    // The same from rows made one by one (several statements in turn):
    // `next_row` fills the row and returns true, or returns false at the
    // end.  What it throws ends the rows and is reported by fetch_failed.
    using RowSource = std::function<bool(QSqlRecord &row)>;
    void load_in_pages(RowSource next_row, int page_rows = 200);
    // Reads the rest of a paged statement (a report or an export needs
    // every row); false when reading failed, so the rows are not all there.
    bool fetch_all();
    void set_rows(QList<QSqlRecord> rows);
    void clear();
    // Other columns, for a grid that shows other data sets in turn.
    void set_columns(QList<Column> columns);

    const QList<QSqlRecord> &rows() const { return rows_; }
    const QList<Column> &columns() const { return columns_; }
    // The row's value of a field, or a null QVariant without such a row.
    QVariant value(int row, const QString &field) const;
    QString text(int row, const QString &field) const { return value(row, field).toString(); }

    // Sum of a numeric field over all rows (nulls count 0).
    double sum(const QString &field) const;
    // The footer row: a text per column, set by the window (sums, counts).
    void set_footer(const QString &field, const QString &text);
    void clear_footer();
    QString footer(int column) const { return footer_.value(column); }

    // The row the grid's cursor is on; shown with a marker in the row header.
    void set_current_row(int row);
    int current_row() const { return current_; }

Q_SIGNALS:
    // Reading further rows of a paged load failed; the rows end there.
    void fetch_failed(const QString &message);

public:
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<Column> columns_;
    QList<QSqlRecord> rows_;
    QStringList footer_;
    int current_ = -1;
    QList<QSqlRecord> read_page(QString *failure);

    RowSource pending_;  // paged rows not read to their end
    bool failed_ = false;  // reading the paged rows failed
    int page_rows_ = 200;
};

// A value for display: numbers in the general format (or `format`),
// anything else as text.
QString display_text(const QVariant &value, const QString &format = QString());
