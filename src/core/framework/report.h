#pragma once
#include <QImage>
#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QString>

#include <variant>

class QPainter;
class QPagedPaintDevice;

// Printed pages described in millimetres, drawn by one renderer onto any
// QPainter (printer, PDF, preview, image).
//
// A report is a Document: the page set-up and a list of pages, each page a
// stack of bands, each band a list of items placed relative to the band's
// top-left corner.  The report itself decides what goes on which page: a
// list that runs over several pages builds one Page per sheet (page header
// band, as many detail bands as fit in PageSetup::body_height(), footer),
// writes the page number into a text item of each page and leaves a
// first-page-only picture out of the later pages.  The renderer only draws.
namespace report {

// The plant's report designs give pen widths in screen pixels of 1/96 inch.
inline constexpr double mm_per_design_pixel = 25.4 / 96.0;

enum class Align { Left, Centre, Right };

struct Font {
    QString family = QStringLiteral("굴림");
    double point_size = 10;
    bool bold = false;
};

// Text in a box.  The box's top is the text's top.
//  - auto_width: one line as wide as the text.  A left-aligned text grows to
//    the right from the box's left edge, a right-aligned one to the left from
//    its right edge, a centred one both ways from its middle; the box's own
//    width only gives that edge.
//  - fixed width with word_wrap: lines broken at words (inside a word only
//    when it is wider than the box), as many whole lines as fit the box's
//    height (always the first); without word_wrap one line cut at the box.
struct Text {
    QString name;
    QRectF box;
    QString text;
    Font font;
    Align align = Align::Left;
    bool auto_width = false;
    bool word_wrap = false;
};

// A horizontal or vertical line through the middle of its box.
struct Line {
    QString name;
    QRectF box;
    Qt::Orientation orientation = Qt::Horizontal;
    double pen_width = mm_per_design_pixel;  // mm
};

// The outline of its box.
struct Frame {
    QString name;
    QRectF box;
    double pen_width = mm_per_design_pixel;  // mm
};

// A bitmap stretched into its box.
struct Picture {
    QString name;
    QRectF box;
    QImage image;
};

using Item = std::variant<Text, Line, Frame, Picture>;

struct Band {
    QString name;
    double height = 0;  // mm
    QList<Item> items;
};

struct PlacedBand {
    double top = 0;  // mm below the page's top margin
    Band band;
    double left = 0;  // mm right of the left margin (the columns of a list)
};

struct Page {
    QList<PlacedBand> bands;

    // Puts the band right below the bands already on the page.
    void append(Band band);
    double used_height() const;
};

struct PageSetup {
    // The sheet the report is designed for.  PDF files and the preview use
    // it; a printer uses it too unless printer_paper is set, in which case the
    // printer's own default paper stays in and the layout is drawn on it.
    QPageSize paper = QPageSize(QPageSize::A4);
    bool printer_paper = false;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF margins;  // mm: left, top, right, bottom

    QSizeF paper_size() const;  // mm, oriented
    double body_height() const;  // mm between the top and bottom margins
};

struct Document {
    QString title;  // names the print job and PDF files
    PageSetup setup;
    QList<Page> pages;
};

// Draws one page.  The painter's origin must be the paper's top-left corner
// (a printer in full-page mode, a PDF writer without margins, an image);
// millimetres become device pixels by the device's resolution.
void render_page(QPainter &painter, const PageSetup &setup, const Page &page);

// Draws every page, starting a new sheet of `device` between pages.
void render(QPainter &painter, QPagedPaintDevice &device, const Document &document);

}
