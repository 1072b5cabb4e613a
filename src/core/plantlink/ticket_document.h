#pragma once
#include "core/data/ticket_data.h"
#include "core/framework/report.h"

// The delivery ticket: the values of a TicketData printed at fixed places
// onto the plant's pre-printed form (a sheet 148 x 204 mm as designed; the
// printer's own paper is kept).  Margins in millimetres; the form's design
// margins are 2 (top) and 1 (left).
report::Document ticket_document(const TicketData &ticket, double top_margin, double left_margin);
