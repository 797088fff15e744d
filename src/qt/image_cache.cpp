#include "qt/image_cache.h"

#include <cmath>
#include <cstring>

#include "runtime/dispatch/error.h"

namespace rt {

namespace {

std::uint32_t argb(double r, double g, double b) {
    auto c = [](double v) -> std::uint32_t {
        if (!(v > 0)) return 0;
        if (v >= 1) return 255;
        return static_cast<std::uint32_t>(std::lround(v * 255));
    };
    return 0xFF000000u | (c(r) << 16) | (c(g) << 8) | c(b);
}

std::uint64_t hashDoubles(const std::vector<double>& v) {
    std::uint64_t h = 1469598103934665603ull;
    for (double d : v) {
        std::uint64_t bits;
        std::memcpy(&bits, &d, sizeof bits);
        h = (h ^ bits) * 1099511628211ull;
    }
    return h ^ v.size();
}

}  // namespace

ArgbImage colourImage(const SceneImage& img, const std::vector<double>& colormap,
                      const double clim[2]) {
    if (!img.cdata) throw Error("Image data missing.");
    const Value& c = *img.cdata;
    const std::size_t rows = img.rows, cols = img.cols;
    const std::size_t planes = img.trueColor ? 3 : 1;
    if (c.numel() != rows * cols * planes) throw Error("Image data size does not match.");
    ArgbImage out;
    out.width = static_cast<int>(cols);
    out.height = static_cast<int>(rows);
    out.pixels.assign(rows * cols, 0);
    const std::size_t plane = rows * cols;
    if (img.trueColor) {
        const double scale = c.isUInt8() ? 1.0 / 255 : 1.0;
        const auto* bytes = c.isUInt8() ? c.bytes().data() : nullptr;
        const std::vector<double> d = bytes ? std::vector<double>() : c.real();
        for (std::size_t col = 0; col < cols; ++col)
            for (std::size_t r = 0; r < rows; ++r) {
                const std::size_t k = col * rows + r;
                double v[3];
                for (int p = 0; p < 3; ++p)
                    v[p] = (bytes ? bytes[k + p * plane] : d[k + p * plane]) * scale;
                out.pixels[r * cols + col] =
                    std::isnan(v[0] + v[1] + v[2]) ? 0 : argb(v[0], v[1], v[2]);
            }
        return out;
    }
    const std::size_t m = colormap.size() / 3;
    if (m == 0) throw Error("Empty colour map.");
    std::vector<std::uint32_t> lut(m);
    for (std::size_t i = 0; i < m; ++i)
        lut[i] = argb(colormap[3 * i], colormap[3 * i + 1], colormap[3 * i + 2]);
    const std::vector<double> d = c.real();
    const double lo = clim[0], span = clim[1] - clim[0];
    for (std::size_t col = 0; col < cols; ++col)
        for (std::size_t r = 0; r < rows; ++r) {
            const double v = d[col * rows + r];
            if (std::isnan(v)) continue;
            double idx;
            if (img.scaled)
                idx = span > 0 ? std::floor((v - lo) / span * m) : 0;
            else
                idx = std::floor(v) - 1;
            if (idx < 0) idx = 0;
            if (idx > static_cast<double>(m - 1)) idx = static_cast<double>(m - 1);
            out.pixels[r * cols + col] = lut[static_cast<std::size_t>(idx)];
        }
    return out;
}

ImageCache::Key ImageCache::keyOf(const SceneImage& img, const std::vector<double>& colormap,
                                  const double clim[2]) {
    const bool mapped = !img.trueColor;
    const bool useClim = mapped && img.scaled;
    return {img.id,
            img.version,
            img.trueColor,
            img.scaled,
            useClim ? clim[0] : 0,
            useClim ? clim[1] : 0,
            mapped ? hashDoubles(colormap) : 0};
}

std::shared_ptr<const ArgbImage> ImageCache::get(const SceneImage& img,
                                                 const std::vector<double>& colormap,
                                                 const double clim[2]) {
    const Key key = keyOf(img, colormap, clim);
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->key == key) {
            entries_.splice(entries_.begin(), entries_, it);
            return entries_.front().image;
        }
    }
    auto coloured = std::make_shared<const ArgbImage>(colourImage(img, colormap, clim));
    ++colourings_;
    // Older versions of the same image are useless now.
    entries_.remove_if(
        [&](const Entry& e) { return e.key.id == img.id && e.key.version != img.version; });
    entries_.push_front({key, coloured});
    while (entries_.size() > capacity_) entries_.pop_back();
    return coloured;
}

bool ImageCache::holds(const SceneImage& img, const std::vector<double>& colormap,
                       const double clim[2]) const {
    const Key key = keyOf(img, colormap, clim);
    for (const Entry& e : entries_)
        if (e.key == key) return true;
    return false;
}

void ImageCache::forget(double id) {
    entries_.remove_if([&](const Entry& e) { return e.key.id == id; });
}

}  // namespace rt
