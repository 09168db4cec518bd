#pragma once

#include <QDialog>

class QPushButton;
class QTreeWidget;
class TitleHistory;
class UserPrompts;

// "Historie skladeb": the titles heard, newest first, in the columns "Čas", "Stanice" and
// "Skladba". The selected titles are copied to the clipboard, one line "Stanice – Skladba" each,
// by "Kopírovat", Ctrl+C or a double click; "Vymazat historii" empties the history after asking.
class frmHistory : public QDialog
{
    Q_OBJECT

public:
    frmHistory(TitleHistory& history, UserPrompts& prompts, QWidget* parent = nullptr);

    QTreeWidget* List1() const { return m_list; }

protected:
    // Ctrl+C in the list copies the selected titles, not the time of the current one.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fill();
    void cmdCopy_Click();
    void cmdClear_Click();

    TitleHistory& m_history;
    UserPrompts& m_prompts;
    QTreeWidget* m_list = nullptr;
    QPushButton* m_cmdCopy = nullptr;  // "&Kopírovat": the selected titles to the clipboard
    QPushButton* m_cmdClear = nullptr; // "&Vymazat historii": empties it after asking
    QPushButton* m_cmdClose = nullptr; // "&Zavřít"
};
