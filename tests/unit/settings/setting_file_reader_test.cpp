// Line rule of the provider files and the key/value rule of ISP_INF.csv.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/ByteText.h"
#include "settings/DataFiles.h"
#include "settings/IspSettings.h"
#include "settings/KeyValueLine.h"
#include "settings/MemoryDataFiles.h"
#include "settings/ReadObserver.h"
#include "settings/SettingFileReader.h"
#include "support/TempFolder.h"

namespace {

using Lines = std::vector<std::string>;

std::vector<std::string> ReadFrom(const DataFiles& files, const char* path, size_t capacity) {
    SettingFileReader reader(files);
    std::vector<std::string> lines;
    if (!reader.Open(path)) {
        return {"<not opened>"};
    }
    std::vector<char> buffer(capacity);
    while (reader.ReadLine(buffer.data(), capacity)) {
        lines.emplace_back(buffer.data());
    }
    EXPECT_FALSE(reader.ReadLine(buffer.data(), capacity)) << "a closed reader stays closed";
    return lines;
}

// The lines of `bytes` read from a file; the same bytes held in memory must give the same.
std::vector<std::string> ReadAll(const std::string& bytes, size_t capacity = 513) {
    TempFolder folder;
    folder.Write("f.csv", bytes);
    const std::vector<std::string> lines =
        ReadFrom(folder, folder.PathTo("f.csv").c_str(), capacity);
    MemoryDataFiles memory;
    memory.Hold("f.csv", bytes.data(), bytes.size());
    EXPECT_EQ(ReadFrom(memory, "f.csv", capacity), lines) << "held in memory";
    return lines;
}

TEST(SettingFileReader, LineBreaksBlankLinesAndLastLine) {
    struct Case {
        const char* name;
        std::string bytes;
        Lines expected;
    } cases[] = {
        {"CR LF", "a,1\r\nb,2\r\n", {"a,1", "b,2"}},
        {"LF only", "a,1\nb,2\n", {"a,1", "b,2"}},
        {"CR only", "a,1\rb,2\r", {"a,1", "b,2"}},
        {"blank lines anywhere", "\r\n\n\ra,1\r\n\r\n\r\nb,2\n\n", {"a,1", "b,2"}},
        {"last line without a break is delivered", "a,1\r\nb,2", {"a,1", "b,2"}},
        {"only a line without a break", "x", {"x"}},
        {"0xFF is an ordinary byte",
         "a\xff"
         "b\r\nc\n",
         {"a\xff"
          "b",
          "c"}},
        {"a zero byte ends nothing but the C string", std::string("a,1\n", 4), {"a,1"}},
        {"empty file", "", {}},
        {"Shift-JIS bytes pass unchanged", "\x95\x5c,\x83\x5c\r\n", {"\x95\x5c,\x83\x5c"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadAll(c.bytes), c.expected) << c.name;
    }
}

TEST(SettingFileReader, LongLinesComeInPiecesOfCapacityMinusOne) {
    const std::string line600(600, 'x');
    const Lines pieces = ReadAll(line600 + "\r\nnext\r\n", 513);
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[0].size(), 512u);
    EXPECT_EQ(pieces[1].size(), 88u);
    EXPECT_EQ(pieces[2], "next");

    // A line of exactly capacity - 1 bytes is one piece; its line break is not a line.
    EXPECT_EQ(ReadAll(std::string(511, 'y') + "\r\nz\r\n", 512),
              (Lines{std::string(511, 'y'), "z"}));
}

// Records where each piece stood and what the ISP_INF.csv rule made of it.
class ObservedFolder : public TempFolder, public ReadObserver {
public:
    ReadObserver* Observer() const override { return const_cast<ObservedFolder*>(this); }
    void PieceRead(const char*, const LinePlace& place, const char* text) override {
        seen.push_back(std::to_string(place.line) + ":" + std::to_string(place.column) + "@" +
                       std::to_string(place.offset) + "+" + std::to_string(place.length) + " " +
                       text);
    }
    void PieceJudged(const LineObservation& o) override {
        seen.back() += " -> " + std::to_string(static_cast<int>(o.verdict));
    }
    std::vector<std::string> seen;
};

TEST(SettingFileReader, ObserverSeesPlacesAndVerdicts) {
    ObservedFolder folder;
    const auto v = [](LineVerdict verdict) { return std::to_string(static_cast<int>(verdict)); };
    folder.Write("ISP_INF.csv", "\r\nDns1,1\r\n\nk,v\rnone\n,x\r\ny,\n" + std::string(600, 'L'));
    ReadIspSettings(folder, kIspLineCapacity, [](SettingKey, const char*) {});
    const Lines expected = {
        "2:0@2+6 Dns1,1 -> " + v(LineVerdict::Setting),
        "4:0@11+3 k,v -> " + v(LineVerdict::UnknownKey),
        "5:0@15+4 none -> " + v(LineVerdict::NoComma),
        "6:0@20+2 ,x -> " + v(LineVerdict::EmptyKey),
        "7:0@24+2 y, -> " + v(LineVerdict::EmptyValue),
        "8:0@27+512 " + std::string(512, 'L') + " -> " + v(LineVerdict::NoComma),
        "8:512@539+88 " + std::string(88, 'L') + " -> " + v(LineVerdict::NoComma),
    };
    EXPECT_EQ(folder.seen, expected);
}

TEST(SettingFileReader, MissingEmptyPathAndFolder) {
    TempFolder folder;
    SettingFileReader reader(folder);
    EXPECT_FALSE(reader.Open(nullptr));
    EXPECT_FALSE(reader.Open(""));
    EXPECT_FALSE(reader.Open(folder.PathTo("absent.csv").c_str()));
    char buffer[16];
    EXPECT_FALSE(reader.ReadLine(buffer, sizeof(buffer)));
    EXPECT_FALSE(reader.ReadLine(nullptr, 16));
}

TEST(SettingFileReader, FilesHeldInMemory) {
    MemoryDataFiles memory;
    constexpr size_t kMax = MemoryDataFiles::kMaxHeld;
    std::vector<std::string> names;
    for (size_t i = 0; i <= kMax; ++i) {
        names.push_back("f" + std::to_string(i));
    }
    for (size_t i = 0; i < kMax; ++i) {
        EXPECT_TRUE(memory.Hold(names[i].c_str(), "x\n", 2)) << i;
    }
    EXPECT_FALSE(memory.Hold(names[kMax].c_str(), "x\n", 2)) << "one name past the limit";
    EXPECT_TRUE(memory.Hold(names[1].c_str(), nullptr, 0)) << "a held name is replaced";
    EXPECT_EQ(ReadFrom(memory, "f1", 513), Lines{});
    memory.Forget("f0");
    EXPECT_EQ(ReadFrom(memory, "f0", 513), Lines{"<not opened>"});
    EXPECT_TRUE(memory.Hold(names[kMax].c_str(), "y", 1));
    EXPECT_EQ(ReadFrom(memory, names[kMax].c_str(), 513), Lines{"y"});
}

TEST(KeyValueLine, SplitRule) {
    struct Case {
        const char* line;
        bool used;
        const char* key;
        const char* value;
    } cases[] = {
        {"CaptionStart,Hello", true, "CaptionStart", "Hello"},
        {"TitleStart,a,b,c", true, "TitleStart", "a,b,c"},
        {" CaptionStart ,x", true, " CaptionStart ", "x"},
        {"CaptionStart,", false, nullptr, nullptr},
        {",value", false, nullptr, nullptr},
        {"no comma here", false, nullptr, nullptr},
        {"k, ", true, "k", " "},
    };
    for (const Case& c : cases) {
        KeyValueLine kv;
        ASSERT_EQ(SplitKeyValue(c.line, &kv), c.used) << c.line;
        if (c.used) {
            EXPECT_STREQ(kv.key, c.key) << c.line;
            EXPECT_STREQ(kv.value, c.value) << c.line;
        }
    }
    KeyValueLine kv;
    const std::string longKey = std::string(256, 'k') + ",v";
    EXPECT_FALSE(SplitKeyValue(longKey.c_str(), &kv)) << "a key over 255 bytes matches nothing";
}

TEST(KeyValueLine, ValueForms) {
    struct NumberCase {
        const char* text;
        int value;
    } numbers[] = {
        {"24", 24},
        {"24abc", 24},
        {"  +7", 7},
        {"-5", -5},
        {"abc", 0},
        {"", 0},
        {" 1", 1},
        {"\t200", 200},
        {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1},
    };
    for (const NumberCase& c : numbers) {
        EXPECT_EQ(ParseDecimal(c.text), c.value) << c.text;
    }
    EXPECT_TRUE(IsOnValue("TRUE"));
    EXPECT_TRUE(IsOnValue("true"));
    EXPECT_TRUE(IsOnValue("TrUe"));
    EXPECT_FALSE(IsOnValue("1"));
    EXPECT_FALSE(IsOnValue("yes"));
    EXPECT_FALSE(IsOnValue("TRUE "));
}

TEST(IspSettings, ReadsKnownKeysInFileOrderIgnoringCase) {
    TempFolder folder;
    folder.Write("ISP_INF.csv",
                 "captionstart,First\r\n"
                 "Unknown,zzz\r\n"
                 "CAPTIONSTART,Second\r\n"
                 " CaptionStart,blank before the key\r\n"
                 "TitleStart,\r\n"
                 "Dns1,10.0.0.1");
    std::vector<std::pair<SettingKey, std::string>> seen;
    EXPECT_TRUE(ReadIspSettings(folder, kIspLineCapacity, [&](SettingKey key, const char* value) {
        seen.emplace_back(key, value);
    }));
    const std::vector<std::pair<SettingKey, std::string>> expected = {
        {SettingKey::CaptionStart, "First"},
        {SettingKey::CaptionStart, "Second"},
        {SettingKey::Dns1, "10.0.0.1"},
    };
    EXPECT_EQ(seen, expected);
}

TEST(IspSettings, MissingFileAndUnreadableFile) {
    TempFolder folder;
    int calls = 0;
    auto count = [&](SettingKey, const char*) { ++calls; };
    EXPECT_FALSE(ReadIspSettings(folder, kIspLineCapacity, count));
    folder.MakeFolder("ISP_INF.csv");  // present, but no file to open
    EXPECT_TRUE(ReadIspSettings(folder, kIspLineCapacity, count));
    EXPECT_EQ(calls, 0);
}

TEST(IspSettings, KeyTableIsComplete) {
    EXPECT_EQ(kSettingKeyCount, 22u);
    for (size_t i = 0; i < kSettingKeyCount; ++i) {
        EXPECT_EQ(static_cast<size_t>(kSettingKeys[i].key), i) << kSettingKeys[i].name;
        EXPECT_EQ(FindSettingKey(kSettingKeys[i].name), &kSettingKeys[i]);
    }
    EXPECT_EQ(FindSettingKey("dns3"), nullptr);
}

TEST(DataFiles, ProgramDirectoryStepsOverDoubleByteCharacters) {
    struct Case {
        const char* modulePath;
        bool found;
        const char* directory;
        const char* name;  // as its icon shows it
    } cases[] = {
        {"C:\\Program Files\\Dialnest\\Dialnest.exe", true, "C:\\Program Files\\Dialnest",
         "Dialnest"},
        // 表 (0x95 0x5C) and ソ (0x83 0x5C) end in a backslash byte.
        {"C:\\\x95\x5c\\Dialnest.exe", true, "C:\\\x95\x5c", "Dialnest"},
        {"C:\\\x83\x5c\x83\x74\x83\x67\\nestnet.EXE", true, "C:\\\x83\x5c\x83\x74\x83\x67",
         "nestnet"},
        {"C:\\kit\\\x95\x5c.exe", true, "C:\\kit", "\x95\x5c"},
        {"Dialnest.exe", false, "", "Dialnest"},
        {"C:\\kit\\.exe", true, "C:\\kit", ".exe"},
    };
    for (const Case& c : cases) {
        char directory[kPathSize] = "junk";
        EXPECT_EQ(CutProgramDirectory(c.modulePath, directory, sizeof(directory)), c.found)
            << c.modulePath;
        EXPECT_STREQ(directory, c.directory) << c.modulePath;
        char name[kPathSize] = "junk";
        ProgramNameOf(c.modulePath, name, sizeof(name));
        EXPECT_STREQ(name, c.name) << c.modulePath;
    }
}

// A module path that filled the query's buffer may be cut: no directory at all.
TEST(DataFiles, ModulePathThatFillsTheBufferCountsAsMissing) {
    const std::string fits = "C:\\" + std::string(kPathSize - 17, 'k') + "\\Dialnest.exe";
    ASSERT_EQ(fits.size(), kPathSize - 1);
    struct Case {
        size_t written;
        size_t bufferSize;
        bool found;
    } cases[] = {
        {fits.size(), kPathSize, true},
        {kPathSize, kPathSize, false},
        {fits.size(), fits.size(), false},
        {0, kPathSize, false},
    };
    for (const Case& c : cases) {
        char directory[kPathSize] = "junk";
        EXPECT_EQ(
            ProgramDirectoryOf(fits.c_str(), c.written, c.bufferSize, directory, sizeof(directory)),
            c.found)
            << c.written << " of " << c.bufferSize;
        EXPECT_EQ(std::string(directory), c.found ? fits.substr(0, fits.size() - 13) : "");
    }
}

// Any one provider file, or a folder of its name, is enough to stay quiet.
TEST(DataFiles, NoProviderFilePresentListsThemAll) {
    const char* const present[] = {nullptr,     "ISP_INF.csv", "CTMENU.csv", "APGEN.csv",
                                   "APPHS.csv", "APAIR.csv",   "Logo.png"};
    for (const char* name : present) {
        TempFolder kit;
        if (name != nullptr) {
            kit.MakeFolder(name);
        }
        char names[kPathSize] = "junk";
        EXPECT_EQ(NoProviderFilePresent(kit, names, sizeof(names)), name == nullptr)
            << (name != nullptr ? name : "none");
        EXPECT_STREQ(names, name == nullptr ? "ISP_INF.csv\nCTMENU.csv\nAPGEN.csv\nAPPHS.csv\n"
                                              "APAIR.csv\nLogo.png"
                                            : "");
    }
}

TEST(DataFiles, DataFilePathMustFit) {
    char path[kPathSize];
    EXPECT_TRUE(FormatDataFilePath("C:\\kit", "ISP_INF.csv", path, sizeof(path)));
    EXPECT_STREQ(path, "C:\\kit\\ISP_INF.csv");

    const std::string deep(kPathSize - 12, 'd');  // leaves room for "\" and 10 bytes
    EXPECT_TRUE(FormatDataFilePath(deep.c_str(), "APGEN.csvX", path, sizeof(path)));
    EXPECT_FALSE(FormatDataFilePath(deep.c_str(), "ISP_INF.csv", path, sizeof(path)));
    EXPECT_STREQ(path, "") << "an overlong path is never half written";
}

TEST(ByteText, CaseIsIgnoredForLettersOnly) {
    struct Case {
        const char* a;
        const char* b;
        bool equal;
    } cases[] = {
        {"CaptionStart", "captionstart", true},
        {"modem", "MODEM", true},
        {"\x83\x41", "\x83\x61", false},  // ア and ヂ differ only in a folded second byte
        {"a\x83\x41", "A\x83\x41", true},
        {"@", "`", false},
        {"abc", "ab", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EqualsNoCase(c.a, c.b), c.equal) << c.a << " / " << c.b;
    }
}

TEST(ByteText, CopiesNeverSplitADoubleByteCharacter) {
    struct Case {
        const char* src;
        size_t size;
        bool whole;
        const char* expected;
    } cases[] = {
        {"abc", 4, true, "abc"},
        {"abcd", 4, false, "abc"},
        {"a\x95\x5c", 3, false, "a"},  // the pair would need bytes 1 and 2 plus the terminator
        {"a\x95\x5c", 4, true, "a\x95\x5c"},
        {"", 1, true, ""},
    };
    for (const Case& c : cases) {
        char dst[8];
        memset(dst, 'Z', sizeof(dst));
        EXPECT_EQ(CopyText(dst, c.size, c.src), c.whole) << c.src;
        EXPECT_STREQ(dst, c.expected) << c.src;
        EXPECT_EQ(dst[c.size], 'Z') << "nothing written past the field";
    }
    char exact[4];
    EXPECT_FALSE(CopyTextExact(exact, sizeof(exact), "abcd"));
    EXPECT_STREQ(exact, "");
    char joined[6] = "ab";
    EXPECT_TRUE(AppendTextExact(joined, sizeof(joined), "cde"));
    EXPECT_FALSE(AppendTextExact(joined, sizeof(joined), "f"));
    EXPECT_STREQ(joined, "abcde");
}

}  // namespace
