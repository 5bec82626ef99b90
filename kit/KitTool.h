// The command line of dialnest-kit: its two commands, their options and exit statuses.
#pragma once

#include <cstdio>

// Exit statuses: 0 no error, 1 an error in the kit (or the preview's run), 2 a usage error.
constexpr int kExitClean = 0;
constexpr int kExitError = 1;
constexpr int kExitUsage = 2;

// Runs `dialnest-kit` with its arguments (code page 932 paths); reports go to `out`,
// usage errors and failures to start to `err`.
int RunKitTool(int argc, const char* const* argv, FILE* out, FILE* err);
