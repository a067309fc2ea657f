#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A small ELF file built byte by byte: a null section, the given sections and the section-name
// table, with the section headers at the end as linkers put them.
class ElfBuilder {
public:
    ElfBuilder(bool is64, bool bigEndian) : is64_(is64), big_(bigEndian) {}

    void Add(const std::string& name, const std::string& content, std::uint32_t type = 1) {
        sections_.push_back({name, content, type});
    }

    std::string Build() const {
        std::vector<Section> all = sections_;
        std::string names(1, '\0');
        std::vector<std::uint32_t> nameOffsets;
        for (const Section& s : all) {
            nameOffsets.push_back(static_cast<std::uint32_t>(names.size()));
            names += s.Name + '\0';
        }
        nameOffsets.push_back(static_cast<std::uint32_t>(names.size()));
        names += std::string(".shstrtab") + '\0';
        all.push_back({".shstrtab", names, 3});

        const std::size_t headerSize = is64_ ? 64 : 52;
        const std::size_t entrySize = is64_ ? 64 : 40;
        std::string out(headerSize, '\0');
        std::vector<std::uint64_t> offsets;
        for (const Section& s : all) {
            offsets.push_back(out.size());
            out += s.Content;
        }
        while (out.size() % 8) out += '\0';
        const std::uint64_t shoff = out.size();

        // The ELF header.
        out[0] = 0x7f, out[1] = 'E', out[2] = 'L', out[3] = 'F';
        out[4] = is64_ ? 2 : 1;
        out[5] = big_ ? 2 : 1;
        out[6] = 1;
        Put(out, 16, 2, 1);   // relocatable
        Put(out, 18, 2, 62);
        Put(out, 20, 4, 1);
        const std::size_t count = all.size() + 1;
        if (is64_) {
            Put(out, 0x28, 8, shoff);
            Put(out, 0x34, 2, headerSize);
            Put(out, 0x3A, 2, entrySize);
            Put(out, 0x3C, 2, count);
            Put(out, 0x3E, 2, count - 1);
        } else {
            Put(out, 0x20, 4, shoff);
            Put(out, 0x28, 2, headerSize);
            Put(out, 0x2E, 2, entrySize);
            Put(out, 0x30, 2, count);
            Put(out, 0x32, 2, count - 1);
        }
        // Section headers: entry 0 is empty.
        out += std::string(entrySize, '\0');
        for (std::size_t i = 0; i < all.size(); ++i) {
            std::string e(entrySize, '\0');
            Put(e, 0, 4, nameOffsets[i]);
            Put(e, 4, 4, all[i].Type);
            if (is64_) {
                Put(e, 24, 8, offsets[i]);
                Put(e, 32, 8, all[i].Content.size());
            } else {
                Put(e, 16, 4, offsets[i]);
                Put(e, 20, 4, all[i].Content.size());
            }
            out += e;
        }
        return out;
    }

private:
    struct Section {
        std::string Name;
        std::string Content;
        std::uint32_t Type;
    };
    void Put(std::string& s, std::size_t at, std::size_t width, std::uint64_t v) const {
        for (std::size_t i = 0; i < width; ++i)
            s[at + (big_ ? width - 1 - i : i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
    }

    bool is64_, big_;
    std::vector<Section> sections_;
};
