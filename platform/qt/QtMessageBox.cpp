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

bool QtMessageBox::askYesNo(const ShownText& text)
{
    return showBox(currentOwner(), QMessageBox::Question, translatedText(text));
}

bool QtMessageBox::warnYesNo(const ShownText& text)
{
    return showBox(currentOwner(), QMessageBox::Warning, translatedText(text));
}

void QtMessageBox::showError(const ShownText& text)
{
    showBox(currentOwner(), QMessageBox::Critical, translatedText(text));
}

} // namespace kestrano
