// A log read from a stream, standard input or one handed over: whatever is there at each read, never
// blocking, until its end. It can't be read again, so it is never stored in the workspace.
#pragma once

#include "core/sources/LogSource.h"

namespace kestrano {

class StreamSource : public LogSource {
public:
    // The descriptor stays open and is closed here only when owned.
    explicit StreamSource(int descriptor, bool owned = false);
    ~StreamSource() override;
    StreamSource(const StreamSource&) = delete;
    StreamSource& operator=(const StreamSource&) = delete;

    Result read(LogSink& sink, const ReadRequest& request) override
    {
        return keepingWhatWasRead([&] { return readNew(sink, request); });
    }
    void restart() override { }
    const std::string& getFailureReason() const override { return reason; }

private:
    Result readNew(LogSink& sink, const ReadRequest& request);
    const int descriptor;
    const bool owned;
    bool ended = false;
    bool lineOpen = false; // the last byte read was not a line end
    std::string reason;
};

} // namespace kestrano
