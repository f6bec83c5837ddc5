#include "config/Path.h"

#include <cstring>
#include <memory>

namespace haspel {

namespace {

void AddCopy(ArrayList<String>& list, const String& text)
{
    std::unique_ptr<String> copy(text.Clone());
    list.Add(copy.get());
    copy.release();
}

} // namespace

Path::Path() = default;

Path::Path(const char* text)
{
    Parse(text);
}

Path::Path(const Path& other)
{
    Assign(other);
}

Path& Path::operator=(const Path& other)
{
    Assign(other);
    return *this;
}

Path::~Path() = default;

void Path::Parse(const char* text)
{
    SetRoot(text[0] == '/' ? String("/") : String());
    components.Clear();
    const char* piece = text;
    while (*piece) {
        const char* end = std::strchr(piece, '/');
        if (!end)
            end = piece + std::strlen(piece);
        if (end > piece)
            AddCopy(components, String(piece, static_cast<int32_t>(end - piece)));
        piece = *end ? end + 1 : end;
    }
}

void Path::SetRoot(const String& newRoot)
{
    const char* text = newRoot.GetText();
    if (text[0] == '/' && text[std::strspn(text, "/")] == '\0')
        root.Assign("/");
    else
        root.Assign(newRoot);
}

void Path::Assign(const Path& other)
{
    if (this == &other)
        return;
    SetRoot(other.root);
    components.Clear();
    for (int32_t i = 0; i < other.components.GetCount(); ++i)
        AddCopy(components, *other.components.Get(i));
}

String Path::ToString(bool trailingSeparator) const
{
    String text(root);
    const int32_t count = components.GetCount();
    for (int32_t i = 0; i < count; ++i) {
        if (i > 0)
            text.AppendChar('/');
        text.Append(components.Get(i)->GetText());
    }
    if (trailingSeparator && count > 0)
        text.AppendChar('/');
    return text;
}

bool Path::RemoveLast()
{
    String* last = components.RemoveLast();
    delete last;
    return last != nullptr;
}

void Path::Append(const char* name)
{
    AddCopy(components, String(name));
}

const char* Path::GetComponent(int32_t index) const
{
    const String* component = components.Get(index);
    return component ? component->GetText() : nullptr;
}

const char* Path::GetLastComponent() const
{
    return GetComponent(components.GetCount() - 1);
}

} // namespace haspel
