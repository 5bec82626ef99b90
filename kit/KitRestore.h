// dialnest-kit restore: the support desk's undo over the change journal's history on the
// subscriber's machine.
#pragma once

#include <cstdio>

// `argv[1]` is "restore". --list shows every run kept with what it changed; RUN (a run's
// stamp as listed) shows entry by entry what would be put back (--dry-run, the default) or
// puts it back (--apply). An entry whose properties or user name differ from what the run
// wrote is never touched. Exit status 0 when every entry was (or would be) put back or was
// already as it was, 1 when any was skipped or failed, 2 for a usage error.
int RunRestore(int argc, const char* const* argv, FILE* out, FILE* err);
