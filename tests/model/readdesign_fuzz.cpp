// libFuzzer target: the design-file reader on arbitrary bytes.
#include "readdesign_property.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string problem = vlr::test::CheckReadDesignPromise({data, size});
    if (!problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
