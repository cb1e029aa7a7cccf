// Bitmap files as block sheets and background pictures.

#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    FuzzWorld();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ReportProblem(CheckPicture(FuzzWorld(), FuzzInput(data, size)));
    return 0;
}
