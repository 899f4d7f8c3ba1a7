#pragma once

#include <csignal>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include "core/sample/sample_tags.h"
#include "support/temp_dir.h"

namespace tagwarden::test {

#ifndef _WIN32
// Makes every write past `bytes` into any file fail (with EFBIG) while it lives,
// so that tests can watch a write fail on an ordinary file.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limited = previous_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};
#endif

// A map plug-in laid out back to back.
inline Bytes meshPlugIn(const MeshLayout& layout = {})
{
    return buildPlugIn({"Test map", "mesh", "mpzz", 0, sampleMeshData(layout)});
}

}  // namespace tagwarden::test
