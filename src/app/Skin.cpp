#include "Skin.h"

#include "core/Failure.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QRadioButton>
#include <QStringDecoder>
#include <QWidget>

namespace plenvoy {

namespace {

constexpr int kSkinFileLimit = 1024 * 1024;

bool bracesBalance(const QString &sheet) {
    int depth = 0;
    bool inComment = false;
    for (qsizetype i = 0; i < sheet.size(); ++i) {
        const QChar c = sheet.at(i);
        if (inComment) {
            if (c == QLatin1Char('*') && i + 1 < sheet.size() &&
                sheet.at(i + 1) == QLatin1Char('/')) {
                inComment = false;
                ++i;
            }
            continue;
        }
        if (c == QLatin1Char('/') && i + 1 < sheet.size() && sheet.at(i + 1) == QLatin1Char('*')) {
            inComment = true;
            ++i;
        } else if (c == QLatin1Char('{')) {
            ++depth;
        } else if (c == QLatin1Char('}') && --depth < 0) {
            return false;
        }
    }
    return depth == 0 && !inComment;
}

/// The skin's failure, told at start-up in the window's language.
Failure badSkin(const char *why) {
    return Failure(ErrorNumber::Other,
                   QCoreApplication::translate("ErrorReport", "Cannot load skin: %1")
                       .arg(QCoreApplication::translate("ErrorReport", why)));
}

void paintBackground(QWidget &widget, const QColor &colour) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, colour);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

} // namespace

void Skin::load(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(ErrorNumber::PermissionDenied, file.errorString());
    if (file.size() > kSkinFileLimit)
        throw badSkin(QT_TRANSLATE_NOOP("ErrorReport", "the file is too large"));
    const QByteArray bytes = file.readAll();
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString sheet = decoder.decode(bytes);
    if (decoder.hasError())
        throw badSkin(QT_TRANSLATE_NOOP("ErrorReport", "the file is not UTF-8 text"));
    if (sheet.trimmed().isEmpty() || !bracesBalance(sheet))
        throw badSkin(QT_TRANSLATE_NOOP("ErrorReport", "the file is not a style sheet"));
    m_styleSheet = sheet;
    // Pictures that the sheet names as "skin:NAME" lie beside the skin file.
    QDir::setSearchPaths(QStringLiteral("skin"), {QFileInfo(path).absolutePath()});
}

void Skin::apply(QWidget &window) const {
    window.setStyleSheet(m_styleSheet);
}

QColor buttonFaceColour() {
    return QApplication::palette().color(QPalette::Button);
}

void ApplySkin(QWidget &window, const QString &skinPath) {
    if (!QFileInfo(skinPath).isFile())
        return;
    const QColor face = buttonFaceColour();
    paintBackground(window, face);
    const QList<QWidget *> controls = window.findChildren<QWidget *>();
    for (QWidget *control : controls) {
        if (qobject_cast<QGroupBox *>(control) || qobject_cast<QLabel *>(control) ||
            qobject_cast<QCheckBox *>(control) || qobject_cast<QRadioButton *>(control))
            paintBackground(*control, face);
    }
    Skin skin;
    skin.load(skinPath);
    skin.apply(window);
}

} // namespace plenvoy
