// One FILE of the command line: its document, its view and the terminal list the view prints to.
#pragma once

#include "core/sources/SourceRegistry.h"
#include "core/view/ChildView.h"
#include "core/view/Document.h"
#include "tail/TerminalList.h"

#include <memory>
#include <string>
#include <vector>

namespace kestrano::tail {

class QuietDesktop;

class FollowedLog {
public:
    // file as given on the command line ("-", "journal:UNIT" or a path); it names the log in headers
    // and notices; its source is made with sources. The notices (gone, read again, cannot read) are
    // given only while following. With merged, each message is printed with the log's short name,
    // and the messages are held until releaseInOrder.
    FollowedLog(const std::string& file, const ViewContext& context, const SourceContext& sources,
        QuietDesktop& desktop, TerminalOutput& output, bool notices, bool merged = false);
    FollowedLog(const FollowedLog&) = delete;
    FollowedLog& operator=(const FollowedLog&) = delete;

    const std::string& getName() const { return file; }
    ChildView& getView() { return view; }
    // The source the log is read from (never nullptr).
    LogSource* getSource() const { return &document->getSource(); }
    bool isStream() const { return document->isStream(); }
    // Reads what is new in the file (its tail, the first time) and prints it.
    void poll();
    // The last poll ran out of time: the next one should come at once.
    bool hasMoreToRead() const { return view.hasMoreToRead(); }
    // The file was missing at the last poll.
    bool missing() const { return view.getReadPosition() == ChildView::UnknownPosition; }

    // Prints the messages the logs hold, held since they were made, as one stream in time order, and
    // prints each new message as it comes from now on.
    static void releaseInOrder(const std::vector<std::unique_ptr<FollowedLog>>& logs);

private:
    const std::string file;
    TerminalList list;
    std::unique_ptr<Document> document;
    ChildView view;
};

} // namespace kestrano::tail
