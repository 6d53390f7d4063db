#include "ListRules.h"

#include "FileList.h"

#include "core/LocationTags.h"
#include "core/PathCodec.h"
#include "core/Trap.h"
#include "core/WindowPort.h"

#include <QtEndian>

#include <algorithm>

namespace plenvoy {

ScrollBand scrollBandFor(int viewportHeight) {
    const int middle = viewportHeight / 2;
    return ScrollBand{middle - kScrollBandHeight / 2, middle + kScrollBandHeight / 2 - 1};
}

ScrollDirection scrollDirectionAt(int y, int viewportHeight) {
    const ScrollBand band = scrollBandFor(viewportHeight);
    if (y < band.top)
        return ScrollDirection::Up;
    if (y > band.bottom)
        return ScrollDirection::Down;
    return ScrollDirection::None;
}

ListRules::ListRules(FileList &list, WindowPort &ui)
    : m_list(list)
    , m_ui(ui) {}

bool ListRules::removeSelected(int selectedPosition) {
    if (m_ui.pointer() == PointerMode::Busy || m_list.count() < 1)
        return false;
    if (selectedPosition < 1 || selectedPosition > m_list.count())
        return false;
    m_list.removeAt(selectedPosition);
    return true;
}

void ListRules::entryClicked(int position) {
    if (position < 1 || position > m_list.count())
        return;
    m_movingEntry = QPersistentModelIndex(m_list.index(position - 1));
}

int ListRules::movingPosition() const {
    // The entry is followed through insertions and removals; a removed entry is none.
    if (!m_movingEntry.isValid() || m_movingEntry.model() != &m_list)
        return 0;
    return m_movingEntry.row() + 1;
}

MoveOutcome ListRules::pointerMoved(int hoveredPosition, int y, int viewportHeight) {
    MoveOutcome outcome;
    const PointerMode pointer = m_ui.pointer();
    if (pointer != PointerMode::Busy && pointer != PointerMode::Default)
        m_ui.setPointer(PointerMode::Default);
    if (!m_moving)
        return outcome;
    const int count = m_list.count();
    const int moving = movingPosition();
    if (hoveredPosition < 1 || hoveredPosition > count || moving < 1)
        return outcome;
    const QString travelling = m_list.textAt(moving);
    const QString hoveredText = m_list.textAt(hoveredPosition);
    if (travelling == hoveredText)
        return outcome;

    m_list.setTextAt(moving, hoveredText);
    m_list.setTextAt(hoveredPosition, travelling);
    m_movingEntry = QPersistentModelIndex(m_list.index(hoveredPosition - 1));
    outcome.exchanged = true;
    outcome.selectPosition = hoveredPosition;
    const ScrollDirection direction = scrollDirectionAt(y, viewportHeight);
    if (direction == ScrollDirection::Up) {
        if (hoveredPosition >= 2)
            outcome.scrollToPosition = hoveredPosition - 1;
    } else if (direction == ScrollDirection::Down && hoveredPosition + 1 <= count) {
        outcome.scrollToPosition = hoveredPosition + 1;
    }
    return outcome;
}

/// The one step of "Clear List", as the error report names it.
constexpr qint32 kStepClearList = 100;

void clearList(FileList &list, WindowPort &ui) {
    Trap trap(kTagClearList, ui);
    if (trap.test(kStepClearList, [&] { return ui.pointer() != PointerMode::Busy; }))
        trap.step(kStepClearList, [&] { list.clear(); });
}

QStringList droppedLocalPaths(const QList<QUrl> &urls) {
    QStringList paths;
    for (const QUrl &url : urls) {
        if (url.scheme().compare(QLatin1String("file"), Qt::CaseInsensitive) != 0)
            continue;
        const QString host = url.host();
        if (!host.isEmpty() && host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) != 0)
            continue;
        // toLocalFile would turn bytes that are not UTF-8 into U+FFFD and so name another
        // file: the percent-encoded path gives the exact bytes.
        const QByteArray bytes =
            QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
        if (!bytes.isEmpty())
            paths.append(pathFromBytes(bytes));
    }
    return paths;
}

std::optional<QPoint> pointerHotSpot(const QByteArray &head, int width, int height) {
    if (head.size() < 14 || width < 1 || height < 1)
        return std::nullopt;
    const auto *bytes = reinterpret_cast<const uchar *>(head.constData());
    const quint16 reserved = qFromLittleEndian<quint16>(bytes);
    const quint16 type = qFromLittleEndian<quint16>(bytes + 2);
    const quint16 images = qFromLittleEndian<quint16>(bytes + 4);
    if (reserved != 0 || images == 0)
        return std::nullopt;
    if (type == 1) // an icon has no hot spot of its own: the system takes its centre
        return QPoint(width / 2, height / 2);
    if (type != 2)
        return std::nullopt;
    const int x = qFromLittleEndian<quint16>(bytes + 10);
    const int y = qFromLittleEndian<quint16>(bytes + 12);
    return QPoint(std::min(x, width - 1), std::min(y, height - 1));
}

} // namespace plenvoy
