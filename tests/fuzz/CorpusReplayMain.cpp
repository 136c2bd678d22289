// The main of a fuzz target in the ordinary build: it runs the target once on every input of
// the seed folders it is given, as libFuzzer starts with its corpus, so that every test run
// holds the code to the target's checks on the seeds and on the regression inputs kept there.
// A broken check aborts, which the test runner reports with the check's message.
#include "tests/support/FileBytes.h"

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" [[gnu::weak]] int LLVMFuzzerInitialize(int* argc, char*** argv);

int main(int argc, char** argv) {
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        for (const auto& input : std::filesystem::directory_iterator(argv[i])) {
            const std::string bytes = ReadFile(input.path());
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                   bytes.size());
            ++inputs;
        }
    }
    std::fprintf(stderr, "%d inputs kept every check\n", inputs);
    return inputs > 0 ? 0 : 1;
}
