// CTMENU.csv: the connection methods the provider offers, one row per digit-led line, in
// file order. Each row names a method, the domain that follows the user name and the
// access-point number to dial. Text is code page 932 bytes, carried unchanged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class DataFiles;

constexpr size_t kMethodTextSize = 256;          // each text field: 255 bytes and a zero
constexpr size_t kMethodMenuLineCapacity = 512;  // so a line piece holds at most 511 bytes
constexpr int32_t kHeadingMethodKind = 9;        // a heading or prompt row, never applied

struct MethodMenuItem {
    int32_t kind;                             // column 0; 0 when the column is empty
    char displayName[kMethodTextSize];        // column 1: the row's text in the list
    char domainText[kMethodTextSize];         // column 2: with its leading "@"
    char accessPointNumber[kMethodTextSize];  // column 3: verbatim, "#" and all
};

constexpr int kMethodColumnCount = 4;  // kind, display name, domain text, number

// How a row's line filled its columns, for the kit tool's reports.
struct MethodLineFacts {
    int columns = 0;                    // columns the line gives, counted up to 4
    bool extraColumns = false;          // text after a fourth comma, which is ignored
    bool cut[kMethodColumnCount] = {};  // a text column over 255 bytes, cut to fit
};

// True for a row the user may apply (every kind but the heading kind 9).
inline bool IsChoosableMethod(const MethodMenuItem& item) {
    return item.kind != kHeadingMethodKind;
}

// Splits one line into a row. False (and `item` untouched) when the line does not start
// with a digit: such lines are comments or headings. Columns are split at commas, a
// double-byte character (lead byte and the byte after it) always stays whole, so a second
// byte never ends a column; an empty column stores nothing but keeps its position; columns
// after the fourth are ignored. Column 0 gives the kind from its leading digits ("12abc"
// is 12). A text column over 255 bytes is cut to 255 bytes at a character boundary.
// `facts` (may be null) receives how the columns were filled.
bool ParseMethodMenuLine(const char* line, MethodMenuItem* item, MethodLineFacts* facts = nullptr);

// Reads CTMENU.csv from the program directory into `rows` (cleared first), in file order.
// `hasPhsRow` (may be null) tells whether any display name contains the bytes "PHS"
// (case-sensitive, kind 9 rows included): the form then shows its PHS note. False when the
// file is missing; rows stay empty then. A file that cannot be opened gives no rows.
bool LoadMethodMenu(const DataFiles& files, std::vector<MethodMenuItem>* rows, bool* hasPhsRow);
