#pragma once

// The program's web and mail addresses: the product page (Help, Context), the maker's home page
// (Help, Home page; the about box) and the support mail address (Help, Email To Support; the
// about box).
namespace links {

inline constexpr const char* kProductPage = "https://orvel.talmer-group.example/";
inline constexpr const char* kHomePage = "https://www.talmer-group.example/";
inline constexpr const char* kSupportAddress = "support@talmer-group.example";

}  // namespace links
