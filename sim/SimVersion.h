// The Windows version the substitute behaves as, and what each version accepts: the record
// sizes of the structure versions it knows, and the behaviours that changed between versions.
#pragma once

#include "dialup/RasTypes.h"

// In order of release: a behaviour that began with one version holds for every later one.
enum class SimWindows { Win98, Nt4, Win2000, Xp, Vista, Win7, Win10 };

// RASSIM_WINVER (98, nt4, 2000, xp, vista, 7 or 10), read at every call; else the
// version the system reports (GetVersionExA on Windows); natively, where there is none,
// RASSIM_NATIVE_WINVER of the build. An unknown value of the variable is ignored.
SimWindows CurrentSimWindows();

// The version named as RASSIM_WINVER takes it; false for any other text.
bool ParseSimWindows(const char* name, SimWindows* version);

// The version of a system that reports itself as `major`.`minor` (`nineX`: the Windows 9x
// platform rather than NT).
SimWindows SimWindowsFromNumbers(unsigned major, unsigned minor, bool nineX);

// Record sizes. Each version accepts the sizes of the structure versions it knows (its own
// and every older one) and no other.
RasDword SimEntrySize(SimWindows version);  // its own RASENTRYA size, what the "" probe reports
bool IsKnownEntrySize(SimWindows version, RasDword size);
bool IsKnownEntryNameSize(SimWindows version, RasDword size);
bool IsKnownDialParamsSize(SimWindows version, RasDword size);
bool IsKnownCredentialsSize(SimWindows version, RasDword size);
bool IsKnownDevInfoSize(SimWindows version, RasDword size);

// The 2000-and-later RASENTRYNAMEA: the short form followed by where the entry is kept.
struct SimEntryNameLong {
    RASENTRYNAMEA name;
    RasDword dwFlags;  // REN_User or REN_AllUsers
    char szPhonebookPath[RAS_MaxPath + 1];
};

// Behaviours by version.
inline bool HasTwoPhonebooks(SimWindows v) {
    return v >= SimWindows::Win2000;
}
inline bool RequiresEntryFields(SimWindows v) {
    return v >= SimWindows::Xp;
}
inline bool ReportsSavedPasswordInMask(SimWindows v) {
    return v >= SimWindows::Xp;
}
// An all-users entry has default credentials besides each user's own (RASCM_DefaultCreds).
inline bool HasDefaultCredentials(SimWindows v) {
    return v >= SimWindows::Xp;
}
// A default Internet connection, the user's own ranked above the machine's, which a null
// address of the AutoDial calls names (XP's "default connection").
inline bool HasDefaultConnection(SimWindows v) {
    return v >= SimWindows::Xp;
}
// The NT 5 family hands out a handle (kSimHiddenPassword) instead of a saved password.
inline bool HidesSavedPassword(SimWindows v) {
    return v >= SimWindows::Win2000;
}
// From 2000 on Windows gives each new entry an id of its own (guidId, read-only).
inline bool AssignsEntryIds(SimWindows v) {
    return v >= SimWindows::Win2000;
}
// The 9x family keeps each entry's device settings (lpbDeviceInfo) and takes an empty password
// given without fRemovePassword for a saved one.
inline bool IsNineX(SimWindows v) {
    return v == SimWindows::Win98;
}
