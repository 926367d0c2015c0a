// Runs a fuzz target over saved inputs without libFuzzer, so that its corpus
// is an ordinary test: every file in the folders (or the files) named, in name
// order. A target aborts on a broken invariant; a name with no input, or an
// input over 1 MiB, fails the run, so that a wrong path cannot pass.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    int status = argc < 2 ? 2 : 0;
    for (int i = 1; i < argc; ++i) {
        std::vector<fs::path> files;
        std::error_code error;
        for (const fs::directory_entry& entry : fs::directory_iterator(argv[i], error))
            files.push_back(entry.path());
        if (error && fs::is_regular_file(argv[i]))
            files.emplace_back(argv[i]);
        std::sort(files.begin(), files.end());
        for (const fs::path& file : files) {
            std::ifstream in(file, std::ios::binary);
            if (!in || fs::file_size(file, error) > (std::uintmax_t{1} << 20)) {
                std::fprintf(stderr, "%s: unreadable or over 1 MiB\n", file.string().c_str());
                status = 1;
                continue;
            }
            // A buffer of exactly the input's size, so that a sanitizer sees a read past it.
            const std::vector<std::uint8_t> data{std::istreambuf_iterator<char>(in), {}};
            LLVMFuzzerTestOneInput(data.data(), data.size());
        }
        std::printf("%s: %zu inputs\n", argv[i], files.size());
        status = files.empty() ? 1 : status;
    }
    return status;
}
