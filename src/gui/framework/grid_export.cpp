#include "gui/framework/grid_export.h"
#include "core/framework/guarded.h"
#include "core/framework/record_table_model.h"

#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTableView>

namespace grid_export {

workbook::Sheet sheet_of(const QTableView *grid, const RecordTableModel *model, const QList<workbook::Cell> &totals)
{
    workbook::Sheet sheet;
    QList<int> shown;
    for (int c = 0; c < model->columnCount(); ++c) {
        if (grid && grid->isColumnHidden(c))
            continue;
        shown << c;
        const RecordTableModel::Column &col = model->columns()[c];
        sheet.columns << workbook::Column{col.title, col.format, double(col.width_chars), col.alignment};
    }
    for (int r = 0; r < model->rowCount(); ++r) {
        QVariantList values;
        for (int c : shown) {
            const QVariant raw = model->value(r, model->columns()[c].field);
            // Numbers stay numbers; texts as the grid shows them.
            if (workbook::is_number(raw))
                values << raw;
            else
                values << model->index(r, c).data(Qt::DisplayRole);
        }
        sheet.rows << values;
    }
    if (!totals.isEmpty())
        for (int c : shown)
            sheet.totals << totals.value(c);
    return sheet;
}

QString ask_path(QWidget *parent, const QString &proposed)
{
    const QString xlsx = QStringLiteral("Excel 통합 문서 (*.xlsx)");
    const QString csv = QStringLiteral("CSV (쉼표로 분리) (*.csv)");
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QString chosen = xlsx;
    QString path = QFileDialog::getSaveFileName(parent, QStringLiteral("엑셀 파일로 저장"),
                                                QDir(folder).filePath(proposed + QStringLiteral(".xlsx")),
                                                xlsx + QStringLiteral(";;") + csv, &chosen);
    if (path.isEmpty())
        return {};
    const QString suffix = chosen == csv ? QStringLiteral(".csv") : QStringLiteral(".xlsx");
    if (!path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive)
        && !path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
        path += suffix;
    return path;
}

void save(Prompter &prompter, QWidget *parent, const std::function<QString(const QString &)> &ask,
          const QString &proposed, const std::function<workbook::Sheet()> &make)
{
    guarded(prompter, parent, [&] {
        const QString path = ask ? ask(proposed) : QString();
        if (!path.isEmpty())
            workbook::write(path, make());
    });
}

QString file_name(const QStringList &parts)
{
    QStringList kept;
    for (const QString &p : parts)
        if (!p.isEmpty())
            kept << p;
    QString name = kept.join(QLatin1Char('_'));
    name.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|\\s]+")), QStringLiteral("_"));
    return name;
}

}
