// Shows one message in full, modally (the details dialog).
#pragma once

namespace kestrano {

class Message;

class MessageDetails {
public:
    virtual ~MessageDetails() = default;

    // Returns when the user closed the dialog. Polls go on meanwhile and may delete the message, so the
    // dialog keeps its own copy of what it shows.
    virtual void show(const Message& message) = 0;
};

} // namespace kestrano
