// The kit folder: paths, existence and whole-file reads.
#include "kit/KitFolder.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#endif

#include "settings/ByteText.h"
#include "settings/CarriedKit.h"

namespace {

// True when the last byte of `text` is the second byte of a double-byte character, as the
// 0x5C of 表 and ソ is: on Windows the path is code page 932, and such a byte is no separator.
bool EndsInDoubleByte(const std::string& text) {
#ifdef _WIN32
    size_t i = 0;
    while (i + 1 < text.size()) {
        i += IsLeadByte932(static_cast<unsigned char>(text[i])) ? 2 : 1;
    }
    return i > text.size() - 1;
#else
    (void)text;
    return false;
#endif
}

}  // namespace

KitFolder::KitFolder(const std::string& path) : path_(path) {
#ifdef _WIN32
    separator_ =
        path.find('/') != std::string::npos && path.find('\\') == std::string::npos ? '/' : '\\';
#else
    separator_ = '/';
#endif
    while (path_.size() > 1 && (path_.back() == '/' || path_.back() == separator_) &&
           !EndsInDoubleByte(path_)) {
        path_.pop_back();
    }
}

bool KitFolder::IsFolder() const {
    struct stat info;
    return stat(path_.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool KitFolder::PathsFit() const {
    if (carried_ != nullptr) {
        return true;
    }
    char path[kPathSize];
    for (const char* name : {kIspSettingsFile, kGeneralTableFile, kPhsTableFile, kPairTableFile,
                             kMethodMenuFile, kLogoFile}) {
        if (!PathOf(name, path, sizeof(path))) {
            return false;
        }
    }
    return true;
}

std::string KitFolder::NameInFolder(const char* fileName) const {
#ifndef _WIN32
    if (carried_ != nullptr) {
        return fileName;
    }
    if (DIR* folder = opendir(path_.c_str())) {
        std::string found;
        while (const dirent* entry = readdir(folder)) {
            if (strcmp(entry->d_name, fileName) == 0) {
                found = fileName;
                break;
            }
            if (found.empty() && EqualsNoCase(entry->d_name, fileName)) {
                found = entry->d_name;
            }
        }
        closedir(folder);
        if (!found.empty()) {
            return found;
        }
    }
#endif
    return fileName;
}

std::vector<std::string> KitFolder::Names() const {
    std::vector<std::string> names;
    if (carried_ != nullptr) {
        for (size_t i = 0; i < carried_->Count(); ++i) {
            names.push_back(carried_->File(i).name);
        }
        return names;
    }
#ifdef _WIN32
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((path_ + separator_ + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            names.push_back(found.cFileName);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
#else
    if (DIR* folder = opendir(path_.c_str())) {
        while (const dirent* entry = readdir(folder)) {
            names.push_back(entry->d_name);
        }
        closedir(folder);
    }
#endif
    return names;
}

std::string KitFolder::Shown(const char* fileName) const {
    return path_ + separator_ + NameInFolder(fileName);
}

bool KitFolder::PathOf(const char* fileName, char* path, size_t size) const {
    if (carried_ != nullptr) {
        return carried_->Files().PathOf(fileName, path, size);
    }
    const std::string full = path_ + separator_ + NameInFolder(fileName);
    return CopyTextExact(path, size, full.c_str());
}

bool KitFolder::Exists(const char* path) const {
    if (carried_ != nullptr) {
        return carried_->Files().Exists(path);
    }
#ifdef _WIN32
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
#else
    struct stat info;
    return stat(path, &info) == 0;
#endif
}

bool KitFolder::Has(const char* fileName) const {
    char path[kPathSize];
    return FindDataFile(*this, fileName, path);
}

bool KitFolder::HeldBytes(const char* path, const char** data, size_t* size) const {
    return carried_ != nullptr && carried_->Files().HeldBytes(path, data, size);
}

bool KitFolder::IsReadableFile(const char* fileName) const {
    char path[kPathSize];
    if (carried_ != nullptr) {
        return FindDataFile(*this, fileName, path);
    }
    struct stat info;
    if (!FindDataFile(*this, fileName, path) || stat(path, &info) != 0 || S_ISDIR(info.st_mode)) {
        return false;
    }
    FILE* file = fopen(path, "rb");
    if (file != nullptr) {
        fclose(file);
    }
    return file != nullptr;
}

bool KitFolder::ReadBytes(const char* fileName, std::string* bytes, size_t limit) const {
    bytes->clear();
    char path[kPathSize];
    const char* held = nullptr;
    size_t size = 0;
    if (FindDataFile(*this, fileName, path) && HeldBytes(path, &held, &size)) {
        bytes->assign(held, std::min(size, limit));
        return true;
    }
    if (!IsReadableFile(fileName) || !FindDataFile(*this, fileName, path)) {
        return false;
    }
    FILE* file = fopen(path, "rb");
    if (file == nullptr) {
        return false;
    }
    char block[65536];
    size_t n;
    while (bytes->size() < limit &&
           (n = fread(block, 1, std::min(sizeof(block), limit - bytes->size()), file)) > 0) {
        bytes->append(block, n);
    }
    fclose(file);
    return true;
}
