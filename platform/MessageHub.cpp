#include "platform/MessageHub.h"

#include <stdexcept>
#include <utility>

namespace platform {

WindowHandle TMessageHub::Register(Receiver receiver) {
    if (last_ == UINT32_MAX) throw std::overflow_error("No window handle is left");
    const WindowHandle h = ++last_;
    windows_.emplace(h, std::make_shared<Receiver>(std::move(receiver)));
    return h;
}

void TMessageHub::Unregister(WindowHandle handle) { windows_.erase(handle); }

bool TMessageHub::IsWindow(WindowHandle handle) const { return windows_.count(handle) != 0; }

bool TMessageHub::Send(WindowHandle to, std::uint32_t msg, std::uint32_t wParam, std::int32_t lParam) {
    return Deliver({to, {msg, wParam, lParam}});
}

bool TMessageHub::Deliver(const Entry& e) {
    auto it = windows_.find(e.To);
    if (it == windows_.end()) return false;
    // Hold the receiver: its window may unregister while its handler runs.
    const std::shared_ptr<Receiver> receiver = it->second;
    if (*receiver) (*receiver)(e.Message);
    return true;
}

void TMessageHub::Post(WindowHandle to, std::uint32_t msg, std::uint32_t wParam, std::int32_t lParam) {
    Entry e{to, {msg, wParam, lParam}};
    if (poster_) {
        poster_([this, e] { Deliver(e); });
    } else {
        pending_.push_back(e);
    }
}

TMessageHub::Poster TMessageHub::SetPoster(Poster poster) {
    std::swap(poster, poster_);
    return poster;
}

int TMessageHub::DeliverPosted() {
    int delivered = 0;
    while (!pending_.empty()) {
        const Entry e = pending_.front();
        pending_.pop_front();
        if (Deliver(e)) ++delivered;
    }
    return delivered;
}

TMessageHub& MessageHub() {
    static TMessageHub hub;
    return hub;
}

}  // namespace platform
