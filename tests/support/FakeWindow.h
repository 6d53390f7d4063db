#pragma once

#include "core/SilentWindowPort.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace plenvoy::test {

/// A recording window for tests: every box, dialog and pointer change is logged, and the
/// answers come from queues the test fills.
class FakeWindow final : public SilentWindowPort {
public:
    void showMessage(const QString &text) override;
    /// Records the text among the messages and the informative text apart.
    void showMessageWithDetails(const QString &text, const QString &informativeText) override;
    bool askYesNo(const QString &text) override;
    QString askText(const QString &prompt, const QString &defaultAnswer) override;
    void showErrorReport(const QString &text) override;
    QStringList chooseFiles(const QString &title) override;
    QString chooseFolder(const QString &prompt, const QString &startFolder) override;
    void openFolder(const QString &path) override;
    void setPointer(PointerMode mode) override;
    void processEvents() override;

    // Answers, taken from the front; an empty queue answers No, empty text, Cancel.
    QList<bool> yesNoAnswers;
    QStringList textAnswers;
    QList<QStringList> fileAnswers;
    QStringList folderAnswers;

    // What happened, in order.
    QStringList messages;
    QStringList messageDetails; // informative texts, one per box that has one
    QStringList questions;
    QStringList prompts;        // input-box prompts
    QStringList promptDefaults; // their default answers
    QStringList errorReports;
    QStringList fileDialogTitles;
    QStringList folderPrompts;
    QStringList folderStarts;
    QStringList openedFolders;
    QList<PointerMode> pointerChanges;
    int processEventsCalls = 0;

    /// Runs inside processEvents(), as other handlers may run inside a long loop.
    std::function<void(int call)> onProcessEvents;
    /// Runs inside askText(), before the answer is taken.
    std::function<void()> onAskText;

    // Tests close the window and set the pointer directly, with no change recorded.
    using SilentWindowPort::m_closing;
    using SilentWindowPort::m_pointer;
};

} // namespace plenvoy::test
