// Extracts whatever bytes it is given as an LHA archive into a scratch folder, and stops
// the run when anything lands beside that folder.
#include "unlha32/lha_extract.h"
#include "unlha32/lha_reader.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::string ScratchFolder()
{
    const char* base = std::getenv("TMPDIR");
    std::string templ = std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm"
                                : base                            ? base
                                                                  : "/tmp")
        + "/pimoko-fuzz-XXXXXX";
    if (!mkdtemp(templ.data()))
        std::abort();
    return templ;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string scratch = ScratchFolder();
    const std::string archive = scratch + "/in.lzh";
    const std::string folder = scratch + "/out";
    FILE* f = std::fopen(archive.c_str(), "wb");
    if (!f)
        std::abort();
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    unlha::Utf8Locale locale;
    std::vector<std::string> messages;
    unlha::ExtractLimits limits;
    limits.maxTotalBytes = 1 << 22;
    unlha::ExtractArchive(archive, folder, {}, &messages, limits);

    if (DIR* dir = opendir(scratch.c_str())) {
        while (dirent* e = readdir(dir)) {
            std::string name = e->d_name;
            if (name != "." && name != ".." && name != "in.lzh" && name != "out") {
                std::fprintf(stderr, "escaped the folder: %s\n", name.c_str());
                std::abort();
            }
        }
        closedir(dir);
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return 0;
}
