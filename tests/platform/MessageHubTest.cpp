#include "platform/MessageHub.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

using namespace platform;

namespace {

// Records what each window received, as "window:msg/wparam/lparam".
struct Log {
    std::vector<std::string> Lines;
    TMessageHub::Receiver For(const std::string& name) {
        return [this, name](const TWindowMessage& m) {
            Lines.push_back(name + ":" + std::to_string(m.Msg) + "/" + std::to_string(m.WParam) + "/" +
                            std::to_string(m.LParam));
        };
    }
};

}  // namespace

TEST(MessageHub, HandlesAreSmallNumbersNeverReused) {
    TMessageHub hub;
    Log log;
    const WindowHandle a = hub.Register(log.For("a"));
    const WindowHandle b = hub.Register(log.For("b"));
    EXPECT_NE(a, kNoWindow);
    EXPECT_NE(a, b);
    hub.Unregister(a);
    const WindowHandle c = hub.Register(log.For("c"));
    EXPECT_NE(c, a);
    EXPECT_NE(c, b);
    EXPECT_FALSE(hub.IsWindow(a));
    EXPECT_TRUE(hub.IsWindow(b));
    EXPECT_TRUE(hub.IsWindow(c));
    // The old handle reaches nobody, not even the window that came after it.
    EXPECT_FALSE(hub.Send(a, 1025, 501, 0));
    EXPECT_FALSE(hub.Send(kNoWindow, 1025, 501, 0));
    EXPECT_TRUE(log.Lines.empty());
}

TEST(MessageHub, SendDeliversAtOnceAndNests) {
    TMessageHub hub;
    std::vector<std::string> order;
    WindowHandle inner = kNoWindow;
    const WindowHandle outer = hub.Register([&](const TWindowMessage& m) {
        order.push_back("outer begins " + std::to_string(m.WParam));
        hub.Send(inner, 1027, m.WParam + 1, -99999);
        order.push_back("outer ends");
    });
    inner = hub.Register([&](const TWindowMessage& m) {
        order.push_back("inner " + std::to_string(m.WParam) + " " + std::to_string(m.LParam));
    });
    EXPECT_TRUE(hub.Send(outer, 1026, 520, 7));
    EXPECT_EQ(order, (std::vector<std::string>{"outer begins 520", "inner 521 -99999", "outer ends"}));
}

TEST(MessageHub, PostWaitsForTheLoopAndIsDroppedWhenTheWindowIsGone) {
    TMessageHub hub;
    Log log;
    const WindowHandle a = hub.Register(log.For("a"));
    const WindowHandle b = hub.Register(log.For("b"));
    hub.Post(a, 1025, 503, 1);
    hub.Post(b, 1025, 505, 2);
    hub.Post(a, 1025, 505, 3);
    EXPECT_TRUE(log.Lines.empty());
    EXPECT_EQ(hub.PendingCount(), 3);
    hub.Unregister(b);
    EXPECT_EQ(hub.DeliverPosted(), 2);
    EXPECT_EQ(log.Lines, (std::vector<std::string>{"a:1025/503/1", "a:1025/505/3"}));
    EXPECT_EQ(hub.PendingCount(), 0);
}

TEST(MessageHub, MessagesPostedByAHandlerComeAfterItInOrder) {
    TMessageHub hub;
    std::vector<std::string> order;
    WindowHandle a = kNoWindow;
    a = hub.Register([&](const TWindowMessage& m) {
        order.push_back("got " + std::to_string(m.WParam));
        if (m.WParam == 1) {
            hub.Post(a, 1, 2, 0);
            hub.Post(a, 1, 3, 0);
            order.push_back("posted");
        }
    });
    hub.Post(a, 1, 1, 0);
    EXPECT_EQ(hub.DeliverPosted(), 3);
    EXPECT_EQ(order, (std::vector<std::string>{"got 1", "posted", "got 2", "got 3"}));
}

TEST(MessageHub, AWindowMayUnregisterInsideItsOwnHandler) {
    TMessageHub hub;
    int calls = 0;
    std::string kept = "state that lives in the receiver";
    WindowHandle a = kNoWindow;
    a = hub.Register([&, kept](const TWindowMessage&) {
        hub.Unregister(a);
        ++calls;
        EXPECT_EQ(kept.size(), 32u);   // the receiver's own state is still alive here
    });
    EXPECT_TRUE(hub.Send(a, 1, 0, 0));
    EXPECT_FALSE(hub.Send(a, 1, 0, 0));
    EXPECT_EQ(calls, 1);
}

TEST(MessageHub, AnInstalledPosterCarriesTheQueuedDelivery) {
    TMessageHub hub;
    Log log;
    std::vector<std::function<void()>> loop;
    hub.SetPoster([&](std::function<void()> work) { loop.push_back(std::move(work)); });
    const WindowHandle a = hub.Register(log.For("a"));
    const WindowHandle b = hub.Register(log.For("b"));
    hub.Post(a, 1025, 505, 9);
    hub.Post(b, 1025, 505, 8);
    EXPECT_EQ(hub.PendingCount(), 0);
    ASSERT_EQ(loop.size(), 2u);
    EXPECT_TRUE(log.Lines.empty());
    hub.Unregister(b);
    for (auto& work : loop) work();
    EXPECT_EQ(log.Lines, (std::vector<std::string>{"a:1025/505/9"}));
    EXPECT_TRUE(static_cast<bool>(hub.SetPoster(nullptr)));
}
