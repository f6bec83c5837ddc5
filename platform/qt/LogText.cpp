#include "platform/qt/LogText.h"

#include "core/text/VisibleText.h"

#include <QByteArrayView>

#include <cstring>
#include <cwchar>
#include <langinfo.h>

namespace kestrano {
namespace {

bool utf8Locale()
{
    static const bool utf8 = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
    return utf8;
}

// The length of the valid UTF-8 sequence at p (at most end - p bytes), 0 when there is none.
int sequenceLength(const unsigned char* p, const unsigned char* end)
{
    int length;
    decodeUtf8(p, end, length);
    return length;
}

// Another locale's encoding, a character at a time through the C library.
QString localText(const char* bytes, qsizetype length)
{
    QString text;
    text.reserve(length);
    std::mbstate_t state {};
    for (qsizetype i = 0; i < length;) {
        wchar_t character;
        const size_t used = std::mbrtowc(&character, bytes + i, static_cast<size_t>(length - i), &state);
        if (used == 0 || used > static_cast<size_t>(length - i)) {
            // Not valid here (or a NUL): the byte as Latin-1.
            text += QChar(static_cast<char16_t>(static_cast<unsigned char>(bytes[i])));
            state = std::mbstate_t {};
            ++i;
            continue;
        }
        text += QString::fromWCharArray(&character, 1);
        i += static_cast<qsizetype>(used);
    }
    return text;
}

} // namespace

QString logText(const char* bytes, qsizetype length)
{
    if (!utf8Locale())
        return localText(bytes, length);
    if (QByteArrayView(bytes, length).isValidUtf8())
        return QString::fromUtf8(bytes, length);
    QString text;
    text.reserve(length);
    const auto* p = reinterpret_cast<const unsigned char*>(bytes);
    const auto* end = p + length;
    while (p < end) {
        const unsigned char* run = p;
        while (p < end && (*p < 0x80 || sequenceLength(p, end) > 0))
            p += *p < 0x80 ? 1 : sequenceLength(p, end);
        text += QString::fromUtf8(reinterpret_cast<const char*>(run), p - run);
        if (p < end)
            text += QChar(static_cast<char16_t>(*p++)); // Latin-1: the code point is the byte
    }
    return text;
}

QString logText(const char* text)
{
    return logText(text, static_cast<qsizetype>(std::strlen(text)));
}

QString visibleLogText(const char* bytes, qsizetype length)
{
    const std::string shown = visibleText(bytes, static_cast<int32_t>(length));
    return logText(shown.data(), static_cast<qsizetype>(shown.size()));
}

} // namespace kestrano
