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

bool NoProviderFilePresent(const DataFiles& files, char* names, size_t size) {
    static const char* const kProviderFiles[] = {kIspSettingsFile,  kMethodMenuFile,
                                                 kGeneralTableFile, kPhsTableFile,
                                                 kPairTableFile,    kLogoFile};
    if (size != 0) {
        names[0] = '\0';
    }
    for (const char* name : kProviderFiles) {
        char path[kPathSize];
        if (FindDataFile(files, name, path)) {
            if (size != 0) {
                names[0] = '\0';
            }
            return false;
        }
        // A list cut short still says enough; the names are all ASCII.
        if (size != 0 && names[0] != '\0') {
            AppendTextExact(names, size, "\n");
        }
        AppendTextExact(names, size, name);
    }
    return true;
}

namespace {

// The last backslash of a path, stepping over double-byte characters; null when none.
const char* LastSeparator(const char* path) {
    const char* lastSeparator = nullptr;
    for (const char* p = path; *p != '\0'; ++p) {
        if (IsLeadByte932(static_cast<unsigned char>(*p)) && p[1] != '\0') {
            ++p;
        } else if (*p == '\\') {
            lastSeparator = p;
        }
    }
    return lastSeparator;
}

}  // namespace

bool CutProgramDirectory(const char* modulePath, char* directory, size_t size) {
    if (modulePath == nullptr || directory == nullptr || size == 0) {
        return false;
    }
    directory[0] = '\0';
    const char* lastSeparator = LastSeparator(modulePath);
    if (lastSeparator == nullptr) {
        return false;
    }
    return CopyTextN(directory, size, modulePath, static_cast<size_t>(lastSeparator - modulePath));
}

void ProgramNameOf(const char* modulePath, char* name, size_t size) {
    const char* separator = LastSeparator(modulePath);
    const char* file = separator != nullptr ? separator + 1 : modulePath;
    size_t length = strlen(file);
    if (length > 4 && EqualsNoCase(file + length - 4, ".exe")) {
        length -= 4;
    }
    CopyTextN(name, size, file, length);
}

bool ProgramDirectoryOf(const char* buffer, size_t written, size_t bufferSize, char* directory,
                        size_t size) {
    if (directory != nullptr && size != 0) {
        directory[0] = '\0';
    }
    if (buffer == nullptr || written == 0 || written >= bufferSize || written >= kPathSize) {
        return false;
    }
    char path[kPathSize];
    CopyTextN(path, sizeof(path), buffer, written);
    return CutProgramDirectory(path, directory, size);
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
