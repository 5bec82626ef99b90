// The user's own phonebook on this Windows: <application data>\Microsoft\Network\Connections
// \Pbk\rasphone.pbk, the folder found with SHGetFolderPathA (looked up at run time: the 9x
// family and NT 4 have no phonebook of the user's own, nor this call).
#pragma once

#include "dialup/UserPhonebook.h"

class ShellUserPhonebook : public UserPhonebook {
public:
    bool Prepare(std::string* path) override;
};
