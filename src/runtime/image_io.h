// Image files and figure images: the image-format registry (content detection, extensions,
// readers and writers), imwrite, and the output operations getframe, frame2im and print.
// Decoding, encoding and drawing figures need a toolkit: they go through the ImageCodec and
// FigureOutput interfaces, which the Qt front-end installs; the core stays toolkit-free.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "runtime/value/value.h"

namespace rt {

// What a reader returns: the image (uint8 M x N x 3 for colour files), its colour map ([]
// for true colour) and its alpha channel (uint8 M x N, [] when the file has none).
struct ImageData {
    Value image;
    Value colormap;
    Value alpha;
};

// Decodes and encodes files of the registry's formats. Installed by the toolkit.
class ImageCodec {
public:
    virtual ~ImageCodec() = default;
    // Reads `file` as `format` ("png", "bmp", "jpeg"). rt::Error when it cannot be decoded.
    virtual ImageData decode(const std::string& file, const std::string& format) = 0;
    // Writes `image` (uint8 M x N x 3) to `file`. rt::Error when it cannot be written.
    virtual void encode(const Value& image, const std::string& file, const std::string& format) = 0;
};
// Installs the codec (not owned; nullptr removes it). Returns the previous one.
ImageCodec* setImageCodec(ImageCodec* codec);

struct ImageFormat {
    std::string name;                     // "bmp", "png", "jpeg"
    std::vector<std::string> extensions;  // lower case, without the point
    std::string description;
    // Whether the file's first bytes are of this format (never throws).
    std::function<bool(const std::string& file)> isFormat;
    // Empty when the format cannot be read / written.
    std::function<ImageData(const std::string& file, const Values& args)> read;
    std::function<void(const Value& image, const std::string& file)> write;
};

// The registry, in a fixed order (bmp, jpeg, png).
const std::vector<ImageFormat>& imformats();
// The format named `nameOrExtension` (its name or one of its extensions, without regard to
// case, "jpg" and "jpeg" alike); nullptr when none.
const ImageFormat* findImageFormat(const std::string& nameOrExtension);
// The format whose content test `file` passes; nullptr when none (or unreadable).
const ImageFormat* detectImageFormat(const std::string& file);
// Content tests on a file's first bytes (at least 8 are looked at when present).
bool looksLikePng(const std::string& head);
bool looksLikeBmp(const std::string& head);
bool looksLikeJpeg(const std::string& head);

// imwrite(img, file, type): writes a uint8 or double ([0, 1]) image, M x N x 3 or M x N grey,
// as `type` ("bmp", "png", "jpeg"/"jpg", without regard to case) under exactly `file`.
// rt::Error for an unknown type, an image of another shape, or a failed write.
void imwrite(const Value& image, const std::string& file, const std::string& type);

// frame2im(frame): the frame's image (uint8 M x N x 3). rt::Error when `frame` is no frame.
Value frame2im(const Value& frame);

// Grabs and prints figures. Installed by the toolkit.
class FigureOutput {
public:
    virtual ~FigureOutput() = default;
    // The figure's window as the screen shows it, controls included: uint8 M x N x 3.
    virtual Value grab(double figure) = 0;
    // Renders the figure offscreen as `format` (a registry name, or "eps" for colour EPS)
    // at `dpi` (raster only) into `file`. A NaN figure means the current figure.
    virtual void print(double figure, const std::string& format, double dpi,
                       const std::string& file) = 0;
};
// Installs the output (not owned; nullptr removes it). Returns the previous one.
FigureOutput* setFigureOutput(FigureOutput* output);

// getframe(fig): a frame record with fields "cdata" (uint8 M x N x 3) and "colormap" ([]).
// rt::Error when no toolkit can grab windows.
Value getframe(double figure);

// print(options..., file): '-d<type>' (bmp, png, jpeg/jpg, epsc/epsc2/eps), '-r<dpi>'
// (raster; 0 or none: the screen's resolution), renderer options ('-opengl', '-painters',
// '-zbuffer') accepted and ignored, '-f<handle>' or a numeric handle choose the figure
// (default: the current one). A file name without an extension gets the format's.
// rt::Error for an unknown option or device, a missing device or file name, or a failed
// write; rt::SaveError for a name that gives a folder ("sub/") and a refused save.
void print(const Values& args);

}  // namespace rt
