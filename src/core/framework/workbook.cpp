#include "core/framework/workbook.h"
#include "core/framework/csv_export.h"
#include "core/framework/guarded.h"
#include "core/framework/number_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <filesystem>

namespace workbook {
bool is_number(const QVariant &v)
{
    switch (v.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

namespace {
// A number in a display format with an optional quoted text after it
// ("#,##0\" 대\"").
QString text_of(const QVariant &v, const QString &format)
{
    if (v.isNull())
        return {};
    if (!is_number(v))
        return v.toString();
    const qsizetype quote = format.indexOf(QLatin1Char('"'));
    if (quote < 0)
        return format_number(v.toDouble(), format);
    return format_number(v.toDouble(), format.left(quote)) + format.mid(quote).remove(QLatin1Char('"'));
}

// Width in Excel's characters: Hangul and other wide letters take two.
double text_width(const QString &text)
{
    double w = 0;
    for (QChar c : text)
        w += c.unicode() >= 0x1100 ? 2 : 1;
    return w;
}

// A sheet name Excel takes: no []:*?/\ and at most 31 characters.
QString sheet_name(QString name)
{
    static const QString refused = QStringLiteral("[]:*?/\\");
    for (QChar &c : name)
        if (refused.contains(c))
            c = QLatin1Char(' ');
    name = name.simplified().left(31);
    return name.isEmpty() ? QStringLiteral("Sheet1") : name;
}

class Book {
public:
    explicit Book(const QByteArray &path) : wb_(workbook_new(path.constData())) {}
    ~Book()
    {
        if (wb_)
            workbook_close(wb_);  // only after a failure before close()
    }
    lxw_workbook *get() const { return wb_; }
    lxw_error close()
    {
        lxw_workbook *wb = wb_;
        wb_ = nullptr;
        return workbook_close(wb);
    }

private:
    lxw_workbook *wb_;
};
}

QString excel_format(const QString &format)
{
    if (format.isEmpty())
        return {};
    if (format.startsWith(QLatin1Char('%')) && format.endsWith(QLatin1Char('n'))) {
        const int decimals = format.mid(2, format.size() - 3).toInt();
        return decimals > 0 ? QStringLiteral("#,##0.") + QString(decimals, QLatin1Char('0')) : QStringLiteral("#,##0");
    }
    return format;
}

void write_xlsx(const QString &path, const Sheet &sheet)
{
    const QString failed = QStringLiteral("파일을 저장하지 못했습니다: %1").arg(QDir::toNativeSeparators(path));
    // Written beside the file and put in its place when complete.
    QString part;
    {
        QTemporaryFile tmp(QFileInfo(path).absoluteDir().filePath(QStringLiteral(".veldaro-XXXXXX.xlsx")));
        if (!tmp.open())
            throw ActionError(failed + QStringLiteral(" (") + tmp.errorString() + QLatin1Char(')'));
        tmp.setAutoRemove(false);
        part = tmp.fileName();
    }
    Book book(QFile::encodeName(part));
    if (!book.get()) {
        QFile::remove(part);
        throw ActionError(failed);
    }
    lxw_workbook *wb = book.get();
    lxw_worksheet *ws = workbook_add_worksheet(wb, sheet_name(sheet.name).toUtf8().constData());

    lxw_format *title = workbook_add_format(wb);
    format_set_bold(title);
    format_set_font_size(title, 14);
    lxw_format *caption = workbook_add_format(wb);
    format_set_bold(caption);
    format_set_align(caption, LXW_ALIGN_CENTER);
    format_set_bg_color(caption, 0xD9D9D9);
    format_set_bottom(caption, LXW_BORDER_THIN);
    // Texts aligned as in the grid: one format per alignment.
    QHash<int, lxw_format *> texts;
    const auto text_format = [&](Qt::Alignment a) {
        const int key = a & Qt::AlignHorizontal_Mask;
        if (lxw_format *known = texts.value(key))
            return known;
        lxw_format *tf = workbook_add_format(wb);
        format_set_num_format(tf, "@");
        if (key & Qt::AlignHCenter)
            format_set_align(tf, LXW_ALIGN_CENTER);
        else if (key & Qt::AlignRight)
            format_set_align(tf, LXW_ALIGN_RIGHT);
        texts.insert(key, tf);
        return tf;
    };
    // One format per number format, plain and in the totals row.
    QHash<QString, lxw_format *> numbers, total_numbers;
    const auto number_format = [&](const QString &f, bool total) {
        QHash<QString, lxw_format *> &cache = total ? total_numbers : numbers;
        if (lxw_format *known = cache.value(f))
            return known;
        lxw_format *nf = workbook_add_format(wb);
        const QString excel = excel_format(f);
        if (!excel.isEmpty())
            format_set_num_format(nf, excel.toUtf8().constData());
        if (total) {
            format_set_bold(nf);
            format_set_top(nf, LXW_BORDER_THIN);
        }
        cache.insert(f, nf);
        return nf;
    };
    lxw_format *total_text = workbook_add_format(wb);
    format_set_bold(total_text);
    format_set_top(total_text, LXW_BORDER_THIN);
    format_set_num_format(total_text, "@");

    const auto put = [&](lxw_row_t r, lxw_col_t c, const QVariant &v, const QString &f, bool total) {
        lxw_format *text = text_format(c < lxw_col_t(sheet.columns.size()) ? sheet.columns[int(c)].alignment
                                                                           : Qt::Alignment());
        if (v.isNull() || (!is_number(v) && v.toString().isEmpty())) {
            if (total)
                worksheet_write_blank(ws, r, c, total_text);
            return;
        }
        if (is_number(v))
            worksheet_write_number(ws, r, c, v.toDouble(), number_format(f, total));
        else
            worksheet_write_string(ws, r, c, v.toString().toUtf8().constData(), total ? total_text : text);
    };

    lxw_row_t row = 0;
    worksheet_write_string(ws, row++, 0, sheet.title.toUtf8().constData(), title);
    if (!sheet.period.isEmpty())
        worksheet_write_string(ws, row++, 0, sheet.period.toUtf8().constData(), nullptr);
    ++row;
    const lxw_row_t header = row;
    QList<double> widths;
    for (int c = 0; c < sheet.columns.size(); ++c) {
        const Column &col = sheet.columns[c];
        worksheet_write_string(ws, row, lxw_col_t(c), col.caption.toUtf8().constData(), caption);
        widths << std::max(col.width_chars, text_width(col.caption));
    }
    ++row;
    for (const QVariantList &values : sheet.rows) {
        for (int c = 0; c < sheet.columns.size() && c < values.size(); ++c) {
            put(row, lxw_col_t(c), values[c], sheet.columns[c].format, false);
            widths[c] = std::max(widths[c], text_width(text_of(values[c], sheet.columns[c].format)));
        }
        ++row;
    }
    if (!sheet.totals.isEmpty()) {
        for (int c = 0; c < sheet.columns.size(); ++c) {
            const Cell cell = sheet.totals.value(c);
            put(row, lxw_col_t(c), cell.value, cell.format, true);
            widths[c] = std::max(widths[c], text_width(text_of(cell.value, cell.format)));
        }
        ++row;
    }
    for (const QString &note : sheet.notes)
        worksheet_write_string(ws, row++, 0, note.toUtf8().constData(), nullptr);
    for (int c = 0; c < widths.size(); ++c)
        worksheet_set_column(ws, lxw_col_t(c), lxw_col_t(c), std::min(widths[c] + 2, 60.0), nullptr);
    worksheet_freeze_panes(ws, header + 1, 0);
    // Printed across one page wide, the captions on every page.
    worksheet_set_landscape(ws);
    worksheet_set_paper(ws, 9);  // A4
    worksheet_fit_to_pages(ws, 1, 0);
    worksheet_repeat_rows(ws, header, header);

    const lxw_error e = book.close();
    if (e != LXW_NO_ERROR) {
        QFile::remove(part);
        throw ActionError(failed + QStringLiteral(" (") + QString::fromUtf8(lxw_strerror(e)) + QLatin1Char(')'));
    }
    // A temporary file is the owner's only; the list is an ordinary file.
    QFile::setPermissions(part, QFileInfo::exists(path) ? QFile::permissions(path)
                                                        : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser
                                                              | QFile::WriteUser | QFile::ReadGroup | QFile::ReadOther);
    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(part.toStdU16String()), std::filesystem::path(path.toStdU16String()),
                            ec);
    if (ec) {
        QFile::remove(part);
        throw ActionError(failed + QStringLiteral(" (") + QString::fromLocal8Bit(ec.message().c_str())
                          + QLatin1Char(')'));
    }
}

QList<QStringList> csv_lines(const Sheet &sheet)
{
    QList<QStringList> lines;
    QStringList line;
    for (const Column &c : sheet.columns)
        line << c.caption;
    lines << line;
    for (const QVariantList &values : sheet.rows) {
        line.clear();
        for (int c = 0; c < sheet.columns.size(); ++c)
            line << text_of(values.value(c), sheet.columns[c].format);
        lines << line;
    }
    if (!sheet.totals.isEmpty()) {
        line.clear();
        for (int c = 0; c < sheet.columns.size(); ++c)
            line << text_of(sheet.totals.value(c).value, sheet.totals.value(c).format);
        lines << line;
    }
    for (const QString &note : sheet.notes)
        lines << QStringList{note};
    return lines;
}

void write(const QString &path, const Sheet &sheet)
{
    if (path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
        csv_export::write(path, csv_lines(sheet));
    else
        write_xlsx(path, sheet);
}

}
