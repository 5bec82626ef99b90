// The provider files for real: the directory of the program file and the file system's
// attribute query.
#pragma once

#include "settings/DataFiles.h"

class ShellDataFiles : public DataFiles {
public:
    ShellDataFiles();
    bool PathOf(const char* fileName, char* path, size_t size) const override;
    bool Exists(const char* path) const override;

private:
    char directory_[kPathSize];
    bool found_;
};
