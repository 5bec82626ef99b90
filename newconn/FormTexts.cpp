// Provider texts, domain and modems for the new-connection form.
#include "newconn/FormTexts.h"

#include <cstring>

#include "settings/ByteText.h"

bool ReadFormTexts(const DataFiles& files, FormTexts* texts) {
    return ReadIspSettings(files, kIspLineCapacity, [texts](SettingKey key, const char* value) {
        switch (key) {
            case SettingKey::DialupDomain:
                CopyField(texts->domain, value);
                break;
            case SettingKey::CaptionSetting:
                CopyField(texts->caption, value);
                texts->hasCaption = true;
                break;
            case SettingKey::DefaultEntryName:
                CopyField(texts->entryName, value);
                texts->hasEntryName = true;
                break;
            case SettingKey::DefaultTelNumber:
                CopyField(texts->telNumber, value);
                texts->hasTelNumber = true;
                break;
            default:
                break;
        }
    });
}
