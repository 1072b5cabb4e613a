#include "core/framework/prompter.h"

void FakePrompter::information(QWidget *, const QString &text)
{
    shown << text;
}

void FakePrompter::error(QWidget *, const QString &text)
{
    shown << text;
    errors << text;
}

bool FakePrompter::question(QWidget *, const QString &text)
{
    shown << text;
    questions << text;
    return answers.isEmpty() ? default_answer : answers.takeFirst();
}
