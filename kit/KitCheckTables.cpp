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
#include "settings/MethodMenu.h"

namespace {

// The new-connection form's checks are made as for the NT family, the tool's default.
constexpr OsClass kNtFamilyClass = 9;

// A record as a number (code page 932): area code, hyphen, local number.
std::string RecordText(const AccessPointRecord& record) {
    return record.areaCode[0] != '\0' ? std::string(record.areaCode) + "-" + record.localNumber
                                      : std::string(record.localNumber);
}

// In a line without an ASCII comma, what staff most likely put in its place, with the
// texts before and after it; None when nothing numeric follows any of them.
Phrase SeparatorInsteadOfComma(const std::string& text, std::string* before, std::string* after) {
    const struct {
        const char* bytes;
        Phrase phrase;
    } separators[] = {{"\x81\x43", Phrase::FullWidthComma},
                      {"\t", Phrase::Tab},
                      {";", Phrase::Semicolon},
                      {" ", Phrase::Blank}};
    for (const auto& s : separators) {
        // Found at a character boundary: a double-byte character never splits.
        for (size_t i = 0; i < text.size();
             i += IsLeadByte932(static_cast<unsigned char>(text[i])) ? 2 : 1) {
            if (text.compare(i, strlen(s.bytes), s.bytes) != 0) {
                continue;
            }
            *before = Trimmed(text.substr(0, i));
            *after = Trimmed(text.substr(i + strlen(s.bytes)));
            if (!before->empty() && LooksLikeNumber(*after)) {
                return s.phrase;
            }
            break;
        }
    }
    return Phrase::None;
}

// Whether a line skipped by the menu's reader was meant as a row, and why it is none.
Phrase WhyNotARow(const std::string& text) {
    const std::vector<std::string> columns = Columns(text);
    bool data = StartsLikeANumber(text);
    for (size_t c = 2; c < columns.size(); ++c) {
        data = data || Trimmed(columns[c]).rfind('@', 0) == 0 || LooksLikeNumber(columns[c]);
    }
    if (!data || columns.size() < 2) {
        return StartsLikeANumber(text) ? Phrase::KindFullWidth : Phrase::None;
    }
    const std::string kind = Trimmed(columns[0]);
    if (kind.empty()) {
        return Phrase::KindEmpty;
    }
    if (IsDigit(kind[0])) {
        return Phrase::KindBlank;
    }
    return StartsLikeANumber(kind) ? Phrase::KindFullWidth : Phrase::KindNotNumber;
}

// A menu row pasted into a table: four columns with a domain among them.
bool LooksLikeMenuRow(const std::string& text) {
    const std::vector<std::string> columns = Columns(text);
    return columns.size() >= 4 && IsDigit(Trimmed(columns[0]).c_str()[0]) &&
           Trimmed(columns[2]).rfind('@', 0) == 0;
}

// The digits of a number text, in order.
std::string DigitsOf(const std::string& text) {
    std::string digits;
    for (const char c : text) {
        if (IsDigit(c)) {
            digits += c;
        }
    }
    return digits;
}

// The same number in two notations: the same digits, with or without hyphens, or one of
// them without the area code the other gives.
bool SameNumber(const AccessPointRecord& a, const AccessPointRecord& b) {
    const std::string x = DigitsOf(RecordText(a));
    const std::string y = DigitsOf(RecordText(b));
    const std::string areaA = DigitsOf(a.areaCode);
    const std::string areaB = DigitsOf(b.areaCode);
    return x == y || (!areaA.empty() && b.areaCode[0] == '\0' && x == areaA + y) ||
           (!areaB.empty() && a.areaCode[0] == '\0' && y == areaB + x);
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
    // DialupDomain stands after the user name until a row is applied, from the start when
    // the first row is none to apply.
    if (rows.empty() ||
        DecideMethodSelection(0, &rows[0], -1).action != MethodSelectionAction::Apply) {
        CheckDomainFits(kIspSettingsFile, LineOf(SettingKey::DialupDomain), formTexts_.domain);
    }
    if (!present) {
        Add(Msg::MissingMenu, kMethodMenuFile, 0, {unchosen});
        return;
    }
    CheckTextFile(kMethodMenuFile, lines, kMethodMenuLineCapacity);
    for (const ObservedLine& l : lines) {
        if (l.place.column > 0 && l.verdict != LineVerdict::MethodRow) {
            continue;
        }
        if (l.verdict == LineVerdict::MethodRow) {
            menuRows_.push_back(l.row);
            menuRowLines_.push_back(l.place.line);
            CheckMenuRow(l, rows.size());
        } else {
            CheckSkippedMenuLine(l);
        }
    }
    if (std::none_of(rows.begin(), rows.end(), IsChoosableMethod)) {
        Add(Msg::NoChoosableMethod, kMethodMenuFile, 0,
            {rows.empty() ? Phrase::NoRow : Phrase::AllHeadings, unchosen});
    } else if (DecideMethodSelection(0, &rows[0], -1).action != MethodSelectionAction::Apply) {
        const auto first = std::find_if(lines.begin(), lines.end(), [](const ObservedLine& l) {
            return l.verdict == LineVerdict::MethodRow;
        });
        Add(Msg::FirstRowHeading, kMethodMenuFile, first->place.line);
    }
}

void KitChecker::CheckDomainFits(const char* file, size_t line, const std::string& domain) {
    const int width = EstimateTextWidth(domain.c_str(), kFormFontPixels, kFormFontPixels / 2);
    if (width > kDomainRoomAtLargest) {
        Add(Msg::DomainCut, file, line,
            {Quoted(domain), Format("%d", width), Format("%d", kDomainRoomAtLargest)});
    }
}

void KitChecker::CheckSkippedMenuLine(const ObservedLine& l) {
    const Phrase why = WhyNotARow(l.text);
    if (why != Phrase::None) {
        Add(Msg::DroppedMethod, kMethodMenuFile, l.place.line, {why});
    } else if (!CheckLineOfAnotherFile(kMethodMenuFile, l)) {
        Add(Msg::NotARowHeading, kMethodMenuFile, l.place.line);
    }
}

bool KitChecker::CheckLineOfAnotherFile(const char* file, const ObservedLine& l) {
    const size_t line = l.place.line;
    const std::vector<std::string> columns = Columns(l.text);
    const SettingKeyInfo* setting = FindSettingKey(Trimmed(columns[0]).c_str());
    if (strcmp(file, kIspSettingsFile) == 0) {
        if (LooksLikeMenuRow(l.text)) {
            Add(Msg::MenuRowInSettings, file, line);
        } else if (columns.size() == 2 && !StartsLikeANumber(columns[0]) &&
                   LooksLikeNumber(columns[1])) {
            Add(Msg::TableLineInSettings, file, line);
        } else {
            return false;
        }
        return true;
    }
    if (setting == nullptr && !LooksLikeMenuRow(l.text)) {
        return false;
    }
    if (strcmp(file, kMethodMenuFile) == 0) {
        if (setting == nullptr) {
            return false;
        }
        Add(Msg::SettingInMenu, file, line, {setting->name});
    } else if (setting != nullptr) {
        Add(Msg::SettingInTable, file, line,
            {setting->name, Quoted(l.verdict == LineVerdict::TableRecord
                                       ? std::string(TableLineNumber(l.text.c_str()))
                                       : l.pairKey)});
    } else {
        Add(Msg::MenuRowInTable, file, line,
            {Quoted(l.verdict == LineVerdict::TableRecord
                        ? std::string(TableLineNumber(l.text.c_str()))
                        : l.pairKey)});
    }
    return true;
}

void KitChecker::CheckMenuRow(const ObservedLine& l, size_t rowCount) {
    const size_t line = l.place.line;
    const MethodMenuItem& row = l.row;
    const bool choosable = IsChoosableMethod(row);
    Add(Msg::MethodRow, kMethodMenuFile, line,
        {Format("%zu", l.index + 1), Format("%d", row.kind), Quoted(row.displayName),
         Quoted(row.domainText), Quoted(row.accessPointNumber),
         choosable ? Phrase::None : Phrase::CannotBeChosen});
    const Phrase columnNames[] = {Phrase::None, Phrase::NameColumn, Phrase::DomainColumn,
                                  Phrase::NumberColumn};
    const char* texts[] = {"", row.displayName, row.domainText, row.accessPointNumber};
    for (int c = 1; c < kMethodColumnCount; ++c) {
        if (l.columns.cut[c]) {
            Add(Msg::CutText, kMethodMenuFile, line, {columnNames[c], Quoted(texts[c])});
        }
    }
    if (l.columns.extraColumns) {
        Add(Msg::ExtraColumns, kMethodMenuFile, line);
    }
    const std::string domain = row.domainText;
    if (choosable && HasEdgeBlank(domain)) {
        Add(Msg::MenuDomainBlanks, kMethodMenuFile, line,
            {Quoted(domain), IsBlank(domain.front()) ? Phrase::Begins : Phrase::Ends});
    }
    for (const int c : {1, 3}) {
        if (IsBlank(texts[c][0])) {
            Add(Msg::MenuBlanks, kMethodMenuFile, line, {columnNames[c], Quoted(texts[c])});
        }
    }
    if (choosable) {
        CheckDomainFits(kMethodMenuFile, line, domain);
    }
    if (choosable && row.domainText[0] == '\0') {
        Add(Msg::NoDomain, kMethodMenuFile, line,
            {l.columns.columns < 3 ? Phrase::TooFewColumns : Phrase::No});
    }
    const std::string stray = FirstNonDialling(row.accessPointNumber);
    if (choosable && stray.size() == 2) {
        Add(Msg::MenuFullWidth, kMethodMenuFile, line,
            {Quoted(row.accessPointNumber), Quoted(stray)});
    } else if (choosable && !stray.empty()) {
        Add(Msg::MenuNotANumber, kMethodMenuFile, line,
            {Quoted(row.accessPointNumber), Quoted(stray)});
    }
    for (const bool pulse : {false, true}) {
        CreationInputs inputs{};
        CopyField(inputs.accessPointNumber, row.accessPointNumber);
        inputs.pulse = pulse;
        const FormMessage refusal = CheckValuesFit(inputs, kNtFamilyClass);
        if (choosable && refusal.kind != MessageBoxKind::None) {
            Add(Msg::MenuNumberTooLong, kMethodMenuFile, line,
                {pulse ? Phrase::WithPulse : Phrase::None,
                 InQuotes(ProgramText(Message{refusal.textId}))});
            break;
        }
    }
    if (choosable && row.accessPointNumber[0] == '\0') {
        CreateFormValues form;
        form.entryName = form.userName = form.password = form.modemName = "x";
        form.accessPointNumber = "";
        form.lastMethodIndex = static_cast<int>(l.index);
        form.methodRowCount = static_cast<int>(rowCount);
        Add(Msg::NoNumber, kMethodMenuFile, line,
            {l.columns.columns < 4 ? Phrase::TooFewColumns : Phrase::No,
             InQuotes(ProgramText(Message{CheckCreateForm(form).textId}))});
    }
    if (!Trimmed(domain).empty() && Trimmed(domain)[0] != '@') {
        Add(Msg::MenuDomainWithoutAt, kMethodMenuFile, line, {Quoted(domain)});
    }
    const std::string name = row.displayName;
    if (name.find("PHS") != std::string::npos) {
        Add(Msg::PhsRow, kMethodMenuFile, line);
    } else if (name.find("\x82\x6F\x82\x67\x82\x72") != std::string::npos ||
               std::search(name.begin(), name.end(), "phs", "phs" + 3, [](char a, char b) {
                   return tolower(static_cast<unsigned char>(a)) == b;
               }) != name.end()) {
        Add(Msg::PhsLookalike, kMethodMenuFile, line);
    }
}

bool KitChecker::CheckTableNumber(const char* file, size_t line, const std::string& text,
                                  const AccessPointRecord& record, Phrase what) {
    const std::string wide = FirstDoubleByte(text);
    if (!wide.empty()) {
        Add(Msg::TableFullWidth, file, line,
            {Quoted(text), ShownCharacter(wide), Quoted(RecordText(record))});
        return false;
    }
    const std::vector<std::string> columns = Columns(text);
    if (columns.size() > 2 || (columns.size() == 2 && !Trimmed(columns[1]).empty())) {
        Add(Msg::TableColumns, file, line, {Quoted(text), Quoted(RecordText(record))});
        return false;
    }
    const size_t hyphen = text.find('-');
    if (hyphen != std::string::npos) {
        const std::string rest = text.substr(hyphen + 1);
        for (size_t i = 0; i < rest.size(); ++i) {
            if (!IsDigit(rest[i]) && rest[i] != '-') {
                // Digits after a dropped character join the number: it is another number.
                const bool joined = HasDigit(rest.substr(i));
                Add(joined ? Msg::JoinedDigits : Msg::DroppedCharacters, file, line,
                    {Quoted(text), Quoted(RecordText(record)),
                     ShownCharacter(std::string(1, rest[i]))});
                if (joined) {
                    return false;
                }
                break;
            }
        }
    }
    CheckRecordNumber(file, line, record, what);
    return true;
}

void KitChecker::CheckRecordNumber(const char* file, size_t line, const AccessPointRecord& record,
                                   Phrase what) {
    if (const std::string c = FirstNonDigit(record.areaCode); !c.empty()) {
        Add(Msg::AreaCharacters, file, line, {what, Quoted(record.areaCode), ShownCharacter(c)});
    } else if (const std::string never = FirstNeverDialled(record.localNumber); !never.empty()) {
        Add(Msg::LocalNeverMatches, file, line,
            {what, Quoted(record.localNumber), ShownCharacter(never)});
    } else if (const std::string d = FirstNonDigit(record.localNumber); !d.empty()) {
        Add(Msg::NumberCharacters, file, line,
            {what, Quoted(record.localNumber), ShownCharacter(d)});
    }
    if (strlen(record.localNumber) < 2) {
        Add(Msg::ShortNumber, file, line, {what, Quoted(record.localNumber)});
    }
}

void KitChecker::CheckTables() {
    const ObservedLines general = Watched(folder_, [&] { context_.LoadGeneralTable(); });
    const ObservedLines phs = Watched(folder_, [&] { context_.LoadPhsTable(); });
    const ObservedLines pairs = Watched(folder_, [&] { context_.LoadPairTable(); });
    if (folder_.Has(kGeneralTableFile)) {
        generalLines_ =
            CheckTable(kGeneralTableFile, general, context_.generalTable,
                       SettingKey::DefaultTelNumber, context_.DefaultTelNumber, &generalWritten_);
    }
    if (folder_.Has(kPhsTableFile)) {
        phsLines_ =
            CheckTable(kPhsTableFile, phs, context_.phsTable, SettingKey::DefaultMobileNumber,
                       context_.DefaultMobileNumber, &phsWritten_);
    }
    if (folder_.Has(kPairTableFile)) {
        CheckPairs(pairs);
    }
}

bool KitChecker::CheckSkippedTableLine(const char* file, const ObservedLine& l) {
    if (l.text.find(',') != std::string::npos) {
        return false;
    }
    std::string before;
    std::string after;
    const Phrase separator = SeparatorInsteadOfComma(l.text, &before, &after);
    if (strcmp(file, kPairTableFile) == 0) {
        if (separator == Phrase::None || !LooksLikeNumber(before)) {
            return false;
        }
        Add(Msg::DroppedPair, file, l.place.line, {Quoted(before), Quoted(after), separator});
    } else if (separator != Phrase::None) {
        Add(Msg::DroppedRecord, file, l.place.line, {Quoted(after), separator});
    } else if (LooksLikeNumber(l.text)) {
        Add(Msg::DroppedRecordNoDigit, file, l.place.line, {Quoted(Trimmed(l.text))});
    } else {
        return false;
    }
    return true;
}

std::vector<size_t> KitChecker::CheckTable(const char* file, const ObservedLines& lines,
                                           const AccessPointTable& table, SettingKey numberKey,
                                           const char* numberValue,
                                           std::vector<std::string>* written) {
    CheckTextFile(file, lines, kTableLineCapacity);
    std::vector<size_t> recordLines(table.size(), 0);
    written->assign(table.size(), std::string());
    for (size_t i = 0; i < table.size(); ++i) {
        (*written)[i] = RecordText(table[i]);
    }
    std::vector<bool> readable(table.size(), true);
    for (const ObservedLine& l : lines) {
        const size_t line = l.place.line;
        switch (l.verdict) {
            case LineVerdict::TableRecord:
                recordLines[l.index] = line;
                (*written)[l.index] = TableLineNumber(l.text.c_str());
                if (l.place.column == 0) {
                    CheckLineOfAnotherFile(file, l);
                }
                if (HasDigit(RecordText(l.record))) {
                    readable[l.index] = CheckTableNumber(
                        file, line, TableLineNumber(l.text.c_str()), l.record, Phrase::ThisRecord);
                }
                break;
            case LineVerdict::NumberTooLong:
                Add(Msg::RecordTooLong, file, line);
                break;
            default:
                if (l.place.column > 0 || CheckSkippedTableLine(file, l)) {
                    break;
                }
                if (l.text.find(',') != std::string::npos) {
                    Add(Msg::NothingAfterComma, file, line);
                } else if (StartsLikeANumber(l.text)) {
                    Add(Msg::NoCommaDigit, file, line);
                } else {
                    Add(Msg::TableHeading, file, line);
                }
                break;
        }
    }
    for (size_t i = 0; i < table.size(); ++i) {
        const AccessPointRecord& record = table[i];
        const size_t line = recordLines[i];
        const std::string shown = (*written)[i];
        Add(Msg::TableRecord, file, line, {Format("%zu", i + 1), Quoted(shown)});
        if (!HasDigit(record.areaCode) && !HasDigit(record.localNumber)) {
            Add(Msg::HeadingRecord, file, line, {Quoted(shown)});
            continue;
        }
        if (!readable[i]) {
            continue;
        }
        for (size_t j = 0; j < i; ++j) {
            if (!RecordCoversRecord(table[j], record, context_.LocalOnlyIsOk)) {
                continue;
            }
            if (RecordText(table[j]) == RecordText(record)) {
                Add(Msg::DuplicateRecord, file, line, {Format("%zu", recordLines[j])});
            } else if (SameNumber(table[j], record)) {
                Add(Msg::SameNumber, file, line,
                    {Quoted(shown), Format("%zu", recordLines[j]), Quoted((*written)[j])});
            } else {
                Add(Msg::ShadowedRecord, file, line,
                    {Format("%zu", recordLines[j]), Quoted((*written)[j])});
            }
            break;
        }
    }
    if (!table.empty() && numberValue[0] == '\0' && hasSettings_) {
        Add(Msg::TableNeedsNumber, file, recordLines[0],
            {kSettingKeys[static_cast<size_t>(numberKey)].name});
    }
    return recordLines;
}

void KitChecker::CheckPairs(const ObservedLines& lines) {
    CheckTextFile(kPairTableFile, lines, kTableLineCapacity);
    std::map<std::string, const ObservedLine*> firstLine;
    std::map<std::string, std::string> values;
    std::set<std::string> columnFaults;
    for (const ObservedLine& l : lines) {
        const size_t line = l.place.line;
        switch (l.verdict) {
            case LineVerdict::PairStored:
            case LineVerdict::PairReplaced:
                if (l.verdict == LineVerdict::PairStored) {
                    firstLine[l.pairKey] = &l;
                } else {
                    const size_t first = firstLine[l.pairKey]->place.line;
                    Add(Msg::PairReplaced, kPairTableFile, line,
                        {Quoted(l.pairKey), Format("%zu", first), Quoted(l.pairValue),
                         Quoted(values[l.pairKey])});
                }
                values[l.pairKey] = l.pairValue;
                if (l.place.column == 0) {
                    CheckLineOfAnotherFile(kPairTableFile, l);
                }
                if (l.pairValue.find(',') != std::string::npos) {
                    const std::string first = Columns(l.pairValue)[0];
                    if (!HasDigit(l.pairKey) && LooksLikeNumber(first)) {
                        Add(Msg::PairLabelColumn, kPairTableFile, line,
                            {Quoted(l.pairKey), Quoted(l.pairValue)});
                    } else {
                        Add(Msg::PairColumns, kPairTableFile, line, {Quoted(l.pairValue)});
                    }
                    columnFaults.insert(l.pairKey);
                }
                break;
            case LineVerdict::EmptyKey:
            case LineVerdict::EmptyValue: {
                // A pair with one number given lacks the other: its subscribers stay.
                const size_t comma = l.text.find(',');
                const std::string given =
                    Trimmed(l.verdict == LineVerdict::EmptyKey ? l.text.substr(comma + 1)
                                                               : l.text.substr(0, comma));
                if (!HasDigit(given)) {
                    Add(l.verdict == LineVerdict::EmptyKey ? Msg::PairNoOld : Msg::PairNoNew,
                        kPairTableFile, line);
                } else if (l.verdict == LineVerdict::EmptyKey) {
                    Add(Msg::PairWithoutOld, kPairTableFile, line, {Quoted(given)});
                } else {
                    Add(Msg::PairWithoutNew, kPairTableFile, line,
                        {Quoted(given), Phrase::AfterTheComma});
                }
                break;
            }
            default:
                if (l.place.column > 0 || CheckSkippedTableLine(kPairTableFile, l)) {
                    break;
                }
                if (LooksLikeNumber(l.text)) {
                    Add(Msg::PairWithoutNew, kPairTableFile, line,
                        {Quoted(Trimmed(l.text)), Phrase::NorAComma});
                } else {
                    Add(StartsLikeANumber(l.text) ? Msg::PairNoComma : Msg::PairNoCommaHeading,
                        kPairTableFile, line);
                }
                break;
        }
    }
    // The pairs are tried in the table's own order, which is not the file's.
    std::vector<std::pair<AccessPointRecord, size_t>> tried;
    size_t order = 0;
    for (const PairTable::Pair& pair : context_.pairTable) {
        const size_t line = firstLine.count(pair.key) ? firstLine[pair.key]->place.line : 0;
        pairLines_[pair.key] = line;
        Add(Msg::PairTried, kPairTableFile, line,
            {Format("%zu", ++order), Format("%zu", context_.pairTable.size()), Quoted(pair.key),
             Quoted(pair.value)});
        AccessPointRecord record;
        if (!SplitTableNumber(pair.key.c_str(), &record)) {
            Add(Msg::PairTooLong, kPairTableFile, line);
            continue;
        }
        if (!HasDigit(pair.key)) {
            if (columnFaults.count(pair.key) == 0) {
                Add(Msg::PairHeading, kPairTableFile, line, {Quoted(pair.key)});
            }
            continue;
        }
        if (!CheckTableNumber(kPairTableFile, line, pair.key, record, Phrase::ThisPairsOldNumber)) {
            continue;
        }
        if (HasEdgeBlank(pair.value)) {
            Add(Msg::PairValueBlanks, kPairTableFile, line, {Quoted(pair.value)});
        }
        if (columnFaults.count(pair.key) == 0) {
            CheckNewNumber(kPairTableFile, line, pair.value, Phrase::TheNewNumber);
        }
        for (const auto& [earlier, earlierLine] : tried) {
            if (RecordCoversRecord(earlier, record, context_.LocalOnlyIsOk)) {
                Add(Msg::PairShadowed, kPairTableFile, line, {Format("%zu", earlierLine)});
                break;
            }
        }
        tried.emplace_back(record, line);
    }
}

void KitChecker::CheckNewNumber(const char* file, size_t line, const std::string& number,
                                const Arg& what) {
    const std::string stray = FirstNonDialling(number);
    if (stray.size() == 2) {
        Add(Msg::NewNumberFullWidth, file, line, {what, Quoted(number), Quoted(stray)});
    } else if (!stray.empty()) {
        Add(Msg::NewNumberNotDialled, file, line, {what, Quoted(number), Quoted(stray)});
    }
    if (number.size() > RAS_MaxPhoneNumber) {
        Add(Msg::NewNumberTooLong, file, line,
            {what, Format("%zu", number.size()), Format("%d", static_cast<int>(RAS_MaxPhoneNumber)),
             InQuotes(ProgramText(Message{IDS_NEW_NUMBER_TOO_LONG}))});
    }
}

// Also without ISP_INF.csv: the other files' own findings still stand; only what its
// missing settings would say is left to the missing file's error.
void KitChecker::CheckAcrossFiles() {
    // Settings that only a missing table uses.
    const struct {
        const char* table;
        Phrase kind;
        SettingKey keys[3];
        size_t count;
    } tables[] = {
        {kGeneralTableFile, Phrase::GeneralKind, {SettingKey::OldDialupDomain}, 1},
        {kPhsTableFile,
         Phrase::PhsKind,
         {SettingKey::DefaultMobileNumber, SettingKey::OldMobileDomain, SettingKey::MobileDomain},
         3},
        {kPairTableFile, Phrase::PairKind, {SettingKey::OldAirHDomain, SettingKey::AirHDomain}, 2},
    };
    bool phsReported = false;
    for (const auto& t : tables) {
        if (folder_.Has(t.table)) {
            continue;
        }
        for (size_t k = 0; k < t.count; ++k) {
            if (EffectiveLine(t.keys[k]) != nullptr) {
                Add(Msg::SettingsWithoutTable, kIspSettingsFile, LineOf(t.keys[k]),
                    {kSettingKeys[static_cast<size_t>(t.keys[k])].name, t.kind, t.table});
                phsReported = phsReported || t.table == kPhsTableFile;
                break;
            }
        }
    }
    // PHS methods for new connections, while the migration is offered without PHS.
    const bool migration = folder_.Has(kGeneralTableFile) || folder_.Has(kPairTableFile);
    for (size_t i = 0; i < menuRows_.size() && migration && !phsReported; ++i) {
        if (!folder_.Has(kPhsTableFile) && IsChoosableMethod(menuRows_[i]) &&
            strstr(menuRows_[i].displayName, "PHS") != nullptr) {
            Add(Msg::MethodWithoutTable, kMethodMenuFile, menuRowLines_[i],
                {Format("%zu", menuRowLines_[i])});
            break;
        }
    }
    CheckNewDomains();
    CheckNewNumberSuffixes();
    CheckOldAgainstCurrent();
}

void KitChecker::CheckNewDomains() {
    if (context_.KeepDomain || !hasSettings_) {
        return;
    }
    if (!context_.phsTable.empty() && context_.MobileDomain[0] == '\0') {
        Add(Msg::NoNewDomain, kPhsTableFile, phsLines_.empty() ? 0 : phsLines_[0],
            {kPhsTableFile, "MobileDomain"});
    }
    if (context_.pairTable.size() > 0 && context_.AirHDomain[0] == '\0') {
        size_t first = 0;
        for (const auto& [key, line] : pairLines_) {
            first = first == 0 || (line != 0 && line < first) ? line : first;
        }
        Add(Msg::NoNewDomain, kPairTableFile, first, {kPairTableFile, "AirHDomain"});
    }
}

void KitChecker::CheckNewNumberSuffixes() {
    // An entry keeps what it dials after the old access point, so a new number's own "#"
    // part ends up in front of the entry's.
    const auto check = [&](const char* file, size_t line, const Arg& what,
                           const std::string& number, const std::string& oldNumber) {
        const size_t hash = number.find('#');
        if (hash == std::string::npos) {
            return;
        }
        const std::string suffix = number.substr(hash);
        Add(Msg::NewNumberSuffix, file, line,
            {what, Quoted(number), Quoted(oldNumber + suffix), Quoted(number + suffix)});
    };
    // The first record that is a number, not a heading, shows what happens, as written.
    const auto example = [](const AccessPointTable& table,
                            const std::vector<std::string>& written) {
        for (size_t i = 0; i < table.size() && i < written.size(); ++i) {
            if (HasDigit(RecordText(table[i]))) {
                return written[i];
            }
        }
        return std::string();
    };
    if (!example(context_.generalTable, generalWritten_).empty()) {
        check(kIspSettingsFile, LineOf(SettingKey::DefaultTelNumber), "DefaultTelNumber",
              context_.DefaultTelNumber, example(context_.generalTable, generalWritten_));
    }
    if (!example(context_.phsTable, phsWritten_).empty()) {
        check(kIspSettingsFile, LineOf(SettingKey::DefaultMobileNumber), "DefaultMobileNumber",
              context_.DefaultMobileNumber, example(context_.phsTable, phsWritten_));
    }
    for (const PairTable::Pair& pair : context_.pairTable) {
        check(kPairTableFile, pairLines_[pair.key], Phrase::TheNewNumber, pair.value, pair.key);
    }
}

void KitChecker::CheckOldAgainstCurrent() {
    struct Current {
        std::string number;
        std::string source;  // where it is given, FILE:LINE or the key
    };
    std::vector<Current> current;
    for (size_t i = 0; i < menuRows_.size(); ++i) {
        if (IsChoosableMethod(menuRows_[i]) && menuRows_[i].accessPointNumber[0] != '\0') {
            current.push_back({menuRows_[i].accessPointNumber,
                               Format("%s:%zu", kMethodMenuFile, menuRowLines_[i])});
        }
    }
    for (const char* key : {"DefaultTelNumber", "DefaultMobileNumber"}) {
        const std::string value =
            key[7] == 'T' ? context_.DefaultTelNumber : context_.DefaultMobileNumber;
        if (!value.empty()) {
            current.push_back({value, key});
        }
    }
    for (const PairTable::Pair& pair : context_.pairTable) {
        current.push_back({pair.value, Format("%s:%zu", kPairTableFile, pairLines_[pair.key])});
    }
    // An entry dials a current number with or without its area code in the field of its own.
    const auto matches = [&](const AccessPointRecord& record, const std::string& number) {
        char prefix[kAffixSize];
        char suffix[kAffixSize];
        const size_t hyphen = number.find('-');
        return MatchAccessPointRecord(record, "", number.c_str(), context_.LocalOnlyIsOk, prefix,
                                      suffix) ||
               (hyphen != std::string::npos &&
                MatchAccessPointRecord(record, number.substr(0, hyphen).c_str(),
                                       number.substr(hyphen + 1).c_str(), context_.LocalOnlyIsOk,
                                       prefix, suffix));
    };
    const auto check = [&](const char* file, size_t line, const AccessPointRecord& record,
                           const std::string& shown) {
        if (!HasDigit(shown)) {
            return;  // a heading read as a record
        }
        for (const Current& c : current) {
            if (matches(record, c.number)) {
                Add(Msg::OldIsCurrent, file, line, {Quoted(shown), Quoted(c.number), c.source});
                return;
            }
        }
    };
    for (size_t i = 0; i < context_.generalTable.size() && i < generalLines_.size(); ++i) {
        check(kGeneralTableFile, generalLines_[i], context_.generalTable[i], generalWritten_[i]);
    }
    for (size_t i = 0; i < context_.phsTable.size() && i < phsLines_.size(); ++i) {
        check(kPhsTableFile, phsLines_[i], context_.phsTable[i], phsWritten_[i]);
    }
    for (const PairTable::Pair& pair : context_.pairTable) {
        AccessPointRecord record;
        if (SplitTableNumber(pair.key.c_str(), &record)) {
            check(kPairTableFile, pairLines_[pair.key], record, pair.key);
        }
    }
}
