#include "framework/guarded.h"
#include "framework/database.h"
#include "framework/prompter.h"

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
