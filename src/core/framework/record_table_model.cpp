#include "core/framework/record_table_model.h"

#include <QFont>
#include <QSqlField>
#include <QSqlError>
#include <QSqlQuery>
#include "core/framework/database.h"
#include <algorithm>
#include <limits>

QString display_text(const QVariant &value, const QString &format)
{
    if (value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return format_number(value.toDouble(), format);
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return format.isEmpty() ? value.toString() : format_number(value.toDouble(), format);
    default:
        if (!format.isEmpty()) {
            // Numeric columns that a driver hands over as text (PostgreSQL's
            // numeric, SQLite sums) still take the column's format.
            bool ok = false;
            const double d = value.toString().toDouble(&ok);
            if (ok)
                return format_number(d, format);
        }
        return value.toString();
    }
}

RecordTableModel::RecordTableModel(QList<Column> columns, QObject *parent)
    : QAbstractTableModel(parent), columns_(std::move(columns))
{
}

RecordTableModel::~RecordTableModel() = default;

void RecordTableModel::load(QSqlQuery &query)
{
    QList<QSqlRecord> rows;
    while (query.next())
        rows << query.record();
    set_rows(std::move(rows));
}

void RecordTableModel::load_in_pages(QSqlQuery query, int page_rows)
{
    auto q = std::make_shared<QSqlQuery>(std::move(query));
    load_in_pages(
        [q](QSqlRecord &row) {
            if (!q->next()) {
                if (q->lastError().isValid())
                    throw DbError(describe_error(q->lastError()));
                return false;
            }
            row = q->record();
            return true;
        },
        page_rows);
}

void RecordTableModel::load_in_pages(RowSource next_row, int page_rows)
{
    failed_ = false;
    page_rows_ = std::max(1, page_rows);
    pending_ = std::move(next_row);
    QString failure;
    QList<QSqlRecord> first = read_page(&failure);
    RowSource rest = std::move(pending_);
    const bool failed = failed_;
    set_rows(std::move(first));
    pending_ = std::move(rest);
    failed_ = failed;
    if (!failure.isEmpty())
        Q_EMIT fetch_failed(failure);
}

QList<QSqlRecord> RecordTableModel::read_page(QString *failure)
{
    QList<QSqlRecord> page;
    try {
        QSqlRecord row;
        while (page.size() < page_rows_ && pending_(row))
            page << row;
        if (page.size() < page_rows_)
            pending_ = {};  // the end: its statements are released
    } catch (const DbError &e) {
        pending_ = {};
        failed_ = true;
        *failure = e.message();
    } catch (const std::exception &e) {
        pending_ = {};
        failed_ = true;
        *failure = QString::fromUtf8(e.what());
    }
    return page;
}

bool RecordTableModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && pending_;
}

void RecordTableModel::fetchMore(const QModelIndex &parent)
{
    if (parent.isValid() || !pending_)
        return;
    QString failure;
    const QList<QSqlRecord> page = read_page(&failure);
    if (!page.isEmpty()) {
        beginInsertRows(QModelIndex(), rows_.size(), rows_.size() + page.size() - 1);
        rows_ += page;
        endInsertRows();
    }
    if (!failure.isEmpty())
        Q_EMIT fetch_failed(failure);
}

bool RecordTableModel::fetch_all()
{
    const int page = page_rows_;
    page_rows_ = std::numeric_limits<int>::max();
    fetchMore(QModelIndex());
    page_rows_ = page;
    return !failed_;
}

void RecordTableModel::set_rows(QList<QSqlRecord> rows)
{
    pending_ = {};
    failed_ = false;
    beginResetModel();
    rows_ = std::move(rows);
    current_ = rows_.isEmpty() ? -1 : 0;
    endResetModel();
}

void RecordTableModel::set_columns(QList<Column> columns)
{
    beginResetModel();
    columns_ = std::move(columns);
    footer_.clear();
    endResetModel();
}

void RecordTableModel::clear()
{
    set_rows({});
}

QVariant RecordTableModel::value(int row, const QString &field) const
{
    if (row < 0 || row >= rows_.size())
        return {};
    return rows_[row].value(field);
}

double RecordTableModel::sum(const QString &field) const
{
    double total = 0;
    for (const QSqlRecord &r : rows_)
        total += r.value(field).toDouble();
    return total;
}

void RecordTableModel::set_footer(const QString &field, const QString &text)
{
    for (int i = 0; i < columns_.size(); ++i) {
        if (columns_[i].field.compare(field, Qt::CaseInsensitive) != 0)
            continue;
        while (footer_.size() <= i)
            footer_ << QString();
        footer_[i] = text;
        Q_EMIT headerDataChanged(Qt::Horizontal, i, i);
    }
}

void RecordTableModel::clear_footer()
{
    footer_.clear();
    if (!columns_.isEmpty())
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, columns_.size() - 1);
}

void RecordTableModel::set_current_row(int row)
{
    if (row == current_)
        return;
    const int old = current_;
    current_ = row;
    if (old >= 0 && old < rows_.size())
        Q_EMIT headerDataChanged(Qt::Vertical, old, old);
    if (row >= 0 && row < rows_.size())
        Q_EMIT headerDataChanged(Qt::Vertical, row, row);
}

int RecordTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : rows_.size();
}

int RecordTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : columns_.size();
}

QVariant RecordTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rows_.size())
        return {};
    const Column &c = columns_[index.column()];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:  // the whole text where the column cuts it
        return display_text(rows_[index.row()].value(c.field), c.format);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(c.alignment);
    default:
        return {};
    }
}

QVariant RecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical) {
        if (role == Qt::DisplayRole)
            return section == current_ ? QStringLiteral("▶") : QString();
        return {};
    }
    if (section < 0 || section >= columns_.size())
        return {};
    const Column &c = columns_[section];
    switch (role) {
    case FooterRole:
        return footer_.value(section);
    case Qt::DisplayRole:
        return c.title;
    case Qt::ForegroundRole:
        return c.title_color.isValid() ? QVariant(c.title_color) : QVariant();
    case Qt::FontRole:
        if (c.title_bold) {
            QFont f;
            f.setBold(true);
            return f;
        }
        return {};
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    default:
        return {};
    }
}
