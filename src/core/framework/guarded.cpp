#include "core/framework/guarded.h"
#include "core/framework/database.h"
#include "core/framework/prompter.h"

bool guarded(Prompter &prompter, QWidget *parent, const std::function<void()> &action)
{
    try {
        action();
        return true;
    } catch (const DbError &e) {
        prompter.error(parent, e.message());
    } catch (const ActionError &e) {
        prompter.error(parent, e.message());
    } catch (const std::exception &e) {
        prompter.error(parent, QString::fromUtf8(e.what()));
    }
    return false;
}
