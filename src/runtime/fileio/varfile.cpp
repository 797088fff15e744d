#include "runtime/fileio/varfile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <limits>
#include <set>

#include "runtime/dispatch/error.h"
#include "runtime/fileio/atomic_file.h"
#include "runtime/fileio/regular_file.h"

namespace rt {
namespace {

constexpr std::array<std::uint8_t, 8> kMagic{0x89, 'R', 'V', 'F', '\r', '\n', 0x1A, '\n'};
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kMaxName = 63;
// Rows and columns a variable may have, empty or not: far more than a parameter file needs,
// and few enough that the rows of any loaded text, even an empty one, can be listed.
constexpr std::size_t kMaxExtent = Value::kMaxListedRows;

enum Kind : std::uint8_t { kReal = 1, kComplex = 2, kChar = 3, kLogical = 4 };

}  // namespace

std::uint32_t variableFileChecksum(const std::uint8_t* p, std::size_t n) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < n; ++i) c = table[(c ^ p[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

namespace {

bool validName(const std::string& s) {
    if (s.empty() || s.size() > kMaxName) return false;
    auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (!letter(s[0])) return false;
    for (char c : s)
        if (!letter(c) && !(c >= '0' && c <= '9') && c != '_') return false;
    return true;
}

std::string inQuotes(const std::string& s) { return "\"" + s + "\""; }

// ---- writing --------------------------------------------------------------------------

class Writer {
public:
    void u8(std::uint8_t v) { out_.push_back(v); }
    void u16(std::uint16_t v) { uint(v, 2); }
    void u32(std::uint32_t v) { uint(v, 4); }
    void f64(double d) {
        std::uint64_t bits;
        std::memcpy(&bits, &d, 8);
        uint(bits, 8);
    }
    void bytes(const void* p, std::size_t n) {
        const auto* b = static_cast<const std::uint8_t*>(p);
        out_.insert(out_.end(), b, b + n);
    }
    std::vector<std::uint8_t>& data() { return out_; }

private:
    void uint(std::uint64_t v, int n) {
        for (int i = 0; i < n; ++i) out_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    std::vector<std::uint8_t> out_;
};

Kind kindOf(const NamedValue& nv) {
    const Value& v = nv.value;
    if (v.ndims() != 2)
        error("save: variable " + inQuotes(nv.name) + " has more than two dimensions.");
    if (v.rows() > kMaxExtent || v.cols() > kMaxExtent)
        error("save: variable " + inQuotes(nv.name) + " is too large.");
    switch (v.classId()) {
        case ClassId::Double:
            return v.isComplex() ? kComplex : kReal;
        case ClassId::Char:
            return kChar;
        case ClassId::Logical:
            return kLogical;
        default:
            error("save: variable " + inQuotes(nv.name) + " of class " + v.className() +
                  " cannot be saved.");
    }
    return kReal;
}

// ---- reading --------------------------------------------------------------------------

struct Damaged {
    std::string why;
};

class Reader {
public:
    Reader(const std::uint8_t* p, std::size_t n) : p_(p), left_(n) {}
    std::size_t left() const { return left_; }
    const std::uint8_t* take(std::size_t n, const char* what) {
        if (n > left_) throw Damaged{std::string("cut short in ") + what};
        const std::uint8_t* at = p_;
        p_ += n;
        left_ -= n;
        return at;
    }
    std::uint8_t u8(const char* what) { return *take(1, what); }
    std::uint32_t u32(const char* what) {
        return static_cast<std::uint32_t>(uint(take(4, what), 4));
    }
    static std::uint64_t uint(const std::uint8_t* b, int n) {
        std::uint64_t v = 0;
        for (int i = n - 1; i >= 0; --i) v = (v << 8) | b[i];
        return v;
    }
    static double f64(const std::uint8_t* b) {
        const std::uint64_t bits = uint(b, 8);
        double d;
        std::memcpy(&d, &bits, 8);
        return d;
    }

private:
    const std::uint8_t* p_;
    std::size_t left_;
};

std::size_t elementSize(std::uint8_t kind) {
    switch (kind) {
        case kReal:
            return 8;
        case kComplex:
            return 16;
        case kChar:
            return 2;
        case kLogical:
            return 1;
        default:
            throw Damaged{"unknown class code " + std::to_string(kind)};
    }
}

NamedValue readVariable(Reader& in) {
    NamedValue nv;
    const std::uint8_t len = in.u8("a name");
    const std::uint8_t* name = in.take(len, "a name");
    nv.name.assign(reinterpret_cast<const char*>(name), len);
    if (!validName(nv.name)) throw Damaged{"invalid variable name"};
    const std::uint8_t kind = in.u8("a class");
    const std::size_t size = elementSize(kind);
    const std::size_t rows = in.u32("a size"), cols = in.u32("a size");
    // Check the element count against the bytes present before allocating anything.
    const std::size_t n = rows * cols;  // at most 2^64 - 2^33 + 1: no overflow
    if (n > in.left() / size) throw Damaged{"variable " + inQuotes(nv.name) + " cut short"};
    if (rows > kMaxExtent || cols > kMaxExtent)
        throw Damaged{"variable " + inQuotes(nv.name) + " of " + std::to_string(rows) + " x " +
                      std::to_string(cols) + " is larger than " + std::to_string(kMaxExtent) +
                      " in a dimension"};
    const std::uint8_t* p = in.take(n * size, "data");

    switch (kind) {
        case kReal:
        case kComplex: {
            std::vector<double> re(n), im(kind == kComplex ? n : 0);
            for (std::size_t i = 0; i < n; ++i) re[i] = Reader::f64(p + 8 * i);
            for (std::size_t i = 0; i < im.size(); ++i) im[i] = Reader::f64(p + 8 * (n + i));
            nv.value = (n == 0) ? Value::empty(rows, cols)
                                : Value::matrix(rows, cols, std::move(re), std::move(im));
            break;
        }
        case kChar: {
            std::u16string s(n, u'\0');
            for (std::size_t i = 0; i < n; ++i)
                s[i] = static_cast<char16_t>(Reader::uint(p + 2 * i, 2));
            nv.value = Value::chars(rows, cols, std::move(s));
            break;
        }
        case kLogical: {
            std::vector<double> b(n);
            for (std::size_t i = 0; i < n; ++i) {
                if (p[i] > 1) throw Damaged{"logical value other than 0 or 1"};
                b[i] = p[i];
            }
            nv.value = Value::logical(rows, cols, std::move(b));
            break;
        }
    }
    return nv;
}

// ---- the file system ------------------------------------------------------------------

// "save: cannot write "x.cfg": Permission denied."
[[noreturn]] void systemError(const std::string& what, const std::string& path, int err) {
    throw Error(what + " " + inQuotes(path) + ": " + std::strerror(err) + ".");
}

bool readAll(int fd, std::uint8_t* p, std::size_t n) {
    while (n > 0) {
        const ssize_t r = ::read(fd, p, n);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) return false;
        p += r;
        n -= static_cast<std::size_t>(r);
    }
    return true;
}

}  // namespace

std::vector<std::uint8_t> encodeVariables(const std::vector<NamedValue>& variables) {
    std::set<std::string> seen;
    for (const NamedValue& nv : variables) {
        if (!validName(nv.name))
            error("save: " + inQuotes(nv.name) + " is not a valid variable name.");
        if (!seen.insert(nv.name).second)
            error("save: variable " + inQuotes(nv.name) + " given twice.");
        kindOf(nv);
    }
    if (variables.size() > std::numeric_limits<std::uint32_t>::max())
        error("save: too many variables.");

    Writer w;
    w.bytes(kMagic.data(), kMagic.size());
    w.u32(kVersion);
    w.u32(static_cast<std::uint32_t>(variables.size()));
    for (const NamedValue& nv : variables) {
        const Value& v = nv.value;
        const Kind kind = kindOf(nv);
        w.u8(static_cast<std::uint8_t>(nv.name.size()));
        w.bytes(nv.name.data(), nv.name.size());
        w.u8(kind);
        w.u32(static_cast<std::uint32_t>(v.rows()));
        w.u32(static_cast<std::uint32_t>(v.cols()));
        switch (kind) {
            case kReal:
                for (double d : v.re()) w.f64(d);
                break;
            case kComplex:
                for (double d : v.re()) w.f64(d);
                for (double d : v.im()) w.f64(d);
                break;
            case kChar:
                for (char16_t c : v.charData()) w.u16(static_cast<std::uint16_t>(c));
                break;
            case kLogical:
                for (double d : v.re()) w.u8(d != 0.0 ? 1 : 0);
                break;
        }
    }
    w.u32(variableFileChecksum(w.data().data(), w.data().size()));
    return std::move(w.data());
}

std::vector<NamedValue> decodeVariables(const std::uint8_t* data, std::size_t size,
                                        const std::string& label) {
    const std::string file = "load: " + inQuotes(label);
    if (size < kMagic.size() || std::memcmp(data, kMagic.data(), kMagic.size()) != 0)
        error(file + " is not a variable file.");
    std::vector<NamedValue> out;
    try {
        Reader in(data + kMagic.size(), size - kMagic.size());
        const std::uint32_t version = in.u32("the header");
        if (version != kVersion)
            error(file + " is a variable file of version " + std::to_string(version) +
                  ", which this program cannot read.");
        const std::uint32_t count = in.u32("the header");
        std::set<std::string> seen;
        for (std::uint32_t i = 0; i < count; ++i) {
            // Every variable takes at least 11 bytes, so a forged count ends here quickly.
            out.push_back(readVariable(in));
            if (!seen.insert(out.back().name).second)
                throw Damaged{"variable " + inQuotes(out.back().name) + " appears twice"};
        }
        in.take(4, "the checksum");
        if (in.left() != 0) throw Damaged{"bytes after the end"};
        // Checked last so that a damaged file reports what is wrong with its structure first.
        if (variableFileChecksum(data, size - 4) !=
            static_cast<std::uint32_t>(Reader::uint(data + size - 4, 4)))
            throw Damaged{"checksum mismatch"};
    } catch (const Damaged& d) {
        error(file + " is a damaged variable file (" + d.why + ").");
    }
    return out;
}

void save(const std::string& path, const std::vector<NamedValue>& variables) {
    const std::vector<std::uint8_t> bytes = encodeVariables(variables);
    try {
        saveFileAtomically(
            path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    } catch (const SaveError& e) {
        throw e.withMessage(std::string("save: ") + e.what());
    }
}

std::vector<NamedValue> load(const std::string& path) {
    std::string why;
    const int fd = openRegularFile(path, why);
    if (fd < 0) error("load: cannot read " + inQuotes(path) + ": " + why + ".");
    struct FdGuard {
        int fd;
        ~FdGuard() { ::close(fd); }
    } guard{fd};

    struct stat st {};
    if (::fstat(fd, &st) != 0) systemError("load: cannot read", path, errno);
    const std::string notOurs = "load: " + inQuotes(path) + " is not a variable file.";
    const std::size_t size = static_cast<std::size_t>(st.st_size);
    // The magic first, so a large foreign file is never read whole.
    std::vector<std::uint8_t> bytes(std::min(size, kMagic.size()));
    if (!readAll(fd, bytes.data(), bytes.size()) || bytes.size() < kMagic.size() ||
        std::memcmp(bytes.data(), kMagic.data(), kMagic.size()) != 0)
        error(notOurs);
    bytes.resize(size);
    if (!readAll(fd, bytes.data() + kMagic.size(), size - kMagic.size()))
        error("load: " + inQuotes(path) + " could not be read to its end.");
    return decodeVariables(bytes.data(), bytes.size(), path);
}

}  // namespace rt
