#pragma once
#include "gui/console/main_window.h"
#include "gui/framework/report_output.h"
#include "core/framework/serial_line.h"
#include "gui/plantlink/ticket_report.h"
#include "gui/shipments/hand_ticket.h"
#include "window_support.h"

#include <QStringList>
#include <memory>

class BoardGrid;

// The console logged in on a test plant, with fake serial lines and every
// print going to PDF files in a folder of the test.
struct ConsoleFixture {
    enum Lines { FakeLines, RealLines };
    explicit ConsoleFixture(WindowPlant::Storage storage = WindowPlant::InMemory, Lines lines = FakeLines);
    ~ConsoleFixture();

    // Builds the console, logs in and waits for the first working screen.
    void open(const QDate &day = QDate(2026, 3, 2));

    WindowPlant plant;
    FakeSerialLine line1;
    FakeSerialLine line2;
    QString pdf_folder;
    std::unique_ptr<ReportOutput> reports;
    std::unique_ptr<TF_QR_SONGJANG> ticket;
    std::unique_ptr<TF_HANDPRINT> handprint;  // the long-lived hand ticket
    std::unique_ptr<TF_MAIN> console;

    QStringList printed() const;  // the PDF files printed so far
    void click_row(BoardGrid *grid, int row) const;
    // As a mouse does it: a click, a press seen as a double-click, its release.
    void double_click_row(BoardGrid *grid, int row) const;
};
