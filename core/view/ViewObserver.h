// Told how a log view's kept messages change, so that a view over several logs (the merged window)
// can follow them without copying them.
#pragma once

namespace kestrano {

class ChildView;
class Message;

class ViewObserver {
public:
    virtual ~ViewObserver() = default;

    // A kept message was added (whether the view's own filters show it or not).
    virtual void messageAdded(ChildView& view, Message* message) = 0;
    // The newest message of the view grew by a continuation line.
    virtual void messageContinued(ChildView& view, Message* message) = 0;
    // The oldest message is about to be dropped (KeepLines).
    virtual void messageDropping(ChildView& view, Message* message) = 0;
    // Every kept message is about to be dropped: the log vanished, starts over or was cleared.
    virtual void messagesEmptying(ChildView& view) = 0;
    // A poll brought a message at the OnTop threshold; the view's own window shows news.
    virtual void newsShown(ChildView& /*view*/) { }
    // The view is being destroyed; it forgets its observers afterwards.
    virtual void viewClosing(ChildView& view) = 0;
};

} // namespace kestrano
