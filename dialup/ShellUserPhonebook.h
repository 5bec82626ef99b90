// The user's own phonebook on this Windows: <application data>\Microsoft\Network\Connections
// \Pbk\rasphone.pbk (UserAppDataFolder). It is asked for only where Windows refused the
// all-users phonebook, which the 9x family and NT 4 never do: they have one phonebook.
#pragma once

#include "dialup/UserPhonebook.h"

class ShellUserPhonebook : public UserPhonebook {
public:
    bool Prepare(std::string* path) override;
};

// Whether this process may change the all-users phonebook: from 2000 on only an
// administrator's, with the Administrators group in effect in its token (from Vista on, an
// administrator's program is not so unless elevated). CheckTokenMembership is looked up:
// where it is missing (9x, NT 4) there is one phonebook, which every user changes.
bool MayChangeAllUsersPhonebook();
