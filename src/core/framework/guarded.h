#pragma once
#include <QString>
#include <functional>
#include <stdexcept>

class Prompter;
class QWidget;

// A failure of a user action with a message for the operator (a value that
// is not a number, a missing printer, a refused send).
class ActionError : public std::runtime_error {
public:
    explicit ActionError(const QString &message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    QString message() const { return message_; }

private:
    QString message_;
};

// Runs one user action.  A failure anywhere in it (database, conversion,
// printer, file) is shown to the operator and ends that action only; the
// window stays usable.  Returns false when the action failed.
bool guarded(Prompter &prompter, QWidget *parent, const std::function<void()> &action);
