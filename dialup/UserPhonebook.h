// Where a connection made for one user alone is kept: that user's own phonebook, beside the
// all-users one from Windows 2000 on. A standard user (from Vista on, anyone who double-clicks
// a program) may not add to the all-users phonebook; Windows' own connection wizard then makes
// the connection "for me only", in this one.
#pragma once

#include <string>

class UserPhonebook {
public:
    virtual ~UserPhonebook() = default;

    // The path of this user's own phonebook file (code page 932), its folder made when
    // missing. False when the user has none (no profile folder to keep it in).
    virtual bool Prepare(std::string* path) = 0;
};

// Where Windows keeps it, below the user's application-data folder.
extern const char kUserPhonebookBelowAppData[];
