#pragma once

#include "settings/Presets.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QString>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace plenvoy {

/// "Presets" in the stamp settings: the current setup saved under a name, used again,
/// renamed or deleted. A preset is written only when the user saves, renames or deletes one.
/// Without Q_OBJECT: the class adds no signal, and its texts keep the context of the dialog
/// that they were first written in, so every translation still finds them.
class PresetsPanel final : public QGroupBox {
    Q_DECLARE_TR_FUNCTIONS(plenvoy::StampSettingsDialog)

public:
    /// `setup` is the setup to save, read after any question; `apply` sets a preset's
    /// choices as the user would; `confirm` asks a yes-or-no question before a preset is
    /// replaced or deleted, and unset, the panel asks in a box of its own, No the default.
    PresetsPanel(PresetStore &presets, std::function<Preset()> setup,
                 std::function<void(const Preset &)> apply,
                 std::function<bool(const QString &)> confirm, QWidget *parent);

private:
    void listPresets(const QString &selected);
    void presetChosen();
    void presetNameEdited();
    QString selectedPreset() const;
    bool confirmed(const QString &question);
    void showFault(const QString &text);
    void savePreset();
    void renamePreset();
    void deletePreset();
    void applySelectedPreset();

    PresetStore &m_presets;
    std::function<Preset()> m_setup;
    std::function<void(const Preset &)> m_apply;
    std::function<bool(const QString &)> m_confirm;
    QComboBox *m_presetList = nullptr;
    QLineEdit *m_presetName = nullptr;
    QLabel *m_presetFault = nullptr;
    QPushButton *m_applyPreset = nullptr;
    QPushButton *m_deletePreset = nullptr;
    QPushButton *m_savePreset = nullptr;
    QPushButton *m_renamePreset = nullptr;
};

} // namespace plenvoy
