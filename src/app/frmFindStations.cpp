#include "app/frmFindStations.h"

#include "app/FoundStationItem.h"
#include "app/Version.h"
#include "base/Player.h"
#include "base/UserPrompts.h"
#include "controls/Container3D.h"
#include "controls/z3DLine.h"
#include "directory/DirectoryClient.h"
#include "stations/DialogButton.h"
#include "stations/EscapeCloses.h"
#include "stations/ProgramSettings.h"
#include "stations/SettingsKeys.h"
#include "stations/StationAdd.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QLabel* makeLabel(QWidget* parent, const QString& caption, QWidget* buddy)
{
    auto* label = new QLabel(caption, parent);
    label->setBuddy(buddy);
    return label;
}

QString userAgent()
{
    return Version::ProductName() + u'/' + Version::Number();
}

} // namespace

frmFindStations::frmFindStations(Player& player, UserPrompts& prompts,
                                 const SettingsStore& settings,
                                 std::function<void()> loadStationList, QWidget* parent)
    : QDialog(parent)
    , m_player(player)
    , m_prompts(prompts)
    , m_loadStationList(std::move(loadStationList))
    , m_client(std::make_unique<DirectoryClient>(
          userAgent(), GetSetting(settings, SettingsKeys::DirectoryUrl, QString())))
{
    buildControls();
    new EscapeCloses(*this);
    showCountries({});

    connect(m_client.get(), &DirectoryClient::searchFinished, this, &frmFindStations::showResults);
    connect(m_client.get(), &DirectoryClient::searchFailed, this, &frmFindStations::setStatus);
    connect(m_client.get(), &DirectoryClient::countriesFinished, this,
            &frmFindStations::showCountries);
    connect(m_client.get(), &DirectoryClient::voteAnswered, this, &frmFindStations::showVote);
    connect(m_client.get(), &DirectoryClient::voteFailed, this,
            [this](const QString& uuid, const QString& message) {
                m_voting.remove(uuid);
                setStatus(message);
            });
}

frmFindStations::~frmFindStations() = default;

void frmFindStations::buildControls()
{
    setObjectName(u"frmFindStations"_s);
    setWindowTitle(u"Hledat rozhlasové stanice"_s);

    m_container3D1 = new Container3D(this);
    m_container3D1->setObjectName(u"Container3D1"_s);
    m_container3D1->setAccessibleName(u"Hledání"_s);
    m_txtName = new QLineEdit(m_container3D1);
    m_txtName->setObjectName(u"txtName"_s);
    m_cboCountry = new QComboBox(m_container3D1);
    m_cboCountry->setObjectName(u"cboCountry"_s);
    m_cboCountry->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_cboCountry->setMinimumContentsLength(16);
    m_txtTag = new QLineEdit(m_container3D1);
    m_txtTag->setObjectName(u"txtTag"_s);
    m_txtTag->setPlaceholderText(u"např. jazz"_s);
    m_chkBroken = new QCheckBox(u"Zo&brazit i nefunkční"_s, m_container3D1);
    m_chkBroken->setObjectName(u"chkBroken"_s);
    m_cmdSearch = new QPushButton(u"&Hledat"_s, m_container3D1);
    m_cmdSearch->setObjectName(u"cmdSearch"_s);
    // Enter in any field searches.
    m_cmdSearch->setDefault(true);

    auto* fields = new QGridLayout(m_container3D1);
    fields->addWidget(makeLabel(m_container3D1, u"&Název:"_s, m_txtName), 0, 0);
    fields->addWidget(m_txtName, 0, 1);
    fields->addWidget(makeLabel(m_container3D1, u"&Země:"_s, m_cboCountry), 0, 2);
    fields->addWidget(m_cboCountry, 0, 3);
    fields->addWidget(makeLabel(m_container3D1, u"Š&títek:"_s, m_txtTag), 1, 0);
    fields->addWidget(m_txtTag, 1, 1);
    fields->addWidget(m_chkBroken, 1, 2, 1, 2);
    fields->addWidget(m_cmdSearch, 0, 4, 2, 1);
    fields->setColumnStretch(1, 1);

    m_lstResults = new QTreeWidget(this);
    m_lstResults->setObjectName(u"lstResults"_s);
    m_lstResults->setAccessibleName(u"Nalezené stanice"_s);
    m_lstResults->setHeaderLabels(
        {u"Název"_s, u"Země"_s, u"Kodek"_s, u"Datový tok"_s, u"Oblíbenost"_s, u"Štítky"_s});
    m_lstResults->setRootIsDecorated(false);
    m_lstResults->setUniformRowHeights(true);
    m_lstResults->setAllColumnsShowFocus(true);
    using Column = FoundStationItem::Column;
    QHeaderView* header = m_lstResults->header();
    header->resizeSection(Column::Name, 200);
    header->resizeSection(Column::Country, 90);
    header->resizeSection(Column::Codec, 60);
    header->resizeSection(Column::Bitrate, 80);
    header->resizeSection(Column::Popularity, 80);
    // The numbers sort the largest first on the first click of their header.
    for (const Column column : {Column::Bitrate, Column::Popularity})
        m_lstResults->headerItem()->setData(column, Qt::InitialSortOrderRole, Qt::DescendingOrder);
    // The directory's order, the most played first, until the user clicks a header.
    header->setSortIndicator(-1, Qt::AscendingOrder);
    m_lstResults->setSortingEnabled(true);

    m_lblStatus = new QLabel(this);
    m_lblStatus->setObjectName(u"lblStatus"_s);
    m_lblStatus->setAccessibleName(u"Stav hledání"_s);
    // It shows the directory's station names: never markup.
    m_lblStatus->setTextFormat(Qt::PlainText);
    m_lblStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_z3DLine1 = new z3DLine(this);
    m_z3DLine1->setObjectName(u"z3DLine1"_s);

    auto* cmdPlay = makeButton(this, u"cmdPlay"_s, u"&Přehrát"_s);
    auto* cmdStop = makeButton(this, u"cmdStop"_s, u"Za&stavit"_s);
    auto* cmdAdd = makeButton(this, u"cmdAdd"_s, u"Přid&at do seznamu"_s);
    m_cmdVote = makeButton(this, u"cmdVote"_s, u"&Líbí se mi"_s);
    m_cmdVote->setAccessibleName(u"Líbí se mi"_s);
    auto* cmdClose = makeButton(this, u"cmdClose"_s, u"Za&vřít"_s);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(cmdPlay);
    bottom->addWidget(cmdStop);
    bottom->addWidget(cmdAdd);
    bottom->addWidget(m_cmdVote);
    bottom->addStretch(1);
    bottom->addWidget(cmdClose);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_container3D1);
    layout->addWidget(m_lstResults, 1);
    layout->addWidget(m_lblStatus);
    layout->addWidget(m_z3DLine1);
    layout->addLayout(bottom);
    resize(720, 440);

    connect(m_cmdSearch, &QPushButton::clicked, this, &frmFindStations::cmdSearch_Click);
    connect(cmdPlay, &QPushButton::clicked, this, &frmFindStations::cmdPlay_Click);
    connect(cmdStop, &QPushButton::clicked, this, &frmFindStations::cmdStop_Click);
    connect(cmdAdd, &QPushButton::clicked, this, &frmFindStations::cmdAdd_Click);
    connect(m_cmdVote, &QPushButton::clicked, this, &frmFindStations::cmdVote_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_lstResults, &QTreeWidget::itemDoubleClicked, this, &frmFindStations::cmdPlay_Click);
    connect(m_lstResults, &QTreeWidget::currentItemChanged, this, &frmFindStations::enableVote);
    enableVote();
    m_lstResults->installEventFilter(this);
}

bool frmFindStations::eventFilter(QObject* watched, QEvent* event)
{
    // Enter on a result plays it, as a double click does; the dialog's default button would
    // search again instead.
    if (watched == m_lstResults && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            cmdPlay_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmFindStations::cmdSearch_Click()
{
    m_lstResults->clear();
    enableVote();
    setStatus(u"Hledám…"_s);
    m_client->search({.name = m_txtName->text(),
                      .countryCode = m_cboCountry->currentData().toString(),
                      .tag = m_txtTag->text(),
                      .includeBroken = m_chkBroken->isChecked()});
    // The country list is asked for once, with the first search: nothing goes to the
    // directory before the user searches.
    if (!std::exchange(m_countriesAsked, true))
        m_client->fetchCountries();
}

void frmFindStations::showResults(const QList<Directory::Station>& stations)
{
    m_lstResults->clear();
    QList<QTreeWidgetItem*> items;
    for (const Directory::Station& s : stations) {
        auto* item = new FoundStationItem(s);
        // As rich text that reads as the address: the tip guesses markup only from a "<", so
        // an escaped "&" alone would show as "&amp;".
        item->setToolTip(FoundStationItem::Name, Qt::convertFromPlainText(s.streamUrl()));
        if (!s.lastCheckOk) {
            for (int column = 0; column < item->columnCount(); ++column)
                item->setForeground(column, palette().brush(QPalette::Disabled, QPalette::Text));
        }
        items.append(item);
    }
    // Filled unsorted: with sorting on, Qt inserts the rows in reverse and leaves the order to
    // the sort, which keeps it so when the user has sorted nothing.
    m_lstResults->setSortingEnabled(false);
    m_lstResults->addTopLevelItems(items);
    m_lstResults->setSortingEnabled(true);
    // The first row in the order shown, which is the user's once a header was clicked.
    m_lstResults->setCurrentItem(m_lstResults->topLevelItem(0));
    enableVote();
    setStatus(Directory::FoundText(stations.size()));
}

void frmFindStations::showCountries(const QList<Directory::Country>& countries)
{
    const QString current = m_cboCountry->currentData().toString();
    const bool firstFill = m_cboCountry->count() == 0;
    const QSignalBlocker blocker(m_cboCountry);
    m_cboCountry->clear();
    for (const Directory::CountryChoice& choice :
         Directory::CountryChoices(countries, QLocale::system()))
        m_cboCountry->addItem(choice.text, choice.code);
    m_cboCountry->setCurrentIndex(firstFill ? 0 : std::max(0, m_cboCountry->findData(current)));
}

void frmFindStations::setStatus(const QString& text)
{
    m_lblStatus->setText(text);
}

const Directory::Station* frmFindStations::chosen() const
{
    return FoundStationItem::stationOf(m_lstResults->currentItem());
}

void frmFindStations::enableVote()
{
    const Directory::Station* station = chosen();
    m_cmdVote->setEnabled(station && !station->uuid.isEmpty());
}

void frmFindStations::cmdPlay_Click()
{
    const Directory::Station* station = chosen();
    if (!station)
        return;
    m_player.setURL(station->streamUrl());
    m_player.play();
    m_client->click(station->uuid);
}

void frmFindStations::cmdStop_Click()
{
    m_player.stop();
}

void frmFindStations::cmdAdd_Click()
{
    const Directory::Station* station = chosen();
    if (!station)
        return;
    const StationRecord record{
        .name = station->name, .url = station->streamUrl(), .colour = u"0"_s, .visible = true};
    if (const auto problem = AddCheckedStation(record)) {
        m_prompts.Exclamation(this, problem->message);
        return;
    }
    m_client->click(station->uuid);
    if (m_loadStationList)
        m_loadStationList();
    setStatus(u"Stanice „%1“ byla přidána do seznamu."_s.arg(record.name));
}

void frmFindStations::cmdVote_Click()
{
    const Directory::Station* station = chosen();
    if (!station || station->uuid.isEmpty())
        return;
    if (!m_client->vote(station->uuid)) {
        setStatus(
            u"Pro stanici %1 jste už hlasovali, zkuste to znovu za 10 minut."_s.arg(station->name));
        return;
    }
    m_voting.insert(station->uuid, station->name);
}

void frmFindStations::showVote(const QString& uuid, bool accepted, const QString& message)
{
    const QString name = m_voting.take(uuid);
    if (accepted)
        setStatus(u"Hlas pro stanici %1 byl odeslán."_s.arg(name));
    else if (message.isEmpty())
        setStatus(u"Adresář hlas nepřijal."_s);
    else
        setStatus(u"Adresář hlas nepřijal: %1"_s.arg(message));
}
