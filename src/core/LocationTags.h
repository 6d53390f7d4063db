#pragma once

#include <QString>

namespace plenvoy {

// The location tags that the error report names; each ends with one blank. Users and their
// reports know these texts, so they keep the window's old names. The routine each names:
// kTagFormLoad MainWindow::startUp, kTagAddFiles addChosenFiles, kTagStartChanging
// startChanging, kTagAddFolder addAllFilesInFolder (and addFolderTree), kTagClearList
// clearList, kTagLoadSamples loadSampleFiles, kTagBrowseOutput browseOutputFolder,
// kTagFolderWalk appendSubFolders.
inline const QString kTagFormLoad = QStringLiteral("in Plenvoy2021/08/31.Form1.Form_Load ");
inline const QString kTagAddFiles = QStringLiteral("in Plenvoy2021/08/31.Form1.PushButton1_Click ");
inline const QString kTagStartChanging =
    QStringLiteral("in Plenvoy2021/08/31.Form1.PushButton2_Click ");
inline const QString kTagAddFolder =
    QStringLiteral("in Plenvoy2021/08/31.Form1.PushButton3_Click ");
inline const QString kTagClearList =
    QStringLiteral("in Plenvoy2021/08/31.Form1.PushButton4_Click ");
inline const QString kTagLoadSamples =
    QStringLiteral("in Plenvoy2021/08/31.Form1.PushButton5_Click ");
inline const QString kTagBrowseOutput =
    QStringLiteral("in Plenvoy2021/08/31.Form1.PushButton6_Click ");
inline const QString kTagFolderWalk =
    QStringLiteral("in BrannocTitle2021/08/31.AddFolder.GetSubDirectories2016 ");

} // namespace plenvoy
