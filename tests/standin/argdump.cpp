// A stand-in for a started program: writes its arguments, argv[0] included, one per line, to
// the file named by ARGDUMP_OUT, or to "args.txt" in its working directory. The file appears
// under its final name only when complete, so a test can poll for it.
//
// With ARGDUMP_WAIT_FOR naming a file it first waits for that file to appear (ten seconds at
// most, and then it records nothing): a test that creates the file only after the start has
// returned shows that the start did not wait for the program. On Windows it also records how
// it was asked to show its window (the wShowWindow it was given, or "none") in the file's name
// plus ".show", written before the arguments.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

bool exists(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f) std::fclose(f);
    return f != nullptr;
}

bool writeFile(const std::string& target, const std::string& text) {
    const std::string partial = target + ".part";
    std::FILE* f = std::fopen(partial.c_str(), "wb");
    if (!f) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (std::fclose(f) != 0 || !written) return false;
    return std::rename(partial.c_str(), target.c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    const char* named = std::getenv("ARGDUMP_OUT");
    const std::string target = named && *named ? named : "args.txt";

    if (const char* gate = std::getenv("ARGDUMP_WAIT_FOR"); gate && *gate) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!exists(gate)) {
            if (std::chrono::steady_clock::now() >= deadline) return 3;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
#ifdef _WIN32
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    const std::string show =
        (startup.dwFlags & STARTF_USESHOWWINDOW) ? std::to_string(startup.wShowWindow) : std::string("none");
    if (!writeFile(target + ".show", show + "\n")) return 1;
#endif
    std::string text;
    for (int i = 0; i < argc; ++i) text += std::string(argv[i]) + "\n";
    return writeFile(target, text) ? 0 : 1;
}
