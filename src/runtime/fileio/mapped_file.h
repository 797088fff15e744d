// A regular file's bytes mapped read-only, for a reader that goes over a large file a
// stretch at a time without copying it through read().
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

namespace rt {

class MappedFile {
public:
    // The whole of `path` as it is now; nullopt when it is not a regular file, is empty or
    // cannot be mapped (the caller then reads it). Copies share the mapping, which lasts
    // until the last of them goes. A file cut short by another program while mapped ends
    // the process when the lost bytes are read, as with any mapped file.
    static std::optional<MappedFile> open(const std::string& path);

    const unsigned char* data() const;
    std::size_t size() const;

private:
    struct Mapping;
    std::shared_ptr<const Mapping> map_;
};

}  // namespace rt
