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
    next_ = end_ = nullptr;
}

bool SettingFileReader::Open(const char* path) {
    if (path == nullptr || path[0] == '\0' || !files_.Exists(path)) {
        return false;
    }
    Close();
    place_ = LinePlace{};
    ahead_ = LinePlace{};
    ahead_.line = 1;
    afterCr_ = false;
    const char* held = nullptr;
    size_t size = 0;
    if (files_.HeldBytes(path, &held, &size)) {
        next_ = reinterpret_cast<const unsigned char*>(held);
        end_ = next_ + size;
        return true;
    }
    file_ = fopen(path, "rb");
    return file_ != nullptr;
}

int SettingFileReader::NextByte() {
    if (next_ == end_ && file_ != nullptr) {
        next_ = block_;
        end_ = block_ + fread(block_, 1, sizeof(block_), file_);
    }
    return next_ != end_ ? *next_++ : -1;
}

bool SettingFileReader::ReadLine(char* buffer, size_t capacity) {
    if (buffer == nullptr || capacity < 2) {
        if (buffer != nullptr && capacity > 0) {
            buffer[0] = '\0';
        }
        return false;
    }
    buffer[0] = '\0';
    size_t count = 0;
    for (;;) {
        const int c = NextByte();
        if (c < 0) {
            if (count > 0) {
                return true;  // the last line needs no line break after it
            }
            Close();
            return false;
        }
        const size_t at = ahead_.offset++;
        if (c == '\r' || c == '\n') {
            // CR LF ends one line, as CR alone and LF alone do.
            if (c == '\r' || !afterCr_) {
                ++ahead_.line;
            }
            afterCr_ = c == '\r';
            ahead_.column = 0;
            if (count > 0) {
                return true;
            }
            continue;
        }
        afterCr_ = false;
        if (count == 0) {
            place_ = LinePlace{ahead_.line, ahead_.column, at, 0};
        }
        ++ahead_.column;
        buffer[count++] = static_cast<char>(c);
        buffer[count] = '\0';
        place_.length = count;
        if (count == capacity - 1) {
            return true;
        }
    }
}

bool ForEachDataFileLine(const DataFiles& files, const char* fileName, size_t capacity,
                         LineVisitor visit, void* context) {
    char path[kPathSize];
    if (!FindDataFile(files, fileName, path)) {
        return false;
    }
    SettingFileReader reader(files);
    if (!reader.Open(path)) {
        return true;
    }
    char line[kMaxLineCapacity];
    if (capacity > sizeof(line)) {
        capacity = sizeof(line);
    }
    ReadObserver* observer = files.Observer();
    while (reader.ReadLine(line, capacity)) {
        if (observer != nullptr) {
            observer->PieceRead(fileName, reader.Place(), line);
        }
        visit(context, line);
    }
    return true;
}

void TellObserver(const DataFiles& files, const LineObservation& observation) {
    if (ReadObserver* observer = files.Observer()) {
        observer->PieceJudged(observation);
    }
}
