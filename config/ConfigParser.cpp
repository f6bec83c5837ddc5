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

// The chain of open tags, the root at the bottom. The newest open tag stays pending until it proves
// to be a section (a tag inside it, or closed empty), so a parameter line makes no section.
class SectionStack {
public:
    explicit SectionStack(ConfigSection& root) { Push(root); }

    int32_t GetDepth() const { return items.GetCount() - 1 + (pending ? 1 : 0); }
    const char* GetTopName() const { return pending ? pendingName.GetText() : Top().GetName(); }
    // The section the top tag's value goes into, under the top tag's name.
    ConfigSection& GetParent() const { return pending ? Top() : BelowTop(); }

    void Open(const char* name)
    {
        Materialize();
        pendingName = name;
        pending = true;
    }
    // Closes the top tag; unless discard, a pending one becomes a section first.
    void Close(bool discard)
    {
        if (!discard)
            Materialize();
        if (pending)
            pending = false;
        else
            delete items.RemoveLast();
    }

private:
    void Push(ConfigSection& section) { items.Append(new PointeredListItem(&section)); }
    void Materialize()
    {
        if (pending)
            Push(Top().GetSection(pendingName.GetText()));
        pending = false;
    }
    ConfigSection& Top() const { return *static_cast<ConfigSection*>(items.GetTail()->GetPointer()); }
    ConfigSection& BelowTop() const
    {
        return *static_cast<ConfigSection*>(items.GetTail()->GetPrevious()->GetPointer());
    }

    PointeredList items;
    String pendingName;
    bool pending = false;
};

// Applies one token; a syntax error is named. A tag holding text is a parameter of the section
// around it; its close tag removes a section of that name there.
SyntaxFault Apply(const Token& token, SectionStack& stack, bool& valuePending)
{
    switch (token.kind) {
    case TokenKind::OpenTag:
        if (stack.GetDepth() >= kMaximumDepth)
            return SyntaxFault::TooDeep;
        stack.Open(token.content.GetText());
        break;
    case TokenKind::Text:
        if (stack.GetDepth() == 0)
            return SyntaxFault::TextOutsideSection;
        stack.GetParent().GetParameter(stack.GetTopName()).SetString(token.content.GetText());
        valuePending = true;
        break;
    case TokenKind::CloseTag:
        if (stack.GetDepth() == 0)
            return SyntaxFault::CloseWithoutOpen;
        if (!token.content.IsEmpty() && !token.content.Equals(stack.GetTopName()))
            return SyntaxFault::CloseNamesOther;
        if (valuePending) {
            const String name(stack.GetTopName());
            stack.GetParent().RemoveSection(name.GetText());
        }
        stack.Close(valuePending);
        valuePending = false;
        break;
    case TokenKind::Nothing:
        break;
    }
    return SyntaxFault::None;
}

// The line (from 1) the byte at place is on.
int32_t LineOf(const char* text, const char* place)
{
    int32_t line = 1;
    for (const char* at = text;
         (at = static_cast<const char*>(std::memchr(at, '\n', static_cast<std::size_t>(place - at)))); ++at)
        ++line;
    return line;
}

} // namespace

bool Config::ParseText(const char* text)
{
    Clear();
    problem = ConfigProblem();
    const char* const start = text;
    SyntaxFault fault = SyntaxFault::None;
    {
        SectionStack stack(root);
        bool valuePending = false;
        while (fault == SyntaxFault::None && *text) {
            const char* end = TokenEnd(text);
            fault = Apply(Classify(text, end), stack, valuePending);
            if (fault == SyntaxFault::None)
                text = end;
        }
        if (fault == SyntaxFault::None && stack.GetDepth() != 0)
            fault = SyntaxFault::Unclosed;
    }
    if (fault != SyntaxFault::None) {
        Clear();
        // The token's first byte that is not white space.
        while (*text && IsWhiteSpace(*text))
            ++text;
        problem.kind = ConfigProblem::Kind::Unparsable;
        problem.fault = fault;
        problem.line = LineOf(start, text);
        return false;
    }
    ExchangeAll(false);
    return true;
}

} // namespace haspel
