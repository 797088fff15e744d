// Reading image files through the image-format registry.
#pragma once

#include <functional>
#include <string>

#include "runtime/dispatch/function_table.h"
#include "runtime/image_io.h"

namespace rt {

// imread(file), imread(file, format), imread(file, [format], reader arguments...): the image,
// its colour map and its alpha channel. A second argument is the format when it is a text
// the registry knows (then the file is also tried with each of the format's extensions
// appended); otherwise the format is found from the file's content. Names holding "://" are
// fetched to a temporary file first (see setUrlFetcher). rt::Error with the messages
// "Too few input arguments.", "File "NAME" does not exist.", "Can't open file "NAME" for
// reading;\nyou may not have read permission.", "Unable to determine the file format.", and
// the registry's and the reader's own.
ImageData imread(const Values& args);

// Copies what `url` names into the file `target`; rt::Error when it cannot. Installed by the
// toolkit (the core has no network); without one, names with "://" are refused.
using UrlFetcher = std::function<void(const std::string& url, const std::string& target)>;
UrlFetcher setUrlFetcher(UrlFetcher fetcher);  // returns the previous one

// "imread": any inputs, up to three outputs.
void register_imread(FunctionTable& table);

}  // namespace rt
