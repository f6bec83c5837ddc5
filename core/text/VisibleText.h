// Text of a log made safe to show: a control or bidirectional formatting character written by whoever
// wrote the log can neither reorder what is drawn ("evil" drawn as "live") nor command a terminal;
// each is shown as a visible stand-in instead. The rows, the details and kestrano-tail use it.
#pragma once

#include <cstdint>
#include <string>

namespace kestrano {

// Appends text[0..length) to out with every character kept except these: C0 controls (but tab, and
// CR LF, which joins the lines of a message) and DEL in caret form, as a pager shows them ("^[",
// "^?"; the symbols of the U+2400 block are missing from many fonts); C1 controls, the
// bidirectional formatting marks, embeddings, overrides and isolates, and the line and paragraph
// separators as "<U+202E>"; a byte 0x80 to 0x9F that belongs to no UTF-8 character (a C1 control
// when taken as Latin-1) as "<9B>". Any other byte, valid UTF-8 or not, passes as it is.
void appendVisibleText(const char* text, int32_t length, std::string& out);

// The same as a new string.
std::string visibleText(const char* text, int32_t length);

// The code point of the valid UTF-8 character at text (of the bytes before end) with its length in
// length; length 0 when the bytes there form none (overlong, a surrogate, beyond U+10FFFF, cut short).
char32_t decodeUtf8(const unsigned char* text, const unsigned char* end, int& length);

} // namespace kestrano
