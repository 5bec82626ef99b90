// The journal's files in a folder on disk. One set of file calls, built for Win32 (the
// program and the kit tool on Windows) and for POSIX (the kit tool and the tests natively).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "journal/JournalStore.h"

// The calls behind FolderJournalStore, on folder `folder` (code page 932 on Windows),
// without a trailing separator; it is made, with missing parents, on the first write.
bool ReplaceJournalFile(const std::string& folder, const std::string& name,
                        const std::string& bytes);
bool ReadJournalFile(const std::string& folder, const std::string& name, std::string* bytes);
std::vector<std::string> ListJournalFiles(const std::string& folder, const std::string& suffix);
bool RemoveJournalFile(const std::string& folder, const std::string& name);
std::string JournalFilePath(const std::string& folder, const std::string& name);
// Creates the file exclusively and keeps it open and locked: the handle (or descriptor), or
// -1. Closing it lets every other process see the file as not held.
intptr_t ClaimJournalFile(const std::string& folder, const std::string& name);
void ReleaseJournalFile(intptr_t handle);
bool JournalFileHeld(const std::string& folder, const std::string& name);

// Defined here whole, so that code built with and without type information can share it.
class FolderJournalStore : public JournalStore {
public:
    explicit FolderJournalStore(std::string folder) : folder_(std::move(folder)) {}

    bool Replace(const std::string& name, const std::string& bytes) override {
        return ReplaceJournalFile(folder_, name, bytes);
    }
    bool Read(const std::string& name, std::string* bytes) const override {
        return ReadJournalFile(folder_, name, bytes);
    }
    std::vector<std::string> List(const std::string& suffix) const override {
        return ListJournalFiles(folder_, suffix);
    }
    bool Remove(const std::string& name) override { return RemoveJournalFile(folder_, name); }
    std::string PathOf(const std::string& name) const override {
        return JournalFilePath(folder_, name);
    }
    intptr_t Claim(const std::string& name) override { return ClaimJournalFile(folder_, name); }
    void Release(intptr_t claim) override { ReleaseJournalFile(claim); }
    bool Held(const std::string& name) const override { return JournalFileHeld(folder_, name); }

    const std::string& Folder() const { return folder_; }

private:
    std::string folder_;
};

// The journal's folder of this user (see README: where the journal lives); empty when no
// folder can be named. Win32 only.
std::string UserJournalFolder();

// The Windows replace with its branch chosen: the two renames of the 9x family
// (`renames`), else MoveFileExA where it works; ended after `steps` of its file steps, as a
// process ended there would leave it (-1: whole). Win32 only; for the tests of each branch.
bool ReplaceJournalFileBy(const std::string& folder, const std::string& name,
                          const std::string& bytes, bool renames, int steps);
