#include "lang/Helpers.h"

#include <gtest/gtest.h>

TEST(Helpers, EnsureFileExt) {
    struct Case {
        const char* name;
        const char* ext;
        const char* expected;
    };
    const Case cases[] = {
        {"report", "txt", "report.txt"},
        {"report.txt", "txt", "report.txt"},
        {"report.doc", "txt", "report.doc.txt"},
        {"REPORT.TXT", "txt", "REPORT.TXT.txt"},            // the comparison keeps case
        {"/home/u/tests.old/base", "kvt", "/home/u/tests.old/base.kvt"},   // a dot in the folder does not count
        {"/home/u/tests.old/base.kvt", "kvt", "/home/u/tests.old/base.kvt"},
        {"folder.d/", "kvd", "folder.d/.kvd"},
        {"a.b.c", "csv", "a.b.c.csv"},
        {"project.kvd", "KVD", "project.kvd"},              // the extension is compared in lower case
        {"project", "KVD", "project.KVD"},                  // and added as given when there was none
        {"project.KVD", "KVD", "project.KVD.kvd"},
        {"C:\\data\\x.y\\name", "xml", "C:\\data\\x.y\\name.xml"},   // "\" is no separator: ".y\name" is the extension
        {"", "txt", ".txt"},
    };
    for (const Case& c : cases) EXPECT_EQ(EnsureFileExt(c.name, c.ext), c.expected) << c.name << " + " << c.ext;
}

TEST(Helpers, FileExtOf) {
    struct Case {
        const char* name;
        const char* expected;
    };
    const Case cases[] = {
        {"report.XML", ".XML"}, {"a.b.csv", ".csv"}, {"/home/u/tests.old/base", ""}, {"report.", "."},
        {"report", ""},         {"dir/.kvt", ".kvt"}, {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(FileExtOf(c.name), c.expected) << c.name;
}

TEST(Helpers, CopyRange) {
    struct Case {
        const char* s;
        int from, to;
        const char* expected;
    };
    const Case cases[] = {
        {"abcdef", 2, 4, "bcd"}, {"abcdef", 3, 3, "c"}, {"abcdef", 4, 2, ""}, {"abcdef", 1, 6, "abcdef"},
        {"abcdef", 6, 6, "f"},   {"", 1, 1, ""},        {"abcdef", 0, 2, "ab"}, {"abcdef", 5, 99, "ef"},
        {"abcdef", 7, 9, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CopyRange(c.s, c.from, c.to), c.expected) << c.s << " " << c.from << ".." << c.to;
}

TEST(Helpers, CommandStates) {
    EXPECT_EQ(CommandState(true), 1);
    EXPECT_EQ(CommandState(false), 2);
    EXPECT_FALSE(CommandStateEnabled(0));
    EXPECT_TRUE(CommandStateEnabled(1));
    EXPECT_FALSE(CommandStateEnabled(2));
    EXPECT_FALSE(CommandStateEnabled(3));
}
