#include "StampSettingsDialog.h"

#include "AppTexts.h"
#include "core/Failure.h"
#include "core/PathHelpers.h"
#include "core/SettingsAccess.h"
#include "core/Translation.h"
#include "engine/ComposeNewName.h"
#include "engine/RegionalForms.h"
#include "engine/TakenTime.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace plenvoy {

namespace {

/// The stored word of where copies go: "flat", "tree" or "dates".
const QString kKeyLayout = QStringLiteral("Layout");
/// "true" when files copied before are skipped.
const QString kKeySkipCopied = QStringLiteral("SkipCopied");

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

StampStyle readStampStyle(const SettingsAccess &settings) {
    StampStyle style;
    style.form =
        stampFormNamed(settings.readSetting(kKeyStampForm, QString())).value_or(style.form);
    style.creation = creationTimeNamed(settings.readSetting(kKeyCreationTime, QString()))
                         .value_or(style.creation);
    style.layout =
        outputLayoutNamed(settings.readSetting(kKeyLayout, QString())).value_or(style.layout);
    style.skipCopied = settings.readSetting(kKeySkipCopied, QString()) == QLatin1String("true");
    return style;
}

QDateTime StampSettingsDialog::exampleMoment() {
    return QDateTime(QDate(2026, 12, 7), QTime(14, 5, 9));
}

StampSettingsDialog::StampSettingsDialog(SettingsAccess &settings, const QString &exampleFile,
                                         const QString &optionText, QWidget *parent)
    : QDialog(parent)
    , m_settings(settings)
    , m_exampleFile(exampleFile)
    , m_optionText(optionText) {
    setObjectName(QStringLiteral("StampSettings"));
    setWindowTitle(shownText("StampSettings", kTitleStampSettings));
    const StampStyle stored = readStampStyle(settings);
    m_forms = new QButtonGroup(this);
    m_creation = new QButtonGroup(this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(choiceBox(kCaptionStampForm, m_forms,
                                {kCaptionFormRegional, kCaptionFormSortable, kCaptionFormCompact},
                                int(stored.form), this));
    layout->addWidget(choiceBox(kCaptionCreationTime, m_creation,
                                {kCaptionCreationFile, kCaptionCreationTaken}, int(stored.creation),
                                this));
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
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Each choice is written when the user changes it, never on opening.
    connect(m_forms, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            m_settings.writeSetting(kKeyStampForm, stampFormName(StampForm(id)));
        updateExample();
    });
    connect(m_creation, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            m_settings.writeSetting(kKeyCreationTime, creationTimeName(CreationTime(id)));
        updateExample();
    });
    connect(m_layouts, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            m_settings.writeSetting(kKeyLayout, outputLayoutName(OutputLayout(id)));
    });
    connect(m_skipCopied, &QCheckBox::toggled, this, [this](bool checked) {
        m_settings.writeSetting(kKeySkipCopied,
                                checked ? QStringLiteral("true") : QStringLiteral("false"));
    });
    updateExample();
}

StampStyle StampSettingsDialog::style() const {
    StampStyle style;
    style.form = StampForm(qMax(0, m_forms->checkedId()));
    style.creation = CreationTime(qMax(0, m_creation->checkedId()));
    style.layout = OutputLayout(qMax(0, m_layouts->checkedId()));
    style.skipCopied = m_skipCopied->isChecked();
    return style;
}

QString StampSettingsDialog::exampleName() const {
    const StampStyle chosen = style();
    const bool listed = !m_exampleFile.isEmpty();
    const QString source = listed ? m_exampleFile : shownText("StampSettings", kStampExampleName);
    const FixedClock exampleClock(exampleMoment());
    const ExampleFileTimes exampleTimes;
    const FileTimeProvider &files = listed ? systemFileTimes() : exampleTimes;
    const TakenFileTimes taken(files);
    const FileTimeProvider &times = listed && chosen.creation == CreationTime::Taken
                                        ? static_cast<const FileTimeProvider &>(taken)
                                        : files;
    const ClockProvider &clock =
        listed ? systemClock() : static_cast<const ClockProvider &>(exampleClock);
    try {
        const QString name = ComposeNewName(source, m_optionText, kExampleNth, clock, times,
                                            RegionalForms::system(), chosen.form);
        return FileNameOf(name.isEmpty() ? source : name);
    } catch (const Failure &) {
        return FileNameOf(source);
    }
}

void StampSettingsDialog::updateExample() {
    m_example->setText(shownText("StampSettings", kStampExample).arg(exampleName()));
}

} // namespace plenvoy
