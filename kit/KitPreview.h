// `dialnest-kit preview`: the program's own migration run over a phonebook that keeps every
// write in memory, every proposal accepted, told entry by entry.
#pragma once

#include <cstdio>
#include <string>

#include "dialup/DialupApi.h"
#include "dialup/OsClass.h"
#include "kit/KitReport.h"

class KitFolder;
class PreviewPhonebook;

struct PreviewOptions {
    OsClass osClass = 9;  // the credential rules of the NT family unless told otherwise
    bool json = false;
    Language language = Language::English;  // of the text; JSON keys and codes stay English
};

// Runs the migration with the kit in `folder` over `phonebook` and writes to `out`, entry
// by entry, where the rules stopped or what they proposed, then the messages the run ends
// with. Returns 0, or 1 when the run stops early (no ISP_INF.csv, the phonebook cannot be
// listed), the program would show a failure on the way, or a proposal offers an empty
// new number.
int PreviewMigration(KitFolder& folder, PreviewPhonebook& phonebook, const PreviewOptions& options,
                     FILE* out);

// The specific name servers of an entry as "a.b.c.d, a.b.c.d", or empty when it has none;
// shared with the restore, which names them where they change.
std::string NameServers(const RASENTRYA& entry, Language language);
