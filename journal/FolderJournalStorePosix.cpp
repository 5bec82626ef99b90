// The journal's folder on a POSIX system: the kit tool and the tests natively.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "journal/FolderJournalStore.h"

namespace {

bool MakeFolders(const std::string& folder) {
    for (size_t at = 1; at <= folder.size(); ++at) {
        if (at == folder.size() || folder[at] == '/') {
            const std::string part = folder.substr(0, at);
            if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
                return false;
            }
        }
    }
    return true;
}

bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

std::string JournalFilePath(const std::string& folder, const std::string& name) {
    return folder + "/" + name;
}

bool ReplaceJournalFile(const std::string& folder, const std::string& name,
                        const std::string& bytes) {
    if (folder.empty() || !MakeFolders(folder)) {
        return false;
    }
    const std::string path = JournalFilePath(folder, name);
    const std::string temporary = path + ".new";
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0) {
        return false;
    }
    const bool written = WriteAll(fd, bytes) && fsync(fd) == 0;
    if (close(fd) != 0 || !written || rename(temporary.c_str(), path.c_str()) != 0) {
        unlink(temporary.c_str());
        return false;
    }
    // The rename itself reaches the disk with the folder.
    const int directory = open(folder.c_str(), O_RDONLY);
    if (directory >= 0) {
        fsync(directory);
        close(directory);
    }
    return true;
}

bool ReadJournalFile(const std::string& folder, const std::string& name, std::string* bytes) {
    bytes->clear();
    FILE* file = fopen(JournalFilePath(folder, name).c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    char buffer[4096];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof(buffer), file)) > 0) {
        bytes->append(buffer, n);
    }
    const bool ok = ferror(file) == 0;
    fclose(file);
    return ok;
}

std::vector<std::string> ListJournalFiles(const std::string& folder, const std::string& suffix) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) {
        return names;
    }
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() > suffix.size() && name != "." && name != ".." &&
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
            names.push_back(name);
        }
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

bool RemoveJournalFile(const std::string& folder, const std::string& name) {
    return unlink(JournalFilePath(folder, name).c_str()) == 0;
}

// flock, not fcntl locks: those of one process never conflict with each other, while a run
// and the recovery of a test may share a process.
intptr_t ClaimJournalFile(const std::string& folder, const std::string& name) {
    if (folder.empty() || !MakeFolders(folder)) {
        return -1;
    }
    const std::string path = JournalFilePath(folder, name);
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    if (fd < 0) {
        return -1;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        unlink(path.c_str());
        return -1;
    }
    return fd;
}

void ReleaseJournalFile(intptr_t handle) {
    close(static_cast<int>(handle));
}

bool JournalFileHeld(const std::string& folder, const std::string& name) {
    const int fd = open(JournalFilePath(folder, name).c_str(), O_RDONLY);
    if (fd < 0) {
        return false;
    }
    const bool held = flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    close(fd);
    return held;
}
