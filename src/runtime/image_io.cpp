#include "runtime/image_io.h"

#include <algorithm>
#include <cmath>
#include <fstream>

#include "runtime/dispatch/error.h"

namespace rt {

namespace {

ImageCodec* gCodec = nullptr;

std::string lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::string head(const std::string& file, std::size_t n) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return {};
    std::string buf(n, '\0');
    in.read(buf.data(), static_cast<std::streamsize>(n));
    buf.resize(static_cast<std::size_t>(in.gcount()));
    return buf;
}

ImageCodec& codec(const std::string& action, const std::string& format) {
    if (!gCodec) throw Error("No " + action + " function for format " + format + ".");
    return *gCodec;
}

ImageFormat makeFormat(std::string name, std::vector<std::string> ext, std::string description,
                       bool (*test)(const std::string&)) {
    ImageFormat f;
    f.name = name;
    f.extensions = std::move(ext);
    f.description = std::move(description);
    f.isFormat = [test](const std::string& file) { return test(head(file, 16)); };
    f.read = [name](const std::string& file, const Values&) {
        return codec("reading", name).decode(file, name);
    };
    f.write = [name](const Value& image, const std::string& file) {
        codec("writing", name).encode(image, file, name);
    };
    return f;
}

// The image as uint8 M x N x 3: grey M x N is spread to three planes, doubles in [0, 1] are
// scaled (and clipped) to 0..255.
Value asRgb8(const Value& img) {
    const auto& d = img.dims();
    const bool grey = d.size() == 2;
    const bool colour = d.size() == 3 && d[2] == 3;
    if ((!grey && !colour) || img.isEmpty() || !(img.isNumeric() || img.isLogical()))
        throw Error("imwrite: the image must be an M x N or M x N x 3 numeric array.");
    const std::size_t plane = d[0] * d[1];
    std::vector<std::uint8_t> out(plane * 3);
    const bool bytes = img.isUInt8();
    const std::vector<double> vals = bytes ? std::vector<double>() : img.real();
    for (std::size_t p = 0; p < 3; ++p)
        for (std::size_t k = 0; k < plane; ++k) {
            const std::size_t src = (grey ? 0 : p * plane) + k;
            if (bytes) {
                out[p * plane + k] = img.bytes()[src];
            } else {
                double v = vals[src];
                if (img.isLogical()) v = v != 0 ? 1 : 0;
                v = std::isnan(v) ? 0 : std::clamp(v, 0.0, 1.0);
                out[p * plane + k] = static_cast<std::uint8_t>(std::lround(v * 255));
            }
        }
    return Value::uint8({d[0], d[1], 3}, std::move(out));
}

}  // namespace

ImageCodec* setImageCodec(ImageCodec* c) {
    ImageCodec* old = gCodec;
    gCodec = c;
    return old;
}

bool looksLikePng(const std::string& h) {
    return h.size() >= 8 && h.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0;
}

bool looksLikeBmp(const std::string& h) {
    // "BM", then a header whose size field is one of the known DIB header sizes.
    if (h.size() < 18 || h[0] != 'B' || h[1] != 'M') return false;
    const auto u = [&](std::size_t i) {
        return static_cast<unsigned>(static_cast<unsigned char>(h[i]));
    };
    const unsigned dib = u(14) | (u(15) << 8) | (u(16) << 16) | (u(17) << 24);
    return dib == 12 || dib == 40 || dib == 52 || dib == 56 || dib == 64 || dib == 108 ||
           dib == 124;
}

bool looksLikeJpeg(const std::string& h) {
    return h.size() >= 3 && static_cast<unsigned char>(h[0]) == 0xFF &&
           static_cast<unsigned char>(h[1]) == 0xD8 && static_cast<unsigned char>(h[2]) == 0xFF;
}

const std::vector<ImageFormat>& imformats() {
    static const std::vector<ImageFormat> formats = {
        makeFormat("bmp", {"bmp"}, "Windows Bitmap (BMP)", &looksLikeBmp),
        makeFormat("jpeg", {"jpg", "jpeg"}, "Joint Photographic Experts Group (JPEG)",
                   &looksLikeJpeg),
        makeFormat("png", {"png"}, "Portable Network Graphics (PNG)", &looksLikePng),
    };
    return formats;
}

const ImageFormat* findImageFormat(const std::string& nameOrExtension) {
    const std::string key = lower(nameOrExtension);
    for (const ImageFormat& f : imformats()) {
        if (f.name == key) return &f;
        for (const std::string& e : f.extensions)
            if (e == key) return &f;
    }
    return nullptr;
}

const ImageFormat* detectImageFormat(const std::string& file) {
    const std::string h = head(file, 32);
    if (h.empty()) return nullptr;
    for (const ImageFormat& f : imformats())
        if ((f.name == "png" && looksLikePng(h)) || (f.name == "bmp" && looksLikeBmp(h)) ||
            (f.name == "jpeg" && looksLikeJpeg(h)))
            return &f;
    return nullptr;
}

void imwrite(const Value& image, const std::string& file, const std::string& type) {
    const ImageFormat* f = findImageFormat(type);
    if (!f) throw Error("imwrite: unknown file format \"" + type + "\".");
    if (!f->write) throw Error("imwrite: no writing function for format " + f->name + ".");
    if (file.empty()) throw Error("imwrite: no file name.");
    f->write(asRgb8(image), file);
}

Value frame2im(const Value& frame) {
    if (!frame.isStruct() || !frame.isField("cdata"))
        throw Error("frame2im: the input is not a frame.");
    const Value& c = frame.field("cdata");
    if (frame.isField("colormap") && !frame.field("colormap").isEmpty() && c.ndims() == 2) {
        // An indexed frame: look each index up in the frame's map.
        const std::vector<double> map = frame.field("colormap").real();
        const std::size_t m = frame.field("colormap").rows();
        const std::vector<double> idx = c.real();
        const std::size_t plane = idx.size();
        std::vector<std::uint8_t> out(plane * 3);
        for (std::size_t k = 0; k < plane; ++k) {
            const double i = std::clamp(std::floor(idx[k]) - (c.isUInt8() ? 0 : 1), 0.0,
                                        static_cast<double>(m - 1));
            for (std::size_t p = 0; p < 3; ++p)
                out[p * plane + k] = static_cast<std::uint8_t>(std::lround(
                    std::clamp(map[p * m + static_cast<std::size_t>(i)], 0.0, 1.0) * 255));
        }
        return Value::uint8({c.rows(), c.cols(), 3}, std::move(out));
    }
    return c;
}

}  // namespace rt
