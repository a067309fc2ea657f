#include "exchange/ConverterBinding.h"

TConverterBinding::TConverterBinding(const std::string& folder)
    : corvishLibrary_(platform::TSharedLibrary::Load(folder + "/libcorvish.so")),
      vantrelLibrary_(platform::TSharedLibrary::Load(folder + "/libvantrel.so")),
      corvish_(corvishLibrary_->Function<TConverterFunction>("Corvish")),
      vantrel_(vantrelLibrary_->Function<TConverterFunction>("Vantrel")) {}

std::string TConverterBinding::PathArgument(const std::string& path) {
    const std::size_t n = std::min(path.size(), kMaxPath);
    std::string arg(1, static_cast<char>(n));
    arg.append(path, 0, n);
    return arg;
}

bool TConverterBinding::Call(TConverterFunction* function, const std::string& path) {
    const std::string arg = PathArgument(path);
    return function(reinterpret_cast<const unsigned char*>(arg.data()));
}

bool TConverterBinding::Corvish(const std::string& path) { return Call(corvish_, path); }

bool TConverterBinding::Vantrel(const std::string& path) { return Call(vantrel_, path); }
