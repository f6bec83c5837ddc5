// The configuration file of 1, 2, 4 and 8 MB, one section of parameters whose names differ only in
// their digits (what a generated or long-grown file holds): loading and saving each, in processor
// time. Linear time means the time per MB stays the same; the last line printed is
// "config_8mb_load_s X.XX" (well under a second).
#include "bench/SyntheticLog.h"
#include "config/Config.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <sys/resource.h>

namespace {

// Writes a file of at least megabytes MB; the number of parameters.
int writeConfiguration(const std::string& path, int megabytes)
{
    std::string text = "<Big>\n";
    int count = 0;
    while (text.size() < static_cast<size_t>(megabytes) * 1000 * 1000)
        text += "\t<Parameter" + std::to_string(count++) + ">value</>\n";
    text += "</Big>\n";
    std::ofstream(path, std::ios::binary) << text;
    return count;
}

} // namespace

int main()
{
    using namespace kestrano;
    const std::string folder = bench::makeBenchFolder();
    const std::string path = folder + "/kestrano.cfg";
    double lastLoad = 0;
    for (const int megabytes : {1, 2, 4, 8}) {
        const int count = writeConfiguration(path, megabytes);
        haspel::Config config;
        double start = bench::processorSeconds(RUSAGE_SELF);
        if (!config.LoadFile(path.c_str())) {
            std::fprintf(stderr, "the %d MB file did not load\n", megabytes);
            return 1;
        }
        const double load = bench::processorSeconds(RUSAGE_SELF) - start;
        start = bench::processorSeconds(RUSAGE_SELF);
        if (!config.SaveFile(path.c_str())) {
            std::fprintf(stderr, "the %d MB file was not saved\n", megabytes);
            return 1;
        }
        const double save = bench::processorSeconds(RUSAGE_SELF) - start;
        std::printf("config: %d MB, %d parameters: load %.3f s (%.3f s/MB), save %.3f s (%.3f s/MB)\n",
            megabytes, count, load, load / megabytes, save, save / megabytes);
        lastLoad = load;
    }
    std::printf("config_8mb_load_s %.2f\n", lastLoad);
    return 0;
}
