#include "core/view/Document.h"

#include "core/ports/FileSystem.h"
#include "core/ports/MessageBox.h"
#include "core/view/ChildView.h"

namespace kestrano {

Document::Document(const char* name, const SourceContext& context, MessageBox& boxes)
    : pathName(logName(name))
    , kind(sourceKindOf(name))
    , source(kind.make(pathName.GetText(), context))
    , files(context.files)
    , boxes(boxes)
{ }

Document::Document(const char* name, FileSystem& files, MessageBox& boxes)
    : Document(name, SourceContext(files), boxes)
{ }

Document::Document(const char* name, std::unique_ptr<LogSource> source, FileSystem& files, MessageBox& boxes)
    : pathName(name)
    , kind(sourceKindOf(name))
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
    boxes.showError(ShownText {CoreText::CannotDelete, pathName.GetText()});
}

void Document::confirmDeleteLogFile()
{
    if (boxes.askYesNo(ShownText {CoreText::DeleteQuestion, pathName.GetText()}))
        deleteLogFile();
}

} // namespace kestrano
