// Runs a fuzz target once over each file given, or over each file of each folder given, so
// that the committed corpus (and every input that once found a fault) is a regression test in
// builds without libFuzzer. A failed check aborts, as it does under libFuzzer.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz_target.h"

namespace {

void RunFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
    LLVMFuzzerInitialize(&argc, &argv);
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path given(argv[i]);
        if (std::filesystem::is_directory(given)) {
            for (const auto& entry : std::filesystem::directory_iterator(given)) {
                RunFile(entry.path());
                ++inputs;
            }
        } else {
            RunFile(given);
            ++inputs;
        }
    }
    std::fprintf(stderr, "%d inputs ran\n", inputs);
    return inputs > 0 ? 0 : 1;
}
