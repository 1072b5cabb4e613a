#pragma once
#include <QLoggingCategory>

// The controller link's faults (lines, ports, frames not sent).
Q_DECLARE_LOGGING_CATEGORY(lc_link)
// Loads journalled, written, kept waiting, refused.
Q_DECLARE_LOGGING_CATEGORY(lc_recording)
