#pragma once
// Temporary folders of the tests. Each is removed by its owner's destructor;
// one a process leaves (a death test's child ends through exit(), past the
// destructors of what it made) goes when that process ends. Only the process
// that made a folder removes it: a forked child must not take its parent's.

#include <unistd.h>

#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

class ScratchFolders {
public:
    static void removeWhenProcessEnds(const std::filesystem::path& folder) {
        instance().folders_.emplace_back(folder, ::getpid());
    }

private:
    static ScratchFolders& instance() {
        static ScratchFolders folders;
        return folders;
    }
    ~ScratchFolders() {
        for (const auto& [folder, owner] : folders_) {
            if (owner != ::getpid()) continue;
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        }
    }
    std::vector<std::pair<std::filesystem::path, pid_t>> folders_;
};
