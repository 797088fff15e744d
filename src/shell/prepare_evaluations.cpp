#include "shell/prepare_evaluations.h"

#include <string>

#include "runtime/fileio/folders.h"
#include "runtime/large_buffers.h"
#include "runtime/numeric/fft.h"
#include "signal/czt.h"

namespace shell {

void prepare_evaluations() {
    // An evaluation holds a recording as doubles several times over (a 2-minute stereo
    // recording is 85 MB): keep that memory between evaluations, up to 512 MB, and make the
    // first 256 MB ready before the first evaluation asks for them.
    rt::useHeapForLargeBuffers(512u << 20, 256u << 20, true);
    // The tone analysis transforms 3528-sample windows at 1501 or 301 frequencies; plan those
    // lengths while the user is still choosing a file.
    const std::string cache = rt::userCacheFolder("rovantel");
    rt::prepareFftPlans({sig::cztFftLength(3528, 1501), sig::cztFftLength(3528, 301)},
                        cache.empty() ? "" : cache + "/fftw-wisdom");
}

}  // namespace shell
