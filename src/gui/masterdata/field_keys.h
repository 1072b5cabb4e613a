#pragma once
#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <functional>

class Prompter;
class QLineEdit;
class QWidget;

// The keys of an entry form: Enter confirms a field and moves to the next
// (or runs the field's own step), Page Up and Page Down move to the
// previous and next field.  Fields are visited in the order added,
// skipping disabled ones.
class FieldKeys : public QObject {
public:
    using Step = std::function<void()>;

    FieldKeys(Prompter &prompter, QWidget *window);

    void add(QWidget *field);
    // Enter in the field runs `step` instead of moving on.
    void on_enter(QWidget *field, Step step);
    // Typed characters other than digits are refused with "숫자만 등록하시오.".
    void digits_only(QLineEdit *field);
    // `on_char` sees every printable character typed into the field; it
    // returns true when it has dealt with it (the key is then swallowed).
    void on_char(QWidget *field, std::function<bool(QChar)> handler);

    void focus_next(QWidget *field) const;
    void focus_previous(QWidget *field) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void step_from(QWidget *field, int direction) const;

    Prompter &prompter_;
    QWidget *window_;
    QList<QWidget *> order_;
    QHash<QWidget *, Step> enter_;
    QHash<QWidget *, std::function<bool(QChar)>> chars_;
    QSet<QWidget *> digits_;
};
