#pragma once
#include "core/framework/report.h"

#include <functional>

// Lists over several pages on the report engine: the order sheet and the
// shipment lists.
//
// A ListBuilder lays bands out sheet by sheet: the page header on every
// page (made per page, so a report can put the page number in and its
// picture on page 1 only), the column header at the top of every column,
// detail bands and group footers while the column has room, then the next
// column or the next page, a summary across the page after the last row,
// and the page footer at the bottom of every page.  The result is an
// ordinary Document, drawn by the one renderer.
namespace report {

struct ListLayout {
    PageSetup setup;
    // Made for each page, numbered from 1.
    std::function<Band(int page)> page_header;
    std::function<Band(int page)> page_footer;  // empty: none
    // Repeated at the top of each column; empty band: none.
    Band column_header;
    // Side-by-side columns filled one after the other (left first).
    int columns = 1;
    double column_width = 0;  // mm, with columns > 1
    // The page footer sits at the bottom of the body, not under the rows.
    bool footer_at_bottom = true;
};

class ListBuilder {
public:
    explicit ListBuilder(ListLayout layout);

    // A detail or group footer band, in the current column.  `adjust`, when
    // given, may change the band knowing its place among the details of its
    // page (1 for the first detail under a page header), e.g. to rule a line
    // under every third row.
    void add_row(Band band, const std::function<void(Band &, int row_on_page)> &adjust = {});
    // A band across the whole width after everything added so far (the
    // summary); starts a new page when it does not fit.
    void add_across(Band band);

    // The finished document: at least one page even without rows.
    Document finish(const QString &title);

    int page_count() const { return pages_.size(); }

private:
    void start_page();
    void start_column();
    double limit() const;

    ListLayout layout_;
    QList<Page> pages_;
    int column_ = 0;
    double body_top_ = 0;    // below the page header
    double y_ = 0;           // next free height in the current column
    double lowest_ = 0;      // lowest band bottom on the page
    int rows_on_page_ = 0;
    double footer_height_ = 0;
};

}
