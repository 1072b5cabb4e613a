#include "xlsx_check.h"

#include <QHash>
#include <QProcess>
#include <QTest>
#include <QXmlStreamReader>

namespace {
QByteArray member(const QString &path, const QString &name)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), path, name});
    if (!unzip.waitForFinished(30000) || unzip.exitCode() != 0) {
        QTest::qFail(qPrintable(QStringLiteral("unzip cannot read %1 from %2").arg(name, path)), __FILE__, __LINE__);
        return {};
    }
    return unzip.readAllStandardOutput();
}

// "C12" as a zero-based column and row.
QPair<int, int> position(const QString &ref)
{
    int col = 0, i = 0;
    while (i < ref.size() && ref[i].isLetter())
        col = col * 26 + (ref[i++].unicode() - 'A' + 1);
    return {col - 1, ref.mid(i).toInt() - 1};
}

QString builtin_format(int id)
{
    static const QHash<int, QString> known{{0, "General"}, {1, "0"}, {2, "0.00"}, {3, "#,##0"}, {4, "#,##0.00"},
                                           {49, "@"}};
    return known.value(id, QStringLiteral("builtin %1").arg(id));
}
}

QStringList XlsxSheet::texts(int row) const
{
    QStringList out;
    for (const XlsxCell &c : rows.value(row))
        out << (c.number ? QString::number(c.value, 'g', 15) : c.text);
    return out;
}

XlsxSheet read_xlsx(const QString &path)
{
    XlsxSheet sheet;
    QStringList strings;
    {
        QXmlStreamReader x(member(path, QStringLiteral("xl/sharedStrings.xml")));
        QString current;
        bool in_si = false;
        while (!x.atEnd()) {
            x.readNext();
            if (x.isStartElement() && x.name() == u"si") {
                in_si = true;
                current.clear();
            } else if (x.isStartElement() && x.name() == u"t" && in_si) {
                current += x.readElementText();
            } else if (x.isEndElement() && x.name() == u"si") {
                strings << current;
                in_si = false;
            }
        }
    }
    // Cell styles: number format and boldness.
    struct Style {
        QString format;
        bool bold = false;
        QString align;
    };
    QList<Style> styles;
    {
        QXmlStreamReader x(member(path, QStringLiteral("xl/styles.xml")));
        QHash<int, QString> formats;
        QList<bool> font_bold;
        bool in_xfs = false, in_fonts = false;
        while (!x.atEnd()) {
            x.readNext();
            if (x.isStartElement()) {
                if (x.name() == u"numFmt")
                    formats.insert(x.attributes().value(QLatin1String("numFmtId")).toInt(),
                                   x.attributes().value(QLatin1String("formatCode")).toString());
                else if (x.name() == u"fonts")
                    in_fonts = true;
                else if (x.name() == u"font" && in_fonts)
                    font_bold << false;
                else if (x.name() == u"b" && in_fonts && !font_bold.isEmpty())
                    font_bold.last() = true;
                else if (x.name() == u"cellXfs")
                    in_xfs = true;
                else if (x.name() == u"xf" && in_xfs) {
                    const int id = x.attributes().value(QLatin1String("numFmtId")).toInt();
                    styles << Style{formats.value(id, builtin_format(id)),
                                    font_bold.value(x.attributes().value(QLatin1String("fontId")).toInt()), {}};
                } else if (x.name() == u"alignment" && in_xfs && !styles.isEmpty()) {
                    styles.last().align = x.attributes().value(QLatin1String("horizontal")).toString();
                }
            } else if (x.isEndElement()) {
                if (x.name() == u"cellXfs")
                    in_xfs = false;
                else if (x.name() == u"fonts")
                    in_fonts = false;
            }
        }
    }
    {
        QXmlStreamReader x(member(path, QStringLiteral("xl/workbook.xml")));
        while (!x.atEnd())
            if (x.readNext() == QXmlStreamReader::StartElement && x.name() == u"sheet") {
                sheet.name = x.attributes().value(QLatin1String("name")).toString();
                break;
            }
    }
    QXmlStreamReader x(member(path, QStringLiteral("xl/worksheets/sheet1.xml")));
    while (!x.atEnd()) {
        x.readNext();
        if (!x.isStartElement())
            continue;
        if (x.name() == u"pane" && x.attributes().value(QLatin1String("state")) == u"frozen") {
            sheet.frozen_rows = x.attributes().value(QLatin1String("ySplit")).toInt();
        } else if (x.name() == u"col") {
            const int last = x.attributes().value(QLatin1String("max")).toInt();
            while (sheet.widths.size() < last)
                sheet.widths << 0;
            for (int c = x.attributes().value(QLatin1String("min")).toInt(); c <= last; ++c)
                sheet.widths[c - 1] = x.attributes().value(QLatin1String("width")).toDouble();
        } else if (x.name() == u"c") {
            const auto [col, row] = position(x.attributes().value(QLatin1String("r")).toString());
            const QString type = x.attributes().value(QLatin1String("t")).toString();
            const Style style = styles.value(x.attributes().value(QLatin1String("s")).toInt(),
                                             Style{QStringLiteral("General"), false, {}});
            XlsxCell cell;
            cell.format = style.format;
            cell.bold = style.bold;
            cell.align = style.align;
            QString v;
            while (!(x.isEndElement() && x.name() == u"c") && !x.atEnd()) {
                x.readNext();
                if (x.isStartElement() && (x.name() == u"v" || x.name() == u"t"))
                    v += x.readElementText();
            }
            if (type == u"s") {
                cell.text = strings.value(v.toInt());
            } else if (type.isEmpty() || type == u"n") {
                cell.number = !v.isEmpty();
                cell.value = v.toDouble();
                cell.text = v;
            } else {
                cell.text = v;
            }
            while (sheet.rows.size() <= row)
                sheet.rows << QList<XlsxCell>{};
            QList<XlsxCell> &cells = sheet.rows[row];
            while (cells.size() <= col)
                cells << XlsxCell{};
            cells[col] = cell;
        }
    }
    return sheet;
}
