// The working parts of the kit check, shared by its files: the line pieces the readers
// delivered, as the observer recorded them, and the checker that turns them into
// diagnostics. KitCheck.cpp holds the files as a whole (presence, encoding, line lengths,
// the logo), KitCheckSettings.cpp ISP_INF.csv, KitCheckTables.cpp CTMENU.csv and the tables.
#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/MainMenuSettings.h"
#include "kit/KitFolder.h"
#include "kit/KitReport.h"
#include "kit/KitText.h"
#include "kit/QuietSides.h"
#include "migrate/MigrationContext.h"
#include "newconn/DnsSettings.h"
#include "newconn/FormTexts.h"
#include "settings/MethodMenu.h"
#include "settings/ReadObserver.h"

// One line piece as a reader delivered it, with what its rule made of it.
struct ObservedLine {
    LinePlace place;
    std::string text;
    LineVerdict verdict = LineVerdict::NoComma;
    SettingKey key = SettingKey::CaptionStart;
    std::string value;
    size_t index = 0;
    AccessPointRecord record{};
    std::string pairKey;
    std::string pairValue;
    MethodMenuItem row{};
    MethodLineFacts columns;
};
using ObservedLines = std::vector<ObservedLine>;

class LineLog : public ReadObserver {
public:
    void PieceRead(const char*, const LinePlace& place, const char* text) override {
        lines.emplace_back();
        lines.back().place = place;
        lines.back().text = text;
    }
    void PieceJudged(const LineObservation& o) override {
        if (lines.empty()) {
            return;
        }
        ObservedLine& line = lines.back();
        line.verdict = o.verdict;
        line.key = o.key;
        line.value = o.value != nullptr ? o.value : "";
        line.index = o.index;
        if (o.record != nullptr) {
            line.record = *o.record;
        }
        line.pairKey = std::string(o.pairKey);
        line.pairValue = std::string(o.pairValue);
        if (o.row != nullptr) {
            line.row = *o.row;
        }
        if (o.columns != nullptr) {
            line.columns = *o.columns;
        }
    }
    ObservedLines lines;
};

// Runs `read` with the folder watched and returns what the readers delivered.
template <class Fn>
ObservedLines Watched(KitFolder& folder, Fn&& read) {
    LineLog log;
    folder.Watch(&log);
    read();
    folder.Watch(nullptr);
    return std::move(log.lines);
}

class KitChecker {
public:
    KitChecker(KitFolder& folder, KitReport* report)
        : folder_(folder),
          report_(report),
          context_(folder, noDialup_, quietUser_, noUi_, kOsClassUnknown) {}

    void Run() {
        CheckPresence();
        CheckSettings();
        CheckMenu();
        CheckTables();
        CheckAcrossFiles();
        CheckLogo();
        report_->HoldBackAfterEncodingErrors();
    }

private:
    // What a line says is not reported again when a spreadsheet's quotes already explain it.
    void Add(Msg msg, const char* file, size_t line, std::vector<Arg> args = {}) {
        if (file != nullptr && line > 0 && quoted_.count({file, line}) > 0 &&
            SeverityOf(DiagOf(msg)) != Severity::Note && msg != Msg::SpreadsheetQuotes) {
            return;
        }
        report_->Add(msg, ShowPath(file != nullptr ? folder_.Shown(file) : folder_.Path()), line,
                     std::move(args));
    }

    void CheckPresence();
    void CheckLookalike(const char* file);
    void CheckTextFile(const char* file, const ObservedLines& lines, size_t capacity);
    void CheckQuotes(const char* file, const ObservedLines& lines);
    // The key a skipped settings line most likely meant, with the value it was given, is
    // needed by a table: its file.
    const char* TableNeeding(SettingKey key, const std::string& value) const;
    // A line that has the shape of another provider file's line: reported as such, true.
    bool CheckLineOfAnotherFile(const char* file, const ObservedLine& line);
    void CheckSettings();
    void CheckSettingLine(const ObservedLine& line);
    void CheckUnknownKey(const ObservedLine& line, const std::string& key);
    void CheckValue(const ObservedLine& line);
    void CheckRepeatedKeys();
    void CheckDns();
    void CheckFletsIsdn();
    void CheckHeading();
    void ReportValuesInEffect();
    const ObservedLine* EffectiveLine(SettingKey key) const;
    size_t LineOf(SettingKey key) const;
    Arg EffectiveValue(SettingKey key, bool* set) const;

    void CheckMenu();
    // A domain label 1021 shows, given on `line` of `file`: warned when it cannot fit.
    void CheckDomainFits(const char* file, size_t line, const std::string& domain);
    void CheckMenuRow(const ObservedLine& line, size_t rowCount);
    void CheckSkippedMenuLine(const ObservedLine& line);
    bool CheckSkippedTableLine(const char* file, const ObservedLine& line);
    void CheckTables();
    // The line of each record, and in `written` its number as the file writes it.
    std::vector<size_t> CheckTable(const char* file, const ObservedLines& lines,
                                   const AccessPointTable& table, SettingKey numberKey,
                                   const char* numberValue, std::vector<std::string>* written);
    // False when the number can match nothing a modem dials (full-width characters).
    bool CheckTableNumber(const char* file, size_t line, const std::string& text,
                          const AccessPointRecord& record, Phrase what);
    void CheckRecordNumber(const char* file, size_t line, const AccessPointRecord& record,
                           Phrase what);
    void CheckPairs(const ObservedLines& lines);
    void CheckAcrossFiles();
    void CheckNewDomains();
    void CheckOldAgainstCurrent();
    void CheckNewNumberSuffixes();
    // A number the migration puts into entries: its characters and its length.
    void CheckNewNumber(const char* file, size_t line, const std::string& number, const Arg& what);
    void CheckLogo();

    KitFolder& folder_;
    KitReport* report_;
    DialupApi noDialup_;
    QuietUser quietUser_;
    DecliningMigrationUi noUi_;
    MigrationContext context_;

    bool hasSettings_ = false;
    ObservedLines settingLines_;
    std::map<SettingKey, std::vector<const ObservedLine*>> occurrences_;
    MainMenuSettings mainMenu_;
    FormTexts formTexts_;
    DnsSettings dns_;
    std::set<std::pair<std::string, size_t>> quoted_;  // file, line
    std::vector<MethodMenuItem> menuRows_;
    std::vector<size_t> menuRowLines_;
    std::vector<size_t> generalLines_;  // the line of each record
    std::vector<size_t> phsLines_;
    std::vector<std::string> generalWritten_;  // each record's number as written
    std::vector<std::string> phsWritten_;
    std::map<std::string, size_t> pairLines_;  // the line of each old number
};
