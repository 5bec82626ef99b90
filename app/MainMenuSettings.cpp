// Main menu window settings from ISP_INF.csv.
#include "app/MainMenuSettings.h"

#include "settings/ByteText.h"

bool ReadMainMenuSettings(const DataFiles& files, MainMenuSettings* settings) {
    return ReadIspSettings(files, kIspLineCapacity, [settings](SettingKey key, const char* value) {
        switch (key) {
            case SettingKey::CaptionStart:
                settings->hasCaption = true;
                CopyField(settings->caption, value);
                break;
            case SettingKey::TitleStart:
                settings->hasHeading = true;
                CopyField(settings->heading, value);
                break;
            case SettingKey::TitleFontSize: {
                const int size = ParseDecimal(value);
                if (size > 1) {
                    settings->headingSize = size;
                }
                break;
            }
            default:
                break;
        }
    });
}
