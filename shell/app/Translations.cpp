#include "shell/app/Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QStandardPaths>

namespace kestrano {

Translations::Translations(const QLocale& locale, const QStringList& folders)
{
    // qtbase holds the texts of the standard dialogs and buttons; the English locale needs none.
    if (qt.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        qtInstalled = QCoreApplication::installTranslator(&qt);
    for (const QString& folder : folders) {
        if (own.load(locale, QStringLiteral("kestrano"), QStringLiteral("_"), folder)) {
            ownInstalled = QCoreApplication::installTranslator(&own);
            break;
        }
    }
}

Translations::~Translations()
{
    if (ownInstalled)
        QCoreApplication::removeTranslator(&own);
    if (qtInstalled)
        QCoreApplication::removeTranslator(&qt);
}

QStringList Translations::translationFolders()
{
    const QDir program(QCoreApplication::applicationDirPath());
    QStringList folders = {
        program.filePath(QStringLiteral("translations")),
        QDir::cleanPath(program.filePath(QStringLiteral("../share/kestrano/translations"))),
    };
    folders += QStandardPaths::locateAll(QStandardPaths::GenericDataLocation,
        QStringLiteral("kestrano/translations"), QStandardPaths::LocateDirectory);
    return folders;
}

} // namespace kestrano
