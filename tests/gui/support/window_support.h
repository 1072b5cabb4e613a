#pragma once
#include "gui/data/app_context.h"
#include "gui/masterdata/list_window.h"
#include "test_support.h"

#include <functional>
#include <memory>

class QWidget;

// The test plant with what windows are handed: the context filled with the
// plant's fakes, and the code lookup's list window.
struct WindowPlant : TestPlant {
    explicit WindowPlant(Storage storage = InMemory);
    ~WindowPlant();

    AppContext ctx;
    std::unique_ptr<TF_LIST> list;  // only where the test has widgets
};

// Runs `act` on the next modal window as soon as it is shown (a login, a
// dialog opened by the window under test), so a test can answer it.
void on_next_modal(const std::function<void(QWidget *)> &act);
