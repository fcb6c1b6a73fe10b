// libFuzzer target: the picture decoders on arbitrary bytes. The first byte picks the format
// code (0 ... 5, 0 being an unknown code), the second the JPEG reduction; the rest is the stream.
// VLR_FUZZ_FORMAT=1 ... 5 in the environment holds the format code fixed, to fuzz one decoder.
#include "picture_property.h"

#include "render/picturedecode.h"

#include <cstdio>
#include <cstdlib>

namespace {
int fixedFormat = -1;
}

// A few megapixels are enough to reach every branch of the decoders; at the full cap one input
// could take a second and a gigabyte.
constexpr int64_t kFuzzPicturePixels = 4'000'000;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    vlr::LimitPicturePixels(kFuzzPicturePixels);
    if (const char* format = std::getenv("VLR_FUZZ_FORMAT")) {
        fixedFormat = std::atoi(format);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) {
        return 0;
    }
    const int format = fixedFormat >= 0 ? fixedFormat : data[0] % 6;
    std::string problem = vlr::test::CheckDecodePromise({data + 2, size - 2}, format, data[1] % 4);
    if (!problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
