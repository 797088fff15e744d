// Colouring of image CData into ARGB pixels, and a small cache so that a large image is
// coloured once per change of its data, CLim or colour map rather than on every repaint.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <vector>

#include "qt/axes_scene.h"

namespace rt {

// Colours CData: true colour (uint8 0..255 or double 0..1 per channel), or through `colormap`
// (m x 3 row by row) — scaled linearly from clim onto the m entries (values at or beyond
// the limits take the end colours; clim[0] >= clim[1] gives every cell the first colour),
// or direct 1-based indices. NaN cells are transparent. Rows run from the first CData row.
// Throws rt::Error when cdata is missing or its size disagrees with rows x cols.
ArgbImage colourImage(const SceneImage& img, const std::vector<double>& colormap,
                      const double clim[2]);

class ImageCache {
public:
    explicit ImageCache(std::size_t capacity = 8) : capacity_(capacity) {}

    // The coloured image for `img` under this colour mapping; colours it only when no entry
    // for (id, version, mapping, clim, colormap) exists.
    std::shared_ptr<const ArgbImage> get(const SceneImage& img, const std::vector<double>& colormap,
                                         const double clim[2]);
    // Whether get() would answer from the cache (so CData need not be fetched).
    bool holds(const SceneImage& img, const std::vector<double>& colormap,
               const double clim[2]) const;
    // Drops every entry of image `id` (the image was deleted).
    void forget(double id);

    std::size_t colourings() const { return colourings_; }  // images coloured so far

private:
    struct Key {
        double id;
        std::uint64_t version;
        bool trueColor, scaled;
        double clim0, clim1;
        std::uint64_t mapHash;
        bool operator==(const Key&) const = default;
    };
    static Key keyOf(const SceneImage& img, const std::vector<double>& colormap,
                     const double clim[2]);
    struct Entry {
        Key key;
        std::shared_ptr<const ArgbImage> image;
    };
    std::size_t capacity_;
    std::list<Entry> entries_;  // most recently used first
    std::size_t colourings_ = 0;
};

}  // namespace rt
