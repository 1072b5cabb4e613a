#pragma once
#include "core/masterdata/lookup_state.h"

#include <QRect>

struct AppContext;
class QLineEdit;
class QWidget;

// Code lookup: every window that lets the operator type a code resolves it
// here.  The variables live in *ctx.lookup (LookupState), the list window
// is ctx.list (TF_LIST).
//
//   ctx.lookup->lookup_code = box->text();     // sites: lookup_key = customer code
//   if (!code_lookup(ctx, lookup_kinds::vehicles, top, left, height, width))
//       ctx.list->exec();                      // or lookup_or_pick(...)
//   box->setText(ctx.lookup->lookup_code);     // lookup_name, lookup_attr, ...
//   ctx.lookup->lookup_row.value("rank");      // further columns of the row
//
// code_lookup shows nothing: true when exactly one row matched (the
// variables and lookup_row hold it), false when it filled the list window
// instead (lookup_row is then empty until a pick).  A caller may ignore
// false and keep the variables as they are.  The list window closed
// without a pick changes no variable.  A database error is thrown as
// DbError.  With no list window (ctx.list null, headless callers) the
// lookup still matches; it only has no list to fill.
bool code_lookup(AppContext &ctx, int kind, int top, int left, int height, int width);

// The whole calling sequence: code_lookup, and the list shown modally at
// `area` when it returns false, `caller`'s window active again after it.
// True when a row was matched or picked.
bool lookup_or_pick(AppContext &ctx, int kind, QWidget *caller, const QRect &area);

// A code box's Enter as the master-data windows and order entry do it:
// looks up the box's text (the list at the right of the screen when
// needed), then puts lookup_code and lookup_name into the two boxes.
bool lookup_into(AppContext &ctx, int kind, QLineEdit *code_box, QLineEdit *name_box);

// Where the list opens: narrow at the right of the screen (order entry,
// master data) or wide in the middle (shipment windows).
QRect narrow_list_area(const QWidget *caller);
QRect wide_list_area(const QWidget *caller);
