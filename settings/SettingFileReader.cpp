// Line reader shared by every provider file.
#include "settings/SettingFileReader.h"

#include "settings/DataFiles.h"

SettingFileReader::~SettingFileReader() {
    Close();
}

void SettingFileReader::Close() {
    if (file_ != nullptr) {
        fclose(file_);
        file_ = nullptr;
    }
}

bool SettingFileReader::Open(const char* path) {
    if (path == nullptr || path[0] == '\0' || !files_.Exists(path)) {
        return false;
    }
    Close();
    file_ = fopen(path, "rb");
    return file_ != nullptr;
}

bool SettingFileReader::ReadLine(char* buffer, size_t capacity) {
    if (buffer == nullptr || capacity < 2 || file_ == nullptr) {
        if (buffer != nullptr && capacity > 0) {
            buffer[0] = '\0';
        }
        return false;
    }
    buffer[0] = '\0';
    size_t count = 0;
    for (;;) {
        const int c = fgetc(file_);
        if (c == EOF) {
            if (count > 0) {
                return true;  // the last line needs no line break after it
            }
            Close();
            return false;
        }
        if (c == '\r' || c == '\n') {
            if (count > 0) {
                return true;
            }
            continue;
        }
        buffer[count++] = static_cast<char>(c);
        buffer[count] = '\0';
        if (count == capacity - 1) {
            return true;
        }
    }
}
