#pragma once
#include "core/framework/database.h"

#include <QString>

class Clock;
class Prompter;
class ReportOutput;
class QWidget;

// The print button of order entry: the day's orders read, the sheet shown
// in the preview (from which the operator prints) until it is closed.  An
// approval picture that cannot be read is said once and left off.
void preview_order_sheet(const Database &db, Prompter &prompter, const ReportOutput &reports, const Clock &clock,
                         QWidget *parent, const QString &date);
