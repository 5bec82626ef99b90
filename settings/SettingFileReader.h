// Reads one provider file line by line. Lines end with CR, LF or CR LF; empty lines are
// never delivered; a line longer than capacity - 1 bytes comes in pieces of that length.
// Bytes are delivered as they are (code page 932, no conversion). A file that DataFiles
// holds in memory is read from there, with the same rule.
#pragma once

#include <cstddef>
#include <cstdio>
#include <type_traits>

#include "settings/ReadObserver.h"

class DataFiles;

class SettingFileReader {
public:
    explicit SettingFileReader(const DataFiles& files) : files_(files) {}
    ~SettingFileReader();
    SettingFileReader(const SettingFileReader&) = delete;
    SettingFileReader& operator=(const SettingFileReader&) = delete;

    // False when `path` is absent or empty, the file is missing or cannot be opened.
    // Closes a file opened before.
    bool Open(const char* path);

    // Fills `buffer` (`capacity` bytes) with the next non-empty line or line piece.
    // False when no line is left; the file is then closed. A last line without a line
    // break is still delivered, and every byte value (0xFF too) is ordinary text.
    bool ReadLine(char* buffer, size_t capacity);

    // Where the piece delivered last stands in the file.
    const LinePlace& Place() const { return place_; }

private:
    int NextByte();  // -1 at the end
    void Close();

    const DataFiles& files_;
    FILE* file_ = nullptr;
    // Bytes not yet delivered: the memory DataFiles holds, or the file's current block.
    const unsigned char* next_ = nullptr;
    const unsigned char* end_ = nullptr;
    unsigned char block_[4096];
    LinePlace place_;
    LinePlace ahead_;  // where the next byte stands (its length unused)
    bool afterCr_ = false;
};

// The longest capacity any reading routine passes.
constexpr size_t kMaxLineCapacity = 513;

typedef void (*LineVisitor)(void* context, const char* line);

// Reads `fileName` in the program directory with `capacity` (at most kMaxLineCapacity)
// and calls `visit` for every line, telling the observer of `files` (if any) where each
// line stands before `visit` sees it. False only when the file is missing; a file that
// exists but cannot be opened reads as an empty one.
bool ForEachDataFileLine(const DataFiles& files, const char* fileName, size_t capacity,
                         LineVisitor visit, void* context);

// Lambda-friendly form of ForEachDataFileLine.
template <class Fn>
bool ReadDataFileLines(const DataFiles& files, const char* fileName, size_t capacity, Fn&& fn) {
    using Callable = typename std::remove_reference<Fn>::type;
    return ForEachDataFileLine(
        files, fileName, capacity,
        [](void* context, const char* line) { (*static_cast<Callable*>(context))(line); },
        const_cast<void*>(static_cast<const void*>(&fn)));
}
