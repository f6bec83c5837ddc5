// One log opened as the desktop opens it, with a recording list and frame, for the benchmarks that
// read real files through real views.
#pragma once

#include "core/view/ChildView.h"
#include "core/view/Document.h"
#include "platform/LinuxFileSystem.h"
#include "tests/core/ViewDoubles.h"

#include <string>

namespace kestrano::bench {

struct OpenLog {
    OpenLog(const std::string& path, const ViewContext& context, MessageBox& boxes)
        : document(path.c_str(), systemFileSystem(), boxes)
        , view(document, context, list, frame)
    { }
    test::RecordingList list;
    test::RecordingFrame frame;
    Document document;
    ChildView view;
};

} // namespace kestrano::bench
