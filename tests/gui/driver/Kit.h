// A provider kit for one GUI test: a scratch folder holding a copy of Dialnest.exe and the
// provider files the test writes, and the substitute phonebook file of that run. Also the
// Wine-side settings a test changes (library variants, the reported Windows version),
// each put back when the test ends.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class Kit {
public:
    // The kit's folder is a fresh scratch folder, or the folder `subfolder` inside one
    // (UTF-8; backslashes separate nested folders, each created).
    explicit Kit(const std::string& subfolder = std::string());
    ~Kit();
    Kit(const Kit&) = delete;
    Kit& operator=(const Kit&) = delete;

    const std::string& Folder() const { return folder_; }  // Windows path, UTF-8
    std::string ExePath() const { return folder_ + "\\Dialnest.exe"; }
    std::string PathTo(const std::string& name) const { return folder_ + "\\" + name; }

    // Writes `utf8` converted to code page 932, exactly (no line-ending conversion).
    void WriteText(const std::string& name, const std::string& utf8) const;
    void WriteBytes(const std::string& name, const std::string& bytes) const;
    // Copies the file at `from` (a Windows path, UTF-8) into the kit as `name`.
    bool CopyIn(const std::string& from, const std::string& name) const;
    // Copies every file of the sample kit (examples/kit) into the kit.
    void CopySampleKit() const;
    // Makes the kit's Dialnest.exe one that carries the sample kit (dialnest-kit.exe pack).
    bool PackSampleKit() const;
    std::string ReadBytes(const std::string& name) const;
    void Remove(const std::string& name) const;

    // The phonebook of the substitute library for processes started from now on.
    std::string PhonebookPath() const { return PathTo("phonebook.ini"); }
    void WritePhonebook(const std::string& utf8) const { WriteText("phonebook.ini", utf8); }
    std::string ReadPhonebook() const;  // as UTF-8

private:
    std::string root_;  // the scratch folder, removed with the kit
    std::string folder_;
};

// Sets an environment variable for the processes this test starts; restored at the end.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value);
    ~ScopedEnvironment();

private:
    std::string name_;
    std::string old_;
    bool hadOld_;
};

// Replaces the system directory's dial-up library with `dllPath` (or removes it when
// empty) while the object lives.
class ScopedSystemLibrary {
public:
    explicit ScopedSystemLibrary(const std::string& dllPath);
    ~ScopedSystemLibrary();

private:
    std::string target_;
    std::string backup_;
};

// The Windows version that Wine reports to Dialnest.exe ("winxp64", "win10", ...).
class ScopedWindowsVersion {
public:
    explicit ScopedWindowsVersion(const char* version);
    ~ScopedWindowsVersion();
};

// The screen's DPI for the processes started from now on (the prefix's LogPixels); the value
// the prefix had, or its absence, is put back at the end.
class ScopedLogPixels {
public:
    explicit ScopedLogPixels(DWORD dpi);
    ~ScopedLogPixels();

private:
    DWORD old_ = 0;
    bool hadOld_ = false;
};

// A DLL override for Dialnest.exe alone ("" disables the library), from the prefix's
// application defaults.
class ScopedDllOverride {
public:
    ScopedDllOverride(const char* dll, const char* loadOrder);
    ~ScopedDllOverride();
};

// Registry reads and clean-up for the default-connection values.
bool ReadRegistryString(HKEY root, const char* key, const char* value, std::string* out);
bool ReadRegistryDword(HKEY root, const char* key, const char* value, DWORD* out);
void WriteRegistryString(HKEY root, const char* key, const char* value, const std::string& utf8);
void DeleteRegistryValue(HKEY root, const char* key, const char* value);
void EnsureRegistryKey(HKEY root, const char* key);
void DeleteRegistryKey(HKEY root, const char* key);

// Runs the build's dialnest-kit.exe with `arguments`: its output (both streams) and status.
std::string RunKitTool(const std::string& arguments, DWORD* status);
// Runs the native build's dialnest-kit, the Linux program, as a support desk's shell would,
// with nothing of the substitute's environment but the leading NAME=VALUE `arguments`: its
// output (both streams) and status.
std::string RunNativeKitTool(const std::vector<std::string>& arguments, DWORD* status);
// The Unix path of a Windows path (UTF-8), as Wine maps it.
std::string UnixPathOf(const std::string& windowsPath);

// Folder of the test program and of the build's artefacts (DIALNEST_BUILD).
std::string BuildFolder();

// The Windows path (UTF-8) of `relative` ("tests/data/...") in the source tree, which Wine
// reaches through its drive Z:.
std::string SourcePath(const std::string& relative);
