// The journal's files in a folder on disk. One interface, built for Win32 (the program and
// the kit tool on Windows) and for POSIX (the kit tool and the tests natively).
#pragma once

#include "journal/JournalStore.h"

class FolderJournalStore : public JournalStore {
public:
    // `folder` (code page 932 on Windows), without a trailing separator; created, with any
    // missing parents, on the first write.
    explicit FolderJournalStore(std::string folder) : folder_(std::move(folder)) {}

    bool Replace(const std::string& name, const std::string& bytes) override;
    bool Read(const std::string& name, std::string* bytes) const override;
    std::vector<std::string> List(const std::string& suffix) const override;
    bool Remove(const std::string& name) override;
    std::string PathOf(const std::string& name) const override;

    const std::string& Folder() const { return folder_; }

private:
    std::string folder_;
};

// The journal's folder of this user (see README: where the journal lives); empty when no
// folder can be named. Win32 only.
std::string UserJournalFolder();
