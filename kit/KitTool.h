// The command line of dialnest-kit: its two commands, their options and exit statuses.
#pragma once

#include <cstdio>
#include <string>

#include "kit/KitReport.h"

// Exit statuses: 0 no error, 1 an error in the kit (or the preview's run), 2 a usage error.
constexpr int kExitClean = 0;
constexpr int kExitError = 1;
constexpr int kExitUsage = 2;

// Runs `dialnest-kit` with its arguments (code page 932 paths); reports go to `out`,
// usage errors and failures to start to `err`.
int RunKitTool(int argc, const char* const* argv, FILE* out, FILE* err);

// "--name VALUE" or "--name=VALUE" at argv[*i] (then *i moves past the value); true when it
// is that option, with a missing value told in `error`.
bool OptionValue(int argc, const char* const* argv, int* i, const char* name, std::string* value,
                 std::string* error);

// The language --lang names ("ja" or "en"); else `error` says what it takes.
void TakeLanguage(const std::string& value, Language* language, std::string* error);
