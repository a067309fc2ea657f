#pragma once

namespace platform {

// Shows the busy cursor over every window of the program while it lives: for work that can keep
// the window from answering for a noticeable while. Nested ones are counted by the platform.
class TBusyCursor {
public:
    TBusyCursor();
    ~TBusyCursor();
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;
};

}  // namespace platform
