// Builds RIFF WAVE files byte by byte for the reader's tests, and a scratch folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace wavtest {

using Bytes = std::vector<std::uint8_t>;

inline Bytes str(const std::string& s) { return Bytes(s.begin(), s.end()); }
inline Bytes le16(unsigned v) { return {std::uint8_t(v), std::uint8_t(v >> 8)}; }
inline Bytes le24(int v) { return {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16)}; }
inline Bytes le32(std::uint32_t v) {
    return {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)};
}
inline Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}
// A chunk: identifier, size, body and (for an odd size) the pad byte.
inline Bytes chunk(const std::string& id, const Bytes& body, bool pad = true) {
    Bytes out = cat({str(id), le32(static_cast<std::uint32_t>(body.size())), body});
    if (pad && body.size() % 2) out.push_back(0);
    return out;
}
// The 14 common bytes of a format chunk.
inline Bytes fmtCommon(unsigned tag, unsigned channels, unsigned rate, unsigned blockAlign) {
    return cat({le16(tag), le16(channels), le32(rate), le32(rate * blockAlign), le16(blockAlign)});
}
// A 16-byte PCM or float format chunk.
inline Bytes fmtChunk(unsigned tag, unsigned channels, unsigned rate, unsigned bytesPerSample,
                      unsigned bits = 0) {
    return chunk("fmt ", cat({fmtCommon(tag, channels, rate, channels * bytesPerSample),
                              le16(bits ? bits : 8 * bytesPerSample)}));
}
// A 40-byte extensible format chunk naming sub-format `sub` (1 PCM, 3 float, ...).
inline Bytes fmtExtensible(unsigned channels, unsigned rate, unsigned bytesPerSample,
                           unsigned validBits, unsigned sub) {
    Bytes guid = cat(
        {le32(sub), le16(0), le16(0x10), Bytes{0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}});
    return chunk("fmt ", cat({fmtCommon(65534, channels, rate, channels * bytesPerSample),
                              le16(8 * bytesPerSample), le16(22), le16(validBits), le32(0), guid}));
}
inline Bytes riff(const Bytes& body, const std::string& id = "RIFF",
                  const std::string& form = "WAVE") {
    return cat({str(id), le32(static_cast<std::uint32_t>(body.size() + 4)), str(form), body});
}

// A fresh folder under the system's temporary folder, removed at the end of the test.
class ScratchDir {
public:
    std::string file(const std::string& name) const { return dir_.file(name); }
    std::string write(const std::string& name, const Bytes& bytes) const {
        std::ofstream(file(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return file(name);
    }
    Bytes read(const std::string& name) const {
        std::ifstream in(file(name), std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }

private:
    testsupport::TempDir dir_{"wavtest"};
};

}  // namespace wavtest
