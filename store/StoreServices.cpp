#include "store/StoreServices.h"

TStoreServices TStoreServices::Defaults() {
    TStoreServices s;
    s.MessageText = [](const std::string& key) { return key; };
    s.ShowMessageText = [](const std::string&) {};
    s.MakeProgress = [](int) { return std::unique_ptr<IStoreProgress>(); };
    s.ProgramProductInfo = [] { return TProductInfo{"-", "-"}; };
    return s;
}

TStoreServices& StoreServices() {
    static TStoreServices services = TStoreServices::Defaults();
    return services;
}
