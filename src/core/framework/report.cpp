#include "core/framework/report.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>

namespace report {

void Page::append(Band band)
{
    const double top = used_height();
    bands.append(PlacedBand{top, std::move(band)});
}

double Page::used_height() const
{
    double bottom = 0;
    for (const PlacedBand &b : bands)
        bottom = std::max(bottom, b.top + b.band.height);
    return bottom;
}

QSizeF PageSetup::paper_size() const
{
    const QSizeF size = paper.size(QPageSize::Millimeter);
    return orientation == QPageLayout::Landscape ? size.transposed() : size;
}

double PageSetup::body_height() const
{
    return paper_size().height() - margins.top() - margins.bottom();
}

namespace {
// Millimetres on the page to pixels of the device being painted.
struct Scale {
    double x;
    double y;

    explicit Scale(const QPaintDevice &device)
        : x(device.logicalDpiX() / 25.4), y(device.logicalDpiY() / 25.4) {}
    QRectF rect(const QRectF &mm) const
    {
        return QRectF(mm.left() * x, mm.top() * y, mm.width() * x, mm.height() * y);
    }
};

QFont qfont(const Font &f)
{
    QFont font(f.family);
    font.setPointSizeF(f.point_size);
    font.setBold(f.bold);
    return font;
}

Qt::Alignment qt_alignment(Align a)
{
    switch (a) {
    case Align::Centre: return Qt::AlignHCenter;
    case Align::Right: return Qt::AlignRight;
    case Align::Left: break;
    }
    return Qt::AlignLeft;
}

void draw(QPainter &p, const Scale &, const QRectF &box, const Text &t)
{
    if (t.text.isEmpty())
        return;
    const QFont font = qfont(t.font);
    QRectF area = box;
    if (t.auto_width) {
        const double w = QFontMetricsF(font, p.device()).horizontalAdvance(t.text);
        const double left = t.align == Align::Right    ? box.right() - w
                            : t.align == Align::Centre ? box.center().x() - w / 2
                                                       : box.left();
        area = QRectF(left, box.top(), w, box.height());
    }

    QTextOption option(qt_alignment(t.align));
    option.setWrapMode(t.word_wrap && !t.auto_width ? QTextOption::WrapAtWordBoundaryOrAnywhere
                                                     : QTextOption::NoWrap);
    QTextLayout layout(t.text, font, p.device());
    layout.setTextOption(option);
    layout.beginLayout();
    int shown = 0;
    double y = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(area.width());
        line.setPosition(QPointF(0, y));
        // Whole lines only: a line that would stick out below the box is
        // left off, but the first line always prints.
        if (shown == 0 || y + line.height() <= area.height() + 0.5)
            shown = line.lineNumber() + 1;
        y += line.height();
    }
    layout.endLayout();

    p.save();
    p.setPen(Qt::black);
    if (!t.auto_width) {
        const QTextLine last = layout.lineAt(shown - 1);
        const double h = std::max(area.height(), last.y() + last.height());
        p.setClipRect(QRectF(area.left(), area.top(), area.width(), h), Qt::IntersectClip);
    }
    for (int i = 0; i < shown; ++i)
        layout.lineAt(i).draw(&p, area.topLeft());
    p.restore();
}

void draw(QPainter &p, const Scale &s, const QRectF &box, const Line &l)
{
    QPen pen(Qt::black, l.orientation == Qt::Horizontal ? l.pen_width * s.y : l.pen_width * s.x);
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    if (l.orientation == Qt::Horizontal)
        p.drawLine(QPointF(box.left(), box.center().y()), QPointF(box.right(), box.center().y()));
    else
        p.drawLine(QPointF(box.center().x(), box.top()), QPointF(box.center().x(), box.bottom()));
}

void draw(QPainter &p, const Scale &s, const QRectF &box, const Frame &f)
{
    QPen pen(Qt::black, f.pen_width * std::min(s.x, s.y));
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(box);
}

void draw(QPainter &p, const Scale &, const QRectF &box, const Picture &pic)
{
    if (!pic.image.isNull())
        p.drawImage(box, pic.image);
}

QRectF box_of(const Item &item)
{
    return std::visit([](const auto &i) { return i.box; }, item);
}
}

void render_page(QPainter &painter, const PageSetup &setup, const Page &page)
{
    const Scale scale(*painter.device());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    for (const PlacedBand &placed : page.bands) {
        const QPointF origin(setup.margins.left() + placed.left, setup.margins.top() + placed.top);
        for (const Item &item : placed.band.items) {
            const QRectF box = scale.rect(box_of(item).translated(origin));
            std::visit([&](const auto &i) { draw(painter, scale, box, i); }, item);
        }
    }
    painter.restore();
}

void render(QPainter &painter, QPagedPaintDevice &device, const Document &document)
{
    for (qsizetype i = 0; i < document.pages.size(); ++i) {
        if (i > 0)
            device.newPage();
        render_page(painter, document.setup, document.pages[i]);
    }
}

}
