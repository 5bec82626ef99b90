// ISP_INF.csv: the one list of the provider's 22 setting keys with their value forms, and
// the shared reading loop that every reading routine runs over the file afresh.
#pragma once

#include <cstddef>
#include <type_traits>

class DataFiles;

enum class SettingForm { Text, Number, OnOff, Address, Domain, TelephoneNumber };

enum class SettingKey {
    CaptionStart,
    TitleStart,
    TitleFontSize,
    CaptionSetting,
    DefaultEntryName,
    DefaultTelNumber,
    DialupDomain,
    SetDnsIpAddress,
    Dns1,
    Dns2,
    DefaultMobileNumber,
    DefaultFletsIsdnNumber,
    OldDomain,
    OldDialupDomain,
    OldMobileDomain,
    OldAirHDomain,
    MobileDomain,
    AirHDomain,
    FletsIsdnDomain,
    UserPrefix,
    LocalOnlyIsOk,
    KeepDomain,
};

struct SettingKeyInfo {
    SettingKey key;
    const char* name;  // as the provider writes it; matched ignoring the case of A-Z
    SettingForm form;
};

constexpr size_t kSettingKeyCount = 22;
extern const SettingKeyInfo kSettingKeys[kSettingKeyCount];

// The key whose name equals `name` ignoring case, or null.
const SettingKeyInfo* FindSettingKey(const char* name);

// Line capacities of the reading routines.
constexpr size_t kIspLineCapacity = 513;
constexpr size_t kDnsLineCapacity = 512;

typedef void (*SettingVisitor)(void* context, SettingKey key, const char* value);

// Reads ISP_INF.csv with `capacity` and calls `visit` for every line with a known key and
// a non-empty value, in file order (so the last occurrence is seen last). False only when
// the file does not exist; a file that cannot be opened reads as one without keys.
bool ForEachIspSetting(const DataFiles& files, size_t capacity, SettingVisitor visit,
                       void* context);

// Lambda-friendly form of ForEachIspSetting.
template <class Fn>
bool ReadIspSettings(const DataFiles& files, size_t capacity, Fn&& fn) {
    using Callable = typename std::remove_reference<Fn>::type;
    return ForEachIspSetting(
        files, capacity,
        [](void* context, SettingKey key, const char* value) {
            (*static_cast<Callable*>(context))(key, value);
        },
        const_cast<void*>(static_cast<const void*>(&fn)));
}
