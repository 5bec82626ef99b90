// Read-through, write-in-memory phonebook of the preview.
#include "kit/PreviewPhonebook.h"

#include <sys/stat.h>

#include <cstring>

#ifdef _WIN32
#include "dialup/DialupLibrary.h"
#endif
#include "settings/ByteText.h"
#include "sim/PhonebookFile.h"
#include "sim/SimDialupApi.h"

namespace {

// The binding's operations are plain functions: they reach the open phonebook here.
PreviewPhonebook* g_open = nullptr;

constexpr RasDword kMaxEntrySize = 64 * 1024;
constexpr RasDword kCredentialsDomain = 0x00000004;  // RASCM_Domain

template <size_t N>
std::string FieldText(const char (&field)[N]) {
    return std::string(field, strnlen(field, N));
}

}  // namespace

// The operations of the binding, over g_open.
struct PreviewOperations {
    static PreviewPhonebook& Book() { return *g_open; }

    static RasDword RASAPI_CALL EnumDevices(RASDEVINFOA* devices, RasDword* bytes,
                                            RasDword* count) {
        return Book().source_.RasEnumDevicesA(devices, bytes, count);
    }

    static RasDword RASAPI_CALL EnumEntries(const char* reserved, const char*,
                                            RASENTRYNAMEA* entries, RasDword* bytes,
                                            RasDword* count) {
        return Book().source_.RasEnumEntriesA(reserved, Book().SourcePath(), entries, bytes, count);
    }

    static RasDword RASAPI_CALL GetEntryProperties(const char*, const char* entry, RASENTRYA* info,
                                                   RasDword* size, unsigned char* deviceInfo,
                                                   RasDword* deviceInfoSize) {
        const PreviewPhonebook::Written* written = Book().Find(entry);
        if (written == nullptr || written->properties.empty()) {
            return Book().source_.RasGetEntryPropertiesA(Book().SourcePath(), entry, info, size,
                                                         deviceInfo, deviceInfoSize);
        }
        if (size == nullptr) {
            return ERROR_BUFFER_INVALID;
        }
        const RasDword needed = static_cast<RasDword>(written->properties.size());
        if (info == nullptr || *size < needed) {
            *size = needed;
            return ERROR_BUFFER_TOO_SMALL;
        }
        memcpy(info, written->properties.data(), needed);
        *size = needed;
        if (deviceInfoSize != nullptr) {
            *deviceInfoSize = 0;
        }
        return 0;
    }

    static RasDword RASAPI_CALL SetEntryProperties(const char*, const char* entry, RASENTRYA* info,
                                                   RasDword size, unsigned char*, RasDword) {
        if (entry == nullptr || info == nullptr) {
            return ERROR_BUFFER_INVALID;
        }
        if (size < sizeof(RASENTRYA) || size > kMaxEntrySize) {
            return ERROR_INVALID_SIZE;
        }
        const unsigned char* bytes = reinterpret_cast<const unsigned char*>(info);
        Book().FindOrAdd(entry).properties.assign(bytes, bytes + size);
        return 0;
    }

    // Takes what the phonebook holds for an entry the run has not written yet, so that a
    // write of some fields keeps the others.
    static PreviewPhonebook::Written& CredentialsOf(const char* entry) {
        PreviewPhonebook::Written& written = Book().FindOrAdd(entry);
        if (written.hasCredentials) {
            return written;
        }
        written.hasCredentials = true;
        const DialupApi& source = Book().source_;
        if (source.RasGetCredentialsA != nullptr) {
            RASCREDENTIALSA held{};
            held.dwSize = kRasCredentialsSize;
            held.dwMask = RASCM_UserName | RASCM_Password | kCredentialsDomain;
            if (source.RasGetCredentialsA(Book().SourcePath(), entry, &held) == 0) {
                written.userName = FieldText(held.szUserName);
                written.password = FieldText(held.szPassword);
                written.domain = FieldText(held.szDomain);
            }
            WipeBytes(&held, sizeof(held));
        } else if (source.RasGetEntryDialParamsA != nullptr) {
            RASDIALPARAMSA held{};
            held.dwSize = kRasDialParamsSize;
            CopyField(held.szEntryName, entry);
            RasBool hasPassword = 0;
            if (source.RasGetEntryDialParamsA(Book().SourcePath(), &held, &hasPassword) == 0) {
                written.userName = FieldText(held.szUserName);
                written.password = FieldText(held.szPassword);
                written.domain = FieldText(held.szDomain);
            }
            WipeBytes(&held, sizeof(held));
        }
        return written;
    }

    static RasDword RASAPI_CALL GetCredentials(const char*, const char* entry,
                                               RASCREDENTIALSA* credentials) {
        const PreviewPhonebook::Written* written = Book().Find(entry);
        if (written == nullptr || !written->hasCredentials) {
            return Book().source_.RasGetCredentialsA(Book().SourcePath(), entry, credentials);
        }
        if (credentials == nullptr) {
            return ERROR_BUFFER_INVALID;
        }
        if (credentials->dwSize != kRasCredentialsSize) {
            return ERROR_INVALID_SIZE;
        }
        if (credentials->dwMask & RASCM_UserName) {
            CopyField(credentials->szUserName, written->userName.c_str());
        }
        if (credentials->dwMask & RASCM_Password) {
            CopyField(credentials->szPassword, written->password.c_str());
        }
        if (credentials->dwMask & kCredentialsDomain) {
            CopyField(credentials->szDomain, written->domain.c_str());
        }
        return 0;
    }

    static RasDword RASAPI_CALL SetCredentials(const char*, const char* entry,
                                               RASCREDENTIALSA* credentials, RasBool clear) {
        if (entry == nullptr || credentials == nullptr) {
            return ERROR_BUFFER_INVALID;
        }
        if (credentials->dwSize != kRasCredentialsSize) {
            return ERROR_INVALID_SIZE;
        }
        PreviewPhonebook::Written& written = CredentialsOf(entry);
        ++Book().credentialWrites_;
        const RasDword mask = credentials->dwMask;
        if (mask & RASCM_UserName) {
            written.userName = clear ? "" : FieldText(credentials->szUserName);
        }
        if (mask & RASCM_Password) {
            written.password = clear ? "" : FieldText(credentials->szPassword);
        }
        if (mask & kCredentialsDomain) {
            written.domain = clear ? "" : FieldText(credentials->szDomain);
        }
        return 0;
    }

    static RasDword RASAPI_CALL GetEntryDialParams(const char*, RASDIALPARAMSA* params,
                                                   RasBool* hasPassword) {
        const PreviewPhonebook::Written* written =
            params != nullptr ? Book().Find(FieldText(params->szEntryName).c_str()) : nullptr;
        if (written == nullptr || !written->hasCredentials) {
            return Book().source_.RasGetEntryDialParamsA(Book().SourcePath(), params, hasPassword);
        }
        if (params->dwSize != kRasDialParamsSize) {
            return ERROR_INVALID_SIZE;
        }
        CopyField(params->szUserName, written->userName.c_str());
        CopyField(params->szPassword, written->password.c_str());
        CopyField(params->szDomain, written->domain.c_str());
        if (hasPassword != nullptr) {
            *hasPassword = written->password.empty() ? 0 : 1;
        }
        return 0;
    }

    static RasDword RASAPI_CALL SetEntryDialParams(const char*, RASDIALPARAMSA* params,
                                                   RasBool removePassword) {
        if (params == nullptr) {
            return ERROR_BUFFER_INVALID;
        }
        if (params->dwSize != kRasDialParamsSize) {
            return ERROR_INVALID_SIZE;
        }
        PreviewPhonebook::Written& written = CredentialsOf(FieldText(params->szEntryName).c_str());
        ++Book().credentialWrites_;
        written.userName = FieldText(params->szUserName);
        written.domain = FieldText(params->szDomain);
        written.password = removePassword ? "" : FieldText(params->szPassword);
        return 0;
    }
};

PreviewPhonebook::~PreviewPhonebook() {
    Close();
}

void PreviewPhonebook::Close() {
    for (Written& w : written_) {
        WipeBytes(&w.password[0], w.password.size());
    }
    written_.clear();
    credentialWrites_ = 0;
#ifdef _WIN32
    ReleaseDialup(system_);
#endif
    source_ = DialupApi();
    api_ = DialupApi();
    path_.clear();
    if (g_open == this) {
        g_open = nullptr;
    }
}

bool PreviewPhonebook::OpenFile(const std::string& path) {
    Close();
    struct stat info;
    if (stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) {
        return false;
    }
    path_ = path;
    Bind(SimDialupApi());
    return true;
}

bool PreviewPhonebook::OpenSystem() {
    Close();
#ifdef _WIN32
    if (!LoadDialupLibrary(system_)) {
        return false;
    }
    Bind(system_);
    return true;
#else
    return false;
#endif
}

void PreviewPhonebook::Bind(const DialupApi& library) {
    source_ = DialupApi();
    source_.library = library.library;
    source_.RasEnumDevicesA = library.RasEnumDevicesA;
    source_.RasEnumEntriesA = library.RasEnumEntriesA;
    source_.RasGetEntryPropertiesA = library.RasGetEntryPropertiesA;
    source_.RasGetEntryDialParamsA = library.RasGetEntryDialParamsA;
    source_.RasGetCredentialsA = library.RasGetCredentialsA;
    g_open = this;
    api_ = DialupApi();
    api_.library = this;
    // Each operation is offered when the phonebook has it, the writes too (they are kept
    // here), so that the rules meet the same binding as in a real run.
#define PREVIEW_OPERATION(name, operation) \
    api_.name = library.name != nullptr ? PreviewOperations::operation : nullptr;
    PREVIEW_OPERATION(RasEnumDevicesA, EnumDevices)
    PREVIEW_OPERATION(RasEnumEntriesA, EnumEntries)
    PREVIEW_OPERATION(RasGetEntryPropertiesA, GetEntryProperties)
    PREVIEW_OPERATION(RasSetEntryPropertiesA, SetEntryProperties)
    PREVIEW_OPERATION(RasGetEntryDialParamsA, GetEntryDialParams)
    PREVIEW_OPERATION(RasSetEntryDialParamsA, SetEntryDialParams)
    PREVIEW_OPERATION(RasGetCredentialsA, GetCredentials)
    PREVIEW_OPERATION(RasSetCredentialsA, SetCredentials)
#undef PREVIEW_OPERATION
}

PreviewPhonebook::Written* PreviewPhonebook::Find(const char* entryName) {
    for (Written& w : written_) {
        if (entryName != nullptr && EqualsEntryName(w.name.c_str(), entryName)) {
            return &w;
        }
    }
    return nullptr;
}

PreviewPhonebook::Written& PreviewPhonebook::FindOrAdd(const char* entryName) {
    if (Written* w = Find(entryName)) {
        return *w;
    }
    written_.emplace_back();
    written_.back().name = entryName;
    return written_.back();
}

const PreviewPhonebook::Written* PreviewPhonebook::WrittenFor(const char* entryName) const {
    return const_cast<PreviewPhonebook*>(this)->Find(entryName);
}
