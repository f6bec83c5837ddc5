#include "platform/qt/QtMessageBox.h"

#include "config/Path.h"
#include "platform/qt/CoreTexts.h"

#include <QApplication>

namespace kestrano {

bool showBox(QWidget* owner, QMessageBox::Icon icon, const QString& text)
{
    const bool asks = icon == QMessageBox::Question || icon == QMessageBox::Warning;
    QMessageBox box(icon, QString::fromLatin1(haspel::kApplicationName), text,
        asks ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, owner);
    box.setDefaultButton(asks ? QMessageBox::No : QMessageBox::Ok);
    return box.exec() == QMessageBox::Yes;
}

QWidget* QtMessageBox::currentOwner() const
{
    if (QWidget* dialog = QApplication::activeModalWidget())
        return dialog;
    return mainWindow;
}

bool QtMessageBox::askYesNo(const char* text)
{
    return showBox(currentOwner(), QMessageBox::Question, translatedBoxText(QString::fromLocal8Bit(text)));
}

bool QtMessageBox::warnYesNo(const char* text)
{
    return showBox(currentOwner(), QMessageBox::Warning, translatedBoxText(QString::fromLocal8Bit(text)));
}

void QtMessageBox::showError(const char* text)
{
    showBox(currentOwner(), QMessageBox::Critical, translatedBoxText(QString::fromLocal8Bit(text)));
}

} // namespace kestrano
