// The registry values that hold the default Internet connection, where Windows keeps them:
// the user's own under HKEY_CURRENT_USER, the machine's under HKEY_LOCAL_MACHINE (on 64-bit
// Windows in the 64-bit view). Natively, where there is no registry, a text file stands in
// for it, so that the tests' program and the substitute share one.
#pragma once

#include <string>

enum class SimHive { LocalMachine, CurrentUser };

extern const char kSimUserDefaultKey[];       // HKCU: RemoteAccess
extern const char kSimUserDefaultValue[];     // InternetProfile
extern const char kSimMachineDefaultKey[];    // HKLM: SOFTWARE\Microsoft\RAS AutoDial\Default
extern const char kSimMachineDefaultValue[];  // DefaultInternet
// Where the substitute keeps the 64-bit view of kSimMachineDefaultKey while it plays a 32-bit
// program on 64-bit Windows: a key that the program's own writes of kSimMachineDefaultKey,
// which land in the 32-bit view there, never reach.
extern const char kSim64BitMachineDefaultKey[];

// True while RASSIM_WOW64=1 plays a 32-bit program on 64-bit Windows (read at every call).
bool SimPlaysWow64();

// The key the machine's default is read from and written to: kSimMachineDefaultKey, or
// kSim64BitMachineDefaultKey on 64-bit Windows.
const char* SimMachineDefaultKey();

// The stand-in file (RASSIM_REGISTRY; unset or empty: no registry at all). One section per
// key, "[HKLM\path]" or "[HKCU\path]", and one line per value, "name=sz:text" (code page 932,
// escaped as the phonebook's values) or "name=dword:decimal". Keys and value names compare
// ignoring the case of A-Z. Read anew at every call, replaced atomically at every change.
//
// The typed value ("sz:..." or "dword:...") of `name` in `key`; false when the key, the
// value or the file is not there.
bool ReadSimRegistryFile(SimHive hive, const std::string& key, const std::string& name,
                         std::string* typed);
// Sets the value (null: removes it), creating the key. False when there is no file named or
// it cannot be written.
bool WriteSimRegistryFile(SimHive hive, const std::string& key, const std::string& name,
                          const std::string* typed);
// Whether the key is there; and creating it (false when it cannot be written).
bool SimRegistryFileHasKey(SimHive hive, const std::string& key);
bool AddSimRegistryFileKey(SimHive hive, const std::string& key);
