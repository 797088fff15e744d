#include "runtime/fileio/mapped_file.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "runtime/fileio/regular_file.h"

namespace rt {

struct MappedFile::Mapping {
    const unsigned char* bytes = nullptr;
    std::size_t size = 0;
    Mapping(const unsigned char* b, std::size_t n) : bytes(b), size(n) {}
    Mapping(const Mapping&) = delete;
    Mapping& operator=(const Mapping&) = delete;
    ~Mapping() { ::munmap(const_cast<unsigned char*>(bytes), size); }
};

std::optional<MappedFile> MappedFile::open(const std::string& path) {
    std::string why;
    const int fd = openRegularFile(path, why);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    void* at = MAP_FAILED;
    // The descriptor is not needed once the mapping exists.
    if (::fstat(fd, &st) == 0 && st.st_size > 0)
        at = ::mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    ::close(fd);
    if (at == MAP_FAILED) return std::nullopt;
    MappedFile f;
    f.map_ = std::make_shared<const Mapping>(static_cast<const unsigned char*>(at),
                                             static_cast<std::size_t>(st.st_size));
    return f;
}

const unsigned char* MappedFile::data() const { return map_->bytes; }
std::size_t MappedFile::size() const { return map_->size; }

}  // namespace rt
