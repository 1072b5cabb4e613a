#pragma once
#include <QString>
#include <QStringList>
#include <QList>

class QWidget;

// Every message and OK/Cancel box of the program goes through a Prompter,
// so tests can read what the operator would have seen and answer questions.
class Prompter {
public:
    virtual ~Prompter() = default;
    // A plain notice with the program's own text.
    virtual void information(QWidget *parent, const QString &text) = 0;
    // An error from the database, a printer, a file or a serial line.
    virtual void error(QWidget *parent, const QString &text) = 0;
    // OK/Cancel; true for OK.
    virtual bool question(QWidget *parent, const QString &text) = 0;
};

// Records every box; questions take their answers from `answers` in turn,
// then `default_answer`.
class FakePrompter : public Prompter {
public:
    void information(QWidget *parent, const QString &text) override;
    void error(QWidget *parent, const QString &text) override;
    bool question(QWidget *parent, const QString &text) override;

    QString last() const { return shown.isEmpty() ? QString() : shown.last(); }
    void clear() { shown.clear(); errors.clear(); questions.clear(); }

    QStringList shown;      // every text, in order (notices, errors, questions)
    QStringList errors;     // the error texts only
    QStringList questions;  // the question texts only
    QList<bool> answers;
    bool default_answer = true;
};
