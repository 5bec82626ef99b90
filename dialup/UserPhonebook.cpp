// Where Windows keeps the user's own phonebook.
#include "dialup/UserPhonebook.h"

const char kUserPhonebookBelowAppData[] = "Microsoft\\Network\\Connections\\Pbk\\rasphone.pbk";
