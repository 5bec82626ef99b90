// Provider files that are only bytes in memory, by file name (no directory): the kit tool's
// checks and the fuzz targets run every reading routine on them without touching the disk.
// Defined in the header: the class then has no key function, so code built with run-time
// type information (the unit tests) and without it (the core) can both use it.
#pragma once

#include <cstring>

#include "settings/ByteText.h"
#include "settings/DataFiles.h"

class MemoryDataFiles : public DataFiles {
public:
    // Holds `size` bytes at `data` as `fileName`, replacing what that name held; neither
    // is copied, both must outlive this object. Null data is an empty file. False when
    // kMaxHeld other names are held already.
    bool Hold(const char* fileName, const char* data, size_t size) {
        Forget(fileName);
        if (fileName == nullptr || count_ == kMaxHeld) {
            return false;
        }
        held_[count_++] = Held{fileName, data != nullptr ? data : "", data != nullptr ? size : 0};
        return true;
    }

    void Forget(const char* fileName) {
        Held* held = Find(fileName);
        if (held != nullptr) {
            *held = held_[--count_];
        }
    }

    bool PathOf(const char* fileName, char* path, size_t size) const override {
        return fileName != nullptr && CopyTextExact(path, size, fileName);
    }

    bool Exists(const char* path) const override { return Find(path) != nullptr; }

    bool HeldBytes(const char* path, const char** data, size_t* size) const override {
        const Held* held = Find(path);
        if (held == nullptr) {
            return false;
        }
        *data = held->data;
        *size = held->size;
        return true;
    }

    static constexpr size_t kMaxHeld = 8;  // the six provider files and room to spare

private:
    struct Held {
        const char* name;
        const char* data;
        size_t size;
    };

    Held* Find(const char* name) const {
        for (size_t i = 0; name != nullptr && i < count_; ++i) {
            if (strcmp(held_[i].name, name) == 0) {
                return const_cast<Held*>(&held_[i]);
            }
        }
        return nullptr;
    }

    Held held_[kMaxHeld] = {};
    size_t count_ = 0;
};
