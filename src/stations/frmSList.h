#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>

class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
class SettingsStore;

// The list chooser: shows the station list files (*.ksl) of the application's folder and makes
// the picked one the current list, stores it in the settings at once (a failed write is told)
// and refills the main window's list. The load always runs from a short timer, never inside an
// event of the list itself, so that the chooser is not closed from within its list's handler.
// Created for one opening and shown modally; closing it any other way changes nothing.
class frmSList : public QDialog
{
    Q_OBJECT

public:
    // `exclaim` shows a message over the given window, the way the program's message boxes do.
    using Exclaim = std::function<void(QWidget* parent, const QString& text)>;

    frmSList(SettingsStore& settings, Exclaim exclaim, QString applicationFolder,
             std::function<void()> loadStationList, QWidget* parent = nullptr);
    ~frmSList() override;

    // The file name (without folder) of the entry picked; empty when none is.
    QString SelectedListFile() const { return m_selectedListFile; }

    // The station list files of a folder in name order, extension matched without regard to
    // letter case.
    static QStringList ListFiles(const QString& folder);

public Q_SLOTS:
    void Command1_Click(); // "Zavřít": closes without a change
    void Command2_Click(); // "Načíst vybraný": starts Timer1
    void Timer1_Timer();   // once: stores the picked list as the current one, loads it, closes

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void fillList();

    SettingsStore& m_settings;
    Exclaim m_exclaim;
    QString m_applicationFolder;
    std::function<void()> m_loadStationList;
    QString m_selectedListFile;
    QTreeWidget* m_listView1 = nullptr;
    QTimer* m_timer1 = nullptr;
};
