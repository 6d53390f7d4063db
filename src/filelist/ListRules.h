#pragma once

#include <QList>
#include <QPersistentModelIndex>
#include <QPoint>
#include <QStringList>
#include <QUrl>

#include <optional>

class QByteArray;

namespace plenvoy {

class FileList;
class WindowPort;

/// Height of the band in the middle of the list's visible area within which a dragged
/// entry does not scroll the list.
constexpr int kScrollBandHeight = 60;

/// Which way a drag scrolls the list.
enum class ScrollDirection { None, Up, Down };

/// The band in the list's viewport (its visible area below the header) where dragging does
/// not scroll: from its middle minus 30 to its middle plus 29, both included.
struct ScrollBand {
    int top = 0;
    int bottom = 0;
};
ScrollBand scrollBandFor(int viewportHeight);
/// Up above the band, down below it, none inside; y in viewport coordinates.
ScrollDirection scrollDirectionAt(int y, int viewportHeight);

/// What the view must do after a pointer motion: positions are 1-based, 0 means nothing.
struct MoveOutcome {
    bool exchanged = false;
    int selectPosition = 0;
    int scrollToPosition = 0;
};

/// The removal and reordering rules of the file list, apart from any widget. The view
/// reports its events here and carries out the returned view operations.
class ListRules final {
public:
    ListRules(FileList &list, WindowPort &ui);

    /// Delete key or double-click: removes the selected entry (1-based, 0 for none) unless
    /// the window is busy or the list is empty. True when an entry was removed.
    bool removeSelected(int selectedPosition);

    /// A click on an entry: it becomes the moving entry.
    void entryClicked(int position);
    /// A mouse button pressed in the list.
    void buttonPressed() { m_moving = true; }
    /// A mouse button released in the list; the moving entry stays.
    void buttonReleased() { m_moving = false; }
    /// The pointer moved over the list: hoveredPosition is the entry under it (0 for none),
    /// y the pointer's height in the list's viewport, viewportHeight that viewport's height.
    MoveOutcome pointerMoved(int hoveredPosition, int y, int viewportHeight);

    bool moving() const { return m_moving; }
    /// The moving entry's current position, 0 when there is none (or it was removed).
    int movingPosition() const;

private:
    FileList &m_list;
    WindowPort &m_ui;
    bool m_moving = false;
    QPersistentModelIndex m_movingEntry;
};

/// "Clear List": empties the list unless the window is busy. Trapped with kTagClearList;
/// the busy test and the clearing are one step.
void clearList(FileList &list, WindowPort &ui);

/// The local paths of dropped file URLs, in the order delivered: file URLs without a host
/// or with the host "localhost". Other hosts and other schemes are left out. The path's
/// bytes come from the URL's percent-encoding, so a name that is not UTF-8 names its file.
QStringList droppedLocalPaths(const QList<QUrl> &urls);

/// The hot spot of a pointer file from the head of its bytes: for a cursor file (type 2)
/// the x and y of its first directory entry (bytes 10 to 13, little-endian); for an icon
/// file (type 1) the centre of the image of the given size. None when the head is not an
/// icon or cursor file.
std::optional<QPoint> pointerHotSpot(const QByteArray &head, int width, int height);

} // namespace plenvoy
