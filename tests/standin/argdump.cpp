// A stand-in for a started program: writes its arguments, argv[0] included, one per line, to
// the file named by ARGDUMP_OUT, or to "args.txt" in its working directory. The file appears
// under its final name only when complete, so a test can poll for it.
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    const char* named = std::getenv("ARGDUMP_OUT");
    const std::string target = named && *named ? named : "args.txt";
    const std::string partial = target + ".part";
    std::FILE* f = std::fopen(partial.c_str(), "wb");
    if (!f) return 1;
    for (int i = 0; i < argc; ++i) std::fprintf(f, "%s\n", argv[i]);
    if (std::fclose(f) != 0) return 1;
    return std::rename(partial.c_str(), target.c_str()) == 0 ? 0 : 1;
}
