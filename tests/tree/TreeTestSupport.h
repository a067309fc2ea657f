#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/MessageHub.h"
#include "store/FileAccess.h"
#include "tree/NodeKind.h"

class QTreeWidget;
class QTreeWidgetItem;

// A small project with every shape the tree shows: groups whose order differs from their IDs,
// an empty group, a test without scales and questions, a private test, interpretations, a
// question without answers, weights bound to a scale and one bound to none.
void FillTreeFixture(TFileAccess& store);

// The fixture's tree, as DumpTree writes it with the shipped language texts.
std::string FixtureDump();

// Makes store the global store for the length of one test and puts the old one back.
class ScopedGlobalStore {
public:
    explicit ScopedGlobalStore(std::unique_ptr<TFileAccess> store);
    ~ScopedGlobalStore();
    ScopedGlobalStore(const ScopedGlobalStore&) = delete;
    ScopedGlobalStore& operator=(const ScopedGlobalStore&) = delete;

    TFileAccess& Store() const { return *GlobalStore(); }

private:
    std::unique_ptr<TFileAccess> saved_;
};

// Stands for the main window in the hub and keeps every message it gets.
class MainWindowProbe {
public:
    MainWindowProbe();
    ~MainWindowProbe();
    MainWindowProbe(const MainWindowProbe&) = delete;
    MainWindowProbe& operator=(const MainWindowProbe&) = delete;

    platform::WindowHandle Handle() const { return handle_; }
    std::vector<platform::TWindowMessage> Messages;
    // The WM_CHILDNOTIFY codes received, in order.
    std::vector<std::uint32_t> Codes() const;

private:
    platform::WindowHandle handle_;
};

// The first node in display order of that kind and ID; nullptr when none.
QTreeWidgetItem* FindNode(const QTreeWidget& tree, TNodeKind kind, std::int32_t id);
// The dump of a new tree built from the global store.
std::string RebuiltDump();
