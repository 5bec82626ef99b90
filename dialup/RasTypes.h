// Phonebook records of the dial-up client library, in the exact byte layout of the
// platform's ANSI structures. Our own definitions (the platform header is never included),
// so that the portable core, the substitute library and the tests share one layout.
// Text fields hold code page 932 bytes, always zero-terminated.
#pragma once

#include <cstddef>
#include <cstdint>

#ifdef _WIN32
typedef unsigned long RasDword;  // DWORD: 32 bits on the platform
#define RASAPI_CALL __stdcall
#else
typedef uint32_t RasDword;
#define RASAPI_CALL
#endif
typedef int RasBool;  // BOOL

enum : size_t {
    RAS_MaxEntryName = 256,
    RAS_MaxDeviceType = 16,
    RAS_MaxDeviceName = 128,
    RAS_MaxPhoneNumber = 128,
    RAS_MaxCallbackNumber = 128,
    RAS_MaxAreaCode = 10,
    RAS_MaxPadType = 32,
    RAS_MaxX25Address = 200,
    RAS_MaxFacilities = 200,
    RAS_MaxUserData = 200,
    RAS_MaxDnsSuffix = 256,
    RAS_MaxPath = 260,  // MAX_PATH
    UNLEN = 256,
    PWLEN = 256,
    DNLEN = 15,
};

// Error numbers the program acts on.
enum : RasDword {
    ERROR_ACCESS_DENIED_ = 5,
    ERROR_OUTOFMEMORY_ = 14,
    ERROR_INVALID_PARAMETER_ = 87,
    ERROR_INVALID_NAME_ = 123,
    ERROR_ALREADY_EXISTS_ = 183,
    ERROR_BUFFER_TOO_SMALL = 603,
    ERROR_BUFFER_INVALID = 610,
    ERROR_CANNOT_OPEN_PHONEBOOK = 621,
    ERROR_CANNOT_FIND_PHONEBOOK_ENTRY = 623,
    ERROR_INVALID_SIZE = 632,
    ERROR_INVALID_USER_BUFFER_ = 1784,
    // Our result for an operation the library does not export (ERROR_CALL_NOT_IMPLEMENTED).
    kMissingOperation = 120,
    // Our result for a read that reported success but left its output as given
    // (ERROR_INVALID_DATA): what the caller preset is never taken for the phonebook's data.
    kUnfilledRead = 13,
};

// Entry options used by the program.
enum : RasDword {
    RASEO_SpecificNameServers = 0x00000004,
    RASEO_RemoteDefaultGateway = 0x00000010,
    RASEO_ModemLights = 0x00000100,
    RASEO_PreviewUserPw = 0x01000000,
    RASEO_ShowDialingProgress = 0x04000000,
    RASEO_UseCountryAndAreaCodes = 0x00000001,
    RASEO2_SecureFileAndPrint = 0x00000001,
    RASEO2_SecureClientForMSNet = 0x00000002,
    RASEO2_DisableNbtOverIP = 0x00000040,
    RASNP_Ip = 0x00000004,
    RASFP_Ppp = 0x00000001,
    RASIDS_Disabled = 0xFFFFFFFF,
    RASCM_UserName = 0x00000001,
    RASCM_Password = 0x00000002,
    // The credentials every user of an all-users entry starts from (XP and later).
    RASCM_DefaultCreds = 0x00000008,
    RASET_Phone = 1,  // dwType of a dial-up entry
};

struct RASIPADDR {
    uint8_t a, b, c, d;
};

struct RasGuid {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};

// The full (2884-byte) entry form, ending with dwRedialPause.
struct RASENTRYA {
    RasDword dwSize;
    RasDword dwfOptions;
    RasDword dwCountryID;
    RasDword dwCountryCode;
    char szAreaCode[RAS_MaxAreaCode + 1];
    char szLocalPhoneNumber[RAS_MaxPhoneNumber + 1];
    RasDword dwAlternateOffset;
    RASIPADDR ipaddr;
    RASIPADDR ipaddrDns;
    RASIPADDR ipaddrDnsAlt;
    RASIPADDR ipaddrWins;
    RASIPADDR ipaddrWinsAlt;
    RasDword dwFrameSize;
    RasDword dwfNetProtocols;
    RasDword dwFramingProtocol;
    char szScript[RAS_MaxPath];
    char szAutodialDll[RAS_MaxPath];
    char szAutodialFunc[RAS_MaxPath];
    char szDeviceType[RAS_MaxDeviceType + 1];
    char szDeviceName[RAS_MaxDeviceName + 1];
    char szX25PadType[RAS_MaxPadType + 1];
    char szX25Address[RAS_MaxX25Address + 1];
    char szX25Facilities[RAS_MaxFacilities + 1];
    char szX25UserData[RAS_MaxUserData + 1];
    RasDword dwChannels;
    RasDword dwReserved1;
    RasDword dwReserved2;
    RasDword dwSubEntries;
    RasDword dwDialMode;
    RasDword dwDialExtraPercent;
    RasDword dwDialExtraSampleSeconds;
    RasDword dwHangUpExtraPercent;
    RasDword dwHangUpExtraSampleSeconds;
    RasDword dwIdleDisconnectSeconds;
    RasDword dwType;
    RasDword dwEncryptionType;
    RasDword dwCustomAuthKey;
    RasGuid guidId;
    char szCustomDialDll[RAS_MaxPath];
    RasDword dwVpnStrategy;
    RasDword dwfOptions2;
    RasDword dwfOptions3;
    char szDnsSuffix[RAS_MaxDnsSuffix];
    RasDword dwTcpWindowSize;
    char szPrerequisitePbk[RAS_MaxPath];
    char szPrerequisiteEntry[RAS_MaxEntryName + 1];
    RasDword dwRedialCount;
    RasDword dwRedialPause;
};

// The short dial-parameter form, ending after szDomain.
struct RASDIALPARAMSA {
    RasDword dwSize;
    char szEntryName[RAS_MaxEntryName + 1];
    char szPhoneNumber[RAS_MaxPhoneNumber + 1];
    char szCallbackNumber[RAS_MaxCallbackNumber + 1];
    char szUserName[UNLEN + 1];
    char szPassword[PWLEN + 1];
    char szDomain[DNLEN + 1];
};

// The short entry-name form: arrays of it are walked in steps of 264 bytes.
struct RASENTRYNAMEA {
    RasDword dwSize;
    char szEntryName[RAS_MaxEntryName + 1];
};

// The entry-name form of Windows 2000 and later, which also says which phonebook holds the
// entry (the all-users one or the user's own); earlier versions refuse its size with 632.
struct RASENTRYNAMEA_2000 {
    RasDword dwSize;
    char szEntryName[RAS_MaxEntryName + 1];
    RasDword dwFlags;  // REN_User or REN_AllUsers
    char szPhonebookPath[RAS_MaxPath + 1];
};

enum : RasDword { REN_User = 0, REN_AllUsers = 1 };

struct RASDEVINFOA {
    RasDword dwSize;
    char szDeviceType[RAS_MaxDeviceType + 1];
    char szDeviceName[RAS_MaxDeviceName + 1];
};

struct RASCREDENTIALSA {
    RasDword dwSize;
    RasDword dwMask;
    char szUserName[UNLEN + 1];
    char szPassword[PWLEN + 1];
    char szDomain[DNLEN + 1];
};

// One AutoDial entry: the phonebook entry dialled for an address (none: the default Internet
// connection) at a dialling location.
struct RASAUTODIALENTRYA {
    RasDword dwSize;
    RasDword dwFlags;  // reserved, 0
    RasDword dwDialingLocation;
    char szEntry[RAS_MaxEntryName + 1];
};

enum : RasDword {
    kRasEntrySize = 2884,
    kRasDialParamsSize = 1052,
    kRasEntryNameSize = 264,
    kRasEntryName2000Size = 532,
    kRasDevInfoSize = 152,
    kRasCredentialsSize = 540,
    kRasAutodialEntrySize = 272,
};

static_assert(sizeof(RasDword) == 4, "DWORD is 32 bits");
static_assert(sizeof(RASENTRYA) == kRasEntrySize, "RASENTRYA layout");
static_assert(sizeof(RASDIALPARAMSA) == kRasDialParamsSize, "RASDIALPARAMSA layout");
static_assert(sizeof(RASENTRYNAMEA) == kRasEntryNameSize, "RASENTRYNAMEA layout");
static_assert(sizeof(RASENTRYNAMEA_2000) == kRasEntryName2000Size, "RASENTRYNAMEA 2000 layout");
static_assert(sizeof(RASDEVINFOA) == kRasDevInfoSize, "RASDEVINFOA layout");
static_assert(sizeof(RASCREDENTIALSA) == kRasCredentialsSize, "RASCREDENTIALSA layout");
static_assert(sizeof(RASAUTODIALENTRYA) == kRasAutodialEntrySize, "RASAUTODIALENTRYA layout");
static_assert(offsetof(RASENTRYA, dwfOptions2) == 2088, "RASENTRYA tail");
static_assert(offsetof(RASDIALPARAMSA, szUserName) == 519, "RASDIALPARAMSA user name");
