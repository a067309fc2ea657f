#include "lang/VersionInformation.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ProgramFolder.h"
#include "tests/support/ElfBuilder.h"
#include "tests/support/TempDir.h"

namespace {

const std::string kBlock =
    "Translation=041904e3\n"
    "CompanyName=Example Co\n"
    "FileDescription=Example program\n"
    "FileVersion=1.2.3.4\n"
    "InternalName=example\n"
    "LegalCopyright=(C) Example\n"
    "LegalTrademarks=Example Long Name\n"
    "OriginalFilename=example.bin\n"
    "ProductName=Example\n"
    "ProductVersion=1.2.3\n"
    "Comments=\n"
    "SupportEmail=help@example.org\n";

std::string ElfWithBlock(const std::string& block, bool is64 = true, bool big = false) {
    ElfBuilder elf(is64, big);
    elf.Add(".text", std::string(40, '\x90'));
    elf.Add(".orvel_version", block);
    elf.Add(".data", "data");
    return elf.Build();
}

std::vector<std::string> Values(const TVersionInformation& v) {
    return {v.CompanyName,    v.FileDescription, v.FileVersion, v.InternalName, v.LegalCopyright,
            v.LegalTradeMarks, v.OriginalFilename, v.ProductName, v.ProductVersion, v.Comments,
            v.WebSite,        v.SupportEmail,    v.Translation};
}

void ExpectEmpty(const TVersionInformation& v, const std::string& what) {
    EXPECT_EQ(v.Size, 0) << what;
    for (const std::string& value : Values(v)) EXPECT_EQ(value, "-") << what;
}

}  // namespace

TEST(VersionInformation, ThisProgramCarriesTheProductsBlock) {
    const TVersionInformation v(platform::ProgramFile());
    EXPECT_GT(v.Size, 0);
    EXPECT_EQ(v.ProductName, "Orvel");
    EXPECT_EQ(v.ProductVersion, "2.0.1");
    EXPECT_EQ(v.FileVersion, "2.0.1");
    EXPECT_EQ(v.InternalName, "lang_core_tests");
    EXPECT_EQ(v.OriginalFilename, "lang_core_tests");
    EXPECT_EQ(v.Translation, "0409FDE9");
    EXPECT_NE(v.LegalCopyright, "-");
    EXPECT_NE(v.LegalTradeMarks, "-");
    EXPECT_EQ(v.WebSite, "-");
}

#ifdef ORVEL_PROGRAM
TEST(VersionInformation, TheBuiltProgramCarriesTheProductsBlock) {
    const TVersionInformation v(ORVEL_PROGRAM);
    EXPECT_GT(v.Size, 0);
    EXPECT_EQ(v.ProductName, "Orvel");
    EXPECT_EQ(v.ProductVersion, "2.0.1");
    EXPECT_EQ(v.OriginalFilename, "orvel");
}
#endif

TEST(VersionInformation, ReadsTheValuesOfABlockByName) {
    TempDir dir;
    for (const bool is64 : {true, false}) {
        for (const bool big : {false, true}) {
            WriteBytes(dir.File("prog"), ElfWithBlock(kBlock, is64, big));
            const TVersionInformation v(dir.File("prog"));
            const std::string what = std::string(is64 ? "ELF64" : "ELF32") + (big ? " big-endian" : "");
            EXPECT_EQ(v.Size, static_cast<int>(kBlock.size())) << what;
            EXPECT_EQ(Values(v), (std::vector<std::string>{"Example Co", "Example program", "1.2.3.4", "example",
                                                           "(C) Example", "Example Long Name", "example.bin",
                                                           "Example", "1.2.3", "-", "-", "help@example.org",
                                                           "041904E3"}))
                << what;
        }
    }
}

TEST(VersionInformation, TranslationKeepsLeadingZeros) {
    TempDir dir;
    WriteBytes(dir.File("prog"), ElfWithBlock("Translation=000904b0\nProductName=P\n"));
    const TVersionInformation v(dir.File("prog"));
    EXPECT_EQ(v.Translation, "000904B0");
    EXPECT_EQ(v.ProductName, "P");
}

TEST(VersionInformation, ABlockWithoutTranslationHasNoValues) {
    TempDir dir;
    for (const std::string& block : {std::string("ProductName=Example\nProductVersion=1\n"),
                                     std::string("Translation=0419\nProductName=Example\n"),
                                     std::string("Translation=04190XYZ\nProductName=Example\n")}) {
        WriteBytes(dir.File("prog"), ElfWithBlock(block));
        const TVersionInformation v(dir.File("prog"));
        EXPECT_EQ(v.Size, static_cast<int>(block.size()));
        for (const std::string& value : Values(v)) EXPECT_EQ(value, "-") << block;
    }
}

TEST(VersionInformation, ATextStopsAtItsZeroByte) {
    TempDir dir;
    const std::string block = std::string("Translation=0409FDE9\nProductName=Cut\0ProductVersion=9\n", 52);
    WriteBytes(dir.File("prog"), ElfWithBlock(block));
    const TVersionInformation v(dir.File("prog"));
    EXPECT_EQ(v.Size, 52);
    EXPECT_EQ(v.ProductName, "Cut");
    EXPECT_EQ(v.ProductVersion, "-");
}

TEST(VersionInformation, FilesWithoutABlockGiveNothing) {
    TempDir dir;
    WriteBytes(dir.File("text.txt"), "ProductName=Orvel\nProductVersion=2.0.1\n");
    WriteBytes(dir.File("empty"), "");
    WriteBytes(dir.File("magic"), "\x7f" "ELF");
    ElfBuilder noBlock(true, false);
    noBlock.Add(".text", "code");
    WriteBytes(dir.File("noblock"), noBlock.Build());
    ElfBuilder emptyBlock(true, false);
    emptyBlock.Add(".orvel_version", "");
    WriteBytes(dir.File("emptyblock"), emptyBlock.Build());
    ElfBuilder noBits(true, false);
    noBits.Add(".orvel_version", std::string(64, 'x'), 8);
    WriteBytes(dir.File("nobits"), noBits.Build());

    for (const char* name : {"absent", "text.txt", "empty", "magic", "noblock", "emptyblock", "nobits"})
        ExpectEmpty(TVersionInformation(dir.File(name)), name);
    ExpectEmpty(TVersionInformation(dir.Path()), "a folder");
    ExpectEmpty(TVersionInformation("/dev/null"), "a device");
    ExpectEmpty(TVersionInformation(""), "no name");
}

TEST(VersionInformation, TruncatedCopiesOfTheProgramGiveNothing) {
    const std::string program = ReadBytes(platform::ProgramFile());
    ASSERT_GT(program.size(), 4096u);
    TempDir dir;
    for (const std::size_t length : {std::size_t{3}, std::size_t{16}, std::size_t{63}, std::size_t{64}, program.size() / 2,
                                     program.size() - 1}) {
        WriteBytes(dir.File("cut"), program.substr(0, length));
        ExpectEmpty(TVersionInformation(dir.File("cut")), "cut at " + std::to_string(length));
    }
}

TEST(VersionInformation, DamagedHeadersGiveNothing) {
    const std::string good = ElfWithBlock(kBlock);
    const auto put8 = [](std::string s, std::size_t at, std::uint64_t v) {
        for (int i = 0; i < 8; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
        return s;
    };
    const auto put2 = [](std::string s, std::size_t at, std::uint16_t v) {
        s[at] = static_cast<char>(v & 0xFF);
        s[at + 1] = static_cast<char>(v >> 8);
        return s;
    };
    const std::uint64_t shoff = [&] {
        std::uint64_t v = 0;
        for (int i = 0; i < 8; ++i) v |= std::uint64_t{static_cast<unsigned char>(good[0x28 + i])} << (8 * i);
        return v;
    }();
    const std::size_t versionEntry = shoff + 2 * 64;   // entries: null, .text, .orvel_version
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"section table past the end", put8(good, 0x28, good.size() + 100)},
        {"section table offset overflowing", put8(good, 0x28, ~std::uint64_t{0} - 10)},
        {"entries too small", put2(good, 0x3A, 8)},
        {"more entries than the file holds", put2(good, 0x3C, 60000)},
        {"name table index out of range", put2(good, 0x3E, 200)},
        {"block offset past the end", put8(good, versionEntry + 24, good.size())},
        {"block size past the end", put8(good, versionEntry + 32, good.size())},
        {"block size huge", put8(good, versionEntry + 32, ~std::uint64_t{0})},
        {"block offset huge", put8(good, versionEntry + 24, ~std::uint64_t{0} - 3)},
        {"unknown class", [&] { std::string s = good; s[4] = 7; return s; }()},
    };
    TempDir dir;
    for (const Case& c : cases) {
        WriteBytes(dir.File("bad"), c.bytes);
        ExpectEmpty(TVersionInformation(dir.File("bad")), c.name);
    }
    // The same file undamaged reads.
    WriteBytes(dir.File("good"), good);
    EXPECT_EQ(TVersionInformation(dir.File("good")).ProductName, "Example");
}

TEST(VersionInformation, ClearSetsEveryValueBack) {
    TempDir dir;
    WriteBytes(dir.File("prog"), ElfWithBlock(kBlock));
    TVersionInformation v(dir.File("prog"));
    ASSERT_EQ(v.ProductName, "Example");
    v.Clear();
    ExpectEmpty(v, "after Clear");
    v.ReadVersionInfo();
    EXPECT_EQ(v.ProductName, "Example");
}
