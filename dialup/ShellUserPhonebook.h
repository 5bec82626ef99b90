// The user's own phonebook on this Windows: <application data>\Microsoft\Network\Connections
// \Pbk\rasphone.pbk (UserAppDataFolder). It is asked for only where Windows refused the
// all-users phonebook, which the 9x family and NT 4 never do: they have one phonebook.
#pragma once

#include "dialup/UserPhonebook.h"

class ShellUserPhonebook : public UserPhonebook {
public:
    bool Prepare(std::string* path) override;
};
