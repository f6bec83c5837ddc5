#include "shell/app/ErrorGuard.h"

#include "foundation/Exception.h"
#include "platform/qt/QtMessageBox.h"

#include <QCoreApplication>

#include <exception>
#include <new>

namespace kestrano {

QString describeCurrentException()
{
    try {
        throw;
    } catch (const haspel::EOutOfMemory&) {
        return QCoreApplication::translate("kestrano::ErrorGuard", "Out of memory.");
    } catch (const haspel::Exception& exception) {
        if (exception.GetMessage() && *exception.GetMessage())
            return QString::fromLocal8Bit(exception.GetMessage());
        return QString::fromLatin1(exception.GetClassName());
    } catch (const std::bad_alloc&) {
        return QCoreApplication::translate("kestrano::ErrorGuard", "Out of memory.");
    } catch (const std::exception& exception) {
        return QString::fromLocal8Bit(exception.what());
    } catch (...) {
        return QCoreApplication::translate("kestrano::ErrorGuard", "Unexpected error.");
    }
}

void reportCurrentException(QWidget* owner) noexcept
{
    try {
        showBox(owner, QMessageBox::Critical, describeCurrentException());
    } catch (...) {
        // Nothing more can be done without memory; the program goes on.
    }
}

} // namespace kestrano
