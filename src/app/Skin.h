#pragma once

#include <QColor>
#include <QString>

class QWidget;

namespace plenvoy {

/// A window skin: a Qt style sheet read from a skin file, applied to a window.
class Skin final {
public:
    /// Apply options: bit 0 skins the window and its controls.
    static constexpr int ApplyToWindow = 0x1;

    /// Reads the skin file; pictures that the sheet names as url(skin:NAME) are taken from
    /// the skin file's folder. The variant names a part of the file; empty text takes the
    /// whole file (the only form this program's skin files have). Raises a failure when the
    /// file cannot be read or is not a style sheet (empty, not UTF-8, unbalanced braces).
    void load(const QString &path, const QString &variant);

    int applyOptions() const { return m_applyOptions; }
    void setApplyOptions(int options) { m_applyOptions = options; }
    /// Message boxes, input boxes and file dialogs that the window opens take the skin too.
    void setSkinDialogs(bool on) { m_skinDialogs = on; }
    /// Tool tips take the skin too.
    void setSkinToolTips(bool on) { m_skinToolTips = on; }

    /// Applies the loaded sheet to the window (and, with dialogs or tool tips skinned, to
    /// every window of the program, since those are windows of their own).
    void applyTo(QWidget &window) const;

    const QString &styleSheet() const { return m_styleSheet; }

private:
    QString m_styleSheet;
    int m_applyOptions = 0;
    bool m_skinDialogs = false;
    bool m_skinToolTips = false;
};

/// Skins the window when the skin file is a file: the window and its frames turn to the
/// button-face colour, then the skin is loaded and applied. Without the file nothing
/// changes. A skin that cannot be loaded raises its failure; colours already changed stay.
void ApplySkin(QWidget &window, const QString &skinPath);

/// The button-face colour of the system palette.
QColor buttonFaceColour();

} // namespace plenvoy
