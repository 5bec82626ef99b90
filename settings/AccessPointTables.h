// The provider's access-point tables APGEN.csv, APPHS.csv (lists of old numbers) and
// APAIR.csv (old number -> new number): their line rules, the split of a table number into
// area code and local number, and the readers that fill the in-memory tables.
// All text is code page 932 bytes, taken as written: nothing is trimmed or converted.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "dialup/RasTypes.h"
#include "settings/ReadObserver.h"

class DataFiles;
class PairTable;

// Field sizes follow the phonebook entry's szAreaCode and szLocalPhoneNumber.
constexpr size_t kAreaCodeSize = RAS_MaxAreaCode + 1;        // 10 bytes + terminator
constexpr size_t kLocalNumberSize = RAS_MaxPhoneNumber + 1;  // 128 bytes + terminator

// Every table file is read with this line capacity: a line piece holds at most 512 bytes.
constexpr size_t kTableLineCapacity = 513;

// One old access point of the general or the PHS table.
struct AccessPointRecord {
    char areaCode[kAreaCodeSize];        // text before the first hyphen; may be empty
    char localNumber[kLocalNumberSize];  // digits after the first hyphen, or the whole text
};

// A table in file order; duplicates are kept, and the first record that matches wins.
using AccessPointTable = std::vector<AccessPointRecord>;

// Splits one table number. With a hyphen: areaCode is the text before the first hyphen,
// localNumber the digits 0-9 after it, every other byte dropped. Without one: areaCode is
// empty and localNumber is the whole text, blanks and all.
// False, with both fields empty, when either part would not fit its field (area code over
// 10 bytes, more than 128 digits, an unhyphenated text over 128 bytes): such a number is
// never cut, since a shortened number would match entries it does not stand for.
bool SplitTableNumber(const char* text, AccessPointRecord* record);

// Line rule of APGEN.csv and APPHS.csv: the number text of `line`, pointing into it, or
// null when the line holds none. With a comma, the number is everything after the first
// comma (the label before it is not read); a comma as the last byte gives none. Without a
// comma, only a line that starts with a digit is a number (headings and comments are not).
const char* TableLineNumber(const char* line);

// Line rule of APAIR.csv: key before the first comma, value after it to the end of the
// line (further commas included), both exactly as written. False when there is no comma
// or the key or the value is empty; `refusal` (may be null) then says which.
bool SplitPairLine(const char* line, std::string_view* key, std::string_view* value,
                   LineVerdict* refusal = nullptr);

// One line of APGEN.csv or APPHS.csv: appends its record to `table`. False, with nothing
// added, when the line holds no number or the number does not fit a record. `seen` (may be
// null) receives what the rule made of the line.
bool AddTableLine(const char* line, AccessPointTable* table, LineObservation* seen = nullptr);

// One line of APAIR.csv: stores its pair in `table`. False when the line holds no pair.
// `seen` (may be null) receives what the rule made of the line.
bool AddPairLine(const char* line, PairTable* table, LineObservation* seen = nullptr);

// Empties `table`, then appends a record for every usable line of `fileName` in the
// program directory, in file order. False only when the file does not exist; a file that
// cannot be opened reads as one without records.
bool ReadAccessPointTable(const DataFiles& files, const char* fileName, AccessPointTable* table);

// Empties `table`, then stores every pair of APAIR.csv; a key read again replaces the
// value of the earlier line and keeps its place. False only when the file does not exist.
bool ReadPairTable(const DataFiles& files, PairTable* table);
