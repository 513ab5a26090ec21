// Runs a target's input function on every stored input: the files given and the files in
// the folders given (names starting with a dot are skipped, a missing folder holds none).
// The ordinary test run uses it to replay the crashes fuzzing once found.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "FuzzTarget.h"

namespace fs = std::filesystem;

namespace {

void replay(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
    cps::fuzz::runOne(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
    int count = 0;
    for (int i = 1; i < argc; ++i) {
        const fs::path arg(argv[i]);
        std::error_code ec;
        if (fs::is_regular_file(arg, ec)) {
            replay(arg);
            ++count;
            continue;
        }
        if (!fs::is_directory(arg, ec)) continue;
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(arg, ec))
            if (entry.is_regular_file() && entry.path().filename().string().front() != '.')
                files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        for (const fs::path& f : files) {
            std::printf("%s\n", f.string().c_str());
            replay(f);
            ++count;
        }
    }
    std::printf("%d inputs replayed\n", count);
    return 0;
}
