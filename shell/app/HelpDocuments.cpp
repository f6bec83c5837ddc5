#include "shell/app/HelpDocuments.h"

#include "core/ports/MessageBox.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
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

void openWithDesktop(const QUrl& address, MessageBox& boxes)
{
    const QString shown = address.isLocalFile() ? address.toLocalFile() : address.toString();
    auto* opener = new QProcess(QCoreApplication::instance());
    opener->setProcessChannelMode(QProcess::ForwardedChannels);
    opener->setStandardInputFile(QProcess::nullDevice());
    // The box comes from the event loop, as the opener's end does.
    const auto failed = [opener, shown, &boxes] {
        opener->deleteLater();
        boxes.showError(QCoreApplication::translate(
            "kestrano::HelpDocuments", "No program could open it. Open it with a web browser:\n\n%1")
                            .arg(shown)
                            .toLocal8Bit()
                            .constData());
    };
    QObject::connect(
        opener, &QProcess::errorOccurred, opener, [opener, failed](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart)
                failed();
        });
    QObject::connect(
        opener, &QProcess::finished, opener, [opener, failed](int status, QProcess::ExitStatus how) {
            if (how != QProcess::NormalExit || status != 0)
                failed();
            else
                opener->deleteLater();
        });
    opener->start(QStringLiteral("xdg-open"), {address.toString(QUrl::FullyEncoded)});
}

void openDocument(const QString& relativePath, MessageBox& boxes)
{
    const QString path = findDocument(QCoreApplication::applicationDirPath(), relativePath);
    if (path.isEmpty()) {
        boxes.showError(QCoreApplication::translate("kestrano::HelpDocuments", "%1 is not installed.")
                            .arg(relativePath)
                            .toLocal8Bit()
                            .constData());
        return;
    }
    openWithDesktop(QUrl::fromLocalFile(path), boxes);
}

} // namespace kestrano
