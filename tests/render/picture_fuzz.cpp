// libFuzzer target: the picture decoders on arbitrary bytes. The first byte picks the format
// code (0 ... 5, 0 being an unknown code), the second the JPEG reduction; the rest is the stream.
#include "picture_property.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) {
        return 0;
    }
    std::string problem = vlr::test::CheckDecodePromise({data + 2, size - 2}, data[0] % 6, data[1] % 4);
    if (!problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
