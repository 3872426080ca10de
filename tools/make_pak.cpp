// make_pak: writes a Quake 2 PAK archive from named entries, for the demo directory and for
// test fixtures.
//
//   make_pak OUT.pak ENTRY...      build OUT.pak
//   make_pak --list FILE.pak       print the directory of an archive
//
// An ENTRY is "name=path" (the entry's data is the file at path) or "name:text" (the data is
// the text itself, with the escapes \n \r \t \0 \\ and \xHH). The name ends at the first "="
// or ":" and is stored as given, so use "/" as the separator: maps/harbor.bsp=harbor.bsp.
// Entries keep the order of the command line; the same name may be given twice.
//
// The archive is written to OUT.pak.tmp and renamed into place only when every write
// succeeded, so a failed run never leaves a partial archive under the final name.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "pak_format.h"

namespace {

using tolvane::tools::PakEntry;

constexpr const char* kUsage =
    "usage: make_pak OUT.pak name=file|name:text...\n"
    "       make_pak --list FILE.pak\n";

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path);
    std::ostringstream s;
    s << in.rdbuf();
    if (in.bad()) throw std::runtime_error("cannot read " + path);
    return s.str();
}

void WriteFileAtomically(const std::string& path, const std::string& bytes) {
    const std::string tmp = path + ".tmp";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) throw std::runtime_error("cannot create " + tmp);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::remove(tmp.c_str());
            throw std::runtime_error("cannot write " + tmp);
        }
    }
    std::error_code ec;
    std::filesystem::rename(tmp, path, ec);
    if (ec) {
        std::remove(tmp.c_str());
        throw std::runtime_error("cannot rename " + tmp + " to " + path + ": " + ec.message());
    }
}

int List(const std::string& path) {
    const std::string bytes = ReadWholeFile(path);
    for (const auto& e : tolvane::tools::ReadPak(bytes))
        std::cout << e.offset << '\t' << e.length << '\t' << e.name << '\n';
    return 0;
}

int Build(const std::string& outPath, const std::vector<std::string>& args) {
    std::vector<PakEntry> entries;
    for (const auto& arg : args) {
        auto parsed = tolvane::tools::ParseEntryArgument(arg);
        PakEntry e;
        e.name = std::move(parsed.name);
        e.data = parsed.fromFile ? ReadWholeFile(parsed.value) : std::move(parsed.value);
        entries.push_back(std::move(e));
    }
    WriteFileAtomically(outPath, tolvane::tools::BuildPak(entries));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        if (args.size() == 2 && args[0] == "--list") return List(args[1]);
        if (args.empty() || args[0].empty() || args[0][0] == '-') {
            std::cerr << kUsage;
            return 2;
        }
        return Build(args[0], std::vector<std::string>(args.begin() + 1, args.end()));
    } catch (const std::exception& e) {
        std::cerr << "make_pak: " << e.what() << '\n';
        return 1;
    }
}
