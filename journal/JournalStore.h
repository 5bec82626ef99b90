// Where the journal's files are kept: one folder of small files, named plainly. The shell
// gives the folder on disk; tests give a folder of their own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class JournalStore {
public:
    virtual ~JournalStore() = default;

    // Replaces file `name` with `bytes` so that a process ended at any moment leaves either
    // the old file (or none) or the new one whole. True only when the new file has reached
    // the disk.
    virtual bool Replace(const std::string& name, const std::string& bytes) = 0;

    // The whole file; false when there is none or it cannot be read.
    virtual bool Read(const std::string& name, std::string* bytes) const = 0;

    // The names of the files whose names end in `suffix` ("": every file), sorted.
    virtual std::vector<std::string> List(const std::string& suffix) const = 0;

    // Removes file `name` only (a replace's leftovers are files of their own names, listed
    // by their suffixes ".old" and ".new").
    virtual bool Remove(const std::string& name) = 0;

    // Creates file `name` only when there is none, and holds it for as long as this process
    // lives (or until Release, which leaves the file): a run's claim on its name, and the
    // sign that it has not ended. The claim to release, or -1 when the file exists or cannot
    // be made.
    virtual intptr_t Claim(const std::string& name) = 0;
    virtual void Release(intptr_t claim) = 0;
    // Whether a process that has not ended holds file `name` (Claim); false when no file.
    virtual bool Held(const std::string& name) const = 0;

    // The folder or path shown to a person for `name`.
    virtual std::string PathOf(const std::string& name) const = 0;
};
