// The real program at each Windows version Wine can report: start-up and the main menu, a
// new connection with pulse dialling made the default, and a migration in which one entry
// gets both proposals. The 9x family dials pulse with "PP", and the migration reads and writes
// user name and password as dial parameters; the NT family dials with "P", and the migration
// uses the credentials. From XP on the default connection is the one Windows dials afterwards
// (RasGetAutodialAddressA), also where the user's own default named another entry before, and
// on 64-bit Windows; before XP it is the per-user registry value.
// A library planted beside the program is ignored throughout.
// From Vista on also as a standard user, whose connection goes into the user's own phonebook
// and whose migration names the all-users entries it may not change before it proposes
// anything, and proposes nothing they would need an administrator for.
// On 9x the entry keeps its modem's settings, and without a saved password it keeps none.
#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

#include "AcceptingUser.h"
#include "sim/SimRasApi.h"
#include "sim/SimRegistry.h"

namespace {

constexpr int kHeading = 1006;
constexpr int kNewConnectionButton = 1000;
constexpr int kMigrationButton = 1001;
constexpr int kEntryName = 1005;
constexpr int kUserName = 1001;
constexpr int kPassword = 1002;
constexpr int kPulse = 1020;
constexpr int kMethods = 1024;

const char kInternetSettings[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const char kAutoDialDefault[] = "SOFTWARE\\Microsoft\\RAS AutoDial\\Default";
const char kRemoteAccess[] = "RemoteAccess";

// The provider's settings and general table for one entry that dials an old access point
// which is also the Flets ISDN number, under the old Flets ISDN domain: the migration
// proposes the new access point, which still ends in the Flets ISDN number, keeping the
// domain, and then, for the entry as written, the new user name.
const std::string kSettings =
    "CaptionStart,ネストネット接続ツール\r\nTitleStart,ネストネット接続\r\n"
    "DefaultTelNumber,0570-00-1492\r\nDefaultFletsIsdnNumber,1492\r\nKeepDomain,TRUE\r\n"
    "OldDomain,@isdn-old.example.ne.jp\r\nFletsIsdnDomain,@isdn.example.ne.jp\r\n";
const std::string kGeneralTable = "東京,03-3333-1492\r\n";
const std::string kPhonebook =
    "[devices]\r\nmodem,Standard 56000 bps Modem\r\nmodem,PHSカード 64K\r\n"
    "[一般]\r\nLocalPhoneNumber=0,03-3333-1492\r\nDeviceType=modem\r\n"
    "DeviceName=Standard 56000 bps Modem\r\nUserName=taro@isdn-old.example.ne.jp\r\n"
    "Password=sample\r\nDeviceInfo=A55A\r\n";

struct WindowsVersion {
    const char* wine;          // Wine's name of the version
    bool nineX;                // the 9x family (OsClass 6 or less)
    bool defaultConnection;    // XP and later: Windows keeps a default connection
    bool standard = false;     // a standard user (RASSIM_RIGHTS=standard)
    const char* userOld = "";  // the user's own default before ("": none)
    bool wow64 = false;        // a 32-bit program on 64-bit Windows (RASSIM_WOW64)
};

// clang-format off
const WindowsVersion kVersions[] = {
    {"win98", true, false}, {"winme", true, false},  {"win2k", false, false},
    {"winxp", false, true}, {"vista", false, true}, {"win7", false, true},
    {"win10", false, true, false, "", true}, {"win7", false, true, false, "一般", true},
    {"vista", false, true, true}, {"win7", false, true, true, "一般"},
    {"win10", false, true, true, "", true},
};
// clang-format on

// The user's own phonebook, where the program and the substitute both look for it.
std::string UserPhonebookPath() {
    wchar_t path[MAX_PATH] = L"";
    SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, path);
    return ToUtf8(path) + "\\Microsoft\\Network\\Connections\\Pbk\\rasphone.pbk";
}

std::string ReadWhole(const std::string& path) {
    std::ifstream in(FromUtf8(path).c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void RemoveUserPhonebook() {
    DeleteFileW(FromUtf8(UserPhonebookPath()).c_str());
}

void ClearDefaultConnection() {
    EnsureRegistryKey(HKEY_CURRENT_USER, kInternetSettings);
    EnsureRegistryKey(HKEY_CURRENT_USER, kRemoteAccess);
    DeleteRegistryValue(HKEY_CURRENT_USER, kInternetSettings, "EnableAutodial");
    DeleteRegistryValue(HKEY_CURRENT_USER, kInternetSettings, "NoNetAutodial");
    EnsureRegistryKey(HKEY_LOCAL_MACHINE, kAutoDialDefault);
    DeleteRegistryValue(HKEY_LOCAL_MACHINE, kAutoDialDefault, "DefaultInternet");
    DeleteRegistryValue(HKEY_LOCAL_MACHINE, kSim64BitMachineDefaultKey, "DefaultInternet");
    DeleteRegistryValue(HKEY_CURRENT_USER, kRemoteAccess, "InternetProfile");
}

// The journal of the row's two runs (1 the creation, 2 the migration) and their phonebook,
// restored natively on one copy and by dialnest-kit.exe on another: the same report, status
// and phonebook at every step, ending with the phonebook as it was before both runs.
void ExpectNativeRestoreAsOnWindows(const Kit& kit, bool nineX) {
    ScopedEnvironment fail("RASSIM_FAIL", ""), rights("RASSIM_RIGHTS", ""),
        own("RASSIM_USER_PHONEBOOK", "");
    Kit native, windows;
    for (const Kit* copy : {&native, &windows}) {
        copy->CopyIn(kit.PhonebookPath(), "phonebook.ini");
        for (const char* run : {"run-0000000001.jnl", "run-0000000002.jnl"})
            copy->CopyIn(ToUtf8(JournalFolder()) + "\\" + run, run);
    }
    // The default connection as the prefix's registry holds it, in the native tool's stand-in.
    std::string registry, text;
    const char* const values[][3] = {{"HKCU", kRemoteAccess, "InternetProfile"},
                                     {"HKLM", kAutoDialDefault, "DefaultInternet"},
                                     {"HKCU", kInternetSettings, "EnableAutodial"},
                                     {"HKCU", kInternetSettings, "NoNetAutodial"}};
    for (const auto& v : values) {
        const HKEY root = v[0][2] == 'C' ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
        DWORD number = 0;
        registry += "[" + std::string(v[0]) + "\\" + v[1] + "]\r\n";
        if (ReadRegistryString(root, v[1], v[2], &text))
            registry += std::string(v[2]) + "=sz:" + ToCp932(text) + "\r\n";
        else if (ReadRegistryDword(root, v[1], v[2], &number))
            registry += std::string(v[2]) + "=dword:" + std::to_string(number) + "\r\n";
    }
    native.WriteBytes("registry.ini", registry);
    for (const std::string step : {"--list", "2", "2 --apply", "1 --apply"}) {
        std::vector<std::string> arguments = {"restore", "--lang=en",
                                              "--journal=" + UnixPathOf(native.Folder()),
                                              "--phonebook=" + UnixPathOf(native.PhonebookPath())};
        arguments.insert(arguments.begin(),
                         "RASSIM_REGISTRY=" + UnixPathOf(native.PathTo("registry.ini")));
        std::istringstream words(step);
        for (std::string word; words >> word;) arguments.push_back(word);
        DWORD nativeStatus = 0, windowsStatus = 0;
        const std::string said = RunNativeKitTool(arguments, &nativeStatus);
        std::string exe =
            RunKitTool("restore --lang=en --journal=\"" + windows.Folder() + "\" --phonebook=\"" +
                           windows.PhonebookPath() + "\" " + step,
                       &windowsStatus);
        exe.erase(std::remove(exe.begin(), exe.end(), '\r'), exe.end());
        EXPECT_EQ(said, exe) << step;
        EXPECT_EQ(nativeStatus + windowsStatus, 0u) << step << ": all (would be) put back\n"
                                                    << said;
        EXPECT_EQ(native.ReadBytes("phonebook.ini"), windows.ReadBytes("phonebook.ini")) << step;
    }
    const SimPhonebookFile book = ParsedPhonebook(native);
    EXPECT_EQ(FindEntry(book, "版ネット"), nullptr) << "the creation is taken back";
    const SimEntry* migrated = FindEntry(book, "一般");
    ASSERT_NE(migrated, nullptr);
    EXPECT_STREQ(migrated->properties.szLocalPhoneNumber, "0,03-3333-1492");
    EXPECT_STREQ(migrated->userName, "taro@isdn-old.example.ne.jp");
    EXPECT_STREQ(migrated->password, nineX ? "" : "sample");
    EXPECT_FALSE(migrated->emptyPasswordSaved);
    EXPECT_EQ(migrated->deviceInfo, (std::vector<unsigned char>{0xA5, 0x5A}));
}

// The default connection Windows dials, as the substitute answers RasGetAutodialAddressA.
std::string DialledByDefault() {
    RASAUTODIALENTRYA entry = {sizeof entry, 0, 0, {}};
    RasDword bytes = sizeof entry, count = 0;
    if (RasGetAutodialAddressA(nullptr, nullptr, &entry, &bytes, &count) != 0 || count != 1) {
        return "";
    }
    return FromCp932(entry.szEntry);
}

// Starts the program from `kit` and waits for the main menu.
HWND StartMenu(DialnestProcess& run, const Kit& kit) {
    EXPECT_TRUE(run.Start(kit.ExePath()));
    HWND menu = run.WaitForWindow("ネストネット接続ツール");
    if (menu != nullptr)
        Settle(300);
    return menu;
}

TEST(WindowsVersionTest, EveryJobAtEachVersion) {
    for (const WindowsVersion& version : kVersions) {
        SCOPED_TRACE(std::string(version.wine) + (version.standard ? ", standard user" : "") +
                     (version.wow64 ? ", 64-bit" : "") + ", before: " + version.userOld);
        ScopedWindowsVersion reported(version.wine);
        ScopedEnvironment rights("RASSIM_RIGHTS", version.standard ? "standard" : "");
        ScopedEnvironment own("RASSIM_USER_PHONEBOOK", ToCp932(UserPhonebookPath()).c_str());
        ScopedEnvironment wow64("RASSIM_WOW64", version.wow64 ? "1" : "");
        RemoveUserPhonebook();
        ClearDefaultConnection();
        JournalFiles(false);
        if (version.userOld[0] != '\0')
            WriteRegistryString(HKEY_CURRENT_USER, kRemoteAccess, "InternetProfile",
                                version.userOld);
        Kit kit;
        kit.CopySampleKit();
        kit.WriteText("ISP_INF.csv", kSettings);
        kit.WriteText("APGEN.csv", kGeneralTable);
        std::string phonebook = kPhonebook;
        kit.WritePhonebook(version.nineX ? phonebook.erase(phonebook.find("Password="), 17)
                                         : phonebook);
        kit.CopyIn(BuildFolder() + "\\tests\\gui\\rasapi32_without_dial.dll", "RASAPI32.DLL");

        DialnestProcess creation;
        HWND menu = StartMenu(creation, kit);
        ASSERT_NE(menu, nullptr) << "the main menu did not appear";
        EXPECT_EQ(WindowText(Control(menu, kHeading)), "ネストネット接続");
        Click(Control(menu, kNewConnectionButton));
        HWND form = WaitForDialog(creation, kMethods);
        ASSERT_NE(form, nullptr) << "the new-connection form did not open";
        SelectRow(Control(form, kMethods), 1);
        Settle(300);
        SetText(Control(form, kEntryName), "版ネット");
        SetText(Control(form, kUserName), "");
        Type(Control(form, kUserName), "hanako");
        Type(Control(form, kPassword), "secret");
        Click(Control(form, kPulse));
        Settle(200);
        Click(Control(form, IDOK));
        MessageBoxInfo report = creation.WaitForMessageBox();
        EXPECT_EQ(report.text, "ダイヤルアップネットワークを作成しました");
        Answer(report, IDOK);
        EXPECT_TRUE(creation.WaitForExit());

        // A standard user's is "for me only", as Windows' wizard makes it.
        std::string ownBytes = ReadWhole(UserPhonebookPath());
        SimPhonebookFile book = version.standard ? ParsePhonebook(ownBytes.data(), ownBytes.size())
                                                 : ParsedPhonebook(kit);
        EXPECT_EQ(FindEntry(ParsedPhonebook(kit), "版ネット") != nullptr, !version.standard);
        const SimEntry* created = FindEntry(book, "版ネット");
        ASSERT_NE(created, nullptr);
        EXPECT_STREQ(created->properties.szLocalPhoneNumber,
                     version.nineX ? "PP0570-000-111" : "P0570-000-111");
        EXPECT_STREQ(created->userName, "hanako@dial.example.ne.jp");
        EXPECT_STREQ(created->password, "secret");
        // From XP on Windows dials the new entry: the machine's default for an administrator's
        // (in the 64-bit view), the user's own for a standard user's, and the user's own too
        // where that named another entry. Before XP the per-user value names it. Autodial goes
        // on only with the default connection.
        DWORD enable = 0, noNet = 1;
        std::string machine, plainMachine, user;
        ReadRegistryDword(HKEY_CURRENT_USER, kInternetSettings, "EnableAutodial", &enable);
        ReadRegistryDword(HKEY_CURRENT_USER, kInternetSettings, "NoNetAutodial", &noNet);
        ReadRegistryString(HKEY_LOCAL_MACHINE, SimMachineDefaultKey(), "DefaultInternet", &machine);
        ReadRegistryString(HKEY_LOCAL_MACHINE, kAutoDialDefault, "DefaultInternet", &plainMachine);
        ReadRegistryString(HKEY_CURRENT_USER, kRemoteAccess, "InternetProfile", &user);
        EXPECT_EQ(enable, 1u);
        EXPECT_EQ(noNet, 0u);
        const bool machineWide = version.defaultConnection && !version.standard;
        EXPECT_EQ(machine, machineWide ? "版ネット" : "");
        EXPECT_EQ(plainMachine, machineWide && !version.wow64 ? "版ネット" : "")
            << "a 32-bit program's own write of the machine's key";
        EXPECT_EQ(user, machineWide && version.userOld[0] == '\0' ? "" : "版ネット");
        if (version.defaultConnection) {
            EXPECT_EQ(DialledByDefault(), "版ネット");
        }
        // As a support desk would: the run's restore leaves Windows' default as it was.
        if (version.userOld[0] != '\0') {
            DWORD status = 1;
            const std::string said = RunKitTool("restore 1 --apply --lang=en", &status);
            EXPECT_EQ(status, 0u) << said;
            EXPECT_NE(
                said.find("default connection: \"" + std::string(version.userOld) + "\" again"),
                std::string::npos)
                << said;
            EXPECT_EQ(DialledByDefault(), version.userOld);
            EXPECT_FALSE(
                ReadRegistryDword(HKEY_CURRENT_USER, kInternetSettings, "EnableAutodial", &enable));
            EXPECT_FALSE(
                ReadRegistryDword(HKEY_CURRENT_USER, kInternetSettings, "NoNetAutodial", &noNet));
        }

        // A standard user's own entry, as the all-users one: of that, only the user name saved
        // for this user is the user's to change, its number is named as the administrator's.
        if (version.standard) {
            const std::string rest = kPhonebook.substr(kPhonebook.find("]\r\nLocalPhoneNumber"));
            std::ofstream(FromUtf8(UserPhonebookPath()).c_str(), std::ios::binary)
                << ToCp932("[自分" + rest);
        }

        // The other family's way of keeping user name and password fails, so the migration
        // only succeeds through the one this version calls for.
        ScopedEnvironment otherFamily(
            "RASSIM_FAIL", version.nineX ? "RasGetCredentialsA:5,RasSetCredentialsA:5"
                                         : "RasGetEntryDialParamsA:5,RasSetEntryDialParamsA:5");
        // A standard user is told first that the all-users entry's number is the
        // administrator's, naming the program by its file's name.
        DialnestProcess migration;
        menu = StartMenu(migration, kit);
        ASSERT_NE(menu, nullptr);
        Click(Control(menu, kMigrationButton));
        std::vector<std::string> dialogs;
        std::vector<std::string> expected = {"2個の設定を変更しました"};
        std::vector<std::string> proposals = {"number", "user name"};
        if (version.standard) {
            expected = {
                "次のダイヤルアップネットワーク設定は、このコンピューターのすべてのユーザー用の"
                "設定のため変更できません\n\n[一般]\n\nこれらの設定は、「Dialnest」を管理者"
                "として実行したときだけ変更できます。「Dialnest」のアイコンを右"
                "クリックして「管理者として実行」を選び、もう一度移行してください。",
                "3個の設定を変更しました"};
            proposals = {"user name", "number", "user name"};
        }
        EXPECT_EQ(AcceptEverything(migration, 60000, &dialogs), expected) << "what was written";
        EXPECT_EQ(dialogs, proposals);
        EXPECT_FALSE(migration.Running());
        book = ParsedPhonebook(kit);
        const SimEntry* migrated = FindEntry(book, "一般");
        ASSERT_NE(migrated, nullptr);
        EXPECT_STREQ(migrated->properties.szLocalPhoneNumber,
                     version.standard ? "0,03-3333-1492" : "0,0570-00-1492");
        EXPECT_STREQ(migrated->userName, "taro@isdn.example.ne.jp");
        EXPECT_STREQ(migrated->password, version.nineX ? "" : "sample");
        EXPECT_FALSE(migrated->emptyPasswordSaved);
        EXPECT_EQ(migrated->deviceInfo, (std::vector<unsigned char>{0xA5, 0x5A}));
        if (version.standard) {
            ownBytes = ReadWhole(UserPhonebookPath());
            book = ParsePhonebook(ownBytes.data(), ownBytes.size());
            const SimEntry* mine = FindEntry(book, "自分");
            ASSERT_NE(mine, nullptr);
            EXPECT_STREQ(mine->properties.szLocalPhoneNumber, "0,0570-00-1492");
            EXPECT_STREQ(mine->userName, "taro@isdn.example.ne.jp");
            EXPECT_STREQ(mine->password, "sample");
        }
        // A journal copied from a subscriber of either family restores natively as on Windows.
        if (std::string(version.wine) == "win98" || std::string(version.wine) == "winxp")
            ExpectNativeRestoreAsOnWindows(kit, version.nineX);
        RemoveUserPhonebook();
    }
}

}  // namespace
