#include "shell/DocTemplate.h"

#include "core/Document.h"
#include "shell/ChildFrame.h"

#include <algorithm>
#include <cstring>

namespace kestrano {

void DocTemplate::remove(ChildFrame* frame)
{
    frames.erase(std::remove(frames.begin(), frames.end(), frame), frames.end());
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
