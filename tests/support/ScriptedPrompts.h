#pragma once

#include "base/UserPrompts.h"
#include <QStringList>

// Answers the program's dialogs from a script and records what was asked, in order.
class ScriptedPrompts final : public UserPrompts
{
public:
    QStringList asked; // "exclamation: text", "question: text", "color", "save: t", "open: t"
    // Taken from the front; an empty queue answers No, Cancel, an empty path.
    QList<bool> yesNoAnswers;
    QList<std::optional<QColor>> colorAnswers;
    QStringList fileAnswers;

    void Exclamation(QWidget*, const QString& text) override
    {
        asked << QStringLiteral("exclamation: ") + text;
    }
    bool AskYesNo(QWidget*, const QString& text) override
    {
        return next(yesNoAnswers, QStringLiteral("question: ") + text);
    }
    std::optional<QColor> ChooseColor(QWidget*, const QColor&) override
    {
        return next(colorAnswers, QStringLiteral("color"));
    }
    QString SaveFileName(QWidget*, const QString& title, const QString&) override
    {
        return next(fileAnswers, QStringLiteral("save: ") + title);
    }
    QString OpenFileName(QWidget*, const QString& title, const QString&) override
    {
        return next(fileAnswers, QStringLiteral("open: ") + title);
    }
    template <typename T> T next(QList<T>& queue, const QString& question)
    {
        asked << question;
        return queue.isEmpty() ? T() : queue.takeFirst();
    }
};
