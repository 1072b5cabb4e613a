#include "gui/masterdata/code_lookup.h"
#include "gui/data/app_context.h"
#include "core/data/data_module.h"
#include "gui/masterdata/list_window.h"
#include "core/masterdata/lookup_db.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QWidget>

bool code_lookup(AppContext &ctx, int kind, int top, int left, int height, int width)
{
    LookupState &s = *ctx.lookup;
    s.lookup_kind = kind;
    if (ctx.list) {
        ctx.list->setGeometry(left, top, width, height);
        const QString title = lookup_title(kind);
        if (!title.isEmpty())
            ctx.list->setWindowTitle(title);
    }
    const LookupOutcome out = find_codes(ctx.dbm->db(), kind, s.lookup_code, s.lookup_key);
    if (out.found) {
        copy_lookup_row(s, kind, out.rows.first(), true);
        return true;
    }
    s.lookup_row = QSqlRecord();
    if (out.ran && ctx.list)
        ctx.list->fill(out.columns, out.rows);
    return false;
}

bool lookup_or_pick(AppContext &ctx, int kind, QWidget *caller, const QRect &area)
{
    if (code_lookup(ctx, kind, area.top(), area.left(), area.height(), area.width()))
        return true;
    if (!ctx.list)
        return false;
    const bool picked = ctx.list->exec() == QDialog::Accepted;
    if (caller)
        caller->activateWindow();
    return picked;
}

bool lookup_into(AppContext &ctx, int kind, QLineEdit *code_box, QLineEdit *name_box)
{
    LookupState &s = *ctx.lookup;
    s.lookup_code = code_box->text();
    QWidget *caller = code_box->window();
    const bool taken = lookup_or_pick(ctx, kind, caller, narrow_list_area(caller));
    code_box->setText(s.lookup_code);
    name_box->setText(s.lookup_name);
    return taken;
}

namespace {
QRect screen_area(const QWidget *caller)
{
    const QScreen *screen = caller && caller->screen() ? caller->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1280, 1024);
}
}

QRect narrow_list_area(const QWidget *caller)
{
    const QRect s = screen_area(caller);
    const int width = qMin(380, s.width());
    const int height = qMin(600, s.height() - 120);
    return {s.right() - width - 20, s.top() + 80, width, height};
}

QRect wide_list_area(const QWidget *caller)
{
    const QRect s = screen_area(caller);
    const int width = qMin(660, s.width());
    const int height = qMin(560, s.height() - 120);
    return {s.left() + (s.width() - width) / 2, s.top() + 80, width, height};
}
