#include "core/Document.h"

#include "core/ChildView.h"
#include "core/FullPath.h"
#include "core/ports/FileSystem.h"
#include "core/ports/MessageBox.h"

namespace kestrano {

Document::Document(const char* path, FileSystem& files, MessageBox& boxes)
    : pathName(makeFullPath(path))
    , files(files)
    , boxes(boxes)
{ }

Document::Document(const char* name, std::unique_ptr<LogSource> source, FileSystem& files, MessageBox& boxes)
    : pathName(name)
    , source(std::move(source))
    , files(files)
    , boxes(boxes)
{ }

void Document::deleteLogFile()
{
    if (!isDeletable())
        return;
    if (files.remove(pathName.GetText())) {
        if (view)
            view->rebuildList();
        return;
    }
    haspel::String text(CannotDeleteStart);
    text.Append(pathName.GetText());
    text.Append(".");
    boxes.showError(text.GetText());
}

void Document::confirmDeleteLogFile()
{
    if (boxes.askYesNo(DeleteQuestion))
        deleteLogFile();
}

} // namespace kestrano
