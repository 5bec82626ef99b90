// Program directory from the module path; existence from the file attributes.
#include "app/ShellDataFiles.h"

#include <windows.h>

ShellDataFiles::ShellDataFiles() {
    char modulePath[kPathSize] = {};
    const DWORD n = GetModuleFileNameA(nullptr, modulePath, sizeof(modulePath));
    found_ = ProgramDirectoryOf(modulePath, n, sizeof(modulePath), directory_, sizeof(directory_));
}

bool ShellDataFiles::PathOf(const char* fileName, char* path, size_t size) const {
    return found_ && FormatDataFilePath(directory_, fileName, path, size);
}

bool ShellDataFiles::Exists(const char* path) const {
    return path != nullptr && path[0] != '\0' &&
           GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}
