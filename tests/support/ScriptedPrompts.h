#pragma once

#include "base/UserPrompts.h"

#include <QList>
#include <QStringList>

#include <optional>

// Answers the program's dialogs from a script and records what was asked.
class ScriptedPrompts final : public UserPrompts
{
public:
    // What was shown or asked, in order: "exclamation: text", "question: text", "color",
    // "save: title", "open: title".
    QStringList asked;

    // Answers, taken from the front; when a queue is empty: No, Cancel, empty path.
    QList<bool> yesNoAnswers;
    QList<std::optional<QColor>> colorAnswers;
    QStringList fileAnswers;

    void Exclamation(QWidget* parent, const QString& text) override;
    bool AskYesNo(QWidget* parent, const QString& text) override;
    std::optional<QColor> ChooseColor(QWidget* parent, const QColor& initial) override;
    QString SaveFileName(QWidget* parent, const QString& title, const QString& filter) override;
    QString OpenFileName(QWidget* parent, const QString& title, const QString& filter) override;
};
