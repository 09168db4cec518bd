#pragma once

#include <QColor>
#include <QDialog>
#include <QString>

#include <functional>

class Container3D;
class Player;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class UserPrompts;
class z3DLine;

// The station editor: adds, changes, deletes and test-plays the stations of the current list
// and creates new, empty list files. Every change goes straight to the file; the main window's
// list is refilled (through `loadStationList`) when the editor closes. Test play uses the main
// window's player. Created for one opening and shown modally.
class frmEdit : public QDialog
{
    Q_OBJECT

public:
    frmEdit(Player& player, UserPrompts& prompts, std::function<void()> loadStationList,
            QWidget* parent = nullptr);
    ~frmEdit() override;

    // The URL of the station the fields show; empty while they describe a new station.
    QString SelectedStationUrl() const { return m_selectedStationUrl; }

    void done(int result) override;

public Q_SLOTS:
    void ListView1_ItemClick(QTreeWidgetItem* item);
    void Command1_Click(); // "Uložit": saves the fields as a new or the selected station
    void Command2_Click(); // "Zavřít": closes the editor
    void Command3_Click(); // "Smazat": deletes the selected station after a question
    void Command4_Click(); // the colour swatch: opens the colour dialog
    void Command5_Click(); // "Nová": empties the fields for a new station
    void cmdPlay_Click();
    void cmdStop_Click();
    void cmdNewFile_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void LoadEditorList();
    void setSwatch(quint32 colour);
    // Shows a stored name or URL whole: the length limit holds only for what the user types.
    static void showStoredValue(QLineEdit& field, const QString& text);
    // Whether the name field still holds the selected station's name exactly as stored.
    bool nameAsStored() const;
    // Trims the name the user typed; a stored name the user left alone stays as it is.
    void trimTypedName();
    // Shows a failed write's message; true when the write succeeded.
    bool written(bool ok, const QString& errorMessage);

    Player& m_player;
    UserPrompts& m_prompts;
    std::function<void()> m_loadStationList;

    QString m_selectedStationUrl;
    // The selected station's name and colour text as the file holds them; the colour text is
    // null once the colour dialog has set the swatch.
    QString m_storedName;
    QString m_storedColour;
    quint32 m_swatchColour = 0;
    // What the colour dialog last returned in this opening; a cancelled dialog leaves it.
    QColor m_dialogColour = Qt::black;

    Container3D* m_container3D1 = nullptr;
    z3DLine* m_z3DLine1 = nullptr;
    QLineEdit* m_text1 = nullptr;      // "Název stanice:": the station's name
    QLineEdit* m_text2 = nullptr;      // "URL stanice:": the station's address
    QPushButton* m_command4 = nullptr; // the swatch showing the station's colour
    QPushButton* m_check1 = nullptr;   // the bold toggle (picture only, tip "Tučné písmo")
    QCheckBox* m_check2 = nullptr;     // "Zobrazovat": the visible flag
    QTreeWidget* m_listView1 = nullptr;
    QLabel* m_lblCount = nullptr;
};
