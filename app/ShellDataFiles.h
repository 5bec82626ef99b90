// The provider files for real: those of the kit the program file carries, when it carries
// one; otherwise the directory of the program file and the file system's attribute query.
#pragma once

#include "settings/CarriedKit.h"
#include "settings/DataFiles.h"

class ShellDataFiles : public DataFiles {
public:
    ShellDataFiles();
    // None for a program that carries no kit and reads the files beside it; a damaged
    // kit (IsDamaged) leaves every provider file missing.
    CarriedKitState Carried() const { return carried_; }
    bool PathOf(const char* fileName, char* path, size_t size) const override;
    bool Exists(const char* path) const override;
    bool HeldBytes(const char* path, const char** data, size_t* size) const override;

private:
    char directory_[kPathSize];
    bool found_;
    CarriedKit kit_;
    CarriedKitState carried_ = CarriedKitState::None;
};
