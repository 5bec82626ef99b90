// Program directory from the module path; existence from the file attributes; a carried
// kit read once from the program file.
#include "app/ShellDataFiles.h"

#include <windows.h>

ShellDataFiles::ShellDataFiles() {
    char modulePath[kPathSize] = {};
    const DWORD n = GetModuleFileNameA(nullptr, modulePath, sizeof(modulePath));
    found_ = ProgramDirectoryOf(modulePath, n, sizeof(modulePath), directory_, sizeof(directory_));
    if (found_) {
        carried_ = kit_.Read(FileProgramBytes(modulePath));
    }
}

bool ShellDataFiles::PathOf(const char* fileName, char* path, size_t size) const {
    // A carried kit is all the program reads: nothing beside it is looked at.
    if (carried_ != CarriedKitState::None) {
        return carried_ == CarriedKitState::Carried && kit_.Files().PathOf(fileName, path, size);
    }
    return found_ && FormatDataFilePath(directory_, fileName, path, size);
}

bool ShellDataFiles::Exists(const char* path) const {
    if (carried_ != CarriedKitState::None) {
        return kit_.Files().Exists(path);
    }
    return path != nullptr && path[0] != '\0' &&
           GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

bool ShellDataFiles::HeldBytes(const char* path, const char** data, size_t* size) const {
    return kit_.Files().HeldBytes(path, data, size);
}
