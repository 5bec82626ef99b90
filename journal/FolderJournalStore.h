// The journal's files in a folder on disk. One set of file calls, built for Win32 (the
// program and the kit tool on Windows) and for POSIX (the kit tool and the tests natively).
#pragma once

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

    const std::string& Folder() const { return folder_; }

private:
    std::string folder_;
};

// The journal's folder of this user (see README: where the journal lives); empty when no
// folder can be named. Win32 only.
std::string UserJournalFolder();
