#include "report_check.h"

#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace {
constexpr double mm_per_pt = 25.4 / 72.0;

QString unescaped(QString s)
{
    s.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    s.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    s.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    s.replace(QStringLiteral("&apos;"), QStringLiteral("'"));
    s.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    s.replace(QChar(0x0001), QLatin1Char(' '));
    return s.simplified();
}

bool same_line(const QRectF &a, const QRectF &b)
{
    return std::abs(a.top() - b.top()) < 0.3 && std::abs(a.bottom() - b.bottom()) < 0.3;
}
}

QList<PdfWord> pdf_words(const QString &pdf_path, int page)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-f"), QString::number(page),
                                          QStringLiteral("-l"), QString::number(page), pdf_path,
                                          QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        QTest::qFail(qPrintable(QStringLiteral("pdftotext (poppler-utils) failed on %1: %2")
                                    .arg(pdf_path, QString::fromUtf8(p.readAllStandardError()))),
                     __FILE__, __LINE__);
        return {};
    }
    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>"));
    QList<PdfWord> words;
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        const double x0 = m.captured(1).toDouble(), y0 = m.captured(2).toDouble();
        const double x1 = m.captured(3).toDouble(), y1 = m.captured(4).toDouble();
        words << PdfWord{unescaped(m.captured(5)),
                         QRectF(QPointF(x0, y0) * mm_per_pt, QPointF(x1, y1) * mm_per_pt)};
    }
    return words;
}

QList<QRectF> find_text(const QList<PdfWord> &words, const QString &text)
{
    QList<QRectF> found;
    for (qsizetype i = 0; i < words.size(); ++i) {
        QString joined;
        QRectF box;
        for (qsizetype j = i; j < words.size() && joined.size() < text.size(); ++j) {
            if (j > i && !same_line(words[j].box, words[i].box))
                break;
            joined += (j > i ? QStringLiteral(" ") : QString()) + words[j].text;
            box = j > i ? box.united(words[j].box) : words[j].box;
        }
        if (joined == text)
            found << box;
    }
    return found;
}

QString all_text(const QList<PdfWord> &words)
{
    QStringList texts;
    for (const PdfWord &w : words)
        texts << w.text;
    return texts.join(QLatin1Char(' '));
}

QImage render_image(const report::Document &document, int page, double px_per_mm)
{
    const QSizeF mm = document.setup.paper_size();
    QImage image((mm * px_per_mm).toSize(), QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(px_per_mm * 1000));
    image.setDotsPerMeterY(qRound(px_per_mm * 1000));
    image.fill(Qt::white);
    QPainter painter(&image);
    report::render_page(painter, document.setup, document.pages.at(page));
    return image;
}

double darkness(const QImage &image, const QRectF &mm, double px_per_mm)
{
    const QRect r = QRectF(mm.topLeft() * px_per_mm, mm.size() * px_per_mm).toAlignedRect() & image.rect();
    if (r.isEmpty())
        return 0;
    double sum = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            sum += 1.0 - qGray(image.pixel(x, y)) / 255.0;
    return sum / (double(r.width()) * r.height());
}
