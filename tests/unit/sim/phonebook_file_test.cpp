// The substitute phonebook's file: escaping, every field through the file, Shift-JIS text,
// the device list and files with odd content.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "settings/ByteText.h"
#include "sim/PhonebookFile.h"
#include "support/SimPhonebook.h"

using namespace std::string_literals;

namespace {

// Code page 932 texts (UTF-8 in the comments).
const char kHyojiSoft[] =  // 表示ソフト接続: second bytes 0x5C ('\')
    "\x95\x5C\x8E\xA6\x83\x5C\x83\x74\x83\x67\x90\xDA\x91\xB1";
const char kZoon[] = "\x83\x5D\x81\x5B\x83\x93";  // ゾーン: second byte 0x5D (']')
const char kStandardModem[] = "\x95\x57\x8F\x80 56000 bps \x83\x82\x83\x66\x83\x80";
const char kIsdnAdapter[] = "ISDN \x83\x41\x83\x5F\x83\x76\x83\x5E\x81\x5B";
const char kReservedUser[] = "\x97\x5C\x96\xF1\x83\x86\x81\x5B\x83\x55\x81\x5B@isp.example";
const char kNouryoku[] = "\x94\x5C\x97\xCD";  // 能力
const char kScriptPath[] = "C:\\\x83\x5F\x83\x43\x83\x84\x83\x8B\\\x95\x5C\\login.scp";

std::string FixturePath(const char* name) {
    return (std::filesystem::path(__FILE__).parent_path() / "fixtures" / name).string();
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

std::vector<std::string> Names(const SimPhonebook& book) {
    const DialupApi& api = book.api();
    RASENTRYNAMEA one = {};
    one.dwSize = sizeof one;
    RasDword bytes = 0, count = 0;
    RasDword r = api.RasEnumEntriesA(nullptr, nullptr, &one, &bytes, &count);
    std::vector<RASENTRYNAMEA> records(bytes / sizeof(RASENTRYNAMEA) + 1);
    records[0].dwSize = sizeof(RASENTRYNAMEA);
    r = api.RasEnumEntriesA(nullptr, nullptr, records.data(), &bytes, &count);
    EXPECT_EQ(r, 0u);
    std::vector<std::string> names;
    for (RasDword i = 0; r == 0 && i < count; ++i) {
        names.push_back(records[i].szEntryName);
    }
    return names;
}

std::vector<std::pair<std::string, std::string>> Devices(const SimPhonebook& book) {
    const DialupApi& api = book.api();
    RasDword bytes = 0, count = 0;
    RasDword r = api.RasEnumDevicesA(nullptr, &bytes, &count);
    std::vector<RASDEVINFOA> records(count + 1);
    records[0].dwSize = sizeof(RASDEVINFOA);
    if (r == ERROR_BUFFER_TOO_SMALL) {
        EXPECT_EQ(bytes, count * 152u);
        r = api.RasEnumDevicesA(records.data(), &bytes, &count);
    }
    EXPECT_EQ(r, 0u);
    std::vector<std::pair<std::string, std::string>> devices;
    for (RasDword i = 0; r == 0 && i < count; ++i) {
        devices.emplace_back(records[i].szDeviceType, records[i].szDeviceName);
    }
    return devices;
}

RASENTRYA Read(const SimPhonebook& book, const char* name) {
    RASENTRYA entry;
    memset(&entry, 0, sizeof entry);
    entry.dwSize = sizeof entry;
    RasDword size = sizeof entry;
    EXPECT_EQ(book.api().RasGetEntryPropertiesA(nullptr, name, &entry, &size, nullptr, nullptr), 0u)
        << name;
    return entry;
}

size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

}  // namespace

TEST(SimFile, EscapesWhatWouldBreakALineAndNothingElse) {
    using P = SimTextPlace;
    struct Case {
        const char* text;
        SimTextPlace place;
        const char* escaped;
    } cases[] = {
        {"plain text = 1; #2", P::Value, "plain text = 1; #2"},
        {" lead", P::Value, "\\x20lead"},
        {"trail  ", P::Value, "trail \\x20"},
        {"back\\slash", P::Value, "back\\\\slash"},
        {"one\ntwo\r\n\tend", P::Value, "one\\ntwo\\r\\n\\tend"},
        {"\x01\x7F", P::Value, "\\x01\\x7F"},
        {"a]b", P::Value, "a]b"},
        {"a]b", P::EntryName, "a\\]b"},
        {"devices", P::EntryName, "\\x64evices"},
        {"DEVICES", P::EntryName, "\\x44EVICES"},
        {"devices", P::Value, "devices"},
        {"my devices", P::EntryName, "my devices"},
        {"a,b", P::DeviceType, "a\\x2Cb"},
        {";x", P::DeviceType, "\\x3Bx"},
        {"[x", P::DeviceType, "\\x5Bx"},
        {"a,b", P::Value, "a,b"},
        {kHyojiSoft, P::EntryName, kHyojiSoft},
        {kZoon, P::EntryName, kZoon},
        {"abc\x83", P::Value, "abc\\x83"},  // half a character at the end
        {"\x83\n", P::Value, "\\x83\\n"},   // a line break is never a second byte
    };
    for (const Case& c : cases) {
        const std::string escaped = EscapeSimText(c.text, c.place);
        EXPECT_EQ(escaped, c.escaped) << c.text;
        EXPECT_EQ(UnescapeSimText(escaped.data(), escaped.size()), c.text) << c.escaped;
    }
    // Hand-written backslashes that are no escape stay as written.
    const std::string handWritten = "C:\\dir\\q\\x4";
    EXPECT_EQ(UnescapeSimText(handWritten.data(), handWritten.size()), "C:\\dir\\q\\x4");
}

TEST(SimFile, EveryFieldRoundTripsThroughTheFile) {
    SimPhonebook book;
    RASENTRYA in;
    memset(&in, 0, sizeof in);
    in.dwSize = sizeof in;
    in.dwfOptions = 0x05000115;
    in.dwCountryID = 81;
    in.dwCountryCode = 82;
    CopyField(in.szAreaCode, "0123456789");
    CopyField(in.szLocalPhoneNumber, std::string(127, '7').c_str());
    in.ipaddr = {1, 2, 3, 4};
    in.ipaddrDns = {192, 168, 0, 1};
    in.ipaddrDnsAlt = {255, 255, 255, 255};
    in.ipaddrWins = {10, 0, 0, 1};
    in.ipaddrWinsAlt = {0, 0, 0, 9};
    in.dwFrameSize = 1006;
    in.dwfNetProtocols = RASNP_Ip;
    in.dwFramingProtocol = RASFP_Ppp;
    CopyField(in.szScript, kScriptPath);
    CopyField(in.szAutodialDll, "auto.dll");
    CopyField(in.szAutodialFunc, "AutoFunc");
    CopyField(in.szDeviceType, "modem");
    CopyField(in.szDeviceName, " spaced modem ");
    CopyField(in.szX25PadType, "pad");
    CopyField(in.szX25Address, "addr");
    CopyField(in.szX25Facilities, "fac=1");
    CopyField(in.szX25UserData, "line1\nline2\r\n\tend\\");
    in.dwChannels = 2;
    in.dwSubEntries = 3;
    in.dwDialMode = 4;
    in.dwDialExtraPercent = 5;
    in.dwDialExtraSampleSeconds = 6;
    in.dwHangUpExtraPercent = 7;
    in.dwHangUpExtraSampleSeconds = 8;
    in.dwIdleDisconnectSeconds = RASIDS_Disabled;
    in.dwType = 1;
    in.dwEncryptionType = 3;
    in.dwCustomAuthKey = 13;
    in.guidId = {0x12345678, 0x9ABC, 0xDEF0, {1, 2, 3, 4, 5, 6, 7, 8}};
    CopyField(in.szCustomDialDll, "custom.dll");
    in.dwVpnStrategy = 2;
    in.dwfOptions2 = 0x43;
    in.dwfOptions3 = 0x80000001;
    CopyField(in.szDnsSuffix, "isp.example");
    in.dwTcpWindowSize = 65535;
    CopyField(in.szPrerequisitePbk, "pbk");
    CopyField(in.szPrerequisiteEntry, "entry ] [x]");
    in.dwRedialCount = 9;
    in.dwRedialPause = 60;
    RASENTRYA expected;
    memcpy(&expected, &in, sizeof expected);
    // Not kept: the reserved fields.
    in.dwReserved1 = 5;
    in.dwReserved2 = 6;

    ASSERT_EQ(book.api().RasSetEntryPropertiesA(nullptr, kZoon, &in, sizeof in, nullptr, 0), 0u);
    RASCREDENTIALSA credentials = {};
    credentials.dwSize = sizeof credentials;
    credentials.dwMask = RASCM_UserName | RASCM_Password | 4;
    CopyField(credentials.szUserName, " user@isp ");
    CopyField(credentials.szPassword, "p=w;#\\");
    CopyField(credentials.szDomain, "DOMAIN");
    ASSERT_EQ(book.api().RasSetCredentialsA(nullptr, kZoon, &credentials, 0), 0u);

    std::string file = book.ReadFile();  // with the id Windows gave it, replaced by hand
    file.replace(file.find("\r\nGuid=") + 2, 43, "Guid={12345678-9ABC-DEF0-0102-030405060708}");
    book.WriteFile(file);
    for (const char* key : SimEntryKeys()) {
        EXPECT_EQ(Count(file, std::string("\r\n") + key + "="), 1u) << key;
    }
    const char* lines[] = {
        "\r\nOptions=0x05000115\r\n",
        "\r\nDnsAddress=192.168.0.1\r\n",
        "\r\nDnsAltAddress=255.255.255.255\r\n",
        "\r\nIdleDisconnectSeconds=4294967295\r\n",
        "\r\nGuid={12345678-9ABC-DEF0-0102-030405060708}\r\n",
        "\r\nDeviceName=\\x20spaced modem\\x20\r\n",
        "\r\nX25UserData=line1\\nline2\\r\\n\\tend\\\\\r\n",
        "\r\nUserName=\\x20user@isp\\x20\r\n",
        "\r\nPassword=p=w;#\\\\\r\n",
        "\r\nDomain=DOMAIN\r\n",
    };
    for (const char* line : lines) {
        EXPECT_NE(file.find(line), std::string::npos) << line << "\nin\n" << file;
    }
    EXPECT_NE(file.find(std::string("\r\n[") + kZoon + "]\r\n"), std::string::npos)
        << "a second byte ']' is part of its character, not the end of the name";

    const RASENTRYA out = Read(book, kZoon);
    EXPECT_EQ(memcmp(&out, &expected, sizeof out), 0);
    EXPECT_STREQ(out.szScript, kScriptPath);
    EXPECT_STREQ(out.szX25UserData, expected.szX25UserData);
    EXPECT_STREQ(out.szPrerequisiteEntry, expected.szPrerequisiteEntry);

    RASDIALPARAMSA params = {};
    params.dwSize = sizeof params;
    CopyField(params.szEntryName, kZoon);
    RasBool hasPassword = 0;
    ASSERT_EQ(book.api().RasGetEntryDialParamsA(nullptr, &params, &hasPassword), 0u);
    EXPECT_STREQ(params.szUserName, " user@isp ");
    EXPECT_EQ(book.StoredPassword(kZoon), "p=w;#\\");
    EXPECT_STREQ(params.szDomain, "DOMAIN");

    // Parsing and formatting again changes nothing.
    const SimPhonebookFile parsed = ParsePhonebook(file.data(), file.size());
    EXPECT_EQ(FormatPhonebook(parsed), file);
}

TEST(SimFile, FieldsFromACallerAreCutToTheirSize) {
    SimPhonebook book;
    RASENTRYA in = WritableEntry("1");
    memset(in.szAreaCode, '1', sizeof in.szAreaCode);  // no terminator
    memset(in.szDeviceName, 'a', sizeof in.szDeviceName);
    in.szDeviceName[127] = '\x83';  // a double-byte character across the last byte
    in.szDeviceName[128] = '\x41';
    ASSERT_EQ(book.api().RasSetEntryPropertiesA(nullptr, "Cut", &in, sizeof in, nullptr, 0), 0u);
    const RASENTRYA out = Read(book, "Cut");
    EXPECT_EQ(std::string(out.szAreaCode), std::string(10, '1'));
    EXPECT_EQ(std::string(out.szDeviceName), std::string(127, 'a'));

    // Values too long for their field in a hand-written file are cut the same way.
    book.WriteFile("[Long]\nLocalPhoneNumber=" + std::string(500, '5') + "\nUserName=" +
                   std::string(300, 'u') + "\nDomain=" + std::string(14, 'd') + "\x83\x41\n");
    const RASENTRYA longEntry = Read(book, "Long");
    EXPECT_EQ(std::string(longEntry.szLocalPhoneNumber), std::string(128, '5'));
    RASCREDENTIALSA credentials = {};
    credentials.dwSize = sizeof credentials;
    credentials.dwMask = RASCM_UserName | 4;
    ASSERT_EQ(book.api().RasGetCredentialsA(nullptr, "Long", &credentials), 0u);
    EXPECT_EQ(std::string(credentials.szUserName), std::string(256, 'u'));
    EXPECT_EQ(std::string(credentials.szDomain), std::string(14, 'd'));
}

TEST(SimFile, ReadsAHandWrittenShiftJisPhonebookAndKeepsItsBytes) {
    SimPhonebook book;
    book.WriteFile(ReadBytes(FixturePath("shift_jis_phonebook.ini")));
    ASSERT_FALSE(book.ReadFile().empty());

    EXPECT_EQ(Names(book), (std::vector<std::string>{kHyojiSoft, kZoon}));
    EXPECT_EQ(Devices(book), (std::vector<std::pair<std::string, std::string>>{
                                 {"modem", kStandardModem}, {"isdn", kIsdnAdapter}}));
    const RASENTRYA first = Read(book, kHyojiSoft);
    EXPECT_EQ(first.dwfOptions, 0x05000110u);
    EXPECT_STREQ(first.szLocalPhoneNumber, "0120-00-1234");
    EXPECT_STREQ(first.szDeviceName, kStandardModem);
    const RASENTRYA second = Read(book, kZoon);
    EXPECT_STREQ(second.szAreaCode, "03");
    EXPECT_STREQ(second.szScript, kScriptPath) << "backslashes that are no escape are kept";

    RASDIALPARAMSA params = {};
    params.dwSize = sizeof params;
    CopyField(params.szEntryName, kHyojiSoft);
    RasBool hasPassword = 0;
    ASSERT_EQ(book.api().RasGetEntryDialParamsA(nullptr, &params, &hasPassword), 0u);
    EXPECT_STREQ(params.szUserName, kReservedUser);
    EXPECT_EQ(book.StoredPassword(kHyojiSoft), kNouryoku);
    EXPECT_EQ(hasPassword, 1);

    // After a write the Japanese text is still raw code page 932 in the file.
    ASSERT_EQ(book.api().RasSetEntryDialParamsA(nullptr, &params, 0), 0u);
    const std::string file = book.ReadFile();
    const std::string expectedLines[] = {
        std::string("\r\n[") + kHyojiSoft + "]\r\n",
        std::string("\r\nmodem,") + kStandardModem + "\r\n",
        std::string("\r\nUserName=") + kReservedUser + "\r\n",
        std::string("\r\nPassword=") + kNouryoku + "\r\n",
    };
    for (const std::string& line : expectedLines) {
        EXPECT_NE(file.find(line), std::string::npos) << line;
    }
    EXPECT_EQ(Names(book), (std::vector<std::string>{kHyojiSoft, kZoon}));
    EXPECT_STREQ(Read(book, kZoon).szScript, kScriptPath);
}

TEST(SimFile, DeviceSectionListsTheDevices) {
    using Devs = std::vector<std::pair<std::string, std::string>>;
    struct Case {
        const char* what;
        std::string file;
        Devs devices;
    } cases[] = {
        {"no section", "[Isp]\nLocalPhoneNumber=1\n", {{"modem", "Standard 56000 bps Modem"}}},
        {"empty section", "[devices]\n", {}},
        {"two devices",
         "[devices]\r\nmodem,Standard 56000 bps Modem\r\nisdn,ISDN adapter\r\n",
         {{"modem", "Standard 56000 bps Modem"}, {"isdn", "ISDN adapter"}}},
        {"blanks trimmed", "[devices]\n  modem ,  Spaced Name  \n", {{"modem", "Spaced Name"}}},
        {"lines without a type skipped",
         "[devices]\nno comma\n,empty type\n; comment\nmodem,\n",
         {{"modem", ""}}},
        {"comma in the name",
         "[devices]\nMODEM,Name, with comma\n",
         {{"MODEM", "Name, with comma"}}},
        {"section in any case, twice",
         "[Devices]\nmodem,A\n[Isp]\nX=1\n[DEVICES]\nisdn,B\n",
         {{"modem", "A"}, {"isdn", "B"}}},
        {"cut to the fields",
         "[devices]\n" + std::string(20, 't') + "," + std::string(200, 'n') + "\n",
         {{std::string(16, 't'), std::string(128, 'n')}}},
        {"Japanese name",
         std::string("[devices]\nmodem,") + kStandardModem + "\n",
         {{"modem", kStandardModem}}},
    };
    for (const Case& c : cases) {
        SimPhonebook book;
        book.WriteFile(c.file);
        EXPECT_EQ(Devices(book), c.devices) << c.what;
        for (const std::string& name : Names(book)) {
            EXPECT_FALSE(EqualsEntryName(name.c_str(), "devices")) << c.what;
        }
        // A write keeps the device list as it was.
        RASENTRYA entry = WritableEntry("1");
        ASSERT_EQ(
            book.api().RasSetEntryPropertiesA(nullptr, "New", &entry, sizeof entry, nullptr, 0),
            0u);
        EXPECT_EQ(Devices(book), c.devices) << c.what << " after a write";
    }
}

TEST(SimFile, EntryNamesThatLookLikeFileSyntaxRoundTrip) {
    const char* names[] = {"devices", "a]b",   "[x]", " lead", "trail ", "back\\slash",
                           ";semi",   "#hash", "=eq", "a\\]",  kZoon,    kHyojiSoft};
    // Written to the file: Windows refuses some of them for a new entry, the file keeps any.
    const std::string devices = "[devices]\nisdn,Only\n";
    SimPhonebookFile written = ParsePhonebook(devices.data(), devices.size());
    for (const char* name : names) {
        written.entries.push_back(MakeSimEntry(name));
        CopyField(written.entries.back().properties.szLocalPhoneNumber, name);
    }
    SimPhonebook book;
    book.WriteFile(FormatPhonebook(written));
    EXPECT_EQ(Names(book), std::vector<std::string>(std::begin(names), std::end(names)));
    for (const char* name : names) {
        EXPECT_STREQ(Read(book, name).szLocalPhoneNumber, name);
    }
    EXPECT_EQ(Devices(book), (std::vector<std::pair<std::string, std::string>>{{"isdn", "Only"}}));
}

TEST(SimFile, OddContentIsSkippedWithoutHarm) {
    struct Case {
        const char* what;
        std::string file;
        std::vector<std::string> names;
        const char* firstNumber;  // LocalPhoneNumber of the first entry
    } cases[] = {
        {"empty", "", {}, ""},
        {"no sections", "garbage\n=\n==\nLocalPhoneNumber=1\n", {}, ""},
        {"missing '=' and unknown keys",
         "[A]\nno equals\nUnknown=5\nLocalPhoneNumber=12\n",
         {"A"},
         "12"},
        {"key case and blanks", "[A]\n  localphonenumber  =  34  \n", {"A"}, "34"},
        {"unclosed header swallows its keys", "[A\nLocalPhoneNumber=1\n[B]\n", {"B"}, ""},
        {"duplicate section ignored",
         "[A]\nLocalPhoneNumber=1\n[a]\nLocalPhoneNumber=9\n",
         {"A"},
         "1"},
        {"empty names", "[]\n[   ]\nLocalPhoneNumber=1\n", {}, ""},
        {"byte-order mark and CRLF", "\xEF\xBB\xBF[A]\r\nLocalPhoneNumber=5\r\n", {"A"}, "5"},
        {"CR alone ends lines", "[A]\rLocalPhoneNumber=5\r\r[B]\r", {"A", "B"}, "5"},
        {"text after the header", "[A] ; note\nLocalPhoneNumber=6\n", {"A"}, "6"},
        {"NUL bytes", "[A]\0\nLocal\0PhoneNumber=1\n\0[B]\nLocalPhoneNumber=2\0x\n"s, {"A"}, "2"},
        {"escaped NUL in a name", "[A\\x00B]\n[C]\n", {"C"}, ""},
        {"name too long", "[" + std::string(257, 'n') + "]\n[C]\n", {"C"}, ""},
        {"bad numbers and addresses",
         "[A]\nOptions=0xZZ\nCountryID=99999999999\nCountryCode=-1\nDnsAddress=1.2.3\n"
         "IpAddress=256.1.1.1\nWinsAddress=1.2.3.4.5\nGuid={bad}\nLocalPhoneNumber=7\n",
         {"A"},
         "7"},
        {"half character at a value's end", "[A]\nLocalPhoneNumber=1\x83\n", {"A"}, "1\x83"},
        {"long line", "[A]\nLocalPhoneNumber=" + std::string(100000, '9') + "\n", {"A"}, nullptr},
        {"only a bracket", "[\n]\n[", {}, ""},
    };
    for (const Case& c : cases) {
        SimPhonebook book;
        book.WriteFile(c.file);
        EXPECT_EQ(Names(book), c.names) << c.what;
        if (!c.names.empty()) {
            const RASENTRYA entry = Read(book, c.names[0].c_str());
            if (c.firstNumber != nullptr) {
                EXPECT_STREQ(entry.szLocalPhoneNumber, c.firstNumber) << c.what;
            }
            EXPECT_EQ(entry.dwfOptions, 0u) << c.what;
            EXPECT_EQ(entry.dwType + entry.dwFramingProtocol, 2u)
                << c.what << ": a PPP phone entry";
            EXPECT_EQ(entry.dwCountryID, 0u) << c.what;
            EXPECT_EQ(entry.ipaddrDns.a, 0u) << c.what;
        }
        // The file is rewritten cleanly.
        RASENTRYA entry = WritableEntry("1");
        ASSERT_EQ(book.api().RasSetEntryPropertiesA(nullptr, "Z", &entry, sizeof entry, nullptr, 0),
                  0u)
            << c.what;
        std::vector<std::string> after = c.names;
        after.push_back("Z");
        EXPECT_EQ(Names(book), after) << c.what;
    }
}

TEST(SimFile, ParsingAnyBytesIsStable) {
    // Parse and format must be total and reach a fixed point after one pass.
    std::mt19937 random(932);
    const char alphabet[] =
        "[]=\\,;# \t\r\nxa0\x83\x5C\x5D\x81\x41\xFF\x00"
        "devicsLoPhNumbr";
    for (int round = 0; round < 2000; ++round) {
        std::string bytes;
        const size_t length = random() % 200;
        for (size_t i = 0; i < length; ++i) {
            bytes += alphabet[random() % (sizeof alphabet - 1)];
        }
        const std::string once = FormatPhonebook(ParsePhonebook(bytes.data(), bytes.size()));
        const SimPhonebookFile reparsed = ParsePhonebook(once.data(), once.size());
        ASSERT_EQ(FormatPhonebook(reparsed), once) << "input: " << bytes;
    }
}
