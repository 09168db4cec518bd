#pragma once

#include "base/UserPrompts.h"
#include <QStringList>

// Answers the program's dialogs from the front of a script (empty: No, Cancel, no path) and notes
// the questions: "exclamation: text", "question: text", "color", "save: title", "open: title".
class ScriptedPrompts final : public UserPrompts
{
public:
    QStringList asked;
    QList<bool> yesNoAnswers;
    QList<std::optional<QColor>> colorAnswers;
    QStringList fileAnswers;

    void Exclamation(QWidget*, const QString& s) override { asked << u"exclamation: "_qs + s; }
    bool AskYesNo(QWidget*, const QString& s) override
    {
        return next(yesNoAnswers, "question: ", s);
    }
    std::optional<QColor> ChooseColor(QWidget*, const QColor&) override
    {
        return next(colorAnswers, "color");
    }
    QString SaveFileName(QWidget*, const QString& s, const QString&) override
    {
        return next(fileAnswers, "save: ", s);
    }
    QString OpenFileName(QWidget*, const QString& s, const QString&) override
    {
        return next(fileAnswers, "open: ", s);
    }
    template <typename T> T next(QList<T>& queue, const char* question, const QString& s = {})
    {
        asked << QString::fromLatin1(question) + s;
        return queue.isEmpty() ? T() : queue.takeFirst();
    }
};
