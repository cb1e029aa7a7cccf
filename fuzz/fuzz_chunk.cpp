// Chunk data decoded into variables, written back, and read as a stream.

#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    FuzzWorld();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ReportProblem(CheckChunks(FuzzInput(data, size)));
    return 0;
}
