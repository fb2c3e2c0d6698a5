#include <gtest/gtest.h>

#include <random>

#include "platform/RegistryTree.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::string_view kHead = "Windows Registry Editor Version 5.00\n\n";

std::string InKey(std::string_view lines) {
    return std::string(kHead) + "[HKEY_CURRENT_USER\\K]\n" + std::string(lines) + "\n";
}

TEST(RegistryTree, ParsesEveryValueForm) {
    struct Case {
        const char* text;
        std::string name;
        std::uint32_t type;
        Bytes data;
    };
    const Case cases[] = {
        {R"("a"=dword:00000138)", "a", REG_DWORD, {0x38, 0x01, 0, 0}},
        {R"("a"=DWORD:FFFFFFFE)", "a", REG_DWORD, {0xFE, 0xFF, 0xFF, 0xFF}},
        {R"("a"=dword:5)", "a", REG_DWORD, {5, 0, 0, 0}},
        {R"("a"=hex:05,01)", "a", REG_BINARY, {5, 1}},
        {R"("a"=hex:)", "a", REG_BINARY, {}},
        {R"("a" = hex: 0a , 0B)", "a", REG_BINARY, {0x0A, 0x0B}},
        {R"("a"=hex(0):)", "a", REG_NONE, {}},
        {R"("a"=hex(4):01,02)", "a", REG_DWORD, {1, 2}},
        {R"("a"=hex(b):01,02,03,04,05,06,07,08)", "a", REG_QWORD, {1, 2, 3, 4, 5, 6, 7, 8}},
        {R"("a"=hex(7):61,00,00,00,00,00)", "a", REG_MULTI_SZ, {0x61, 0, 0, 0, 0, 0}},
        {R"("a"=hex(ffffffff):ff)", "a", 0xFFFFFFFF, {0xFF}},
        {"\"a\"=hex:01,02,\\\n  03,\\\n  04", "a", REG_BINARY, {1, 2, 3, 4}},
        {"\"a\"=hex(2):\\\n  41,00,00,00", "a", REG_EXPAND_SZ, {0x41, 0, 0, 0}},
        {R"("a"="ab")", "a", REG_SZ, {'a', 0, 'b', 0, 0, 0}},
        {R"("a"="")", "a", REG_SZ, {0, 0}},
        {R"("a"="C:\\d \"q\"")",
         "a",
         REG_SZ,
         {'C', 0, ':', 0, '\\', 0, 'd', 0, ' ', 0, '"', 0, 'q', 0, '"', 0, 0, 0}},
        {"\"a\"=\"\xE7\x99\xBE\xE5\xAE\xB6\"", "a", REG_SZ, {0x7E, 0x76, 0xB6, 0x5B, 0, 0}},
        {"\"a\"=\"\xF0\x9F\x98\x80\"", "a", REG_SZ, {0x3D, 0xD8, 0x00, 0xDE, 0, 0}},
        {R"(@="x")", "", REG_SZ, {'x', 0, 0, 0}},
        {R"("a\"b\\c"=dword:00000001)", "a\"b\\c", REG_DWORD, {1, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::string error;
        const auto tree = CRegistryTree::Parse(InKey(c.text), &error);
        ASSERT_TRUE(tree) << error;
        const CRegKeyNode* key = tree->Find({"K"});
        ASSERT_NE(key, nullptr);
        ASSERT_EQ(key->m_values.size(), 1u);
        EXPECT_EQ(key->m_values[0], (CRegValue{c.name, c.type, c.data}));
    }
}

TEST(RegistryTree, RefusesMalformedText) {
    const struct {
        const char* why;
        std::string text;
    } cases[] = {
        {"no header", "[HKEY_CURRENT_USER\\K]\n\"a\"=dword:1\n"},
        {"old header", "REGEDIT4\n\n[HKEY_CURRENT_USER\\K]\n"},
        {"value before any key", std::string(kHead) + "\"a\"=dword:1\n"},
        {"other root", std::string(kHead) + "[HKEY_LOCAL_MACHINE\\K]\n"},
        {"root prefix only", std::string(kHead) + "[HKEY_CURRENT_USERS\\K]\n"},
        {"key deletion", std::string(kHead) + "[-HKEY_CURRENT_USER\\K]\n"},
        {"empty key name", std::string(kHead) + "[HKEY_CURRENT_USER\\A\\\\B]\n"},
        {"trailing backslash", std::string(kHead) + "[HKEY_CURRENT_USER\\A\\]\n"},
        {"unclosed key", std::string(kHead) + "[HKEY_CURRENT_USER\\A\n"},
        {"value deletion", InKey(R"("a"=-)")},
        {"bad hex digit", InKey(R"("a"=hex:0g)")},
        {"three-digit byte", InKey(R"("a"=hex:123)")},
        {"empty byte", InKey(R"("a"=hex:01,,02)")},
        {"trailing comma", InKey(R"("a"=hex:01,)")},
        {"continuation past the end", InKey("\"a\"=hex:01,\\")},
        {"unclosed hex type", InKey(R"("a"=hex(3:01)")},
        {"nine-digit dword", InKey(R"("a"=dword:000000001)")},
        {"empty dword", InKey(R"("a"=dword:)")},
        {"unterminated string", InKey(R"("a"="abc)")},
        {"text after a string", InKey(R"("a"="abc" x)")},
        {"unknown escape", InKey(R"("a"="\n")")},
        {"unknown type", InKey(R"("a"=qword:1)")},
        {"missing =", InKey(R"("a" dword:1)")},
        {"stray line", InKey("garbage")},
        {"not UTF-8", InKey("\"a\"=\"\xFF\"")},
        {"control character in a name", InKey("\"a\tb\"=dword:1")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        std::string error;
        EXPECT_FALSE(CRegistryTree::Parse(c.text, &error));
        EXPECT_FALSE(error.empty());
    }
    std::string error;
    CRegistryTree::Parse(InKey("\"a\"=dword:1\n\"b\"=oops"), &error);
    EXPECT_EQ(error, "line 5: unknown value type");
}

TEST(RegistryTree, ReadsWhatEditorsLeave) {
    // Blank text is an empty hive; a BOM, CRLF, comments, indentation, repeated sections and
    // names in another case all merge into one key.
    EXPECT_EQ(CRegistryTree::Parse(""), CRegistryTree{});
    EXPECT_EQ(CRegistryTree::Parse("\n \r\n\t\n"), CRegistryTree{});
    const auto tree = CRegistryTree::Parse(
        "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n"
        "; saved by hand\r\n"
        "[HKEY_CURRENT_USER\\Darozova]\r\n"
        "  \"Version\"=dword:00000138\r\n"
        "\"WinStopNum\"=dword:00000003\r\n"
        "[hkey_current_user\\DAROZOVA]\r\n"
        "\"winstopnum\"=hex:05,01\r\n");
    ASSERT_TRUE(tree);
    ASSERT_EQ(tree->Root().m_subkeys.size(), 1u);
    const CRegKeyNode& key = tree->Root().m_subkeys[0];
    EXPECT_EQ(key.m_strName, "Darozova");
    ASSERT_EQ(key.m_values.size(), 2u);
    EXPECT_EQ(key.m_values[1], (CRegValue{"WinStopNum", REG_BINARY, {5, 1}}));
}

TEST(RegistryTree, FormatsAsExportsDo) {
    // Keys in tree order, each followed by a blank line; a long list wraps before column 80.
    const std::string text =
        "Windows Registry Editor Version 5.00\n"
        "\n"
        "[HKEY_CURRENT_USER]\n"
        "@=\"root\"\n"
        "\n"
        "[HKEY_CURRENT_USER\\Darozova]\n"
        "\"Version\"=dword:00000138\n"
        "\"WinStopNum\"=hex:05,01\n"
        "\"LossStopMoney\"=\"some \\\"text\\\" in C:\\\\\"\n"
        "\"Odd\"=hex(4):01,02,03\n"
        "\"Nul\"=hex(1):61,00,00,00,62,00,00,00\n"
        "\"Blob\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\\\n"
        "  16,17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a,2b,2c,2d,2e,\\\n"
        "  2f\n"
        "\n"
        "[HKEY_CURRENT_USER\\Darozova\\Empty]\n"
        "\n"
        "[HKEY_CURRENT_USER\\Other]\n"
        "\"Q\"=hex(b):01,00,00,00,00,00,00,00\n"
        "\n";
    const auto tree = CRegistryTree::Parse(text);
    ASSERT_TRUE(tree);
    EXPECT_EQ(tree->Format(), text);
    EXPECT_EQ(CRegistryTree{}.Format(), kHead);
}

// Any tree survives Format and Parse with every name, type and byte intact, including data that
// only a hex list can carry (strings without a terminator, with NULs, lone surrogates, controls).
TEST(RegistryTree, FormatThenParseKeepsEveryByte) {
    std::mt19937 random(20261211);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const std::string nameChars[] = {"a", "Z", "\\", "\"", "]", " ", "=", "\xE7\x99\xBE", "@"};
    auto randomName = [&](int minLength) {
        std::string name;
        const int length = minLength + pick(6);
        for (int i = 0; i < length; ++i) name += nameChars[pick(std::size(nameChars))];
        return name;
    };
    const std::uint32_t types[] = {REG_NONE,  REG_SZ,    REG_SZ,       REG_EXPAND_SZ, REG_BINARY,
                                   REG_DWORD, REG_DWORD, REG_MULTI_SZ, REG_QWORD,     0x12345};
    for (int round = 0; round < 200; ++round) {
        CRegistryTree tree;
        for (int k = 0; k < 3; ++k) {
            std::string keyName = randomName(1);
            std::erase(keyName, '\\');
            if (keyName.empty() || tree.Root().FindSubkey(keyName)) continue;
            CRegKeyNode& key = tree.Create({"Top", keyName});
            for (int v = 0; v < 4; ++v) {
                Bytes data(static_cast<std::size_t>(pick(4) == 0 ? pick(120) : pick(9)));
                for (auto& b : data) b = static_cast<std::uint8_t>(pick(3) == 0 ? 0 : pick(256));
                if (pick(2) == 0 && data.size() >= 2) data.back() = data.end()[-2] = 0;
                key.SetValue(randomName(0), types[pick(std::size(types))], data);
            }
        }
        const std::string text = tree.Format();
        std::string error;
        const auto back = CRegistryTree::Parse(text, &error);
        ASSERT_TRUE(back) << error << "\n" << text;
        ASSERT_EQ(*back, tree) << text;
    }
}

TEST(RegistryTree, PathsAndNames) {
    using Parts = std::vector<std::string_view>;
    EXPECT_EQ(CRegistryTree::SplitPath(""), Parts{});
    EXPECT_EQ(CRegistryTree::SplitPath("A\\B"), (Parts{"A", "B"}));
    EXPECT_EQ(CRegistryTree::SplitPath("A\\B\\"), (Parts{"A", "B"}));
    for (const char* bad : {"\\", "\\A", "A\\\\B", "A\\\\", "A\nB", "A\rB", "\xC3("}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(CRegistryTree::SplitPath(bad));
    }
    EXPECT_TRUE(RegNamesEqual("Darozova", "dAROZOVA"));
    EXPECT_FALSE(RegNamesEqual("Darozova", "Darozov"));
}

}  // namespace
