// Reads one provider file line by line. Lines end with CR, LF or CR LF; empty lines are
// never delivered; a line longer than capacity - 1 bytes comes in pieces of that length.
// Bytes are delivered as they are (code page 932, no conversion).
#pragma once

#include <cstddef>
#include <cstdio>

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

private:
    void Close();

    const DataFiles& files_;
    FILE* file_ = nullptr;
};
