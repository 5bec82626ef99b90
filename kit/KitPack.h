// dialnest-kit pack: one program file for the subscriber, Dialnest.exe carrying the checked
// kit; and a packed program read wherever the tool takes a kit folder.
#pragma once

#include <cstdio>
#include <string>

#include "kit/KitReport.h"
#include "settings/CarriedKit.h"

class KitFolder;

// Makes `folder` the kit that the program file at its path carries, when it is a file
// that carries one, with `carried` holding it. None for a folder and for a file that
// carries no kit; a damaged kit (IsDamaged) leaves `folder` as it was.
CarriedKitState OpenPackedProgram(KitFolder* folder, CarriedKit* carried);

// Writes what the program makes of a damaged carried kit, as a report of one error (JSON
// when `json`). Returns the exit status of an error.
int ReportDamagedKit(const KitFolder& folder, CarriedKitState state, Language language, bool json,
                     FILE* out);

// `argv[1]` is "pack": checks KIT (a folder or a packed program) as `check` does and, when
// it reports no error and the folder holds nothing the program does not read, writes OUT, a
// copy of the program that carries the kit's provider files byte for byte, and tells what it
// carries, its size and its download time. Exit status 0 when OUT was written, 1 when the
// kit was refused or OUT could not be written, 2 for a usage error.
int RunPack(int argc, const char* const* argv, FILE* out, FILE* err);
