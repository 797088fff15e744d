// A fresh working folder for the life of the object.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>

namespace testsupport {

struct WorkingFolder {
    std::filesystem::path old = std::filesystem::current_path();
    std::filesystem::path dir;
    // One folder per process, so that copies of the suite running at once keep apart.
    explicit WorkingFolder(const std::string& name)
        : dir(std::filesystem::temp_directory_path() / (name + "_" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        std::filesystem::current_path(dir);
    }
    ~WorkingFolder() {
        std::filesystem::current_path(old);
        std::filesystem::remove_all(dir);
    }
};

}  // namespace testsupport
