#include "ScriptedPrompts.h"

using namespace Qt::StringLiterals;

void ScriptedPrompts::Exclamation(QWidget*, const QString& text)
{
    asked.append(u"exclamation: "_s + text);
}

bool ScriptedPrompts::AskYesNo(QWidget*, const QString& text)
{
    asked.append(u"question: "_s + text);
    return yesNoAnswers.isEmpty() ? false : yesNoAnswers.takeFirst();
}

std::optional<QColor> ScriptedPrompts::ChooseColor(QWidget*, const QColor&)
{
    asked.append(u"color"_s);
    return colorAnswers.isEmpty() ? std::nullopt : colorAnswers.takeFirst();
}

QString ScriptedPrompts::SaveFileName(QWidget*, const QString& title, const QString&)
{
    asked.append(u"save: "_s + title);
    return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
}

QString ScriptedPrompts::OpenFileName(QWidget*, const QString& title, const QString&)
{
    asked.append(u"open: "_s + title);
    return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
}
