// The open logs of the program in the order they were opened: one log window per document.
#pragma once

#include <QPointer>

#include <vector>

namespace kestrano {

class ChildFrame;
class Document;

class DocTemplate {
public:
    void add(ChildFrame* frame) { frames.push_back(frame); }
    void remove(ChildFrame* frame);

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
};

} // namespace kestrano
