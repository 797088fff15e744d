// A fresh folder made the working folder for the life of the object.
#pragma once

#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace testsupport {

struct WorkingFolder {
    std::filesystem::path old = std::filesystem::current_path();
    TempDir temp;
    std::filesystem::path dir;
    explicit WorkingFolder(const std::string& name) : temp(name), dir(temp.path()) {
        std::filesystem::current_path(dir);
    }
    ~WorkingFolder() { std::filesystem::current_path(old); }
};

}  // namespace testsupport
