#pragma once

#include <QObject>

class QDialog;

// Lets a dialog see the Escape key before any of its controls does, so that Escape closes it
// (as a cancel) wherever the focus is. Created as a child of the dialog and lives with it.
class EscapeCloses : public QObject
{
    Q_OBJECT

public:
    explicit EscapeCloses(QDialog& dialog);
    ~EscapeCloses() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QDialog& m_dialog;
};
