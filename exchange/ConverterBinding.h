#pragma once
#include <memory>
#include <string>

#include "platform/SharedLibrary.h"

// The two converters that the update check calls: Corvish of the outside library corvish (the
// sibling product's format 1.2.0) and Vantrel of the converter library vantrel (versions 1.2.1 to
// 1.4.1). Each rewrites the file at the path in place and answers whether it did.
class IConverters {
public:
    virtual ~IConverters() = default;
    // path: at most 255 bytes, the most that the call carries.
    virtual bool Corvish(const std::string& path) = 0;
    virtual bool Vantrel(const std::string& path) = 0;
};

// The converters bound from the libraries libcorvish.so and libvantrel.so. Only the two exports
// are used; the data file on disk is the only other thing that passes.
class TConverterBinding : public IConverters {
public:
    static constexpr std::size_t kMaxPath = 255;
    using TConverterFunction = bool(const unsigned char* path);

    // Loads both libraries from folder and binds their exports; raises platform::ELibraryError
    // naming what is missing.
    explicit TConverterBinding(const std::string& folder);

    bool Corvish(const std::string& path) override;
    bool Vantrel(const std::string& path) override;

    // The argument of a call: one length byte and the path's bytes, cut to 255.
    static std::string PathArgument(const std::string& path);

private:
    static bool Call(TConverterFunction* function, const std::string& path);

    std::unique_ptr<platform::TSharedLibrary> corvishLibrary_;
    std::unique_ptr<platform::TSharedLibrary> vantrelLibrary_;
    TConverterFunction* corvish_;
    TConverterFunction* vantrel_;
};
