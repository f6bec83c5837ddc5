#include "shell/app/HelpDocuments.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

namespace kestrano {

QString findDocument(const QString& programDirectory, const QString& relativePath)
{
    const QDir program(programDirectory);
    const QString installed = QStringLiteral("kestrano/") + relativePath;
    const QString candidates[] = {
        program.filePath(QStringLiteral("docs/") + relativePath),
        QStandardPaths::locate(QStandardPaths::GenericDataLocation, installed),
        program.filePath(QStringLiteral("../share/") + installed),
    };
    for (const QString& candidate : candidates) {
        if (!candidate.isEmpty() && QFileInfo(candidate).isFile())
            return QDir::cleanPath(candidate);
    }
    return {};
}

void openDocument(const QString& relativePath)
{
    const QString path = findDocument(QCoreApplication::applicationDirPath(), relativePath);
    if (!path.isEmpty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace kestrano
