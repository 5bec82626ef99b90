// The program directory and the existence test: how the core finds the provider's files.
// The shell implements it with the module path and the file system; tests give a folder.
#pragma once

#include <cstddef>

class ReadObserver;

constexpr size_t kPathSize = 260;  // every path buffer, terminator included

class DataFiles {
public:
    virtual ~DataFiles() = default;

    // Fills `path` (`size` bytes) with the path of `fileName` in the program directory.
    // False when the path does not fit; such a file counts as missing.
    virtual bool PathOf(const char* fileName, char* path, size_t size) const = 0;

    // True when the file system reports attributes for `path` (a directory counts too).
    virtual bool Exists(const char* path) const = 0;

    // For provider files held in memory rather than on disk: the bytes of `path`, which
    // stay valid while this object lives. False for a file that is read from disk.
    // Inline, so that the class keeps no key function and tests built with RTTI link.
    virtual bool HeldBytes(const char* /*path*/, const char** /*data*/, size_t* /*size*/) const {
        return false;
    }

    // Who watches the reading routines that read through this object; none in the program.
    virtual ReadObserver* Observer() const { return nullptr; }
};

// Fills `path` with the path of `fileName` and reports whether that file is present.
bool FindDataFile(const DataFiles& files, const char* fileName, char (&path)[kPathSize]);

// True when not one of the provider's files (settings, method menu, the three access-point
// tables, logo) is present, as when the program runs from inside an archive that was never
// extracted. `names` (`size` bytes, more than 0) then lists them all, one per line.
bool NoProviderFilePresent(const DataFiles& files, char* names, size_t size);

// The directory part of a module path: everything before the last backslash, found by a
// scan that steps over double-byte characters, so that a second byte 0x5C of a Shift-JIS
// character is never taken for a separator. False when there is no backslash.
bool CutProgramDirectory(const char* modulePath, char* directory, size_t size);

// The program as the subscriber sees its icon: the module path's file name (after its last
// backslash, found as above) without a final ".exe" in any case, cut to `size` bytes.
void ProgramNameOf(const char* modulePath, char* name, size_t size);

// The program directory from what the module-path query wrote into a `bufferSize`-byte
// buffer: `written` bytes, not necessarily terminated. A path that filled the whole buffer
// may have been cut, so it counts as no path at all (every provider file missing), like
// one that does not fit kPathSize.
bool ProgramDirectoryOf(const char* buffer, size_t written, size_t bufferSize, char* directory,
                        size_t size);

// "<directory>\<fileName>"; false (and `path` empty) when it does not fit `size` bytes.
bool FormatDataFilePath(const char* directory, const char* fileName, char* path, size_t size);

// Provider file names.
extern const char kIspSettingsFile[];   // ISP_INF.csv
extern const char kGeneralTableFile[];  // APGEN.csv
extern const char kPhsTableFile[];      // APPHS.csv
extern const char kPairTableFile[];     // APAIR.csv
extern const char kMethodMenuFile[];    // CTMENU.csv
extern const char kLogoFile[];          // Logo.png
