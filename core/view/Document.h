// The document of one open log: its name (the full path of a file, or a source's name), the source
// it is read from, its one view, and the deletion of the file.
#pragma once

#include "core/sources/LogSource.h"
#include "core/sources/SourceRegistry.h"
#include "foundation/String.h"

#include <memory>

namespace kestrano {

class ChildView;
class FileSystem;
class MessageBox;

class Document {
public:
    // The log named as on a command line, in a dialog or in the workspace, its source made as its kind's
    // row says (a path is made full). Nothing is opened or read.
    Document(const char* name, const SourceContext& context, MessageBox& boxes);
    Document(const char* name, FileSystem& files, MessageBox& boxes);
    // A log read from the source given, named as given (not made a path).
    Document(const char* name, std::unique_ptr<LogSource> source, FileSystem& files, MessageBox& boxes);
    virtual ~Document() = default;
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    const haspel::String& getPathName() const { return pathName; }
    LogSource& getSource() const { return *source; }
    // Whether the view keeps its switches in the workspace.
    bool isStored() const { return kind.stored; }
    // Whether the log is a file that can be deleted.
    bool isDeletable() const { return kind.deletable; }
    // Whether the log is a stream, read once to its end.
    bool isStream() const { return kind.stream; }
    // Whether the log is a plain file whose history can be shown.
    bool hasHistory() const { return kind.history; }

    // Deletes the file without asking and rebuilds the view; a failure is reported in an error box.
    void deleteLogFile();
    // Asks first, then deletes.
    void confirmDeleteLogFile();

private:
    friend class ChildView; // registers itself while it exists

    haspel::String pathName;
    const SourceKind& kind;
    std::unique_ptr<LogSource> source;
    FileSystem& files;
    MessageBox& boxes;
    ChildView* view = nullptr; // nullptr before it exists and after it is gone
};

} // namespace kestrano
