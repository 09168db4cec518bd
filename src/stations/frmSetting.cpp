#include "stations/frmSetting.h"

#include "base/AppFolder.h"
#include "base/ProcessState.h"
#include "base/UserPrompts.h"
#include "controls/z3DLine.h"
#include "stations/DialogButton.h"
#include "stations/EscapeCloses.h"
#include "stations/ProgramSettings.h"
#include "stations/SettingsKeys.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

QCheckBox* makeCheckBox(QWidget* parent, const QString& name, const QString& caption)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    // A greyed box becomes an ordinary two-state box once the user clicks it.
    QObject::connect(box, &QCheckBox::clicked, box, [box] { box->setTristate(false); });
    return box;
}

} // namespace

frmSetting::frmSetting(SettingsStore& settings, UserPrompts& prompts, QString applicationFolder,
                       std::function<void()> loadStationList, QWidget* parent)
    : QDialog(parent)
    , m_settings(settings)
    , m_prompts(prompts)
    , m_applicationFolder(std::move(applicationFolder))
    , m_loadStationList(std::move(loadStationList))
{
    buildControls();
    new EscapeCloses(*this);
    Form_Load();
}

frmSetting::~frmSetting() = default;

Qt::CheckState frmSetting::CheckStateOf(const QString& stored)
{
    const std::optional<double> number = ParseSettingNumber(stored);
    if (!number)
        return Qt::Unchecked;
    // Halves round to even, as the stored texts were always converted.
    const double value = std::nearbyint(*number);
    if (value == 1)
        return Qt::Checked;
    if (value == 2)
        return Qt::PartiallyChecked;
    return Qt::Unchecked;
}

QString frmSetting::StoredCheckState(Qt::CheckState state)
{
    switch (state) {
    case Qt::Checked:
        return u"1"_s;
    case Qt::PartiallyChecked:
        return u"2"_s;
    default:
        return u"0"_s;
    }
}

void frmSetting::buildControls()
{
    setObjectName(u"frmSetting"_s);
    setWindowTitle(u"Nastavení"_s);

    auto* lblLabel2 = new QLabel(u"Soubor se seznamem stanic:"_s, this);
    lblLabel2->setObjectName(u"lblLabel2"_s);
    m_txtText1 = new QLineEdit(this);
    m_txtText1->setObjectName(u"txtText1"_s);
    m_txtText1->setReadOnly(true);
    lblLabel2->setBuddy(m_txtText1); // its name for assistive tools
    QPalette palette = m_txtText1->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    m_txtText1->setPalette(palette);
    auto* cmd = makeButton(this, u"cmd"_s, u"..."_s);
    cmd->setFixedWidth(cmd->sizeHint().height() * 3 / 2);
    cmd->setToolTip(u"Vybrat soubor se seznamem stanic"_s);
    cmd->setAccessibleName(cmd->toolTip());

    m_check1 = makeCheckBox(this, u"Check1"_s, u"&Minimalizovat program do oznamovací oblasti"_s);
    m_check2 = makeCheckBox(this, u"Check2"_s, u"Zobrazit &animovanou ikonu během přehrávání"_s);
    m_z3DLine1 = new z3DLine(this);
    m_z3DLine1->setObjectName(u"z3DLine1"_s);
    auto* command2 = makeButton(this, u"Command2"_s, u"&Uložit a zavřít"_s);
    auto* command1 = makeButton(this, u"Command1"_s, u"&Zavřít"_s);

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(m_txtText1, 1);
    pathRow->addWidget(cmd);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(command2);
    buttons->addWidget(command1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblLabel2);
    layout->addLayout(pathRow);
    layout->addSpacing(6);
    layout->addWidget(m_check1);
    layout->addWidget(m_check2);
    layout->addStretch(1);
    layout->addWidget(m_z3DLine1);
    layout->addLayout(buttons);
    resize(440, 200);

    connect(cmd, &QPushButton::clicked, this, &frmSetting::cmd_Click);
    connect(command1, &QPushButton::clicked, this, &frmSetting::Command1_Click);
    connect(command2, &QPushButton::clicked, this, &frmSetting::Command2_Click);
}

void frmSetting::Form_Load()
{
    m_check1->setCheckState(Qt::Unchecked);
    m_check2->setCheckState(Qt::Unchecked);
    const auto apply = [](QCheckBox* box, const QString& stored) {
        const Qt::CheckState state = CheckStateOf(stored);
        box->setTristate(state == Qt::PartiallyChecked);
        box->setCheckState(state);
    };
    apply(m_check1, GetSetting(m_settings, SettingsKeys::MinTray, SettingsKeys::FlagDefault));
    apply(m_check2, GetSetting(m_settings, SettingsKeys::AniIco, SettingsKeys::FlagDefault));
    m_txtText1->setText(GetSetting(m_settings, SettingsKeys::StationFile,
                                   AddTrailingBackslash(m_applicationFolder) +
                                       SettingsKeys::SettingsDialogListName));
}

void frmSetting::done(int result)
{
    QDialog::done(result);
    if (m_loadStationList)
        m_loadStationList();
}

void frmSetting::cmd_Click()
{
    const QString path = m_prompts.OpenFileName(this, u"Otevřít seznam rozhlasových stanic"_s,
                                                u"Seznam stanic skylistener (*.ksl)|*.ksl"_s);
    if (!path.isEmpty())
        m_txtText1->setText(path);
}

void frmSetting::Command1_Click()
{
    reject();
}

void frmSetting::Command2_Click()
{
    setMinimizeToTray(m_check1->checkState() == Qt::Checked);
    SaveSetting(m_settings, SettingsKeys::MinTray, StoredCheckState(m_check1->checkState()));
    setAnimateTrayIcon(m_check2->checkState() == Qt::Checked);
    SaveSetting(m_settings, SettingsKeys::AniIco, StoredCheckState(m_check2->checkState()));
    SaveSetting(m_settings, SettingsKeys::StationFile, m_txtText1->text());
    // On disk before the dialog closes, where a second running copy sees them; a failed write
    // is told, and the values still hold for this run.
    if (QString error; !WriteSettingsNow(m_settings, &error))
        m_prompts.Exclamation(this, error);
    setStationFilePath(m_txtText1->text());
    accept();
}
