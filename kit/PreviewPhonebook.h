// The phonebook a preview runs the migration over. Every read goes to the real phonebook: a
// substitute phonebook file, or on Windows the system's dial-up library, of which only read
// operations are ever called. Every write stays in memory and never reaches it, and later
// reads of a written entry see what was written, as they would after a real write; so a
// run over it proposes exactly what a real run whose writes all succeed would propose.
#pragma once

#include <string>
#include <vector>

#include "dialup/DialupApi.h"

class PreviewPhonebook {
public:
    PreviewPhonebook() = default;
    ~PreviewPhonebook();
    PreviewPhonebook(const PreviewPhonebook&) = delete;
    PreviewPhonebook& operator=(const PreviewPhonebook&) = delete;

    // Over the substitute phonebook file at `path` (code page 932), which must exist.
    bool OpenFile(const std::string& path);

    // Over the system's dial-up library (Windows only). False when it cannot be loaded.
    bool OpenSystem();

    // The binding the migration runs on; its operations are plain functions, so only one
    // preview phonebook can be open at a time. An operation the phonebook lacks is empty,
    // as it would be for the program; deleting and dialling are never offered.
    const DialupApi& Api() const { return api_; }

    // What the run wrote for an entry (names compare as the phonebook compares them).
    struct Written {
        std::string name;
        std::vector<unsigned char> properties;  // a RASENTRYA as written; empty when none
        bool hasCredentials = false;
        std::string userName;
        std::string password;
        std::string domain;
    };
    const Written* WrittenFor(const char* entryName) const;

    // How many user-name and password writes the run has made so far.
    size_t CredentialWrites() const { return credentialWrites_; }

private:
    void Close();
    void Bind(const DialupApi& library);
    Written* Find(const char* entryName);
    Written& FindOrAdd(const char* entryName);
    const char* SourcePath() const { return path_.empty() ? nullptr : path_.c_str(); }

    friend struct PreviewOperations;

    DialupApi source_;  // the real phonebook: only its read operations are called
    DialupApi system_;  // the system library while it is loaded
    DialupApi api_;
    std::string path_;  // the substitute phonebook file; empty for the system's phonebook
    std::vector<Written> written_;
    size_t credentialWrites_ = 0;
};
