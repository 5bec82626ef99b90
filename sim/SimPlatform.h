// What the substitute phonebook needs from the system: the environment, the default file
// path, reading a whole file and replacing a file atomically. The only sim file that knows
// the platform (windows.h on Windows, POSIX elsewhere).
#pragma once

#include <cstdint>
#include <string>

#include "sim/SimRegistry.h"

// The current value of an environment variable, read anew at every call. False when unset.
bool ReadSimEnvironment(const char* name, std::string* value);

// The phonebook file used when RASSIM_PHONEBOOK is unset: on Windows
// %APPDATA%\Dialnest-sim\phonebook.ini (the folder is created). Natively there is none
// (tests always name their file), and the result is false.
bool DefaultSimPhonebookPath(std::string* path);

// The user's own phonebook when RASSIM_USER_PHONEBOOK is unset: on Windows where Windows
// keeps it, %APPDATA%\Microsoft\Network\Connections\Pbk\rasphone.pbk (nothing is
// created). Natively there is none, and the result is false.
bool DefaultSimUserPhonebookPath(std::string* path);

enum class SimReadResult { Read, Missing, Failed };

// Reads the whole file into `bytes`. Missing means the file does not exist.
SimReadResult ReadSimFile(const std::string& path, std::string* bytes);

// The version the system reports (GetVersionExA on Windows); natively there is none and the
// result is false.
bool QuerySimSystemVersion(unsigned* major, unsigned* minor, bool* nineX);

// Bits that differ from one call to the next and between processes (the clock and the
// process), for the ids of new entries; not secret, only fresh.
uint64_t SimUniqueSeed();

// Ends the process at once with exit code 3, running no handlers: what a crash right after a
// call leaves behind. Every file written before is complete.
[[noreturn]] void EndSimProcess();

// A REG_SZ value (code page 932) of `key` under `hive`: on Windows in the registry itself,
// natively in its stand-in file (SimRegistry.h). False when the value is not there.
bool ReadSimRegistryText(SimHive hive, const char* key, const char* name, std::string* text);
// Sets the value, creating its key, or with `text` null removes it (one that is not there is
// no failure). False when it could not be written.
bool WriteSimRegistryText(SimHive hive, const char* key, const char* name, const std::string* text);

// Writes `bytes` to a temporary file beside `path`, flushes it to disk and renames it over
// `path`. On failure the temporary file is removed and `path` is left as it was.
bool ReplaceSimFile(const std::string& path, const std::string& bytes);
