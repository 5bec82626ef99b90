// A scratch folder for one test, removed with everything in it at the end, that also
// serves as the program directory of the provider files (DataFiles).
#pragma once

#include <string>

#include "settings/DataFiles.h"

class TempFolder : public DataFiles {
public:
    TempFolder();
    ~TempFolder() override;
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string PathTo(const std::string& name) const { return path_ + "/" + name; }

    // Writes `bytes` exactly as given (no line-ending conversion).
    void Write(const std::string& name, const std::string& bytes) const;
    void Remove(const std::string& name) const;
    void MakeFolder(const std::string& name) const;
    std::string Read(const std::string& name) const;

    bool PathOf(const char* fileName, char* path, size_t size) const override;
    bool Exists(const char* path) const override;

private:
    std::string path_;
};
