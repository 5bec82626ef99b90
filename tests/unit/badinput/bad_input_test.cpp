// The bad-input catalogue: each file of tests/data/bad-input/ takes the place of the file its
// row names in a copy of the sample kit, goes through the core's readers of that file and,
// for provider files and phonebooks, through a whole migration in which the user accepts
// every proposal; the outcome is held to the row: what is read, what is ignored, which
// messages appear and what is never written.
#include <gtest/gtest.h>
#include <iconv.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/MainMenuSettings.h"
#include "journal/FolderJournalStore.h"
#include "journal/Journal.h"
#include "logo/PngImage.h"
#include "migrate/MigrationHarness.h"
#include "newconn/DnsSettings.h"
#include "newconn/FormTexts.h"
#include "settings/AccessPointTables.h"
#include "settings/ByteText.h"
#include "settings/CarriedKit.h"
#include "settings/DataFiles.h"
#include "settings/IspSettings.h"
#include "settings/MethodMenu.h"
#include "settings/ReadObserver.h"
#include "sim/PhonebookFile.h"
#include "tests/common/BadInputCatalogue.h"

namespace {

namespace fs = std::filesystem;
using Facts = std::map<std::string, std::string>;

const fs::path kSource = fs::path(__FILE__).parent_path().parent_path().parent_path().parent_path();
const fs::path kCatalogue = kSource / "tests" / "data" / "bad-input";

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

std::string Utf8ToCp932(const std::string& utf8) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    std::string out(utf8.size() * 2 + 1, '\0');
    char* in = const_cast<char*>(utf8.data());
    char* to = &out[0];
    size_t inLeft = utf8.size(), outLeft = out.size();
    const size_t done = iconv(cd, &in, &inLeft, &to, &outLeft);
    iconv_close(cd);
    EXPECT_NE(done, static_cast<size_t>(-1)) << "not convertible: " << utf8;
    out.resize(out.size() - outLeft);
    return out;
}

// A table text: UTF-8 written as code page 932; then \xNN is that byte and \{N*text} the
// text N times.
std::string TableText(const std::string& utf8) {
    const std::string text = Utf8ToCp932(utf8);
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "\\x") == 0 && i + 4 <= text.size()) {
            out += static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else if (text.compare(i, 2, "\\{") == 0) {
            const size_t star = text.find('*', i);
            const size_t close = text.find('}', star);
            const std::string part = text.substr(star + 1, close - star - 1);
            for (int n = std::stoi(text.substr(i + 2, star - i - 2)); n > 0; --n) {
                out += part;
            }
            i = close;
        } else {
            out += text[i];
        }
    }
    return out;
}

// The other way, for printing what a row observed: code page 932 to UTF-8, with \xNN for
// bytes that are no character and \{N*c} for long runs.
std::string ToTableText(const std::string& cp932) {
    std::string out;
    iconv_t cd = iconv_open("UTF-8", "CP932");
    for (size_t i = 0; i < cp932.size();) {
        size_t run = 1;
        while (i + run < cp932.size() && cp932[i + run] == cp932[i] && cp932[i] > 0x20) {
            ++run;
        }
        if (run >= 16) {
            out += "\\{" + std::to_string(run) + "*" + cp932[i] + "}";
            i += run;
            continue;
        }
        const size_t width =
            i + 1 < cp932.size() && IsLeadByte932(static_cast<unsigned char>(cp932[i])) ? 2 : 1;
        char buffer[8];
        char* in = const_cast<char*>(&cp932[i]);
        char* to = buffer;
        size_t inLeft = width, outLeft = sizeof(buffer);
        if (static_cast<unsigned char>(cp932[i]) >= 0x20 && cp932[i] != '\\' &&
            iconv(cd, &in, &inLeft, &to, &outLeft) != static_cast<size_t>(-1) && inLeft == 0) {
            out.append(buffer, sizeof(buffer) - outLeft);
            i += width;
        } else {
            char escaped[8];
            snprintf(escaped, sizeof(escaped), "\\x%02X", static_cast<unsigned char>(cp932[i]));
            out += escaped;
            i += 1;
        }
    }
    iconv_close(cd);
    // Blanks at either end would be trimmed from a table cell.
    if (!out.empty() && out.back() == ' ') {
        out.replace(out.size() - 1, 1, "\\x20");
    }
    if (!out.empty() && out[0] == ' ') {
        out.replace(0, 1, "\\x20");
    }
    return out;
}

// One row of the table, its read facts in code page 932.
struct Row {
    std::string file;
    std::string as;
    Facts read;
    std::vector<std::string> ignored;
    std::vector<std::string> messages;
    std::vector<std::string> neverWritten;
};

std::vector<Row> LoadCatalogue() {
    std::vector<std::string> bad;
    std::vector<Row> rows;
    for (const CatalogueRow& raw : ParseCatalogue(ReadBytes(kCatalogue / "catalogue.txt"), &bad)) {
        Row row{raw.file, raw.as, {}, raw.ignored, raw.messages, raw.neverWritten};
        for (const std::string& fact : raw.read) {
            const size_t equals = fact.find('=');
            row.read[TableText(fact.substr(0, equals))] =
                equals == std::string::npos ? "" : TableText(fact.substr(equals + 1));
        }
        rows.push_back(row);
    }
    EXPECT_EQ(bad, std::vector<std::string>{}) << "rows without six columns";
    return rows;
}

std::string MessageName(const ShownMessage& m) {
    static std::map<unsigned, std::string> names;
    if (names.empty()) {
        for (const auto& [name, id] : ParseStringIds(ReadBytes(kSource / "res" / "resource.h"))) {
            names[id] = name;
        }
    }
    const auto found = names.find(m.textId);
    std::string name = found != names.end() ? found->second : std::to_string(m.textId);
    return m.number != 0 ? name + "(" + std::to_string(m.number) + ")" : name;
}

std::string Address(const RASIPADDR& a) {
    return std::to_string(a.a) + "." + std::to_string(a.b) + "." + std::to_string(a.c) + "." +
           std::to_string(a.d);
}

// The kit's files with the observer the kit tool uses: the lines that the rule of the
// reading routine run through it passes over become the fact "lines" (absent when none).
class PassedOver : public DataFiles, ReadObserver {
public:
    PassedOver(const DataFiles& files, Facts* facts) : files_(files), facts_(facts) {}
    bool PathOf(const char* name, char* path, size_t size) const override {
        return files_.PathOf(name, path, size);
    }
    bool Exists(const char* path) const override { return files_.Exists(path); }
    ReadObserver* Observer() const override { return const_cast<PassedOver*>(this); }
    void PieceRead(const char*, const LinePlace&, const char*) override {}
    void PieceJudged(const LineObservation& seen) override {
        const LineVerdict v = seen.verdict;
        if (v != LineVerdict::Setting && v != LineVerdict::TableRecord &&
            v != LineVerdict::PairStored && v != LineVerdict::PairReplaced &&
            v != LineVerdict::MethodRow) {
            (*facts_)["lines"] = std::to_string(++passed_);
        }
    }

private:
    const DataFiles& files_;
    Facts* facts_;
    size_t passed_ = 0;
};

// Non-empty facts only: what the reading routines of ISP_INF.csv keep.
Facts IspFacts(const DataFiles& files) {
    Facts facts;
    auto text = [&facts](const char* name, const char* value) {
        if (value[0] != '\0') {
            facts[name] = value;
        }
    };
    MainMenuSettings menu;
    ReadMainMenuSettings(PassedOver(files, &facts), &menu);
    text("CaptionStart", menu.caption);
    text("TitleStart", menu.heading);
    text("TitleFontSize", menu.headingSize > 0 ? std::to_string(menu.headingSize).c_str() : "");
    FormTexts form;
    ReadFormTexts(files, &form);
    text("CaptionSetting", form.caption);
    text("DefaultEntryName", form.entryName);
    text("DefaultTelNumber", form.telNumber);
    text("DialupDomain", form.domain);
    DnsSettings dns;
    text("SetDnsIpAddress", ReadDnsSettings(files, &dns) ? "on" : "");
    text("Dns1", Address(dns.primary) != "0.0.0.0" ? Address(dns.primary).c_str() : "");
    text("Dns2", Address(dns.secondary) != "0.0.0.0" ? Address(dns.secondary).c_str() : "");

    const DialupApi unbound;
    RecordingUserSide user;
    FakeMigrationUi ui;
    const auto context = std::make_unique<MigrationContext>(files, unbound, user, ui, 8);
    context->LoadMigrationSettings();
    EXPECT_STREQ(context->DefaultTelNumber, form.telNumber) << "form and migration differ";
    EXPECT_STREQ(context->DialupDomain, form.domain) << "form and migration differ";
    const std::pair<const char*, const char*> texts[] = {
        {"DefaultMobileNumber", context->DefaultMobileNumber},
        {"DefaultFletsIsdnNumber", context->DefaultFletsIsdnNumber},
        {"OldDomain", context->OldDomain},
        {"OldDialupDomain", context->OldDialupDomain},
        {"OldMobileDomain", context->OldMobileDomain},
        {"OldAirHDomain", context->OldAirHDomain},
        {"MobileDomain", context->MobileDomain},
        {"AirHDomain", context->AirHDomain},
        {"FletsIsdnDomain", context->FletsIsdnDomain},
        {"UserPrefix", context->UserPrefix},
    };
    for (const auto& [name, value] : texts) {
        text(name, value);
    }
    text("LocalOnlyIsOk", context->LocalOnlyIsOk ? "on" : "");
    text("KeepDomain", context->KeepDomain ? "on" : "");
    return facts;
}

Facts TableFacts(const DataFiles& files, const std::string& as) {
    Facts facts;
    if (as == kPairTableFile) {
        PairTable pairs;
        ReadPairTable(PassedOver(files, &facts), &pairs);
        for (const PairTable::Pair& pair : pairs) {
            facts["pairs"] += (facts["pairs"].empty() ? "" : " ") + pair.key + ">" + pair.value;
        }
    } else {
        AccessPointTable table;
        ReadAccessPointTable(PassedOver(files, &facts), as.c_str(), &table);
        for (const AccessPointRecord& record : table) {
            facts["records"] += (facts["records"].empty() ? "" : " ") +
                                std::string(record.areaCode) + "/" + record.localNumber;
        }
    }
    return facts;
}

Facts MenuFacts(const DataFiles& files, std::vector<std::string>* messages) {
    Facts facts;
    std::vector<MethodMenuItem> rows;
    bool hasPhs = false;
    LoadMethodMenu(PassedOver(files, &facts), &rows, &hasPhs);
    if (!rows.empty()) {
        facts["rows"] = std::to_string(rows.size());
    }
    for (size_t i = 0; i < rows.size(); ++i) {
        facts["row" + std::to_string(i)] = std::to_string(rows[i].kind) + "|" +
                                           rows[i].displayName + "|" + rows[i].domainText + "|" +
                                           rows[i].accessPointNumber;
    }
    if (hasPhs) {
        messages->push_back("IDS_PHS_NOTE");  // the form's hint becomes the PHS note
    }
    return facts;
}

Facts LogoFacts(const std::string& path, std::vector<std::string>* messages, bool* drawn) {
    Facts facts;
    RecordingUserSide user;
    PngImage image(user);
    *drawn = image.LoadFile(path.c_str());
    if (*drawn) {
        facts["size"] = std::to_string(image.Width()) + "x" + std::to_string(image.Height());
        char pixel[9];
        const unsigned char* p = image.Rows()[0];
        snprintf(pixel, sizeof(pixel), "%02X%02X%02X%02X", p[0], p[1], p[2], p[3]);
        facts["pixel"] = pixel;
    }
    for (const ShownMessage& m : user.shown) {
        messages->push_back(MessageName(m));
    }
    return facts;
}

std::string Joined(const std::vector<std::string>& parts, const char* separator) {
    std::string out;
    for (const std::string& part : parts) {
        out += (out.empty() ? "" : separator) + part;
    }
    return out;
}

Facts PhonebookFacts(const std::string& bytes) {
    const SimPhonebookFile book = ParsePhonebook(bytes.data(), bytes.size());
    Facts facts;
    std::vector<std::string> names, devices;
    for (const SimEntry& entry : book.entries) {
        names.push_back(entry.name);
    }
    for (const SimDevice& device : ReportedDevices(book)) {
        devices.push_back(std::string(device.type) + ":" + device.name);
    }
    if (!names.empty()) {
        facts["entries"] = Joined(names, ",");
    }
    const std::string usual =
        Utf8ToCp932("modem:Standard 56000 bps Modem,modem:PHSカード 64K,isdn:ISDN TA");
    if (Joined(devices, ",") != usual) {
        facts["devices"] = Joined(devices, ",");
    }
    return facts;
}

// Entries whose stored state differs after the run, and what was written into them.
void ChangedEntries(const std::string& before, const std::string& after, Facts* facts) {
    const SimPhonebookFile old = ParsePhonebook(before.data(), before.size());
    SimPhonebookFile now = ParsePhonebook(after.data(), after.size());
    std::vector<std::string> changed;
    auto section = [](const SimEntry& entry) {
        SimPhonebookFile one;
        one.entries.push_back(entry);
        return FormatPhonebook(one);
    };
    for (const SimEntry& entry : old.entries) {
        const SimEntry* written = FindSimEntry(&now, entry.name);
        if (written == nullptr || section(*written) != section(entry)) {
            changed.push_back(entry.name);
            (*facts)["number:" + std::string(entry.name)] =
                written ? written->properties.szLocalPhoneNumber : "(gone)";
            (*facts)["user:" + std::string(entry.name)] = written ? written->userName : "(gone)";
        }
    }
    if (!changed.empty()) {
        (*facts)["changed"] = Joined(changed, ",");
    }
}

// Whether any entry has a primary name server, or with `any` also the secondary or the
// option that switches them on.
bool WritesNameServers(const std::string& phonebook, bool any) {
    for (const SimEntry& entry : ParsePhonebook(phonebook.data(), phonebook.size()).entries) {
        const RASENTRYA& p = entry.properties;
        if (Address(p.ipaddrDns) != "0.0.0.0" ||
            (any && ((p.dwfOptions & RASEO_SpecificNameServers) != 0 ||
                     Address(p.ipaddrDnsAlt) != "0.0.0.0"))) {
            return true;
        }
    }
    return false;
}

const char kProgramFile[] = "Dialnest.exe";
const char kJournalFolder[] = "journal";
const char kJournalRun[] = "journal/run-20260101-000000.jnl";

// Puts the row's file in place: a catalogue file, a folder ("@directory"), a catalogue file
// repeated to 64 MiB and filled up with blank lines ("@64MiB:name"), or the kit's own
// ("@sample").
void Place(const Row& row, const TempFolder& kit) {
    if (row.file == "@sample") {
        return;
    }
    // The change journal's folder: a run file in it, or a plain file in its place.
    if (row.as == kJournalFolder) {
        if (row.file == "@unwritable") {
            kit.Write(kJournalFolder, "");
        } else {
            kit.MakeFolder(kJournalFolder);
            fs::copy_file(kCatalogue / row.file, kit.PathTo(kJournalRun));
        }
        return;
    }
    kit.Remove(row.as);
    for (const char* name : kCarriedFileNames) {
        if (row.as == kProgramFile) {
            kit.Remove(name);
        }
    }
    if (row.file == "@directory") {
        kit.MakeFolder(row.as);
        return;
    }
    const std::string prefix = "@64MiB:";
    if (row.file.compare(0, prefix.size(), prefix) == 0) {
        const std::string unit = ReadBytes(kCatalogue / row.file.substr(prefix.size()));
        ASSERT_FALSE(unit.empty());
        std::string big;
        big.reserve(64u << 20);
        while (big.size() + unit.size() <= (64u << 20)) {
            big += unit;
        }
        big.resize(64u << 20, '\n');
        kit.Write(row.as, big);
        return;
    }
    ASSERT_TRUE(fs::is_regular_file(kCatalogue / row.file)) << row.file;
    fs::copy_file(kCatalogue / row.file, kit.PathTo(row.as));
}

// What one file did: the facts of its readers, the messages, what the migration wrote.
struct Outcome {
    Facts facts;
    Facts written;  // "changed", and "number:<entry>" and "user:<entry>" of each changed entry
    std::vector<std::string> messages;
    bool drawn = false;
    std::string phonebookBefore;
    std::string phonebookAfter;
};

bool Migrates(const std::string& as) {
    return as != kMethodMenuFile && as != kLogoFile;
}

// Runs the row's file in a copy of the sample kit with the scenario phonebook.
Outcome Observe(const Row& row) {
    MigrationHarness harness;
    const TempFolder& kit = harness.folder();
    for (const fs::directory_entry& file : fs::directory_iterator(kSource / "examples" / "kit")) {
        fs::copy_file(file.path(), kit.PathTo(file.path().filename().string()));
    }
    kit.Write(SimPhonebook::kFileName, ReadBytes(kCatalogue / "scenario-phonebook.ini"));
    Place(row, kit);
    std::map<std::string, fs::file_time_type> kitTimes;
    for (const fs::directory_entry& file : fs::directory_iterator(kit.path())) {
        kitTimes[file.path().filename().string()] = file.last_write_time();
    }
    Outcome out;
    CarriedKit carriedKit;
    CarriedKitState carried = CarriedKitState::None;
    out.phonebookBefore = kit.Read(SimPhonebook::kFileName);
    if (row.as == kIspSettingsFile) {
        out.facts = IspFacts(kit);
    } else if (row.as == kMethodMenuFile) {
        out.facts = MenuFacts(kit, &out.messages);
    } else if (row.as == kLogoFile) {
        out.facts = LogoFacts(kit.PathTo(row.as), &out.messages, &out.drawn);
    } else if (row.as == SimPhonebook::kFileName) {
        out.facts = PhonebookFacts(out.phonebookBefore);
    } else if (row.as == kProgramFile) {
        carried = carriedKit.Read(FileProgramBytes(kit.PathTo(row.as).c_str()));
        for (size_t i = 0; i < carriedKit.Count(); ++i) {
            out.facts["files"] += (i > 0 ? "," : "") + std::string(carriedKit.File(i).name);
        }
        const char* damage[] = {"",         "",          "truncated", "unsound",
                                "checksum", "too-large", "unreadable"};
        if (IsDamaged(carried)) {
            out.facts["damage"] = damage[static_cast<int>(carried)];
        }
    } else {
        out.facts = TableFacts(kit, row.as);
    }
    FolderJournalStore store(kit.PathTo(kJournalFolder));
    Journal journal(&store, "20260102-000000");
    const std::string runBefore = row.as == kJournalFolder ? kit.Read(kJournalRun) : "";
    if (row.as == kJournalFolder) {
        RecoveryReport report;
        RecoverJournal(store, harness.api(), 8, &report);
        TellRecovery(report, harness.user);
    }
    if (Migrates(row.as) && !IsDamaged(carried)) {
        harness.ui.otherAnswers = true;
        harness.ui.progressWindow = false;
        auto context = harness.MakeContext(8);
        if (carried == CarriedKitState::Carried) {
            context = std::make_unique<MigrationContext>(carriedKit.Files(), harness.api(),
                                                         harness.user, harness.ui, 8);
        }
        context->journal = row.as == kJournalFolder ? &journal : nullptr;
        context->RunMigration();
        for (const ShownMessage& m : harness.user.shown) {
            out.messages.push_back(MessageName(m));
        }
    }
    if (!runBefore.empty()) {
        out.facts["kept"] = kit.Read(kJournalRun) == runBefore ? "yes" : "no";
    }
    out.phonebookAfter = kit.Read(SimPhonebook::kFileName);
    ChangedEntries(out.phonebookBefore, out.phonebookAfter, &out.written);
    for (const auto& [name, time] : kitTimes) {
        if (name != SimPhonebook::kFileName && name != kJournalFolder) {
            EXPECT_EQ(fs::last_write_time(kit.PathTo(name)), time) << name << " was written";
        }
    }
    return out;
}

// The outcome of the kit's own file of that name, which every row is compared with.
const Outcome& Sample(const std::string& as) {
    static std::map<std::string, Outcome> samples;
    if (samples.count(as) == 0) {
        samples[as] = Observe(Row{"@sample", as, {}, {}, {}, {}});
    }
    return samples[as];
}

bool IsWrittenFact(const std::string& name) {
    return name == "changed" || name.compare(0, 7, "number:") == 0 ||
           name.compare(0, 5, "user:") == 0;
}

// The row that would describe `out`: for settings files as changes to the sample's
// settings, for every other file (or settings that keep little of the sample) whole.
std::string Observed(const Row& row, const Outcome& out) {
    const Outcome& sample = Sample(row.as);
    std::string read, ignored;
    auto add = [](std::string* list, const std::string& item) {
        *list += (list->empty() ? "" : "; ") + item;
    };
    for (const auto& [name, value] : sample.facts) {
        if (out.facts.count(name) == 0) {
            add(&ignored, ToTableText(name));
        }
    }
    const bool whole = row.as != kIspSettingsFile || ignored.size() > 100;
    for (const auto& [name, value] : out.facts) {
        if (whole || sample.facts.count(name) == 0 || sample.facts.at(name) != value) {
            add(&read, ToTableText(name) + "=" + ToTableText(value));
        }
    }
    const auto changed = out.written.find("changed");
    const std::string now = changed == out.written.end() ? "" : changed->second;
    if (Migrates(row.as) &&
        (whole || now != (sample.written.count("changed") ? sample.written.at("changed") : ""))) {
        add(&read, "changed=" + ToTableText(now));
    }
    return row.file + " | " + row.as + " | " + (read.empty() ? "-" : read) + " | " +
           (whole             ? "*"
            : ignored.empty() ? "-"
                              : ignored) +
           " | " + (out.messages.empty() ? "-" : Joined(out.messages, "; ")) + " | ?";
}

int FailureCount() {
    return ::testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count();
}

void RunRow(const Row& row) {
    const int failuresBefore = FailureCount();
    const Outcome out = Observe(row);
    const Outcome& sample = Sample(row.as);

    // What is read and what is passed over: the sample file's facts, less what the row
    // ignores ("*": all of them), with what it reads instead; nothing else.
    Facts expected = sample.facts;
    Facts written{{"changed", sample.written.count("changed") ? sample.written.at("changed") : ""}};
    for (const std::string& item : row.ignored) {
        const size_t equals = item.find('=');
        if (item == "*") {
            expected.clear();
            written["changed"].clear();
        } else if (equals != std::string::npos) {
            expected[TableText(item.substr(0, equals))] = TableText(item.substr(equals + 1));
        } else {
            expected.erase(TableText(item));
        }
    }
    for (const auto& [name, value] : row.read) {
        (IsWrittenFact(name) ? written : expected)[name] = value;
    }
    EXPECT_EQ(out.facts, expected);
    for (const auto& [name, value] : written) {
        const auto found = out.written.find(name);
        EXPECT_EQ(found != out.written.end() ? found->second : "", value) << name;
    }
    // The program's start shows these before any job: the GUI test sees them there.
    std::vector<std::string> messages = row.messages;
    messages.erase(std::remove(messages.begin(), messages.end(), "IDS_CARRIED_KIT_DAMAGED"),
                   messages.end());
    EXPECT_EQ(out.messages, messages);

    // What is never written.
    for (const std::string& item : row.neverWritten) {
        if (item == "phonebook") {
            EXPECT_EQ(out.phonebookAfter, out.phonebookBefore) << "phonebook rewritten";
        } else if (item == "dns" || item == "DnsAddress") {
            EXPECT_FALSE(WritesNameServers(out.phonebookAfter, item == "dns")) << item;
        } else if (item == "image") {
            EXPECT_FALSE(out.drawn) << "rows handed to the logo control";
        } else {
            ADD_FAILURE() << "unknown never-written item " << item;
        }
    }
    if (FailureCount() > failuresBefore) {
        ADD_FAILURE() << "observed: " << Observed(row, out);
    }
}

TEST(BadInputCatalogue, EveryFileHasItsStatedOutcome) {
    const std::vector<Row> rows = LoadCatalogue();
    EXPECT_GE(rows.size(), 60u);
    std::map<std::string, int> listed;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file + " as " + row.as);
        ++listed[row.file.substr(row.file.find(':') + 1)];
#if defined(__SANITIZE_ADDRESS__)
        // Size is all these rows add, and byte by byte under the sanitizers they would take
        // most of a minute; the plain build runs them.
        if (row.file.compare(0, 7, "@64MiB:") == 0) {
            continue;
        }
#endif
        RunRow(row);
    }
    for (const fs::directory_entry& file : fs::directory_iterator(kCatalogue)) {
        const std::string name = file.path().filename().string();
        const std::string extension = file.path().extension().string();
        if (name[0] != '.' && extension != ".py" && extension != ".txt" &&
            name != "scenario-phonebook.ini") {
            EXPECT_EQ(listed[name], 1) << name << " needs exactly one row";
        }
    }
}

}  // namespace
