#pragma once

#include <QtGlobal>

namespace plenvoy {

// The run's step numbers, as the error report names them.
constexpr qint32 kStepNoFilesTest = 100;
constexpr qint32 kStepFolderTest = 102;
constexpr qint32 kStepNthTest = 104;
constexpr qint32 kStepAskN = 106;
constexpr qint32 kStepNumberTest = 108;
constexpr qint32 kStepCount = 110;
constexpr qint32 kStepEvents = 112;
constexpr qint32 kStepBusy = 114;
constexpr qint32 kStepSource = 116;
constexpr qint32 kStepNthEmptyTest = 118;
constexpr qint32 kStepNthDefault = 120;
constexpr qint32 kStepNewName = 122;
constexpr qint32 kStepDestination = 124;
constexpr qint32 kStepPlace = 126;
constexpr qint32 kStepNext = 128;
constexpr qint32 kStepDefaultPointer = 130;
constexpr qint32 kStepDone = 132;
constexpr qint32 kStepFolderMissing = 134;
constexpr qint32 kStepNoFiles = 136;

} // namespace plenvoy
