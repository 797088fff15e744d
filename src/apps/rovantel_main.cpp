// The process entry of rovantel; the build's language comes from the lang_*.cpp linked in.
#include "qt/start.h"
#include "runtime/fileio/folders.h"
#include "runtime/large_buffers.h"
#include "runtime/numeric/fft.h"
#include "shell/rovantel.h"
#include "shell/strings.h"
#include "signal/czt.h"

int main(int argc, char** argv) {
    // An evaluation holds a recording as doubles several times over (a 2-minute stereo
    // recording is 85 MB): keep that memory between evaluations, up to 512 MB, and make the
    // first 256 MB ready before the first evaluation asks for them.
    rt::useHeapForLargeBuffers(512u << 20, 256u << 20, true);
    // The tone analysis transforms 3528-sample windows at 1501 or 301 frequencies; plan those
    // lengths while the user is still choosing a file, with the wisdom of earlier runs.
    const std::string cache = rt::userCacheFolder("rovantel");
    rt::prepareFftPlans({sig::cztFftLength(3528, 1501), sig::cztFftLength(3528, 301)},
                        cache.empty() ? "" : cache + "/fftw-wisdom");
    const rt::FunctionTable table = shell::rovantel_function_table();
    const rt::FunctionEntry* entry = table.find("rovantel");
    return rt::start(argc, argv, entry->fn, table, {shell::build_language()});
}
