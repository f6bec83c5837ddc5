#include "platform/qt/CoreTexts.h"

#include "core/text/Message.h"

#include <QCoreApplication>

#include <string_view>

namespace kestrano {

namespace {

struct Translation {
    CoreText id;
    const char* context;
    const char* text;
};

// The core's texts for the translation tools, each in the context of the class that showed it first.
constexpr Translation translations[] = {
    {CoreText::ReadError, "kestrano::ChildView",
        QT_TRANSLATE_NOOP("kestrano::ChildView", "Error: Cannot read from log file. Still trying...")},
    {CoreText::ReadErrorBecause, "kestrano::ChildView",
        QT_TRANSLATE_NOOP("kestrano::ChildView", "Error: Cannot read from log file (%1). Still trying...")},
    {CoreText::EndOfInput, "kestrano::StreamSource",
        QT_TRANSLATE_NOOP("kestrano::StreamSource", "End of input.")},
    {CoreText::OwnJournalEntriesOnly, "kestrano::JournalSource",
        QT_TRANSLATE_NOOP("kestrano::JournalSource",
            "Only your own journal entries are readable: members of the group systemd-journal see all.")},
    {CoreText::DeleteQuestion, "kestrano::Document",
        QT_TRANSLATE_NOOP("kestrano::Document", "Sure to delete the log file?\n\n%1")},
    {CoreText::CannotDelete, "kestrano::Document",
        QT_TRANSLATE_NOOP("kestrano::Document", "Error: Cannot delete %1.")},
    {CoreText::JournalTitle, "kestrano::ChildFrame", QT_TRANSLATE_NOOP("kestrano::ChildFrame", "Journal")},
    {CoreText::UnitJournalTitle, "kestrano::ChildFrame",
        QT_TRANSLATE_NOOP("kestrano::ChildFrame", "Journal: %1")},
    {CoreText::StandardInputTitle, "kestrano::ChildFrame",
        QT_TRANSLATE_NOOP("kestrano::ChildFrame", "Standard Input")},
    {CoreText::RemoteLost, "kestrano::RemoteSource",
        QT_TRANSLATE_NOOP("kestrano::RemoteSource", "Connection to %1 lost: %2. Reconnecting…")},
    {CoreText::RemoteUnreachable, "kestrano::RemoteSource",
        QT_TRANSLATE_NOOP("kestrano::RemoteSource", "Error: Cannot reach %1 (%2). Still trying...")},
    {CoreText::RemoteKeyRefused, "kestrano::RemoteSource",
        QT_TRANSLATE_NOOP("kestrano::RemoteSource",
            "Error: %1 refused the login (%2): set up a key or an agent for it. Still trying...")},
    {CoreText::RemoteMissing, "kestrano::RemoteSource",
        QT_TRANSLATE_NOOP("kestrano::RemoteSource", "Error: %1 does not exist on %2. Still trying...")},
    {CoreText::RemotePermission, "kestrano::RemoteSource",
        QT_TRANSLATE_NOOP(
            "kestrano::RemoteSource", "Error: No permission to read %1 on %2. Still trying...")},
    {CoreText::RemoteJournalTitle, "kestrano::ChildFrame",
        QT_TRANSLATE_NOOP("kestrano::ChildFrame", "%1: Journal %2")},
    {CoreText::Rotated, "kestrano::FileSource",
        QT_TRANSLATE_NOOP("kestrano::FileSource", "%1 was rotated; following the new file")},
    {CoreText::ContentSkipped, "kestrano::FileSource",
        QT_TRANSLATE_NOOP("kestrano::FileSource", "Skipped the first %1 bytes of the new content.")},
    {CoreText::OpenedForEachRead, "kestrano::FileSource",
        QT_TRANSLATE_NOOP("kestrano::FileSource",
            "Too many open files: this log is opened for each read and may miss lines at a rotation.")},
};

// Every text of the core once, in the order of its identities, the same English as the core's.
constexpr bool matchesTheCore()
{
    int index = 0;
    for (const Translation& translation : translations) {
        if (static_cast<int>(translation.id) != ++index
            || std::string_view(translation.text) != englishOf(translation.id))
            return false;
    }
    return index == static_cast<int>(LastCoreText);
}
static_assert(matchesTheCore());

} // namespace

QString translatedText(const ShownText& text)
{
    const QString argument = QString::fromLocal8Bit(text.argument.data(), qsizetype(text.argument.size()));
    if (text.id == CoreText::None)
        return argument;
    const Translation& translation = translations[static_cast<int>(text.id) - 1];
    const QString translated = QCoreApplication::translate(translation.context, translation.text);
    const std::string_view english(translation.text);
    if (english.find("%2") != std::string_view::npos)
        return translated
            .arg(argument, QString::fromLocal8Bit(text.detail.data(), qsizetype(text.detail.size())))
            .trimmed();
    return english.find("%1") == std::string_view::npos ? translated : translated.arg(argument);
}

QString translatedRowText(const Message& message, const QString& text)
{
    const ShownText notice = message.getNotice();
    return notice.id == CoreText::None ? text : translatedText(notice);
}

} // namespace kestrano
