#pragma once

#include "filelist/FileList.h"
#include "run/StartChanging.h"

#include <QComboBox>
#include <QLineEdit>

namespace plenvoy {

/// What "Start Changing" reads from the window, afresh at every read.
class WindowRunInputs final : public RunInputs {
public:
    WindowRunInputs(const FileList &list, const QLineEdit &folder, const QComboBox &options)
        : m_list(list)
        , m_folder(folder)
        , m_options(options) {}

    int fileCount() const override { return m_list.count(); }
    QString entryAt(int position) const override { return m_list.textAt(position); }
    QString outputFolderText() const override { return m_folder.text(); }
    // The option's own English text, whatever language the drop-down shows.
    QString optionText() const override { return m_options.currentData().toString(); }
    QString listedThrough(int position) const override { return m_list.listedThroughAt(position); }

private:
    const FileList &m_list;
    const QLineEdit &m_folder;
    const QComboBox &m_options;
};

} // namespace plenvoy
