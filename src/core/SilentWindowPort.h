#pragma once

#include "WindowPort.h"

namespace plenvoy {

/// The window of a run that has none: nobody is there to answer, so every question is
/// answered No, the input box and the dialogs as Cancel, and nothing is shown. The pointer
/// is kept, events need no processing and the window stays open until a derived port
/// marks it closed. The command line, the tests and the benchmarks derive from it and
/// override what they need.
class SilentWindowPort : public WindowPort {
public:
    void showMessage(const QString &text) override;
    bool askYesNo(const QString &text) override;
    QString askText(const QString &prompt, const QString &defaultAnswer) override;
    void showErrorReport(const QString &text) override;
    QStringList chooseFiles(const QString &title) override;
    QString chooseFolder(const QString &prompt, const QString &startFolder) override;
    void openFolder(const QString &path) override;
    PointerMode pointer() const override;
    void setPointer(PointerMode mode) override;
    void processEvents() override;
    bool closing() const override;

protected:
    PointerMode m_pointer = PointerMode::Default;
    /// What closing() answers; a derived port sets it when its window counts as closed.
    bool m_closing = false;
};

} // namespace plenvoy
