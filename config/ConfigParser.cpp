// The file syntax as read: tokens, tags, unescaping, and the tree they build.
#include "config/Config.h"

#include "foundation/ContainingList.h"

#include <cstddef>
#include <cstring>
#include <memory>

namespace haspel {

namespace {

// Deeper nesting is refused as a syntax error: the tree is destroyed and written recursively.
constexpr int32_t kMaximumDepth = 1000;

bool IsWhiteSpace(char c)
{
    return c != '\0' && std::strchr(" \r\n\t\f", c) != nullptr;
}

// The end of the token that starts at text: before the next "<", just after the next ">", or at the end
// of the text; a backslash hides the byte after it. A token that starts with "<" runs at least to the
// byte after it.
const char* TokenEnd(const char* text)
{
    const char* scan = *text == '<' ? text + 1 : text;
    for (;; ++scan) {
        switch (*scan) {
        case '\0':
        case '<':
            return scan;
        case '>':
            return scan + 1;
        case '\\':
            if (scan[1] != '\0')
                ++scan;
            break;
        default:
            break;
        }
    }
}

// The bytes from begin to end with the escapes resolved; "\0" stands for nothing, a final backslash
// for itself.
String Unescaped(const char* begin, const char* end)
{
    String text;
    while (begin < end) {
        const char c = *begin++;
        if (c != '\\' || begin == end) {
            text.AppendChar(c);
            continue;
        }
        switch (const char escaped = *begin++) {
        case 'f':
            text.AppendChar('\f');
            break;
        case 'n':
            text.AppendChar('\n');
            break;
        case 'r':
            text.AppendChar('\r');
            break;
        case 't':
            text.AppendChar('\t');
            break;
        case '0':
            break;
        default:
            text.AppendChar(escaped);
            break;
        }
    }
    return text;
}

enum class TokenKind { Nothing, OpenTag, CloseTag, Text };

struct Token {
    TokenKind kind = TokenKind::Nothing;
    String content; // the tag's name or the text, unescaped
};

// Classifies the token between begin and end, white space around it ignored.
Token Classify(const char* begin, const char* end)
{
    while (begin < end && IsWhiteSpace(*begin))
        ++begin;
    while (end > begin && IsWhiteSpace(end[-1]))
        --end;
    const std::ptrdiff_t length = end - begin;
    Token token;
    if (length >= 3 && begin[0] == '<' && begin[1] == '/' && end[-1] == '>') {
        token.kind = TokenKind::CloseTag;
        token.content = Unescaped(begin + 2, end - 1);
    } else if (length >= 2 && begin[0] == '<' && end[-1] == '>') {
        token.kind = TokenKind::OpenTag;
        token.content = Unescaped(begin + 1, end - 1);
    } else if (length > 0) {
        token.kind = TokenKind::Text;
        token.content = Unescaped(begin, end);
    }
    return token;
}

// The chain of open sections, the root at the bottom.
class SectionStack {
public:
    explicit SectionStack(ConfigSection& root) { Push(root); }

    void Push(ConfigSection& section) { items.Append(new PointeredListItem(&section)); }
    void Pop() { delete items.RemoveLast(); }
    int32_t GetDepth() const { return items.GetCount() - 1; }
    ConfigSection& Top() const { return *static_cast<ConfigSection*>(items.GetTail()->GetPointer()); }
    ConfigSection& BelowTop() const
    {
        return *static_cast<ConfigSection*>(items.GetTail()->GetPrevious()->GetPointer());
    }

private:
    PointeredList items;
};

// Applies one token; false on a syntax error. A parameter line arrives as a small section whose text
// becomes a parameter of the parent; its close tag removes the section again.
bool Apply(const Token& token, SectionStack& stack, bool& valuePending)
{
    switch (token.kind) {
    case TokenKind::OpenTag:
        if (stack.GetDepth() >= kMaximumDepth)
            return false;
        stack.Push(stack.Top().GetSection(token.content.GetText()));
        return true;
    case TokenKind::Text:
        if (stack.GetDepth() == 0)
            return false;
        stack.BelowTop().GetParameter(stack.Top().GetName()).SetString(token.content.GetText());
        valuePending = true;
        return true;
    case TokenKind::CloseTag:
        if (stack.GetDepth() == 0)
            return false;
        if (!token.content.IsEmpty() && !token.content.Equals(stack.Top().GetName()))
            return false;
        if (valuePending) {
            const String name(stack.Top().GetName());
            stack.BelowTop().RemoveSection(name.GetText());
            valuePending = false;
        }
        stack.Pop();
        return true;
    case TokenKind::Nothing:
        break;
    }
    return true;
}

} // namespace

bool Config::ParseText(const char* text)
{
    Clear();
    bool valid = true;
    {
        SectionStack stack(root);
        bool valuePending = false;
        while (valid && *text) {
            const char* end = TokenEnd(text);
            valid = Apply(Classify(text, end), stack, valuePending);
            text = end;
        }
        valid = valid && stack.GetDepth() == 0;
    }
    if (!valid) {
        Clear();
        return false;
    }
    ExchangeAll(false);
    return true;
}

} // namespace haspel
