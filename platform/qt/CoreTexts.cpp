#include "platform/qt/CoreTexts.h"

#include "core/ChildView.h"
#include "core/Document.h"

#include <QCoreApplication>

#include <string_view>

namespace kestrano {

namespace {

// The core's texts, repeated here for the translation tools; the checks keep both the same.
constexpr const char* deleteQuestion
    = QT_TRANSLATE_NOOP("kestrano::Document", "Sure to delete the log file?");
static_assert(std::string_view(deleteQuestion) == Document::DeleteQuestion);
static_assert(std::string_view(Document::CannotDeleteStart) == "Error: Cannot delete ");
constexpr const char* readError
    = QT_TRANSLATE_NOOP("kestrano::ChildView", "Error: Cannot read from log file. Still trying...");
static_assert(std::string_view(readError).size() + 1 == std::string_view(ChildView::ReadErrorNotice).size()
    && std::string_view(ChildView::ReadErrorNotice).starts_with(readError));

} // namespace

QString translatedBoxText(const QString& text)
{
    if (text == QLatin1String(deleteQuestion))
        return QCoreApplication::translate("kestrano::Document", deleteQuestion);
    const QLatin1String cannotDelete(Document::CannotDeleteStart);
    if (text.startsWith(cannotDelete) && text.endsWith(QLatin1Char('.'))
        && text.size() > cannotDelete.size() + 1)
        return QCoreApplication::translate("kestrano::Document", "Error: Cannot delete %1.")
            .arg(text.mid(cannotDelete.size(), text.size() - cannotDelete.size() - 1));
    return text;
}

QString translatedRowText(const QString& text)
{
    if (text.size() == qsizetype(std::string_view(readError).size()) && text == QLatin1String(readError))
        return QCoreApplication::translate("kestrano::ChildView", readError);
    return text;
}

} // namespace kestrano
