// The substitute phonebook in memory and its text file: one INI-style file of code page 932
// bytes, a [devices] section of "type,name" lines and one section per entry with one
// key=value line per field. The format is described in sim/README.md.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "dialup/RasTypes.h"

struct SimDevice {
    char type[RAS_MaxDeviceType + 1];
    char name[RAS_MaxDeviceName + 1];
};

// One entry: its name, its properties (dwSize 2884, every text field zero-terminated,
// dwAlternateOffset 0), its alternate numbers, its device settings and its saved credentials.
struct SimEntry {
    char name[RAS_MaxEntryName + 1];
    RASENTRYA properties;
    std::vector<std::string> alternates;  // in order, each 1 to 128 bytes
    // The 9x family's device settings (opaque TAPI configuration, lpbDeviceInfo).
    std::vector<unsigned char> deviceInfo;
    char userName[UNLEN + 1];
    char password[PWLEN + 1];
    // A saved password that is empty (9x: given "" without fRemovePassword), which is not the
    // same as none.
    bool emptyPasswordSaved;
    char domain[DNLEN + 1];
    // The credentials every user of an all-users entry starts from (RASCM_DefaultCreds).
    char defaultUserName[UNLEN + 1];
    char defaultPassword[PWLEN + 1];
    char defaultDomain[DNLEN + 1];
};

struct SimPhonebookFile {
    std::vector<SimEntry> entries;  // in file order
    // Without a [devices] section the phonebook offers one modem (DefaultSimDevice).
    bool hasDevicesSection = false;
    std::vector<SimDevice> devices;
};

// The device offered when the file has no [devices] section.
SimDevice DefaultSimDevice();

// The devices that the phonebook reports: the [devices] lines, or the default modem.
std::vector<SimDevice> ReportedDevices(const SimPhonebookFile& book);

// Whether the entry has a saved password, an empty one included.
bool HasSavedPassword(const SimEntry& entry);

// A zeroed entry of that name (cut to 256 bytes at a character boundary) with dwSize 2884.
SimEntry MakeSimEntry(const char* name);

// Makes a record received from a caller safe to keep: every text field zero-terminated
// (cut at a character boundary), dwSize 2884, no alternate offset, reserved fields zero.
void SanitizeEntryProperties(RASENTRYA* properties);

// Entry-name comparison: ignores the case of A-Z, but never folds the second byte of a
// double-byte character (so that 0x83 0x41 and 0x83 0x61 stay different names).
bool EqualsEntryName(const char* a, const char* b);

// True for a name the phonebook accepts: 1 to 256 bytes, no control bytes, no lead byte
// without its second byte.
bool IsValidEntryName(const char* name);

// The entry of that name (compared with EqualsEntryName), or null.
SimEntry* FindSimEntry(SimPhonebookFile* book, const char* name);

// Reads the file's bytes (`length` of them; NUL bytes are tolerated; lines end with CR LF,
// LF or CR). Keys left out are zero or empty, except Type and FramingProtocol, which are 1. Never fails: lines it does not understand are skipped, later sections of an
// already seen entry are ignored, values too long for their field are cut at a character
// boundary.
SimPhonebookFile ParsePhonebook(const char* text, size_t length);

// The file's bytes for `book` (CRLF line ends).
std::string FormatPhonebook(const SimPhonebookFile& book);

// Where an escaped text goes; each place escapes what would end or misread it there.
enum class SimTextPlace {
    Value,       // after "key=": line breaks, backslashes, edge blanks
    EntryName,   // inside "[...]": also ']', and the name "devices" (any case), which is
                 // written so that it cannot be taken for the device list
    DeviceType,  // before the comma of a device line: also ',' and a leading ';', '#', '['
};

// The escaping of names and values (see sim/README.md). Double-byte characters are written
// raw, so the file stays readable code page 932 text.
std::string EscapeSimText(const char* text, SimTextPlace place);
// Undoes EscapeSimText on `length` raw bytes. Unknown escapes are kept as written.
std::string UnescapeSimText(const char* text, size_t length);

// The keys of an entry section that are written once each, in file order (the field table and
// the three credential keys). Between them come kSimAlternateKey lines, one per number; after
// them, each only when it holds something, DeviceInfo (hex), EmptyPasswordSaved (1) and the
// three default-credential keys.
std::vector<const char*> SimEntryKeys();

extern const char kSimAlternateKey[];  // "AlternateNumber"
