#pragma once
#include <functional>
#include <memory>
#include <string>

// The data file's product record: the product and version that wrote it.
struct TProductInfo {
    std::string ProductName;
    std::string ProductVersion;
};

// One step of a long store operation; the program shows it in a progress window.
class IStoreProgress {
public:
    virtual ~IStoreProgress() = default;
    virtual void Step() = 0;
};

// What the store needs of the program around it. Start-up fills it from the message table, the
// message box, the progress window and the version block; tests set what they look at.
struct TStoreServices {
    // The text of a message key; raises (an Exception with its own text) when the key is missing.
    std::function<std::string(const std::string& key)> MessageText;
    // Shows a text in the plain message box.
    std::function<void(const std::string& text)> ShowMessageText;
    // A progress of the given number of steps; may return nullptr for none.
    std::function<std::unique_ptr<IStoreProgress>(int steps)> MakeProgress;
    // The product name and version of the running program.
    std::function<TProductInfo()> ProgramProductInfo;

    // Defaults: a key stands for its own text, messages go nowhere, no progress, "-" for the product.
    static TStoreServices Defaults();
};

TStoreServices& StoreServices();
