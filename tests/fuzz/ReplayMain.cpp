// Runs a fuzz harness over every file of the folders (or files) given, so the
// seed corpora replay as ordinary tests without libFuzzer.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fs = std::filesystem;

static int RunOne(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", p.c_str());
        return 1;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    return 0;
}

int main(int argc, char** argv)
{
    int files = 0, failed = 0;
    for (int i = 1; i < argc; ++i) {
        const fs::path arg(argv[i]);
        if (fs::is_directory(arg)) {
            for (const auto& e : fs::directory_iterator(arg))
                if (e.is_regular_file()) {
                    failed += RunOne(e.path());
                    ++files;
                }
        } else {
            failed += RunOne(arg);
            ++files;
        }
    }
    std::printf("replayed %d inputs\n", files);
    // An empty corpus is a broken test, not a pass.
    return failed || files == 0 ? 1 : 0;
}
