#pragma once

#include "base/UserPrompts.h"

// The real dialogs.
class DialogPrompts final : public UserPrompts
{
public:
    void Exclamation(QWidget* parent, const QString& text) override;
    bool AskYesNo(QWidget* parent, const QString& text) override;
    std::optional<QColor> ChooseColor(QWidget* parent, const QColor& initial) override;
    QString SaveFileName(QWidget* parent, const QString& title, const QString& filter) override;
    QString OpenFileName(QWidget* parent, const QString& title, const QString& filter) override;
};

// "Description|*.ext|Other|*.x" as Qt's "Description (*.ext);;Other (*.x)".
QString QtFileFilter(const QString& filter);
