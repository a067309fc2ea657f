#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>

namespace platform {

// A window's handle: a small number handed out by the hub, never reused; 0 is no window.
using WindowHandle = std::uint32_t;
constexpr WindowHandle kNoWindow = 0;

struct TWindowMessage {
    std::uint32_t Msg = 0;
    std::uint32_t WParam = 0;
    std::int32_t LParam = 0;
};

// Delivers the program's private window messages between its windows, all on the GUI thread.
// Send runs the receiver at once (a receiver may send again, so sends nest); Post queues the
// message and delivers it later, dropping it when the window is gone by then. The hub itself
// knows no event loop: the queued delivery goes through a poster that the Qt layer installs;
// without one, posted messages wait until DeliverPosted runs.
class TMessageHub {
public:
    using Receiver = std::function<void(const TWindowMessage&)>;
    // Runs a piece of work later on the GUI thread, after the current handler has returned.
    using Poster = std::function<void(std::function<void()>)>;

    TMessageHub() = default;
    TMessageHub(const TMessageHub&) = delete;
    TMessageHub& operator=(const TMessageHub&) = delete;

    // A new handle for a window that receives with receiver.
    WindowHandle Register(Receiver receiver);
    // The window is gone: later messages to its handle are dropped. A receiver that is running
    // finishes safely.
    void Unregister(WindowHandle handle);
    bool IsWindow(WindowHandle handle) const;

    // Delivers at once; false when there is no such window.
    bool Send(WindowHandle to, std::uint32_t msg, std::uint32_t wParam, std::int32_t lParam);
    // Queues the message; it is delivered if the window still exists then.
    void Post(WindowHandle to, std::uint32_t msg, std::uint32_t wParam, std::int32_t lParam);

    // Installs the poster (nullptr: none) and returns the one it replaces. Messages queued
    // without a poster stay queued until DeliverPosted.
    Poster SetPoster(Poster poster);
    // Delivers the messages queued without a poster, in order, also those that the delivered
    // handlers post meanwhile; returns how many reached a window.
    int DeliverPosted();
    int PendingCount() const { return static_cast<int>(pending_.size()); }

private:
    struct Entry {
        WindowHandle To;
        TWindowMessage Message;
    };
    bool Deliver(const Entry& e);

    std::map<WindowHandle, std::shared_ptr<Receiver>> windows_;
    WindowHandle last_ = kNoWindow;
    std::deque<Entry> pending_;
    Poster poster_;
};

// The program's one hub.
TMessageHub& MessageHub();

}  // namespace platform
