// Creating the provider's dial-up entry from the new-connection form: the entry with its
// fixed properties, the saved user name and password, and, when asked, the default
// connection. Failures the user must know about are shown here, by error number.
#pragma once

#include <cstddef>

#include "dialup/DialupApi.h"
#include "dialup/EntryRecord.h"
#include "dialup/OsClass.h"
#include "dialup/UserPhonebook.h"
#include "newconn/DefaultConnection.h"
#include "newconn/DnsSettings.h"
#include "newconn/FormMessage.h"
#include "settings/ByteText.h"
#include "ui/UserSide.h"

class DataFiles;
class Journal;

constexpr size_t kFormTextSize = 255;  // a text read from a form control: 254 bytes and a zero

// The form's values (code page 932). The password is wiped when the inputs are destroyed.
struct CreationInputs {
    char entryName[kFormTextSize];
    char userName[kFormTextSize];    // as typed, without the domain
    char domainText[kFormTextSize];  // the domain label's text, with its leading "@"
    char password[kFormTextSize];
    char accessPointNumber[kFormTextSize];  // as typed or filled in by the chosen method
    char modemName[kFormTextSize];          // a name from the modem list
    bool pulse;                             // pulse dialling; tone when false
    bool makeDefault;                       // make the entry the default connection

    ~CreationInputs() { WipeBytes(password, sizeof(password)); }
};

// "" for tone; for pulse "P" on the NT family (OsClass above 6, a failed query included),
// otherwise "PP".
const char* DiallingPrefix(bool pulse, OsClass osClass);

// The user name that reaches the phonebook: `userName` immediately followed by
// `domainText`, which is not added a second time when the name already ends with it. False
// (and `composed` empty) when it would exceed 256 bytes.
bool ComposeUserName(const char* userName, const char* domainText, char (&composed)[UNLEN + 1]);

// The dialled number: the dialling prefix, then `accessPointNumber`. False (and `composed`
// empty) when it would exceed 128 bytes.
bool ComposeLocalNumber(bool pulse, OsClass osClass, const char* accessPointNumber,
                        char (&composed)[RAS_MaxPhoneNumber + 1]);

// Whether the composed user name and the prefixed number fit their fields: the refusal
// (IDS_USER_NAME_TOO_LONG or IDS_NUMBER_TOO_LONG, a program warning), else
// MessageBoxKind::None. CreateEntry makes this check first; the form may make it among its
// own checks so that the user can shorten the value without the form closing.
FormMessage CheckValuesFit(const CreationInputs& inputs, OsClass osClass);

// Fills the first sizeof(RASENTRYA) bytes of `entry` with the new entry's fixed properties:
// dwSize `structureSize`, options RemoteDefaultGateway|ModemLights|PreviewUserPw|
// ShowDialingProgress (plus the name servers of `dns`), country 81/81, `localNumber`,
// IP over PPP, device type "modem" named `modemName` (cut at 128 bytes; the modem list
// never offers longer names), idle disconnect off (0xFFFFFFFF), dwType RASET_Phone when the
// structure version reaches that field (2000 and later; the 9x and NT 4 forms end before
// it), dwfOptions2 0x43.
void FillNewEntry(RasDword structureSize, const char* localNumber, const char* modemName,
                  const DnsSettings& dns, RASENTRYA* entry);

// The message for a refused entry write: IDS_ENTRY_FAILED_610, _621, _14, _1784, or
// IDS_ENTRY_FAILED_OTHER with the number for its %d.
Message EntryFailureMessage(RasDword error);

// What the chosen name stands for in the phonebook, learned from one enumeration and, when
// the name is listed, one read of that entry in its phonebook. The overwrite question and
// the creation both go by it.
enum class EntryPresence { Absent, Present, Unknown };

struct ExistingEntry {
    EntryPresence presence = EntryPresence::Unknown;
    RasDword error = 0;  // Unknown: the number of the failed enumeration or read
    EntryRecord record;  // Present: the entry's properties as read, with its phonebook
};

// Absent when the name is not listed; Present with the record read (ReadEntryRecord at
// `osClass`); Unknown with the error otherwise, also for a listed name whose read gives 623,
// which may mean a damaged phonebook as well as an entry gone: nothing is ever written over
// what it names.
void LookUpExistingEntry(const DialupApi& api, OsClass osClass, const char* name,
                         ExistingEntry* existing);

// The name as Windows judges it (RasValidateEntryNameA, where the library has it): a name it
// refuses (123) gives IDS_ENTRY_NAME_REFUSED for the name box (a program warning); anything
// else, whether the entry exists included, is left to the look-up.
FormMessage CheckEntryName(const DialupApi& api, const char* name);

// The look-up and the overwrite question: Unknown shows its error by number
// (EntryFailureMessage, a program warning) and gives false; Present asks
// "[name]は既に存在します…" (OK/Cancel), false unless OK; Absent gives true. Nothing is written.
bool ConfirmCreation(const DialupApi& api, OsClass osClass, UserSide& user, const char* name,
                     ExistingEntry* existing);

// What the creation sequence did.
enum class Creation {
    Failed,
    Created,
    CreatedNotDefault,  // made, but it could not be made the default connection as asked
};

// The creation sequence: Created when the entry and its user name and password were saved
// and, when asked, it was made the default connection (CreatedNotDefault when that failed:
// the entry stays, and the form says so after its success message).
// Every value is checked before anything is written: a composed user name over 256 bytes
// shows IDS_USER_NAME_TOO_LONG and a prefixed number over 128 bytes IDS_NUMBER_TOO_LONG;
// `existing` must be Present or Absent (ConfirmCreation), else nothing is written. The
// structure size is probed (a failure is shown by number); the new properties are then
// written over the present entry, in its phonebook, or as a new entry of the default
// phonebook (a refusal is shown by number and leaves the phonebook as it was), followed by
// the user name and password. Where the default phonebook is refused for lack of rights (5,
// a standard user), the new entry is made in the user's own phonebook (`own`; null: none);
// a present entry refused so is left as it was, with IDS_OVERWRITE_NEEDS_ADMINISTRATOR. A
// refusal of the user name and password shows nothing here but puts back what the
// name stood for: the old entry's properties whole (on the 9x family its dial parameters
// too), or no entry; when that fails too, IDS_ENTRY_PARTLY_CHANGED names the entry. On the
// NT family a refusal whose new user name reads back as saved completed the entry; one that
// nothing can tell about (the old entry's user name again, only the password new) leaves
// the new entry as written, not created, with IDS_ENTRY_PARTLY_CHANGED. After any single
// failure the phonebook holds the old entry (or none) or the complete new one, but for that
// password. Messages are program messages (ダイヤルネスト) with the warning icon; the form
// shows its general report afterwards.
// Each change is recorded in `journal` before its first write (null: not recorded), with the
// default connection as found when it is to make a new one; when the record cannot be
// written, IDS_JOURNAL_NOT_WRITTEN names the entry and nothing is written. A write refused
// outright for lack of rights leaves nothing in the record.
Creation CreateEntry(const CreationInputs& inputs, ExistingEntry& existing, const DialupApi& api,
                     const DataFiles& files, UserSide& user, RegistryWriter& registry,
                     OsClass osClass, Journal* journal = nullptr, UserPhonebook* own = nullptr);
