// The kit folder the tool checks, as the program's directory: the provider files are found
// and read through it with the program's own readers, and an observer may watch them read.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "settings/DataFiles.h"

class CarriedKit;

class KitFolder : public DataFiles {
public:
    explicit KitFolder(const std::string& path);

    // From now on the folder is the kit that the program file at Path() carries: its files
    // are the carried ones, shown as Path() joined with their names. `kit` must outlive it.
    void Carry(const CarriedKit* kit) { carried_ = kit; }
    bool IsCarried() const { return carried_ != nullptr; }

    const std::string& Path() const { return path_; }
    bool IsFolder() const;

    // True when every provider file's path in this folder fits the program's path buffers.
    bool PathsFit() const;

    // The file as the reports name it: the folder joined with the name it has there.
    std::string Shown(const char* fileName) const;

    // Present as the program's existence test sees it, and a plain file that can be read.
    bool Has(const char* fileName) const;
    bool IsReadableFile(const char* fileName) const;

    // The names of everything in the folder.
    std::vector<std::string> Names() const;

    // The file's bytes, at most `limit` of them. False when it cannot be read.
    bool ReadBytes(const char* fileName, std::string* bytes, size_t limit) const;

    // Natively the name is looked up without regard to the case of A-Z, as the program's
    // file system does.
    bool PathOf(const char* fileName, char* path, size_t size) const override;
    bool Exists(const char* path) const override;
    bool HeldBytes(const char* path, const char** data, size_t* size) const override;
    ReadObserver* Observer() const override { return observer_; }

    void Watch(ReadObserver* observer) { observer_ = observer; }

private:
    std::string NameInFolder(const char* fileName) const;

    std::string path_;
    char separator_;  // the one the given path uses, so that reports read like it
    ReadObserver* observer_ = nullptr;
    const CarriedKit* carried_ = nullptr;
};
