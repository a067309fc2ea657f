#pragma once
#include <string>
#include <vector>

namespace platform {

// One entry of a help file's contents (".hhc") or keyword index (".hhk"): its text, the topic
// it leads to (a path in the help file, possibly with a "#" anchor; empty for a heading) and
// the entries below it.
struct THelpSitemapEntry {
    std::string Name;
    std::string Local;
    std::vector<THelpSitemapEntry> Children;
};

// Reads the entries of a contents or index file: each <OBJECT type="text/sitemap"> with its
// "Name" and "Local" parameters, nested by the <UL> lists around them. Anything else is
// skipped; a damaged file gives what could be read.
std::vector<THelpSitemapEntry> ParseHelpSitemap(const std::string& html);

}  // namespace platform
