#include "runtime/imread.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>

#include "runtime/dispatch/error.h"
#include "runtime/fileio/file_io.h"
#include "runtime/fileio/folders.h"

namespace rt {

namespace {

UrlFetcher gFetcher;

std::string inQuotes(const std::string& s) { return "\"" + s + "\""; }

// Opens and closes `name`; the name as opened, or "" when it cannot be opened.
std::string openable(const std::string& name) {
    const OpenResult r = fopen(name, "r");
    if (r.fid < 0) return {};
    std::string full = filename(r.fid);
    fclose(r.fid);
    return full;
}

[[noreturn]] void cannotOpen(const std::string& name) {
    // A listing that finds the name tells a file we may not read from one that is not there.
    if (!dir(name).empty())
        throw Error("Can't open file " + inQuotes(name) +
                    " for reading;\nyou may not have read permission.");
    throw Error("File " + inQuotes(name) + " does not exist.");
}

// A temporary file that is removed when the read is over, whatever happens.
class TemporaryCopy {
public:
    explicit TemporaryCopy(const std::string& url) {
        static std::atomic<unsigned> counter{0};
        namespace fs = std::filesystem;
        name_ = (fs::temp_directory_path() /
                 ("imread-" + std::to_string(::getpid()) + "-" + std::to_string(counter++)))
                    .string();
        if (!gFetcher) throw Error("Can't read URL " + inQuotes(url) + ": no network here.");
        try {
            gFetcher(url, name_);
        } catch (...) {
            std::remove(name_.c_str());
            throw;
        }
    }
    ~TemporaryCopy() {
        if (std::remove(name_.c_str()) != 0 && exist(name_, "file") != 0)
            warning("Can't delete temporary file " + inQuotes(name_) + ".");
    }
    TemporaryCopy(const TemporaryCopy&) = delete;
    TemporaryCopy& operator=(const TemporaryCopy&) = delete;
    const std::string& name() const { return name_; }

private:
    std::string name_;
};

}  // namespace

UrlFetcher setUrlFetcher(UrlFetcher fetcher) {
    UrlFetcher old = std::move(gFetcher);
    gFetcher = std::move(fetcher);
    return old;
}

ImageData imread(const Values& args) {
    if (args.empty()) throw Error("Too few input arguments.");
    if (!args[0].isChar()) throw Error("imread: the file name must be a text.");
    std::string name = args[0].text();
    Values rest(args.begin() + 1, args.end());
    const ImageFormat* format = nullptr;
    if (!rest.empty() && rest[0].isChar() && findImageFormat(rest[0].text())) {
        format = findImageFormat(rest[0].text());
        rest.erase(rest.begin());
    }

    std::unique_ptr<TemporaryCopy> copy;
    if (name.find("://") != std::string::npos) {
        copy = std::make_unique<TemporaryCopy>(name);
        name = copy->name();
    }

    std::string full;
    if (!format) {
        full = openable(name);
        if (full.empty()) cannotOpen(name);
        for (const ImageFormat& f : imformats())
            if (f.isFormat && f.isFormat(full)) {
                format = &f;
                break;
            }
        if (!format) throw Error("Unable to determine the file format.");
    } else {
        full = openable(name);
        for (std::size_t i = 0; full.empty() && i < format->extensions.size(); ++i)
            full = openable(name + "." + format->extensions[i]);
        if (full.empty()) cannotOpen(name);
    }
    if (!format->read)
        throw Error("No reading function for format " + format->name +
                    ".  See \"help imformats\".");
    return format->read(full, rest);
}

void register_imread(FunctionTable& table) {
    table.add("imread", -1, 3, [](const Values& in, int nargout) {
        ImageData d = imread(in);
        Values out{std::move(d.image)};
        if (nargout >= 2) out.push_back(std::move(d.colormap));
        if (nargout >= 3) out.push_back(std::move(d.alpha));
        return out;
    });
}

}  // namespace rt
