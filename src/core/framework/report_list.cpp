#include "core/framework/report_list.h"

#include <algorithm>

namespace report {

ListBuilder::ListBuilder(ListLayout layout) : layout_(std::move(layout))
{
    if (layout_.columns < 1)
        layout_.columns = 1;
    if (layout_.page_footer)
        footer_height_ = layout_.page_footer(1).height;
}

double ListBuilder::limit() const
{
    return layout_.setup.body_height() - footer_height_;
}

void ListBuilder::start_page()
{
    pages_.append(Page());
    Page &page = pages_.last();
    const Band header = layout_.page_header ? layout_.page_header(pages_.size()) : Band();
    page.bands.append(PlacedBand{0, header, 0});
    body_top_ = header.height;
    lowest_ = body_top_;
    rows_on_page_ = 0;
    column_ = 0;
    y_ = body_top_;
    start_column();
}

void ListBuilder::start_column()
{
    y_ = body_top_;
    if (layout_.column_header.height > 0 || !layout_.column_header.items.isEmpty()) {
        pages_.last().bands.append(PlacedBand{y_, layout_.column_header, column_ * layout_.column_width});
        y_ += layout_.column_header.height;
        lowest_ = std::max(lowest_, y_);
    }
}

void ListBuilder::add_row(Band band, const std::function<void(Band &, int)> &adjust)
{
    if (pages_.isEmpty())
        start_page();
    // A row that is taller than an empty column still goes on (cut by the
    // page), so the list never loops on it.
    const bool column_has_rows = y_ > body_top_ + layout_.column_header.height + 0.001;
    if (y_ + band.height > limit() + 0.001 && column_has_rows) {
        if (column_ + 1 < layout_.columns) {
            ++column_;
            start_column();
        } else {
            start_page();
        }
    }
    ++rows_on_page_;
    if (adjust)
        adjust(band, rows_on_page_);
    const double h = band.height;
    pages_.last().bands.append(PlacedBand{y_, std::move(band), column_ * layout_.column_width});
    y_ += h;
    lowest_ = std::max(lowest_, y_);
}

void ListBuilder::add_across(Band band)
{
    if (pages_.isEmpty())
        start_page();
    if (lowest_ + band.height > limit() + 0.001 && lowest_ > body_top_ + layout_.column_header.height + 0.001) {
        start_page();
    }
    const double h = band.height;
    pages_.last().bands.append(PlacedBand{lowest_, std::move(band), 0});
    lowest_ += h;
    // Rows after a band across the page start under it, in the first column.
    y_ = lowest_;
    column_ = 0;
}

Document ListBuilder::finish(const QString &title)
{
    if (pages_.isEmpty())
        start_page();
    if (layout_.page_footer) {
        for (int i = 0; i < pages_.size(); ++i) {
            Page &page = pages_[i];
            const Band footer = layout_.page_footer(i + 1);
            double top = layout_.setup.body_height() - footer.height;
            if (!layout_.footer_at_bottom)
                top = page.used_height();
            page.bands.append(PlacedBand{top, footer, 0});
        }
    }
    Document doc;
    doc.title = title;
    doc.setup = layout_.setup;
    doc.pages = pages_;
    return doc;
}

}
