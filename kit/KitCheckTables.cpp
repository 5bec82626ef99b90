// The kit check of CTMENU.csv and of the access-point tables APGEN.csv, APPHS.csv and
// APAIR.csv, each read by the program's own loader.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "kit/KitChecker.h"
#include "kit/KitStrings.h"
#include "kit/KitText.h"
#include "migrate/NumberMatching.h"
#include "newconn/EntryCreation.h"
#include "newconn/FormChecks.h"
#include "newconn/MethodSelection.h"
#include "res/resource.h"
#include "settings/ByteText.h"

namespace {

// The new-connection form's checks are made as for the NT family, the tool's default.
constexpr OsClass kNtFamilyClass = 9;

// A record as a number (code page 932): area code, hyphen, local number.
std::string RecordText(const AccessPointRecord& record) {
    return record.areaCode[0] != '\0' ? std::string(record.areaCode) + "-" + record.localNumber
                                      : std::string(record.localNumber);
}

}  // namespace

void KitChecker::CheckMenu() {
    std::vector<MethodMenuItem> rows;
    bool hasPhsRow = false;
    bool present = false;
    const ObservedLines lines =
        Watched(folder_, [&] { present = LoadMethodMenu(folder_, &rows, &hasPhsRow); });
    CreateFormValues form;
    form.entryName = form.userName = form.password = form.accessPointNumber = form.modemName = "x";
    form.methodRowCount = static_cast<int>(rows.size());
    const std::string unchosen = InQuotes(ProgramText(Message{CheckCreateForm(form).textId}));
    if (!present) {
        Add(Diag::MissingMenu, kMethodMenuFile, 0,
            "missing: the form's method list stays empty and every 作成 (create) ends with " +
                unchosen);
        return;
    }
    CheckTextFile(kMethodMenuFile, lines, kMethodMenuLineCapacity);
    for (const ObservedLine& l : lines) {
        if (l.place.column > 0 && l.verdict != LineVerdict::MethodRow) {
            continue;
        }
        if (l.verdict == LineVerdict::MethodRow) {
            CheckMenuRow(l, rows.size());
        } else if (StartsLikeANumber(l.text)) {
            Add(Diag::NotARow, kMethodMenuFile, l.place.line,
                "not read as a row: a row must start with a digit 0-9 as its first byte");
        } else {
            Add(Diag::IgnoredLine, kMethodMenuFile, l.place.line,
                "does not start with a digit: a heading or comment, not a row");
        }
    }
    if (std::none_of(rows.begin(), rows.end(), IsChoosableMethod)) {
        Add(Diag::NoChoosableMethod, kMethodMenuFile, 0,
            std::string(rows.empty() ? "no row" : "every row is of kind 9") +
                ": no method can be chosen, and every 作成 (create) ends with " + unchosen);
    } else if (DecideMethodSelection(0, &rows[0], -1).action != MethodSelectionAction::Apply) {
        const auto first = std::find_if(lines.begin(), lines.end(), [](const ObservedLine& l) {
            return l.verdict == LineVerdict::MethodRow;
        });
        Add(Diag::FirstRowHeading, kMethodMenuFile, first->place.line,
            "the first row cannot be chosen: nothing is applied when the form opens, so "
            "DefaultTelNumber and DialupDomain stand until a method is chosen");
    }
}

void KitChecker::CheckMenuRow(const ObservedLine& l, size_t rowCount) {
    const size_t line = l.place.line;
    const MethodMenuItem& row = l.row;
    const bool choosable = IsChoosableMethod(row);
    Add(Diag::MethodRow, kMethodMenuFile, line,
        Format("row %zu: kind %d, ", l.index + 1, row.kind) + Quoted(row.displayName) +
            ", domain " + Quoted(row.domainText) + ", number " + Quoted(row.accessPointNumber) +
            (choosable ? "" : " (cannot be chosen)"));
    const char* columnNames[] = {"kind", "name", "domain", "number"};
    for (int c = 1; c < kMethodColumnCount; ++c) {
        if (l.columns.cut[c]) {
            Add(Diag::CutText, kMethodMenuFile, line,
                Format("the %s column is longer than 255 bytes: it is cut to ", columnNames[c]) +
                    Quoted(c == 1   ? row.displayName
                           : c == 2 ? row.domainText
                                    : row.accessPointNumber));
        }
    }
    if (l.columns.extraColumns) {
        Add(Diag::ExtraColumns, kMethodMenuFile, line, "text after the fourth column is ignored");
    }
    if (choosable && row.domainText[0] == '\0') {
        Add(Diag::RowIncomplete, kMethodMenuFile, line,
            Format("%s domain: choosing this row empties the domain after the user name",
                   l.columns.columns < 3 ? "too few columns, so no" : "no"));
    }
    const std::string stray = FirstNonDialling(row.accessPointNumber);
    if (choosable && !stray.empty()) {
        Add(Diag::NotANumber, kMethodMenuFile, line,
            "the access-point number " + Quoted(row.accessPointNumber) + " holds " + Quoted(stray) +
                ", which is not dialled as a number");
    }
    for (const bool pulse : {false, true}) {
        CreationInputs inputs{};
        CopyField(inputs.accessPointNumber, row.accessPointNumber);
        inputs.pulse = pulse;
        const FormMessage refusal = CheckValuesFit(inputs, kNtFamilyClass);
        if (choosable && refusal.kind != MessageBoxKind::None) {
            Add(Diag::NumberTooLong, kMethodMenuFile, line,
                std::string(pulse ? "with pulse dialling, " : "") +
                    "the access-point number does not fit an entry: 作成 (create) stops with " +
                    InQuotes(ProgramText(Message{refusal.textId})));
            break;
        }
    }
    if (choosable && row.accessPointNumber[0] == '\0') {
        CreateFormValues form;
        form.entryName = form.userName = form.password = form.modemName = "x";
        form.accessPointNumber = "";
        form.lastMethodIndex = static_cast<int>(l.index);
        form.methodRowCount = static_cast<int>(rowCount);
        Add(Diag::RowIncomplete, kMethodMenuFile, line,
            Format("%s access-point number: choosing this row empties the number, and 作成 "
                   "(create) then stops with ",
                   l.columns.columns < 4 ? "too few columns, so no" : "no") +
                InQuotes(ProgramText(Message{CheckCreateForm(form).textId})));
    }
    if (row.domainText[0] != '\0' && row.domainText[0] != '@') {
        Add(Diag::DomainWithoutAt, kMethodMenuFile, line,
            Quoted(row.domainText) +
                " has no leading @: it is appended to user names exactly "
                "as written");
    }
    const std::string name = row.displayName;
    if (name.find("PHS") != std::string::npos) {
        Add(Diag::PhsRow, kMethodMenuFile, line,
            "\"PHS\" in the name: the form shows its note on the digits after #");
    } else if (name.find("\x82\x6F\x82\x67\x82\x72") != std::string::npos ||
               std::search(name.begin(), name.end(), "phs", "phs" + 3, [](char a, char b) {
                   return tolower(static_cast<unsigned char>(a)) == b;
               }) != name.end()) {
        Add(Diag::PhsLookalike, kMethodMenuFile, line,
            "only the capitals \"PHS\" in half-width letters make the form show its PHS note");
    }
}

void KitChecker::CheckRecordNumber(const char* file, size_t line, const AccessPointRecord& record,
                                   const char* what) {
    if (const char c = FirstNonDigit(record.areaCode)) {
        Add(Diag::NumberCharacters, file, line,
            Format("the area code of %s, ", what) + Quoted(record.areaCode) + ", holds " +
                ShownCharacter(c) + ", so it equals no entry's area code of digits");
    } else if (const char d = FirstNonDigit(record.localNumber)) {
        Add(Diag::NumberCharacters, file, line,
            Format("the number of %s, ", what) + Quoted(record.localNumber) + ", holds " +
                ShownCharacter(d) +
                ", which an entry's number must hold at the same place: only the hyphens of a "
                "dialled number are skipped");
    }
    if (strlen(record.localNumber) < 2) {
        Add(Diag::ShortNumber, file, line,
            Format("the local number of %s is ", what) + Quoted(record.localNumber) +
                ": shorter than two characters, it never matches an entry's local number");
    }
}

void KitChecker::CheckTables() {
    const ObservedLines general = Watched(folder_, [&] { context_.LoadGeneralTable(); });
    const ObservedLines phs = Watched(folder_, [&] { context_.LoadPhsTable(); });
    const ObservedLines pairs = Watched(folder_, [&] { context_.LoadPairTable(); });
    if (folder_.Has(kGeneralTableFile)) {
        CheckTable(kGeneralTableFile, general, context_.generalTable, SettingKey::DefaultTelNumber,
                   context_.DefaultTelNumber);
    }
    if (folder_.Has(kPhsTableFile)) {
        CheckTable(kPhsTableFile, phs, context_.phsTable, SettingKey::DefaultMobileNumber,
                   context_.DefaultMobileNumber);
    }
    if (folder_.Has(kPairTableFile)) {
        CheckPairs(pairs);
    }
}

void KitChecker::CheckTable(const char* file, const ObservedLines& lines,
                            const AccessPointTable& table, SettingKey numberKey,
                            const char* numberValue) {
    CheckTextFile(file, lines, kTableLineCapacity);
    std::vector<size_t> recordLines(table.size(), 0);
    for (const ObservedLine& l : lines) {
        const size_t line = l.place.line;
        switch (l.verdict) {
            case LineVerdict::TableRecord:
                recordLines[l.index] = line;
                break;
            case LineVerdict::NumberTooLong:
                Add(Diag::NumberTooLong, file, line,
                    "the number does not fit an access-point record (area code up to 10 bytes, "
                    "number up to 128): the line is skipped");
                break;
            default:
                if (l.place.column > 0) {
                    break;
                }
                if (l.text.find(',') != std::string::npos) {
                    Add(Diag::SkippedNumber, file, line,
                        "nothing after the comma: the line is skipped");
                } else if (StartsLikeANumber(l.text)) {
                    Add(Diag::SkippedNumber, file, line,
                        "a line without a comma is read only when its first byte is a digit 0-9: "
                        "the line is skipped");
                } else {
                    Add(Diag::IgnoredLine, file, line,
                        "no comma and no leading digit: a heading or comment, skipped");
                }
                break;
        }
    }
    for (size_t i = 0; i < table.size(); ++i) {
        const AccessPointRecord& record = table[i];
        const size_t line = recordLines[i];
        Add(Diag::TableRecord, file, line,
            Format("record %zu: ", i + 1) + Quoted(RecordText(record)));
        if (!HasDigit(record.areaCode) && !HasDigit(record.localNumber)) {
            Add(Diag::HeadingRecord, file, line,
                "the text after the comma, " + Quoted(RecordText(record)) +
                    ", is read as a record; without a digit it matches no dialled number");
            continue;
        }
        CheckRecordNumber(file, line, record, "this record");
        for (size_t j = 0; j < i; ++j) {
            if (!RecordCoversRecord(table[j], record, context_.LocalOnlyIsOk)) {
                continue;
            }
            const bool same = strcmp(table[j].areaCode, record.areaCode) == 0 &&
                              strcmp(table[j].localNumber, record.localNumber) == 0;
            Add(same ? Diag::DuplicateRecord : Diag::ShadowedRecord, file, line,
                same ? Format("the same number as line %zu, which is found first: this record "
                              "is never the first match",
                              recordLines[j])
                     : Format("line %zu (", recordLines[j]) + Quoted(RecordText(table[j])) +
                           ") matches every number this record matches and is found first: "
                           "this record is never the first match");
            break;
        }
    }
    if (!table.empty() && numberValue[0] == '\0' && hasSettings_) {
        const char* name = kSettingKeys[static_cast<size_t>(numberKey)].name;
        Add(Diag::TableNeedsNumber, file, recordLines[0],
            Format("the table has records but %s is not set in ISP_INF.csv: an entry found "
                   "here would be offered an empty new number",
                   name));
    }
}

void KitChecker::CheckPairs(const ObservedLines& lines) {
    CheckTextFile(kPairTableFile, lines, kTableLineCapacity);
    std::map<std::string, const ObservedLine*> firstLine;
    std::map<std::string, std::string> values;
    for (const ObservedLine& l : lines) {
        const size_t line = l.place.line;
        switch (l.verdict) {
            case LineVerdict::PairStored:
                firstLine[l.pairKey] = &l;
                values[l.pairKey] = l.pairValue;
                break;
            case LineVerdict::PairReplaced:
                Add(Diag::PairReplaced, kPairTableFile, line,
                    "the old number " + Quoted(l.pairKey) +
                        Format(" is also on line %zu: this line's new number ",
                               firstLine[l.pairKey]->place.line) +
                        Quoted(l.pairValue) + " replaces " + Quoted(values[l.pairKey]) +
                        Format(" and the pair keeps line %zu's place",
                               firstLine[l.pairKey]->place.line));
                values[l.pairKey] = l.pairValue;
                break;
            case LineVerdict::EmptyKey:
            case LineVerdict::EmptyValue:
                Add(Diag::SkippedNumber, kPairTableFile, line,
                    l.verdict == LineVerdict::EmptyKey
                        ? "no old number before the comma: the line is skipped"
                        : "no new number after the comma: the line is skipped");
                break;
            default:
                if (l.place.column == 0 && StartsLikeANumber(l.text)) {
                    Add(Diag::SkippedNumber, kPairTableFile, line,
                        "no comma: not read as a pair (the old and the new number are separated "
                        "by a comma), the line is skipped");
                } else if (l.place.column == 0) {
                    Add(Diag::IgnoredLine, kPairTableFile, line, "no comma: not a pair, skipped");
                }
                break;
        }
    }
    // The pairs are tried in the table's own order, which is not the file's.
    std::vector<std::pair<AccessPointRecord, size_t>> tried;
    size_t order = 0;
    for (const PairTable::Pair& pair : context_.pairTable) {
        const size_t line = firstLine.count(pair.key) ? firstLine[pair.key]->place.line : 0;
        Add(Diag::TableRecord, kPairTableFile, line,
            Format("pair tried %zu. of %zu: ", ++order, context_.pairTable.size()) +
                Quoted(pair.key) + " becomes " + Quoted(pair.value));
        AccessPointRecord record;
        if (!SplitTableNumber(pair.key.c_str(), &record)) {
            Add(Diag::NumberTooLong, kPairTableFile, line,
                "the old number does not fit an access-point record (area code up to 10 bytes, "
                "number up to 128): this pair never matches");
            continue;
        }
        if (!HasDigit(pair.key)) {
            Add(Diag::HeadingRecord, kPairTableFile, line,
                "the old number " + Quoted(pair.key) +
                    " holds no digit and matches no dialled number (a heading line with a comma "
                    "is read as a pair)");
            continue;
        }
        CheckRecordNumber(kPairTableFile, line, record, "this pair's old number");
        if (HasEdgeBlank(pair.value)) {
            Add(Diag::ValueBlanks, kPairTableFile, line,
                "the new number " + Quoted(pair.value) +
                    " begins or ends with a blank, which is written into entries");
        }
        CheckNewNumber(kPairTableFile, line, pair.value, "the new number");
        for (const auto& [earlier, earlierLine] : tried) {
            if (RecordCoversRecord(earlier, record, context_.LocalOnlyIsOk)) {
                Add(Diag::ShadowedRecord, kPairTableFile, line,
                    Format("the pair of line %zu is tried before this one (pairs are tried in "
                           "their own fixed order, not in file order) and matches every number "
                           "this one matches: this pair is never the first match",
                           earlierLine));
                break;
            }
        }
        tried.emplace_back(record, line);
    }
}

void KitChecker::CheckNewNumber(const char* file, size_t line, const std::string& number,
                                const std::string& what) {
    const std::string stray = FirstNonDialling(number);
    if (!stray.empty()) {
        Add(Diag::NotANumber, file, line,
            what + " " + Quoted(number) + " holds " + Quoted(stray) +
                ", which is not dialled as a number: it goes into entries as it is");
    }
    if (number.size() > RAS_MaxPhoneNumber) {
        Add(Diag::NumberTooLong, file, line,
            what +
                Format(" is %zu bytes long, and an entry dialled without an area code holds "
                       "%d: its change is refused with ",
                       number.size(), static_cast<int>(RAS_MaxPhoneNumber)) +
                InQuotes(ProgramText(Message{IDS_NEW_NUMBER_TOO_LONG})));
    }
}
