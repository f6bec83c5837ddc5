// The document of one open log: its name (the full path of a file, or a source's name), the source
// it is read from when that is not a plain file, its one view, and the deletion of the file.
#pragma once

#include "core/LogSource.h"
#include "foundation/String.h"

#include <memory>

namespace kestrano {

class ChildView;
class FileSystem;
class MessageBox;

class Document {
public:
    // The texts of its boxes (the desktop shows them translated): the question, and the error, which
    // names the full path and ends in ".".
    static constexpr const char* DeleteQuestion = "Sure to delete the log file?";
    static constexpr const char* CannotDeleteStart = "Error: Cannot delete ";

    // The path is made full (absolute, lexically normal). Nothing is opened or read.
    Document(const char* path, FileSystem& files, MessageBox& boxes);
    // A log read from a source, named as given (not made a path).
    Document(const char* name, std::unique_ptr<LogSource> source, FileSystem& files, MessageBox& boxes);
    virtual ~Document() = default;
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    const haspel::String& getPathName() const { return pathName; }
    // The log's view, or nullptr before it exists and after it is gone.
    ChildView* getFirstView() const { return view; }
    // The source, or nullptr for a plain file, which the view follows itself.
    LogSource* getSource() const { return source.get(); }
    // Whether the view keeps its switches in the workspace.
    bool isStored() const { return !source || source->stored(); }
    // Whether the log is a file that can be deleted.
    bool isDeletable() const { return !source || source->deletable(); }

    // Deletes the file without asking and rebuilds the view; a failure is reported in an error box.
    void deleteLogFile();
    // Asks first, then deletes.
    void confirmDeleteLogFile();

private:
    friend class ChildView; // registers itself while it exists

    haspel::String pathName;
    std::unique_ptr<LogSource> source;
    FileSystem& files;
    MessageBox& boxes;
    ChildView* view = nullptr;
};

} // namespace kestrano
