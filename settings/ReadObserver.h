// Watching the provider-file readers at work: where each line piece stands in its file and
// what the reading routine's rule made of it. The program never observes (DataFiles gives
// no observer); the kit tool does, so that what it reports is what the readers do.
#pragma once

#include <cstddef>
#include <string_view>

#include "settings/IspSettings.h"

class DataFiles;
struct AccessPointRecord;
struct MethodMenuItem;
struct MethodLineFacts;

// Where a line piece stands in its file.
struct LinePlace {
    size_t line = 0;    // physical line, from 1; CR LF, CR alone and LF alone each end one
    size_t column = 0;  // bytes of the same line before the piece: 0 unless the line was cut
    size_t offset = 0;  // bytes of the file before the piece
    size_t length = 0;  // bytes of the piece (a zero byte among them ends its C string early)
};

enum class LineVerdict {
    // ISP_INF.csv (the first three also APAIR.csv)
    NoComma,     // ignored
    EmptyKey,    // ignored
    EmptyValue,  // ignored
    KeyTooLong,  // ignored: a key over 255 bytes is no known key
    UnknownKey,  // ignored
    Setting,     // a known key with a value: `key`, `value`
    // APGEN.csv, APPHS.csv
    NoNumber,       // skipped: no comma and no leading digit, or nothing after the comma
    NumberTooLong,  // skipped: the number does not fit the record's fields
    TableRecord,    // appended: `record` at `index`
    // APAIR.csv
    PairStored,    // a new old number: `pairKey`, `pairValue`
    PairReplaced,  // an old number read before: new number replaced, place kept
    // CTMENU.csv
    NotARow,    // skipped: does not start with a digit
    MethodRow,  // appended: `row` at `index`, with `columns`
};

struct LineObservation {
    LineVerdict verdict = LineVerdict::NoComma;
    SettingKey key = SettingKey::CaptionStart;
    const char* value = nullptr;  // points into the piece
    size_t index = 0;
    const AccessPointRecord* record = nullptr;
    std::string_view pairKey;
    std::string_view pairValue;
    const MethodMenuItem* row = nullptr;
    const MethodLineFacts* columns = nullptr;
};

class ReadObserver {
public:
    virtual ~ReadObserver() = default;

    // A piece as the reader delivers it (`text` is its C string), before any rule sees it.
    virtual void PieceRead(const char* fileName, const LinePlace& place, const char* text) = 0;

    // What the reading routine's rule made of the piece told last.
    virtual void PieceJudged(const LineObservation& observation) = 0;
};

// Tells the observer of `files`, if it has one, what a rule made of the current piece.
void TellObserver(const DataFiles& files, const LineObservation& observation);
