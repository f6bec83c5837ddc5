// The open logs of the program in the order they were opened: one log window per document.
#pragma once

#include <QPointer>

#include <functional>
#include <vector>

namespace kestrano {

class ChildFrame;
class Document;

class DocTemplate {
public:
    using Observer = std::function<void(ChildFrame& frame)>;

    void add(ChildFrame* frame);
    // Removes the window if it is open (at its closing, and again at its deletion).
    void remove(ChildFrame* frame);
    // Told each time a log window joins or leaves the open logs; empty functions tell nobody.
    void setObservers(Observer opened, Observer closed);

    int count() const { return static_cast<int>(frames.size()); }
    // A copy of the list, safe to walk while windows open or close.
    std::vector<QPointer<ChildFrame>> GetFrames() const;
    // Calls visit on every log window in the order of opening; a window closed meanwhile is skipped.
    template <class Visit> void forEachFrame(Visit&& visit) const
    {
        for (const QPointer<ChildFrame>& frame : GetFrames()) {
            if (frame)
                visit(*frame);
        }
    }
    // The log window of the document with this full path, or nullptr.
    ChildFrame* findFrame(const char* fullPath) const;

private:
    std::vector<ChildFrame*> frames;
    Observer opened;
    Observer closed;
};

} // namespace kestrano
