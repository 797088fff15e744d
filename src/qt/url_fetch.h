// Fetching what a URL names into a file, for image names such as "http://host/picture.png".
#pragma once

#include <string>

namespace rt {

// Downloads `url` into `target` (created or replaced), following redirects; waits without
// taking user input. rt::Error naming the URL and the reason when it fails (30 s at most).
void fetchUrl(const std::string& url, const std::string& target);

}  // namespace rt
