// The program's texts in the user's language: Qt's own translations and Kestrano's, loaded for the
// locale and installed in the application while this object lives.
#pragma once

#include <QLocale>
#include <QStringList>
#include <QTranslator>

namespace kestrano {

class Translations {
public:
    // Installs Kestrano's translation found in one of the folders and Qt's own, for the locale.
    explicit Translations(
        const QLocale& locale = QLocale(), const QStringList& folders = translationFolders());
    ~Translations();
    Translations(const Translations&) = delete;
    Translations& operator=(const Translations&) = delete;

    bool hasOwn() const { return ownInstalled; }

    // Where Kestrano's .qm files are looked for: beside the program (the build tree), in
    // ../share/kestrano/translations from it (any installation prefix), then in the data folders.
    static QStringList translationFolders();

private:
    QTranslator qt;
    QTranslator own;
    bool qtInstalled = false;
    bool ownInstalled = false;
};

} // namespace kestrano
