// The journal's folder on a POSIX system: the kit tool and the tests natively.
#include <dirent.h>
#include <fcntl.h>
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

std::string FolderJournalStore::PathOf(const std::string& name) const {
    return folder_ + "/" + name;
}

bool FolderJournalStore::Replace(const std::string& name, const std::string& bytes) {
    if (!MakeFolders(folder_)) {
        return false;
    }
    const std::string path = PathOf(name);
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
    const int folder = open(folder_.c_str(), O_RDONLY);
    if (folder >= 0) {
        fsync(folder);
        close(folder);
    }
    return true;
}

bool FolderJournalStore::Read(const std::string& name, std::string* bytes) const {
    bytes->clear();
    FILE* file = fopen(PathOf(name).c_str(), "rb");
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

std::vector<std::string> FolderJournalStore::List(const std::string& suffix) const {
    std::vector<std::string> names;
    DIR* dir = opendir(folder_.c_str());
    if (dir == nullptr) {
        return names;
    }
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() > suffix.size() &&
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
            names.push_back(name);
        }
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

bool FolderJournalStore::Remove(const std::string& name) {
    return unlink(PathOf(name).c_str()) == 0;
}
