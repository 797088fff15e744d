#include "shell/prepare_evaluations.h"

#include <string>

#include "runtime/fileio/folders.h"
#include "runtime/large_buffers.h"
#include "runtime/numeric/fft.h"
#include "signal/czt.h"

namespace shell {

void prepare_evaluations() {
    // An evaluation reads the recording a stretch at a time and holds little more than its
    // analysis-rate signal, some 10 to 30 MB: up to 64 MB is kept between evaluations, so that
    // the next one need not have fresh pages mapped and zeroed (a third of a cached-heap
    // evaluation's time here), and nothing is taken before the first evaluation asks for it.
    rt::useHeapForLargeBuffers(64u << 20, 48u << 20);
    // The tone analysis transforms 3528-sample windows at 1501 or 301 frequencies; plan those
    // lengths while the user is still choosing a file.
    const std::string cache = rt::userCacheFolder("rovantel");
    rt::prepareFftPlans({sig::cztFftLength(3528, 1501), sig::cztFftLength(3528, 301)},
                        cache.empty() ? "" : cache + "/fftw-wisdom");
}

}  // namespace shell
