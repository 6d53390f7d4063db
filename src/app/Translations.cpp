#include "Translations.h"

#include "naming/RenameOptions.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <iterator>
#include <memory>

namespace plenvoy {

namespace {

/// Where the build puts the window's compiled translations, inside the executable.
const QString kTranslationsFolder = QStringLiteral(":/plenvoy/translations");

/// The drop-down's texts in its order, for the translators' tools.
const char *const kOptionTexts[] = {
    QT_TRANSLATE_NOOP("RenameOption", "Add current time to beginning of filename"),
    QT_TRANSLATE_NOOP("RenameOption", "Add current time to end of filename"),
    QT_TRANSLATE_NOOP("RenameOption", "Add current time after nth character in filename"),
    QT_TRANSLATE_NOOP("RenameOption", "Add current date to beginning of filename"),
    QT_TRANSLATE_NOOP("RenameOption", "Add current date to end of filename"),
    QT_TRANSLATE_NOOP("RenameOption", "Add current date after nth character in filename"),
    QT_TRANSLATE_NOOP("RenameOption", "Add current time and date to beginning of filename"),
    QT_TRANSLATE_NOOP("RenameOption", "Add current time and date to end of filename"),
    QT_TRANSLATE_NOOP("RenameOption", "Add current time and date after nth character in filename"),
    QT_TRANSLATE_NOOP("RenameOption", "Add file creation time to beginning of filename"),
    QT_TRANSLATE_NOOP("RenameOption", "Add file creation time to end of filename"),
    QT_TRANSLATE_NOOP("RenameOption", "Add file creation time after nth character in filename"),
    QT_TRANSLATE_NOOP("RenameOption", "Add file creation date to beginning of filename"),
    QT_TRANSLATE_NOOP("RenameOption", "Add file creation date to end of filename"),
    QT_TRANSLATE_NOOP("RenameOption", "Add file creation date after nth character in filename"),
    QT_TRANSLATE_NOOP("RenameOption", "Add file creation time and date to beginning of filename"),
    QT_TRANSLATE_NOOP("RenameOption", "Add file creation time and date to end of filename"),
    QT_TRANSLATE_NOOP("RenameOption",
                      "Add file creation time and date after nth character in filename"),
    QT_TRANSLATE_NOOP("RenameOption", "Add last modified time to beginning of filename"),
    QT_TRANSLATE_NOOP("RenameOption", "Add last modification time to end of filename"),
    QT_TRANSLATE_NOOP("RenameOption", "Add last modified time after nth character in filename"),
    QT_TRANSLATE_NOOP("RenameOption", "Add last modified date to beginning of filename"),
    QT_TRANSLATE_NOOP("RenameOption", "Add last modified date to end of filename"),
    QT_TRANSLATE_NOOP("RenameOption", "Add last modified date after nth character in filename"),
    QT_TRANSLATE_NOOP("RenameOption", "Add last modified time and date to beginning of filename"),
    QT_TRANSLATE_NOOP("RenameOption", "Add last modified time and date to end of filename"),
    QT_TRANSLATE_NOOP("RenameOption",
                      "Add last modified time and date after nth character in filename"),
    QT_TRANSLATE_NOOP("RenameOption", "Add last accessed time to beginning of filename"),
    QT_TRANSLATE_NOOP("RenameOption", "Add last accessed time to end of filename"),
    QT_TRANSLATE_NOOP("RenameOption", "Add last accessed time after nth character in filename"),
    QT_TRANSLATE_NOOP("RenameOption", "Add last accessed date to beginning of filename"),
    QT_TRANSLATE_NOOP("RenameOption", "Add last accessed date to end of filename"),
    QT_TRANSLATE_NOOP("RenameOption", "Add last accessed date after nth character in filename"),
    QT_TRANSLATE_NOOP("RenameOption", "Add last accessed time and date to beginning of filename"),
    QT_TRANSLATE_NOOP("RenameOption", "Add last accessed time and date to end of filename"),
    QT_TRANSLATE_NOOP("RenameOption",
                      "Add last accessed time and date after nth character in filename"),
};
static_assert(std::size(kOptionTexts) == kRenameOptionCount);

struct Installed {
    std::unique_ptr<QTranslator> own;
    std::unique_ptr<QTranslator> qt;
};

Installed &installed() {
    static Installed translators;
    return translators;
}

/// True for the languages whose texts are the program's own: English, C and POSIX.
bool isEnglish(const QString &name) {
    return name == QLatin1String("C") || name == QLatin1String("POSIX") ||
           name.section(QLatin1Char('_'), 0, 0) == QLatin1String("en");
}

/// Loads prefix_NAME.qm from the folder, or the file of the language alone ("pt_BR", then
/// "pt").
std::unique_ptr<QTranslator> loaded(const QString &prefix, QString name, const QString &folder) {
    auto translator = std::make_unique<QTranslator>();
    while (!name.isEmpty()) {
        if (translator->load(prefix + name, folder))
            return translator;
        const qsizetype cut = name.lastIndexOf(QLatin1Char('_'));
        name.truncate(cut < 0 ? 0 : cut);
    }
    return nullptr;
}

} // namespace

QStringList shippedLanguages() {
    return {QStringLiteral("de"), QStringLiteral("fr"), QStringLiteral("es"),
            QStringLiteral("pt_BR"), QStringLiteral("it")};
}

QString installTranslations(const QStringList &uiLanguages) {
    removeTranslations();
    for (const QString &entry : uiLanguages) {
        QString name = entry;
        name.replace(QLatin1Char('-'), QLatin1Char('_'));
        // English comes before any language further down the user's list.
        if (isEnglish(name))
            return QString();
        std::unique_ptr<QTranslator> own =
            loaded(QStringLiteral("plenvoy_"), name, kTranslationsFolder);
        if (!own)
            continue;
        Installed &now = installed();
        now.own = std::move(own);
        QCoreApplication::installTranslator(now.own.get());
        // Qt's own texts, when the system has them for this language.
        now.qt = loaded(QStringLiteral("qtbase_"), name,
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath));
        if (now.qt)
            QCoreApplication::installTranslator(now.qt.get());
        return now.own->language().replace(QLatin1Char('-'), QLatin1Char('_'));
    }
    return QString();
}

QString installUserTranslations() {
    return installTranslations(QLocale::system().uiLanguages());
}

void removeTranslations() {
    Installed &now = installed();
    for (const auto &translator : {now.own.get(), now.qt.get()})
        if (translator)
            QCoreApplication::removeTranslator(translator);
    now.own.reset();
    now.qt.reset();
}

QString shownOptionText(const QString &english) {
    const int index = renameOptionIndex(english);
    if (index < 0 || english != QLatin1String(kOptionTexts[index]))
        return english;
    return QCoreApplication::translate("RenameOption", kOptionTexts[index]);
}

} // namespace plenvoy
