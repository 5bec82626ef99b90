// Program directory, data-file paths and the provider file names.
#include "settings/DataFiles.h"

#include <cstdio>
#include <cstring>

#include "settings/ByteText.h"

const char kIspSettingsFile[] = "ISP_INF.csv";
const char kGeneralTableFile[] = "APGEN.csv";
const char kPhsTableFile[] = "APPHS.csv";
const char kPairTableFile[] = "APAIR.csv";
const char kMethodMenuFile[] = "CTMENU.csv";
const char kLogoFile[] = "Logo.png";

bool FindDataFile(const DataFiles& files, const char* fileName, char (&path)[kPathSize]) {
    path[0] = '\0';
    if (!files.PathOf(fileName, path, sizeof(path))) {
        path[0] = '\0';
        return false;
    }
    return files.Exists(path);
}

bool CutProgramDirectory(const char* modulePath, char* directory, size_t size) {
    if (modulePath == nullptr || directory == nullptr || size == 0) {
        return false;
    }
    directory[0] = '\0';
    const char* lastSeparator = nullptr;
    for (const char* p = modulePath; *p != '\0'; ++p) {
        if (IsLeadByte932(static_cast<unsigned char>(*p)) && p[1] != '\0') {
            ++p;
        } else if (*p == '\\') {
            lastSeparator = p;
        }
    }
    if (lastSeparator == nullptr) {
        return false;
    }
    return CopyTextN(directory, size, modulePath, static_cast<size_t>(lastSeparator - modulePath));
}

bool FormatDataFilePath(const char* directory, const char* fileName, char* path, size_t size) {
    if (directory == nullptr || fileName == nullptr || path == nullptr || size == 0) {
        return false;
    }
    const int n = snprintf(path, size, "%s\\%s", directory, fileName);
    if (n < 0 || static_cast<size_t>(n) >= size) {
        path[0] = '\0';
        return false;
    }
    return true;
}

bool MemoryDataFiles::Hold(const char* fileName, const char* data, size_t size) {
    Forget(fileName);
    if (fileName == nullptr || count_ == kMaxHeld) {
        return false;
    }
    held_[count_++] = Held{fileName, data != nullptr ? data : "", data != nullptr ? size : 0};
    return true;
}

void MemoryDataFiles::Forget(const char* fileName) {
    for (size_t i = 0; i < count_; ++i) {
        if (fileName != nullptr && strcmp(held_[i].name, fileName) == 0) {
            held_[i] = held_[--count_];
            return;
        }
    }
}

const MemoryDataFiles::Held* MemoryDataFiles::Find(const char* name) const {
    for (size_t i = 0; name != nullptr && i < count_; ++i) {
        if (strcmp(held_[i].name, name) == 0) {
            return &held_[i];
        }
    }
    return nullptr;
}

bool MemoryDataFiles::PathOf(const char* fileName, char* path, size_t size) const {
    return fileName != nullptr && CopyTextExact(path, size, fileName);
}

bool MemoryDataFiles::Exists(const char* path) const {
    return Find(path) != nullptr;
}

bool MemoryDataFiles::HeldBytes(const char* path, const char** data, size_t* size) const {
    const Held* held = Find(path);
    if (held == nullptr) {
        return false;
    }
    *data = held->data;
    *size = held->size;
    return true;
}
