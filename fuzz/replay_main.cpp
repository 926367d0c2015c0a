// Runs a fuzz target over saved inputs without libFuzzer, so that its corpus
// is an ordinary test: every file named, and every file in every folder
// named, is read and given to the target once, in name order. A target
// aborts on a broken invariant; an argument with no input in it fails the run,
// so that a wrong path cannot pass unnoticed.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

// libFuzzer's own limit on an input read from the corpus.
constexpr std::uintmax_t kMaxInputBytes = std::uintmax_t{1} << 20;

bool Replay(const fs::path& file) {
    std::error_code error;
    const std::uintmax_t size = fs::file_size(file, error);
    if (error || size > kMaxInputBytes) {
        std::fprintf(stderr, "%s: cannot be read or is over 1 MiB\n", file.string().c_str());
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    // The input in a buffer of exactly its size, so that a sanitizer sees
    // any read past its end.
    std::vector<std::uint8_t> data{std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>()};
    if (!in || data.size() != size) {
        std::fprintf(stderr, "%s: read failed\n", file.string().c_str());
        return false;
    }
    LLVMFuzzerTestOneInput(data.data(), data.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE_OR_FOLDER...\n", argv[0]);
        return 2;
    }
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        std::vector<fs::path> files;
        std::error_code error;
        if (fs::is_directory(argv[i], error)) {
            for (const fs::directory_entry& entry : fs::directory_iterator(argv[i], error)) {
                if (entry.is_regular_file(error))
                    files.push_back(entry.path());
            }
            std::sort(files.begin(), files.end());
        } else {
            files.emplace_back(argv[i]);
        }
        if (files.empty()) {
            std::fprintf(stderr, "%s: no input\n", argv[i]);
            status = 1;
        }
        for (const fs::path& file : files) {
            if (!Replay(file))
                status = 1;
        }
        std::printf("%s: %zu inputs\n", argv[i], files.size());
    }
    return status;
}
