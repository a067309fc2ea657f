#include "tests/support/ScopedStoreServices.h"

namespace {

class RecordingProgress : public IStoreProgress {
public:
    RecordingProgress(std::vector<ScopedStoreServices::Bar>& bars, std::size_t index) : bars_(bars), index_(index) {}
    void Step() override { ++bars_[index_].Done; }

private:
    std::vector<ScopedStoreServices::Bar>& bars_;
    std::size_t index_;
};

}  // namespace

ScopedStoreServices::ScopedStoreServices() : saved_(StoreServices()) {
    TStoreServices& s = StoreServices();
    s = TStoreServices::Defaults();
    s.MessageText = [](const std::string& key) { return TextOf(key); };
    s.ShowMessageText = [this](const std::string& text) { Shown.push_back(text); };
    s.MakeProgress = [this](int steps) -> std::unique_ptr<IStoreProgress> {
        Bars.push_back({steps, 0});
        return std::make_unique<RecordingProgress>(Bars, Bars.size() - 1);
    };
    s.ProgramProductInfo = [] { return TProductInfo{"Orvel", "2.0.1"}; };
}

ScopedStoreServices::~ScopedStoreServices() { StoreServices() = saved_; }
