#pragma once

#include "base/UserPrompts.h"

#include <QList>
#include <QStringList>

#include <optional>

// Answers the program's dialogs from a script and records what was asked.
class ScriptedPrompts final : public UserPrompts
{
public:
    // In order: "exclamation: text", "question: text", "color", "save: title", "open: title".
    QStringList asked;
    // Taken from the front; an empty queue answers No, Cancel, an empty path.
    QList<bool> yesNoAnswers;
    QList<std::optional<QColor>> colorAnswers;
    QStringList fileAnswers;

    void Exclamation(QWidget*, const QString& text) override
    {
        asked.append(QStringLiteral("exclamation: ") + text);
    }
    bool AskYesNo(QWidget*, const QString& text) override
    {
        asked.append(QStringLiteral("question: ") + text);
        return !yesNoAnswers.isEmpty() && yesNoAnswers.takeFirst();
    }
    std::optional<QColor> ChooseColor(QWidget*, const QColor&) override
    {
        asked.append(QStringLiteral("color"));
        return colorAnswers.isEmpty() ? std::nullopt : colorAnswers.takeFirst();
    }
    QString SaveFileName(QWidget*, const QString& title, const QString&) override
    {
        return file(QStringLiteral("save: ") + title);
    }
    QString OpenFileName(QWidget*, const QString& title, const QString&) override
    {
        return file(QStringLiteral("open: ") + title);
    }

private:
    QString file(const QString& question)
    {
        asked.append(question);
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    }
};
