#pragma once

#include <QColor>
#include <QString>

#include <optional>

class QWidget;

// Everything that asks the user in a blocking dialog: message boxes, the colour dialog and the
// file dialogs. Windows ask through this interface so that tests can answer in their place.
class UserPrompts
{
public:
    virtual ~UserPrompts() = default;

    // An exclamation message with an OK button and the application's title.
    virtual void Exclamation(QWidget* parent, const QString& text) = 0;

    // A question with Yes and No, No being the default; true for Yes.
    virtual bool AskYesNo(QWidget* parent, const QString& text) = 0;

    // The colour dialog; empty after Cancel.
    virtual std::optional<QColor> ChooseColor(QWidget* parent, const QColor& initial) = 0;

    // The save-file dialog (no overwrite question); empty after Cancel. `filter` uses the
    // "Description|*.ext" form.
    virtual QString SaveFileName(QWidget* parent, const QString& title, const QString& filter) = 0;

    // The open-file dialog for an existing file; empty after Cancel.
    virtual QString OpenFileName(QWidget* parent, const QString& title, const QString& filter) = 0;
};
