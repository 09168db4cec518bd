// The main window's commands: the toolbar, the menu bar and the tray icon's popup menu.
#include "app/frmMain.h"

#include "app/Icons.h"
#include "app/WindowOnTop.h"
#include "base/Player.h"
#include "controls/Decorative.h"
#include "stations/StationListView.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

struct ToolbarButtonSpec
{
    QString key;
    QString tooltip;
    // For the commands the menus do not have; mute and unmute share one, only one is shown.
    QKeySequence shortcut = {};
};

} // namespace

QAction* frmMain::ToolbarButton(const QString& key) const
{
    const auto it = m_buttons.find(key);
    return it == m_buttons.end() ? nullptr : it->second;
}

void frmMain::buildToolbar()
{
    // Left to right; the second button is a separator. "Nute" (unmute) starts hidden.
    const ToolbarButtonSpec buttons[] = {
        {u"Konec"_s, u"Konec"_s},
        {QString(), QString()},
        {u"edit"_s, u"Upravit seznam rozhlasových stanic"_s, Qt::CTRL | Qt::Key_E},
        {u"URL"_s, u"Vložit URL stanice"_s},
        {u"Volume"_s, u"Ztlumit"_s, Qt::CTRL | Qt::Key_M},
        {u"Nute"_s, u"Zvuk"_s, Qt::CTRL | Qt::Key_M},
        {u"Stop"_s, u"Zastavit"_s, Qt::CTRL | Qt::Key_S},
        {u"Play"_s, u"Spustit"_s},
    };
    for (const ToolbarButtonSpec& spec : buttons) {
        if (spec.key.isEmpty()) {
            MarkDecorative(*m_toolbar->widgetForAction(m_toolbar->addSeparator()));
            continue;
        }
        QAction* action = m_toolbar->addAction(ToolbarIcon(spec.key), spec.tooltip);
        action->setObjectName(u"button_"_s + spec.key);
        action->setToolTip(spec.tooltip);
        action->setShortcut(spec.shortcut);
        connect(action, &QAction::triggered, this,
                [this, key = spec.key] { asxToolbar1_ButtonClick(key); });
        m_buttons[spec.key] = action;
    }
    m_buttons[u"Nute"_s]->setVisible(false);
    // Qt's button for commands that do not fit; it shows only in a narrow window.
    if (auto* more = m_toolbar->findChild<QToolButton*>(u"qt_toolbar_ext_button"_s))
        more->setAccessibleName(u"Další příkazy"_s);
}

void frmMain::buildMenus()
{
    const auto add = [this](QMenu* menu, const QString& name, const QString& caption,
                            const QKeySequence& shortcut, auto slot) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        action->setShortcut(shortcut);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };

    m_mnuVzdyNahore = add(m_mnuSkylistener, u"mnuVzdyNahore"_s, u"&Vždy nahoře"_s, {},
                          [this] { mnuVzdyNahore_Click(); });
    m_mnuVzdyNahore->setCheckable(true);
    add(m_mnuSkylistener, u"mnuVybratSeznam"_s, u"Vybrat seznam stanic"_s, Qt::Key_F12,
        [this] { mnuVybratSeznam_Click(); });
    add(m_mnuSkylistener, u"mnuImportovat"_s, u"&Importovat stanice…"_s, {},
        [this] { mnuImportovat_Click(); });
    add(m_mnuSkylistener, u"mnuExportovat"_s, u"&Exportovat stanice…"_s, {},
        [this] { mnuExportovat_Click(); });
    add(m_mnuSkylistener, u"mnuOtevritURL"_s, u"Otevřít URL"_s, Qt::CTRL | Qt::Key_O,
        [this] { showOpenUrlDialog(); });
    add(m_mnuSkylistener, u"mnuHledatStanice"_s, u"Hledat stanice…"_s, Qt::CTRL | Qt::Key_F,
        [this] { showFindStations(); });
    // The songs heard.
    m_mnuSkylistener->addSeparator()->setObjectName(u"mnuSkladby0"_s);
    add(m_mnuSkylistener, u"mnuHistorie"_s, u"Historie skladeb…"_s, Qt::CTRL | Qt::Key_H,
        [this] { mnuHistorie_Click(); });
    m_mnuNahravat = add(m_mnuSkylistener, u"mnuNahravat"_s, u"&Nahrávat"_s, Qt::CTRL | Qt::Key_R,
                        [this] { mnuNahravat_Click(); });
    m_mnuNahravat->setCheckable(true);
    m_mnuOznamovat = add(m_mnuSkylistener, u"mnuOznamovat"_s, u"Oznamovat &skladby"_s, {},
                         [this] { mnuOznamovat_Click(); });
    m_mnuOznamovat->setCheckable(true);
    // The sleep timer (frmMain_sleep.cpp): one choice at a time, "Nevypínat" at start.
    m_mnuVypnout = m_mnuSkylistener->addMenu(u"&Vypnout přehrávání"_s);
    m_mnuVypnout->setObjectName(u"mnuVypnout"_s);
    auto* sleepChoices = new QActionGroup(m_mnuVypnout);
    for (const int minutes : {15, 30, 60, 90}) {
        QAction* choice =
            add(m_mnuVypnout, u"mnuVypnout%1"_s.arg(minutes), u"za &%1 minut"_s.arg(minutes), {},
                [this, minutes] { mnuVypnout_Click(minutes); });
        choice->setCheckable(true);
        sleepChoices->addAction(choice);
    }
    m_mnuNevypinat =
        add(m_mnuVypnout, u"mnuNevypinat"_s, u"&Nevypínat"_s, {}, [this] { mnuVypnout_Click(0); });
    m_mnuNevypinat->setCheckable(true);
    m_mnuNevypinat->setChecked(true);
    sleepChoices->addAction(m_mnuNevypinat);
    m_mnuSkylistener->addSeparator()->setObjectName(u"mnu0"_s);
    add(m_mnuSkylistener, u"mnuNastaveni"_s, u"&Nastavení"_s, Qt::CTRL | Qt::Key_P,
        [this] { mnuNastaveni_Click(); });
    add(m_mnuSkylistener, u"mnuOProgramu"_s, u"&O programu"_s, {}, [this] { showAboutDialog(); });
    add(m_mnuSkylistener, u"mnuZavrit"_s, u"&Zavřít"_s, Qt::CTRL | Qt::Key_X, [this] { close(); });

    // The tray icon's menu: never in the menu bar.
    m_mnuSysMenu = new QMenu(u"popup"_s, this);
    m_mnuSysMenu->setObjectName(u"mnuSysMenu"_s);
    add(m_mnuSysMenu, u"mnuST_Play"_s, u"&Spustit přehrávání"_s, {}, [this] { m_player->play(); });
    add(m_mnuSysMenu, u"mnuST_Stop"_s, u"&Zastavit přehrávání"_s, {}, [this] { m_player->stop(); });
    add(m_mnuSysMenu, u"mnuST_about"_s, u"O &programu..."_s, {}, [this] { showAboutDialog(); });
    m_mnuSysMenu->addSeparator()->setObjectName(u"mnu_ST_0"_s);
    add(m_mnuSysMenu, u"mnuST_Restore"_s, u"&Obnovit"_s, {}, [this] { mnuST_Restore_Click(); });
    add(m_mnuSysMenu, u"mnuST_End"_s, u"&Ukončit"_s, {}, [this] { mnuST_End_Click(); });
}

void frmMain::asxToolbar1_ButtonClick(const QString& key)
{
    if (key == u"Konec")
        close();
    else if (key == u"edit")
        showStationEditor();
    else if (key == u"URL")
        showOpenUrlDialog();
    else if (key == u"Volume") {
        m_player->setMute(true);
        showMuteButton(true);
    } else if (key == u"Nute") {
        m_player->setMute(false);
        showMuteButton(false);
    } else if (key == u"Stop")
        m_player->stop();
    else if (key == u"Play")
        playSelectedStation();
}

void frmMain::showMuteButton(bool muted)
{
    // Only one of the two is visible: mute while sound plays, unmute while muted.
    m_buttons[u"Volume"_s]->setVisible(!muted);
    m_buttons[u"Nute"_s]->setVisible(muted);
}

void frmMain::playSelectedStation()
{
    const QList<QTreeWidgetItem*> selected = m_listView->selectedItems();
    const QString url = selected.isEmpty() ? QString() : StationKey(selected.first());
    if (!url.isEmpty()) {
        m_chosenUrl = url;
        m_player->setURL(m_chosenUrl);
    }
    // With no station selected this resumes the current stream.
    m_player->play();
}

void frmMain::mnuVzdyNahore_Click()
{
    // The action toggles its own check mark before this runs.
    SetWindowOnTop(this, m_mnuVzdyNahore->isChecked());
}
