#pragma once

#include <QDialog>

class Player;
class QLineEdit;
class QPushButton;

// The open-URL dialog: plays a stream address that is in no station list. The address goes to
// the player exactly as typed; the dialog changes no list and no setting. Create it when it is
// opened, show it modally, and let it go when it closes.
class frmURL : public QDialog
{
    Q_OBJECT

public:
    explicit frmURL(Player& player, QWidget* parent = nullptr);

    QLineEdit* txtText1() const { return m_txtText1; }
    QPushButton* cmdOK() const { return m_cmdOK; }
    QPushButton* cmdClose() const { return m_cmdClose; }

public Q_SLOTS:
    void cmdOK_Click();
    void cmdClose_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    Player& m_player;
    QLineEdit* m_txtText1 = nullptr; // "Vložte URL stanice:": the address to play
    QPushButton* m_cmdOK = nullptr;
    QPushButton* m_cmdClose = nullptr;
};
