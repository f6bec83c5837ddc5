#include "shell/app/DocTemplate.h"

#include "core/view/Document.h"
#include "shell/windows/ChildFrame.h"

#include <algorithm>
#include <cstring>

namespace kestrano {

void DocTemplate::add(ChildFrame* frame)
{
    frames.push_back(frame);
    if (opened)
        opened(*frame);
}

void DocTemplate::remove(ChildFrame* frame)
{
    const auto found = std::find(frames.begin(), frames.end(), frame);
    if (found == frames.end())
        return;
    frames.erase(found);
    if (closed)
        closed(*frame);
}

void DocTemplate::setObservers(Observer opened, Observer closed)
{
    this->opened = std::move(opened);
    this->closed = std::move(closed);
}

std::vector<QPointer<ChildFrame>> DocTemplate::GetFrames() const
{
    return std::vector<QPointer<ChildFrame>>(frames.begin(), frames.end());
}

ChildFrame* DocTemplate::findFrame(const char* fullPath) const
{
    for (ChildFrame* frame : frames) {
        if (std::strcmp(frame->document().getPathName().GetText(), fullPath) == 0)
            return frame;
    }
    return nullptr;
}

} // namespace kestrano
