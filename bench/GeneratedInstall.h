#pragma once
// The generated installs the benchmarks run on: far more maps than any real server has, loose
// and in archives, with a catalogue and a rotation, made the same way every time.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace tolvane::bench {

namespace stdfs = std::filesystem;

inline void Write(const stdfs::path& p, const std::string& s) {
    stdfs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << s;
}

inline void PutLe32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// A PAK archive with a few bytes of data per entry, the directory at the end.
inline std::string Pak(const std::vector<std::string>& names) {
    std::string out = "PACK";
    const std::uint32_t dataStart = 12;
    PutLe32(out, dataStart + 4 * static_cast<std::uint32_t>(names.size()));
    PutLe32(out, 64 * static_cast<std::uint32_t>(names.size()));
    for (std::size_t i = 0; i < names.size(); ++i) out += "IBSP";
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::string field = names[i];
        field.resize(56, '\0');
        out += field;
        PutLe32(out, dataStart + 4 * static_cast<std::uint32_t>(i));
        PutLe32(out, 4);
    }
    return out;
}

inline std::string Name(const char* stem, int i) { return stem + std::to_string(i); }

struct Install {
    int maps = 0;  // map entries in all, before duplicates merge
};

// `scale` 1: 40,000 loose maps over both map directories, 300 archives of 200 maps, 5% of the
// entries naming a map found elsewhere as well, a 5,000-entry maps.lst, a 1,000-map rotation.
// Without writeFiles only the description is made (for an install kept from an earlier run).
inline Install Generate(const stdfs::path& root, int scale, bool writeFiles) {
    Install install;
    auto Write = [writeFiles](const stdfs::path& p, const std::string& s) {
        if (writeFiles) bench::Write(p, s);
    };
    const int loosePerDir = 20000 * scale;
    const int archives = 300 * scale;
    const int perArchive = 200;
    // 5% of the 100,000 entries name a map found in a second place: among the base game's loose
    // maps one in 40 is also a loose map of the mod (500), and of every 40 archive entries two
    // name a loose map (3,000) and one a map of an earlier archive (1,500).
    for (int i = 0; i < loosePerDir; ++i) {
        Write(root / "action/maps" / (Name("mod", i) + ".bsp"), "IBSP");
        const std::string base = (i % 40 == 0) ? Name("mod", i + 1) : Name("base", i);
        Write(root / "baseq2/maps" / (base + ".bsp"), "IBSP");
    }
    int entry = 0;
    for (int a = 0; a < archives; ++a) {
        std::vector<std::string> names;
        for (int k = 0; k < perArchive; ++k, ++entry) {
            std::string map;
            if (entry % 40 == 0) map = Name("mod", (entry / 40) % loosePerDir);
            else if (entry % 40 == 20) map = Name("mod", (entry / 40 + loosePerDir / 2) % loosePerDir);
            else if (entry % 40 == 1 && entry > 200) map = Name("pak", entry - 200);
            else map = Name("pak", entry);
            names.push_back("maps/" + map + ".bsp");
            if (k % 50 == 0) names.push_back("sound/ambient" + std::to_string(entry) + ".wav");
        }
        const char* dir = a % 2 ? "baseq2" : "action";
        if (writeFiles) Write(root / dir / ("pak" + std::to_string(a + 1) + ".pak"), Pak(names));
    }
    install.maps = 2 * loosePerDir + archives * perArchive;
    std::string catalogue;
    for (int i = 0; i < 5000 * scale; ++i) {
        const std::string map = i % 5 == 0 ? Name("listed", i) : Name("pak", i * 7);
        catalogue += map + " \"Map number " + std::to_string(i) + ", the big one\"\r\n";
    }
    Write(root / "action/maps.lst", catalogue);
    std::string ini = "[team1]\r\nRed\r\nmale/grunt\r\n###\r\n[team2]\r\nBlue\r\nfemale/jezebel\r\n###\r\n[maplist]\r\n";
    for (int i = 0; i < 1000 * scale; ++i) {
        ini += (i % 2 ? Name("mod", i * 3) : Name("pak", i * 11)) + "\r\n";
    }
    Write(root / "action/action.ini", ini + "###\r\n");
    return install;
}

}  // namespace tolvane::bench
