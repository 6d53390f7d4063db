#pragma once

#include "naming/RunChoices.h"
#include "settings/Presets.h"
#include "settings/StoredChoices.h"

#include <QDateTime>
#include <QDialog>
#include <QString>

#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QSpinBox;
class QTimeEdit;
class QLabel;
class QLineEdit;

namespace plenvoy {

class SettingsAccess;

/// What of a preset the window holds: the option, n and the output folder.
struct PresetWindow {
    /// The window's option, n (as last answered) and output folder as they stand.
    std::function<Preset()> current;
    /// Sets them as if the user had chosen each; what the preset does not hold stays.
    std::function<void(const Preset &)> apply;
    /// Asks a yes-or-no question before a preset is replaced or deleted; unset, the dialog
    /// asks in a box of its own, No the default.
    std::function<bool(const QString &)> confirm;
};

/// "Stamp Settings": the stamp's form and the creation time of photos and videos. Each
/// change is stored at once; the example line shows the new name of the example file under
/// the window's option (n = 3 for the "after nth" options) with the choices as they stand.
/// The own pattern is checked as it is typed, the reason of a refusal shown under it; it is
/// stored when its field loses the focus or the dialog closes, and only when it can be used.
/// The shift of taken times moves every moment read from a photo's or video's metadata.
class StampSettingsDialog final : public QDialog {
    Q_OBJECT

public:
    /// `exampleFile` is the first listed file, or empty for the fixed example.
    StampSettingsDialog(SettingsAccess &settings, const QString &exampleFile,
                        const QString &optionText, QWidget *parent = nullptr);
    /// With "Presets": the current setup saved under a name, used again, renamed or deleted.
    StampSettingsDialog(SettingsAccess &settings, const QString &exampleFile,
                        const QString &optionText, PresetStore &presets, PresetWindow window,
                        QWidget *parent = nullptr);

    /// The choices as the dialog shows them.
    RunChoices style() const;
    /// The example line's new name.
    QString exampleName() const;

    /// The moment the fixed example is stamped with, as clock and as file time.
    static QDateTime exampleMoment();

    void done(int result) override;

    /// Sets every choice of the preset as if the user had made it.
    void applyPreset(const Preset &preset);

private:
    StampSettingsDialog(SettingsAccess &settings, const QString &exampleFile,
                        const QString &optionText, PresetStore *presets, PresetWindow window,
                        QWidget *parent);
    QGroupBox *buildForms(const RunChoices &stored);
    QGroupBox *buildCreation(const RunChoices &stored);
    /// Each choice is written when the user changes it, never on opening.
    void storeChoicesWhenChanged();
    void writeTakenShift();
    void updateExample();
    void patternEdited();
    void storePattern();
    QString patternFaultShown(const QString &pattern) const;
    qint64 takenShift() const;
    void enableShift();

    SettingsAccess &m_settings;
    QString m_exampleFile;
    QString m_optionText;
    QButtonGroup *m_forms = nullptr;
    QButtonGroup *m_creation = nullptr;
    QButtonGroup *m_layouts = nullptr;
    QCheckBox *m_skipCopied = nullptr;
    QLineEdit *m_pattern = nullptr;
    QLabel *m_patternFault = nullptr;
    QComboBox *m_shiftSign = nullptr;
    QSpinBox *m_shiftDays = nullptr;
    QTimeEdit *m_shiftTime = nullptr;
    /// The pattern in force: the stored one, or the field's while it can be used.
    QString m_patternInForce;
    QLabel *m_example = nullptr;
    PresetStore *m_presets = nullptr;
    PresetWindow m_window;
};

} // namespace plenvoy
