#include "StampSettingsDialog.h"

#include "PresetsPanel.h"

#include "core/Failure.h"
#include "core/PathHelpers.h"
#include "core/SettingsAccess.h"
#include "core/Translation.h"
#include "naming/ComposeNewName.h"
#include "naming/RegionalForms.h"
#include "naming/StampPattern.h"
#include "naming/TakenTime.h"
#include "settings/AppTexts.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace plenvoy {

namespace {

/// The n that the example uses for the "after nth character" options.
constexpr qint16 kExampleNth = 3;

/// Every file time of the fixed example is its one moment.
class ExampleFileTimes final : public FileTimeProvider {
public:
    std::optional<qint64> fileTime(const QString &, TimeSource) const override {
        const QDateTime utc = StampSettingsDialog::exampleMoment().toUTC();
        return (utc.toSecsSinceEpoch() + kSecondsFrom1601To1970) * kTicksPerSecond;
    }
};

/// The fixed example taken as a photo: its one moment is also when it was taken, shifted.
class ExampleTakenTimes final : public TakenMomentTimes {
public:
    ExampleTakenTimes(const FileTimeProvider &files, qint64 shiftSeconds)
        : TakenMomentTimes(files)
        , m_shift(shiftSeconds) {}

protected:
    std::optional<LocalMoment> taken(const QString &) const override {
        const QDateTime moment = StampSettingsDialog::exampleMoment().addSecs(m_shift);
        return LocalMoment{moment.date(), moment.time().msecsSinceStartOfDay() / 1000};
    }

private:
    qint64 m_shift;
};

QGroupBox *choiceBox(const QString &title, QButtonGroup *group, const QStringList &captions,
                     int checked, QWidget *parent) {
    auto *box = new QGroupBox(shownText("StampSettings", title), parent);
    auto *layout = new QVBoxLayout(box);
    for (int i = 0; i < captions.size(); ++i) {
        auto *button = new QRadioButton(shownText("StampSettings", captions.at(i)), box);
        button->setChecked(i == checked);
        group->addButton(button, i);
        layout->addWidget(button);
    }
    return box;
}

} // namespace

QDateTime StampSettingsDialog::exampleMoment() {
    return QDateTime(QDate(2026, 12, 7), QTime(14, 5, 9));
}

StampSettingsDialog::StampSettingsDialog(SettingsAccess &settings, const QString &exampleFile,
                                         const QString &optionText, QWidget *parent)
    : StampSettingsDialog(settings, exampleFile, optionText, nullptr, PresetWindow(), parent) {}

StampSettingsDialog::StampSettingsDialog(SettingsAccess &settings, const QString &exampleFile,
                                         const QString &optionText, PresetStore &presets,
                                         PresetWindow window, QWidget *parent)
    : StampSettingsDialog(settings, exampleFile, optionText, &presets, std::move(window), parent) {}

StampSettingsDialog::StampSettingsDialog(SettingsAccess &settings, const QString &exampleFile,
                                         const QString &optionText, PresetStore *presets,
                                         PresetWindow window, QWidget *parent)
    : QDialog(parent)
    , m_settings(settings)
    , m_exampleFile(exampleFile)
    , m_optionText(optionText)
    , m_presets(presets)
    , m_window(std::move(window)) {
    setObjectName(QStringLiteral("StampSettings"));
    setWindowTitle(shownText("StampSettings", kTitleStampSettings));
    const RunChoices stored = readRunChoices(settings);
    m_patternInForce = isUsablePattern(stored.pattern) ? stored.pattern : QString();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildForms(stored));
    layout->addWidget(buildCreation(stored));
    m_layouts = new QButtonGroup(this);
    layout->addWidget(choiceBox(tr("Where copies go"), m_layouts,
                                {tr("All directly in the output folder"),
                                 tr("In the folders they were added through"),
                                 tr("In year and day folders (2026/2026-12-07)")},
                                int(stored.layout), this));
    m_skipCopied = new QCheckBox(tr("Skip files copied before"), this);
    m_skipCopied->setChecked(stored.skipCopied);
    layout->addWidget(m_skipCopied);
    m_example = new QLabel(this);
    m_example->setObjectName(QStringLiteral("Example"));
    m_example->setTextFormat(Qt::PlainText);
    m_example->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_example);
    if (m_presets) {
        layout->addSpacing(layout->spacing());
        layout->addWidget(new PresetsPanel(
            *m_presets,
            [this] {
                storePattern();
                Preset preset = m_window.current ? m_window.current() : Preset();
                preset.style = style();
                return preset;
            },
            [this](const Preset &preset) { applyPreset(preset); }, m_window.confirm, this));
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    storeChoicesWhenChanged();
    enableShift();
    patternEdited();
}

QGroupBox *StampSettingsDialog::buildForms(const RunChoices &stored) {
    // A custom form whose pattern cannot be used still shows as chosen, with the reason.
    const bool customChosen = customFormStored(m_settings);
    m_forms = new QButtonGroup(this);
    QGroupBox *forms = choiceBox(
        kCaptionStampForm, m_forms,
        {kCaptionFormRegional, kCaptionFormSortable, kCaptionFormCompact, tr("Own pattern:")},
        customChosen ? int(StampForm::Custom) : int(stored.form), this);
    m_pattern = new QLineEdit(stored.pattern, forms);
    m_pattern->setObjectName(QStringLiteral("Pattern"));
    m_pattern->setPlaceholderText(QStringLiteral("%Y-%m-%d %Hh%M"));
    m_pattern->setAccessibleName(tr("Own pattern:").remove(QLatin1Char(':')).trimmed());
    m_patternFault = new QLabel(forms);
    m_patternFault->setObjectName(QStringLiteral("PatternFault"));
    m_patternFault->setTextFormat(Qt::PlainText);
    m_patternFault->setWordWrap(true);
    forms->layout()->addWidget(m_pattern);
    forms->layout()->addWidget(m_patternFault);
    return forms;
}

QGroupBox *StampSettingsDialog::buildCreation(const RunChoices &stored) {
    m_creation = new QButtonGroup(this);
    QGroupBox *creation =
        choiceBox(kCaptionCreationTime, m_creation, {kCaptionCreationFile, kCaptionCreationTaken},
                  int(stored.creation), this);
    // "+ 0 days 01:00:00": sign, days and a time of day make the shift.
    auto *shiftRow = new QHBoxLayout;
    auto *shiftLabel = new QLabel(tr("Shift taken times by"), creation);
    m_shiftSign = new QComboBox(creation);
    m_shiftSign->setObjectName(QStringLiteral("ShiftSign"));
    m_shiftSign->addItems({QStringLiteral("+"), QStringLiteral("-")});
    m_shiftSign->setCurrentIndex(stored.takenShift < 0 ? 1 : 0);
    shiftLabel->setBuddy(m_shiftSign);
    m_shiftSign->setAccessibleName(shiftLabel->text());
    const qint64 shiftSize = qAbs(stored.takenShift);
    m_shiftDays = new QSpinBox(creation);
    m_shiftDays->setObjectName(QStringLiteral("ShiftDays"));
    m_shiftDays->setRange(0, kLongestTakenShiftDays);
    m_shiftDays->setSuffix(tr(" days"));
    m_shiftDays->setValue(int(shiftSize / 86'400));
    m_shiftTime = new QTimeEdit(QTime(0, 0).addSecs(int(shiftSize % 86'400)), creation);
    m_shiftTime->setObjectName(QStringLiteral("ShiftTime"));
    m_shiftTime->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    // Read as "Shift taken times by", then the days and the time of the shift.
    m_shiftDays->setAccessibleName(shiftLabel->text());
    m_shiftTime->setAccessibleName(shiftLabel->text());
    shiftRow->addWidget(shiftLabel);
    shiftRow->addWidget(m_shiftSign);
    shiftRow->addWidget(m_shiftDays);
    shiftRow->addWidget(m_shiftTime);
    shiftRow->addStretch();
    static_cast<QVBoxLayout *>(creation->layout())->addLayout(shiftRow);
    return creation;
}

void StampSettingsDialog::storeChoicesWhenChanged() {
    connect(m_forms, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            storeStampForm(m_settings, StampForm(id));
        patternEdited();
    });
    connect(m_creation, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            storeCreationTime(m_settings, CreationTime(id));
        enableShift();
        updateExample();
    });
    connect(m_layouts, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            storeLayout(m_settings, OutputLayout(id));
    });
    connect(m_skipCopied, &QCheckBox::toggled, this,
            [this](bool checked) { storeSkipCopied(m_settings, checked); });
    const auto shiftChanged = [this] {
        writeTakenShift();
        updateExample();
    };
    connect(m_shiftSign, qOverload<int>(&QComboBox::activated), this, shiftChanged);
    connect(m_shiftDays, qOverload<int>(&QSpinBox::valueChanged), this, shiftChanged);
    connect(m_shiftTime, &QTimeEdit::timeChanged, this, shiftChanged);
    connect(m_pattern, &QLineEdit::textChanged, this, &StampSettingsDialog::patternEdited);
    // Typing a pattern chooses it.
    connect(m_pattern, &QLineEdit::textEdited, this, [this] {
        if (QAbstractButton *custom = m_forms->button(int(StampForm::Custom)))
            if (!custom->isChecked())
                custom->click();
    });
    connect(m_pattern, &QLineEdit::editingFinished, this, &StampSettingsDialog::storePattern);
}

QString StampSettingsDialog::patternFaultShown(const QString &pattern) const {
    const PatternCheck check = checkStampPattern(pattern, RegionalForms::system());
    switch (check.fault) {
    case PatternFault::None:
        break;
    case PatternFault::SlashOrNul:
        return tr("A stamp cannot hold \"/\" or a NUL character.");
    case PatternFault::RefusedCharacter:
        if (check.culprit.at(0).unicode() < 0x20 || check.culprit.at(0).unicode() == 0x7f)
            return tr("A stamp cannot hold a control character (a tab or a line break).");
        return tr("A stamp cannot hold \"%1\": names on some drives refuse \\ : * ? \" < > |")
            .arg(check.culprit);
    case PatternFault::UnknownToken:
        return tr("\"%1\" is not a token: use %Y %y %m %d %e %H %I %M %S %p %b %B %a %A %j %V "
                  "%G %u, or %% for \"%\".")
            .arg(check.culprit);
    case PatternFault::TooLong:
        return tr("The stamp could take %1 bytes, more than 64.").arg(check.longestBytes);
    case PatternFault::EmptyStamp:
        return tr("The stamp would be empty.");
    }
    return QString();
}

void StampSettingsDialog::patternEdited() {
    const QString pattern = m_pattern->text();
    const QString fault = patternFaultShown(pattern);
    // An empty field is no fault until the user's own pattern is the chosen form.
    const bool said = !pattern.isEmpty() || m_forms->checkedId() == int(StampForm::Custom);
    m_patternFault->setText(said ? fault : QString());
    m_patternFault->setVisible(said && !fault.isEmpty());
    if (fault.isEmpty()) {
        m_patternInForce = pattern;
    } else {
        // The stored pattern stays in force while the field's cannot be used.
        const QString stored = storedPattern(m_settings);
        m_patternInForce = isUsablePattern(stored) ? stored : QString();
    }
    updateExample();
}

void StampSettingsDialog::storePattern() {
    plenvoy::storePattern(m_settings, m_pattern->text());
}

void StampSettingsDialog::done(int result) {
    storePattern();
    QDialog::done(result);
}

void StampSettingsDialog::writeTakenShift() {
    storeTakenShift(m_settings, takenShift());
}

void StampSettingsDialog::enableShift() {
    // Only moments taken from photos and videos are shifted.
    const bool taken = m_creation->checkedId() == int(CreationTime::Taken);
    for (QWidget *control :
         {static_cast<QWidget *>(m_shiftSign), static_cast<QWidget *>(m_shiftDays),
          static_cast<QWidget *>(m_shiftTime)})
        control->setEnabled(taken);
}

qint64 StampSettingsDialog::takenShift() const {
    const qint64 size =
        qint64(m_shiftDays->value()) * 86'400 + m_shiftTime->time().msecsSinceStartOfDay() / 1000;
    return m_shiftSign->currentIndex() == 1 ? -size : size;
}

RunChoices StampSettingsDialog::style() const {
    RunChoices style;
    style.form = StampForm(qMax(0, m_forms->checkedId()));
    style.pattern = m_patternInForce;
    if (style.form == StampForm::Custom && !isUsablePattern(style.pattern))
        style.form = StampForm::Regional;
    style.creation = CreationTime(qMax(0, m_creation->checkedId()));
    style.layout = OutputLayout(qMax(0, m_layouts->checkedId()));
    style.skipCopied = m_skipCopied->isChecked();
    style.takenShift = takenShift();
    return style;
}

QString StampSettingsDialog::exampleName() const {
    const RunChoices chosen = style();
    const bool listed = !m_exampleFile.isEmpty();
    const QString source = listed ? m_exampleFile : shownText("StampSettings", kStampExampleName);
    const FixedClock exampleClock(exampleMoment());
    const ExampleFileTimes exampleTimes;
    const FileTimeProvider &files = listed ? systemFileTimes() : exampleTimes;
    const TakenFileTimes taken(files, chosen.takenShift);
    const ExampleTakenTimes exampleTaken(exampleTimes, chosen.takenShift);
    const FileTimeProvider &times = chosen.creation != CreationTime::Taken ? files
                                    : listed ? static_cast<const FileTimeProvider &>(taken)
                                             : exampleTaken;
    const ClockProvider &clock =
        listed ? systemClock() : static_cast<const ClockProvider &>(exampleClock);
    try {
        const QString name = ComposeNewName(source, m_optionText, kExampleNth, clock, times,
                                            RegionalForms::system(), chosen);
        return FileNameOf(name.isEmpty() ? source : name);
    } catch (const Failure &) {
        return FileNameOf(source);
    }
}

void StampSettingsDialog::updateExample() {
    m_example->setText(shownText("StampSettings", kStampExample).arg(exampleName()));
}

void StampSettingsDialog::applyPreset(const Preset &preset) {
    const RunChoices &chosen = preset.style;
    // Each choice as the user would make it, so that each is stored as it would be.
    if (!chosen.pattern.isEmpty() && chosen.pattern != m_pattern->text()) {
        m_pattern->setText(chosen.pattern);
        storePattern();
    }
    for (const auto &[group, id] :
         {std::pair{m_forms, int(chosen.form)}, std::pair{m_creation, int(chosen.creation)},
          std::pair{m_layouts, int(chosen.layout)}})
        if (QAbstractButton *button = group->button(id))
            if (!button->isChecked())
                button->click();
    m_skipCopied->setChecked(chosen.skipCopied);
    if (chosen.takenShift != takenShift()) {
        {
            const QSignalBlocker sign(m_shiftSign);
            const QSignalBlocker days(m_shiftDays);
            const QSignalBlocker time(m_shiftTime);
            const qint64 size = qAbs(chosen.takenShift);
            m_shiftSign->setCurrentIndex(chosen.takenShift < 0 ? 1 : 0);
            m_shiftDays->setValue(int(size / 86'400));
            m_shiftTime->setTime(QTime(0, 0).addSecs(int(size % 86'400)));
        }
        writeTakenShift();
    }
    if (m_window.apply) {
        m_window.apply(preset);
        if (m_window.current)
            m_optionText = m_window.current().option;
    }
    patternEdited();
}

} // namespace plenvoy
