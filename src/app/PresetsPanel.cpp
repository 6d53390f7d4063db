#include "PresetsPanel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>

namespace plenvoy {

PresetsPanel::PresetsPanel(PresetStore &presets, std::function<Preset()> setup,
                           std::function<void(const Preset &)> apply,
                           std::function<bool(const QString &)> confirm, QWidget *parent)
    : QGroupBox(tr("Presets"), parent)
    , m_presets(presets)
    , m_setup(std::move(setup))
    , m_apply(std::move(apply))
    , m_confirm(std::move(confirm)) {
    setObjectName(QStringLiteral("Presets"));
    auto *grid = new QGridLayout(this);
    auto *listLabel = new QLabel(tr("Pr&eset:"), this);
    m_presetList = new QComboBox(this);
    m_presetList->setObjectName(QStringLiteral("PresetList"));
    m_presetList->setAccessibleName(tr("Saved presets"));
    m_presetList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_presetList->setMinimumContentsLength(16);
    listLabel->setBuddy(m_presetList);
    m_applyPreset = new QPushButton(tr("A&pply"), this);
    m_applyPreset->setObjectName(QStringLiteral("ApplyPreset"));
    m_applyPreset->setAccessibleName(tr("Apply the preset"));
    m_deletePreset = new QPushButton(tr("&Delete"), this);
    m_deletePreset->setObjectName(QStringLiteral("DeletePreset"));
    m_deletePreset->setAccessibleName(tr("Delete the preset"));
    auto *nameLabel = new QLabel(tr("Preset &name:"), this);
    m_presetName = new QLineEdit(this);
    m_presetName->setObjectName(QStringLiteral("PresetName"));
    m_presetName->setAccessibleName(tr("Preset name"));
    m_presetName->setMaxLength(kLongestPresetName * 2);
    nameLabel->setBuddy(m_presetName);
    m_savePreset = new QPushButton(tr("&Save"), this);
    m_savePreset->setObjectName(QStringLiteral("SavePreset"));
    m_savePreset->setAccessibleName(tr("Save the current setup as a preset"));
    m_renamePreset = new QPushButton(tr("&Rename"), this);
    m_renamePreset->setObjectName(QStringLiteral("RenamePreset"));
    m_renamePreset->setAccessibleName(tr("Rename the preset"));
    m_presetFault = new QLabel(this);
    m_presetFault->setObjectName(QStringLiteral("PresetFault"));
    m_presetFault->setTextFormat(Qt::PlainText);
    m_presetFault->setWordWrap(true);
    m_presetFault->hide();
    for (QPushButton *button : {m_applyPreset, m_deletePreset, m_savePreset, m_renamePreset})
        button->setAutoDefault(false);
    grid->addWidget(listLabel, 0, 0);
    grid->addWidget(m_presetList, 0, 1);
    grid->addWidget(m_applyPreset, 0, 2);
    grid->addWidget(m_deletePreset, 0, 3);
    grid->addWidget(nameLabel, 1, 0);
    grid->addWidget(m_presetName, 1, 1);
    grid->addWidget(m_savePreset, 1, 2);
    grid->addWidget(m_renamePreset, 1, 3);
    grid->addWidget(m_presetFault, 2, 0, 1, 4);
    grid->setColumnStretch(1, 1);

    connect(m_presetList, &QComboBox::currentIndexChanged, this, &PresetsPanel::presetChosen);
    connect(m_presetName, &QLineEdit::textChanged, this, &PresetsPanel::presetNameEdited);
    connect(m_presetName, &QLineEdit::returnPressed, this, &PresetsPanel::savePreset);
    connect(m_applyPreset, &QPushButton::clicked, this, &PresetsPanel::applySelectedPreset);
    connect(m_deletePreset, &QPushButton::clicked, this, &PresetsPanel::deletePreset);
    connect(m_savePreset, &QPushButton::clicked, this, &PresetsPanel::savePreset);
    connect(m_renamePreset, &QPushButton::clicked, this, &PresetsPanel::renamePreset);
    listPresets(QString());
}

void PresetsPanel::listPresets(const QString &selected) {
    const QSignalBlocker blocker(m_presetList);
    m_presetList->clear();
    const QStringList names = m_presets.names();
    for (const QString &name : names)
        m_presetList->addItem(name);
    m_presetList->setCurrentIndex(int(names.indexOf(selected)));
    presetChosen();
}

QString PresetsPanel::selectedPreset() const {
    return m_presetList->currentIndex() >= 0 ? m_presetList->currentText() : QString();
}

void PresetsPanel::presetChosen() {
    const QString selected = selectedPreset();
    if (!selected.isEmpty())
        m_presetName->setText(selected);
    presetNameEdited();
}

void PresetsPanel::presetNameEdited() {
    const QString name = m_presetName->text();
    const QString selected = selectedPreset();
    const std::optional<PresetNameFault> fault = presetNameFault(name);
    QString shown;
    if (fault == PresetNameFault::TooLong)
        shown = tr("A preset name holds at most %1 characters.").arg(kLongestPresetName);
    else if (fault == PresetNameFault::Separator)
        shown = tr("A preset name cannot hold \"/\" or \"\\\".");
    else if (fault == PresetNameFault::ControlCharacter)
        shown = tr("A preset name cannot hold a control character (a tab or a line break).");
    m_presetFault->setText(shown);
    m_presetFault->setVisible(!shown.isEmpty());
    m_applyPreset->setEnabled(!selected.isEmpty());
    m_deletePreset->setEnabled(!selected.isEmpty());
    m_savePreset->setEnabled(!fault);
    m_renamePreset->setEnabled(!fault && !selected.isEmpty() && name != selected);
}

bool PresetsPanel::confirmed(const QString &question) {
    if (m_confirm)
        return m_confirm(question);
    return QMessageBox::question(window(), window()->windowTitle(), question,
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

void PresetsPanel::showFault(const QString &text) {
    m_presetFault->setText(text);
    m_presetFault->show();
}

void PresetsPanel::savePreset() {
    const QString name = m_presetName->text();
    if (presetNameFault(name))
        return;
    // A saved setup is replaced only when the user says so.
    if (m_presets.names().contains(name) && !confirmed(tr("Replace the preset \"%1\"?").arg(name)))
        return;
    if (!m_presets.save(name, m_setup ? m_setup() : Preset())) {
        showFault(tr("The preset could not be saved: the settings file cannot be written."));
        return;
    }
    listPresets(name);
}

void PresetsPanel::renamePreset() {
    const QString selected = selectedPreset();
    const QString name = m_presetName->text();
    if (selected.isEmpty() || name == selected || presetNameFault(name))
        return;
    if (m_presets.preset(name) || m_presets.names().contains(name)) {
        showFault(tr("A preset named \"%1\" exists already.").arg(name));
        return;
    }
    if (!m_presets.rename(selected, name)) {
        showFault(tr("The preset could not be renamed: the settings file cannot be written."));
        return;
    }
    listPresets(name);
}

void PresetsPanel::deletePreset() {
    const QString selected = selectedPreset();
    if (selected.isEmpty() || !confirmed(tr("Delete the preset \"%1\"?").arg(selected)))
        return;
    const int row = m_presetList->currentIndex();
    if (!m_presets.remove(selected)) {
        showFault(tr("The preset could not be deleted: the settings file cannot be written."));
        return;
    }
    m_presetName->clear();
    listPresets(QString());
    // The next preset is at hand for the keyboard.
    if (m_presetList->count() > 0)
        m_presetList->setCurrentIndex(qMin(row, m_presetList->count() - 1));
}

void PresetsPanel::applySelectedPreset() {
    if (const std::optional<Preset> preset = m_presets.preset(selectedPreset()))
        if (m_apply)
            m_apply(*preset);
}

} // namespace plenvoy
