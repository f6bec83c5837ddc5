#include "platform/qt/QtMessageBox.h"

#include "config/Path.h"
#include "platform/qt/CoreTexts.h"

#include <QMessageBox>

namespace kestrano {

bool askYesNo(QWidget* owner, const QString& text)
{
    return QMessageBox::question(owner, QString::fromLatin1(haspel::kApplicationName), text,
               QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
}

void showError(QWidget* owner, const QString& text)
{
    QMessageBox::critical(owner, QString::fromLatin1(haspel::kApplicationName), text, QMessageBox::Ok);
}

bool QtMessageBox::askYesNo(const char* text)
{
    return kestrano::askYesNo(owner, translatedBoxText(QString::fromLocal8Bit(text)));
}

void QtMessageBox::showError(const char* text)
{
    kestrano::showError(owner, translatedBoxText(QString::fromLocal8Bit(text)));
}

} // namespace kestrano
