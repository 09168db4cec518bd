#include "stations/frmEdit.h"

#include "base/Player.h"
#include "base/ProcessState.h"
#include "base/UserPrompts.h"
#include "controls/Container3D.h"
#include "controls/OleColor.h"
#include "controls/ReadableItemDelegate.h"
#include "controls/z3DLine.h"
#include "stations/DialogButton.h"
#include "stations/EscapeCloses.h"
#include "stations/StationAdd.h"
#include "stations/StationFile.h"
#include "stations/StationList.h"
#include "stations/StationListView.h"
#include "stations/StationPictures.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// The most the user may type into the name and URL fields.
constexpr int MaxFieldLength = 250;

const QString NewListTitle = u"Nový soubor se seznamem stanic"_s;
const QString ListFilter = u"Seznam stanic skylistener (*.ksl)|*.ksl"_s;

// Leading and trailing spaces removed; other blanks stay.
QString trimSpaces(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == u' ')
        ++begin;
    while (end > begin && text.at(end - 1) == u' ')
        --end;
    return text.mid(begin, end - begin);
}

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& caption)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    return label;
}

} // namespace

frmEdit::frmEdit(Player& player, UserPrompts& prompts, std::function<void()> loadStationList,
                 QWidget* parent)
    : QDialog(parent)
    , m_player(player)
    , m_prompts(prompts)
    , m_loadStationList(std::move(loadStationList))
{
    buildControls();
    new EscapeCloses(*this);
    // Opening: the fields are empty, no station is selected.
    Command5_Click();
    LoadEditorList();
}

frmEdit::~frmEdit() = default;

void frmEdit::buildControls()
{
    setObjectName(u"frmEdit"_s);
    setWindowTitle(u"Editace rozhlasových stanic"_s);

    m_container3D1 = new Container3D(this);
    m_container3D1->setObjectName(u"Container3D1"_s);
    m_container3D1->setAccessibleName(u"Stanice"_s);

    m_text1 = new QLineEdit(m_container3D1);
    m_text1->setObjectName(u"Text1"_s);
    m_text1->setAccessibleName(u"Název stanice"_s);
    m_text1->installEventFilter(this);
    m_text2 = new QLineEdit(m_container3D1);
    m_text2->setObjectName(u"Text2"_s);
    m_text2->setAccessibleName(u"URL stanice"_s);
    m_text2->installEventFilter(this);

    auto* cmdPlay = makeButton(m_container3D1, u"cmdPlay"_s, u"▶"_s);
    cmdPlay->setToolTip(u"Přehrát zadanou URL"_s);
    cmdPlay->setAccessibleName(cmdPlay->toolTip());
    auto* cmdStop = makeButton(m_container3D1, u"cmdStop"_s, u"■"_s);
    cmdStop->setToolTip(u"Zastavit přehrávání"_s);
    cmdStop->setAccessibleName(cmdStop->toolTip());

    m_command4 = makeButton(m_container3D1, u"Command4"_s, QString());
    m_command4->setFixedWidth(m_command4->sizeHint().height() * 2);
    m_command4->setAccessibleName(u"Barva písma"_s);
    m_check1 = makeButton(m_container3D1, u"Check1"_s, QString());
    m_check1->setCheckable(true);
    m_check1->setIcon(BoldTypeIcon());
    m_check1->setToolTip(u"Tučné písmo"_s);
    m_check1->setAccessibleName(m_check1->toolTip());
    m_check2 = new QCheckBox(u"Zo&brazovat"_s, m_container3D1);
    m_check2->setObjectName(u"Check2"_s);

    auto* command5 = makeButton(m_container3D1, u"Command5"_s, u"&Nová"_s);
    auto* command1 = makeButton(m_container3D1, u"Command1"_s, u"&Uložit"_s);
    auto* command3 = makeButton(m_container3D1, u"Command3"_s, u"&Smazat"_s);

    auto* fields = new QGridLayout(m_container3D1);
    fields->addWidget(makeLabel(m_container3D1, u"Label2"_s, u"Název stanice:"_s), 0, 0);
    fields->addWidget(m_text1, 0, 1, 1, 3);
    fields->addWidget(makeLabel(m_container3D1, u"Label3"_s, u"URL stanice:"_s), 1, 0);
    fields->addWidget(m_text2, 1, 1);
    fields->addWidget(cmdPlay, 1, 2);
    fields->addWidget(cmdStop, 1, 3);
    auto* fontRow = new QHBoxLayout;
    fontRow->addWidget(m_command4);
    fontRow->addWidget(m_check1);
    fontRow->addSpacing(8);
    fontRow->addWidget(m_check2);
    fontRow->addStretch(1);
    fontRow->addWidget(command5);
    fontRow->addWidget(command1);
    fontRow->addWidget(command3);
    fields->addWidget(makeLabel(m_container3D1, u"Label1"_s, u"Pismo:"_s), 2, 0);
    fields->addLayout(fontRow, 2, 1, 1, 3);
    fields->setColumnStretch(1, 1);

    m_listView1 = new QTreeWidget(this);
    m_listView1->setObjectName(u"ListView1"_s);
    m_listView1->setAccessibleName(u"Stanice"_s);
    m_listView1->setColumnCount(2);
    m_listView1->setHeaderLabels({u"Název stanice"_s, u"URL"_s});
    m_listView1->setItemDelegate(new ReadableItemDelegate(*m_listView1));
    m_listView1->setRootIsDecorated(false);
    m_listView1->setUniformRowHeights(true);
    m_listView1->setAllColumnsShowFocus(true);
    m_listView1->header()->resizeSection(0, 200);

    m_lblCount = makeLabel(this, u"lblCount"_s, QString());
    m_z3DLine1 = new z3DLine(this);
    m_z3DLine1->setObjectName(u"z3DLine1"_s);
    auto* cmdNewFile = makeButton(this, u"cmdNewFile"_s, u"&Vytvořit nový seznam"_s);
    auto* command2 = makeButton(this, u"Command2"_s, u"&Zavřít"_s);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(cmdNewFile);
    bottom->addStretch(1);
    bottom->addWidget(command2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_container3D1);
    layout->addWidget(m_listView1, 1);
    layout->addWidget(m_lblCount);
    layout->addWidget(m_z3DLine1);
    layout->addLayout(bottom);
    resize(560, 420);

    connect(m_listView1, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { ListView1_ItemClick(item); });
    connect(command1, &QPushButton::clicked, this, &frmEdit::Command1_Click);
    connect(command2, &QPushButton::clicked, this, &frmEdit::Command2_Click);
    connect(command3, &QPushButton::clicked, this, &frmEdit::Command3_Click);
    connect(m_command4, &QPushButton::clicked, this, &frmEdit::Command4_Click);
    connect(command5, &QPushButton::clicked, this, &frmEdit::Command5_Click);
    connect(cmdPlay, &QPushButton::clicked, this, &frmEdit::cmdPlay_Click);
    connect(cmdStop, &QPushButton::clicked, this, &frmEdit::cmdStop_Click);
    connect(cmdNewFile, &QPushButton::clicked, this, &frmEdit::cmdNewFile_Click);
}

void frmEdit::done(int result)
{
    QDialog::done(result);
    if (m_loadStationList)
        m_loadStationList();
}

bool frmEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_text1 || watched == m_text2) {
        auto* field = static_cast<QLineEdit*>(watched);
        if (event->type() == QEvent::FocusIn) {
            // After the mouse press that may have given the focus has placed the cursor.
            QTimer::singleShot(0, field, [field] { field->selectAll(); });
        } else if (event->type() == QEvent::FocusOut && field == m_text1) {
            trimTypedName();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmEdit::LoadEditorList()
{
    ::LoadEditorList(*m_listView1, *m_lblCount, VisibleStationIcon(), HiddenStationIcon());
}

void frmEdit::setSwatch(quint32 colour)
{
    m_swatchColour = colour;
    m_command4->setProperty("BackColor", colour);
    const QColor shown = OleColorToQColor(colour);
    m_command4->setStyleSheet(
        u"QPushButton { background-color: %1; border: 1px solid palette(dark); }"_s.arg(
            shown.name()));
}

void frmEdit::showStoredValue(QLineEdit& field, const QString& text)
{
    field.setMaxLength(static_cast<int>(std::max<qsizetype>(MaxFieldLength, text.size())));
    field.setText(text);
}

bool frmEdit::nameAsStored() const
{
    return !m_selectedStationUrl.isEmpty() && m_text1->text() == m_storedName;
}

void frmEdit::trimTypedName()
{
    if (nameAsStored())
        return;
    const QString trimmed = trimSpaces(m_text1->text());
    if (trimmed != m_text1->text())
        m_text1->setText(trimmed);
}

bool frmEdit::written(bool ok, const QString& errorMessage)
{
    if (!ok)
        m_prompts.Exclamation(this, errorMessage);
    return ok;
}

void frmEdit::ListView1_ItemClick(QTreeWidgetItem* item)
{
    if (!item)
        return;
    m_selectedStationUrl = StationKey(item);
    m_storedName = item->text(0);
    showStoredValue(*m_text1, m_storedName);
    showStoredValue(*m_text2, m_selectedStationUrl);
    m_storedColour = item->data(0, StationColourRole).toString();
    setSwatch(StationColourValue(m_storedColour));
    m_check1->setChecked(item->font(0).bold());
    m_check2->setChecked(item->data(0, StationVisibleRole).toBool());
}

void frmEdit::Command1_Click()
{
    // Every way of saving gets here (click, access key, Space), not only those that move the
    // focus out of the name field.
    trimTypedName();
    const QString name = m_text1->text();
    const QString url = m_text2->text();
    if (trimSpaces(name).isEmpty()) {
        m_prompts.Exclamation(this, u"Název stanice musí obsahovat minimálně jeden znak!"_s);
        m_text1->setFocus();
        return;
    }
    if (url.isEmpty()) {
        m_prompts.Exclamation(this, u"URL stanice musí obsahovat minimálně jeden znak!"_s);
        m_text2->setFocus();
        return;
    }
    // A colour the user did not change goes back as it was stored: the swatch cannot show a
    // system colour or bits above blue, and rebuilding the number from it would lose them.
    const bool colourKept = !m_storedColour.isNull() && !m_storedColour.contains(u'<');
    const StationRecord station{.name = name,
                                .url = url,
                                .colour =
                                    colourKept ? m_storedColour : QString::number(m_swatchColour),
                                .visible = m_check2->isChecked(),
                                .bold = m_check1->isChecked()};
    const auto refused = [this](const StationAddProblem& problem) {
        m_prompts.Exclamation(this, problem.message);
        if (problem.where == StationAddProblem::Name)
            m_text1->setFocus();
        else if (problem.where == StationAddProblem::Url)
            m_text2->setFocus();
    };
    // Text the file cannot hold would be stored wrongly or break the list.
    if (const auto problem = StationValuesProblem(station))
        return refused(*problem);

    const bool urlExists = StationExists(url);
    const bool urlKept = url.compare(m_selectedStationUrl, Qt::CaseInsensitive) == 0;
    // A changed URL that no station has yet renames the station in place; a station gone from
    // the current file (a new list was created meanwhile) is added again.
    if (!m_selectedStationUrl.isEmpty() && (urlKept || !urlExists) &&
        (urlExists || StationExists(m_selectedStationUrl))) {
        QString error;
        if (!written(ReplaceStation(m_selectedStationUrl, station, &error), error))
            return;
    } else if (const auto problem = AddCheckedStation(station)) {
        return refused(*problem);
    }
    LoadEditorList();
    Command5_Click();
}

void frmEdit::Command2_Click()
{
    reject();
}

void frmEdit::Command3_Click()
{
    if (trimSpaces(m_selectedStationUrl).isEmpty())
        return;
    if (!m_prompts.AskYesNo(this, u"Opravdu chcete smazat vybranou stanici?"_s))
        return;
    QString error;
    if (!written(DeleteStation(m_selectedStationUrl, &error), error))
        return;
    LoadEditorList();
    Command5_Click();
}

void frmEdit::Command4_Click()
{
    if (const std::optional<QColor> chosen = m_prompts.ChooseColor(this, m_dialogColour))
        m_dialogColour = *chosen;
    m_storedColour = QString();
    setSwatch(QColorToOleColor(m_dialogColour));
}

void frmEdit::Command5_Click()
{
    m_selectedStationUrl.clear();
    m_storedName.clear();
    m_storedColour = QString();
    m_text1->clear();
    m_text2->clear();
    m_text1->setMaxLength(MaxFieldLength);
    m_text2->setMaxLength(MaxFieldLength);
    setSwatch(0);
    m_check1->setChecked(false);
    m_check2->setChecked(true);
    m_text1->setFocus();
}

void frmEdit::cmdPlay_Click()
{
    const QString url = m_text2->text();
    if (url.isEmpty())
        return;
    m_player.setURL(url);
    m_player.play();
}

void frmEdit::cmdStop_Click()
{
    m_player.stop();
}

void frmEdit::cmdNewFile_Click()
{
    const QString path = m_prompts.SaveFileName(this, NewListTitle, ListFilter);
    if (path.isEmpty())
        return;
    QString error;
    if (!written(WriteStationFile(QString(), path, &error), error))
        return;
    setStationFilePath(path);
    LoadEditorList();
}
