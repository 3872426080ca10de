#pragma once
// Game archives written by the tests themselves: PAK archives (through the project's own PAK
// writer) and zip archives (through libzip), from lists of entry names.
#include <gtest/gtest.h>

#if TOLVANE_HAVE_LIBZIP
#include <zip.h>
// Tests of zip archives run only where the program reads them.
#define TOLVANE_NEEDS_ZIP() (void)0
#else
#define TOLVANE_NEEDS_ZIP() GTEST_SKIP() << "built without libzip: zip archives are not scanned"
#endif

#include <filesystem>
#include <string>
#include <vector>

#include "pak_format.h"

namespace tolvane::test {

// A PAK archive whose entries hold a few bytes each.
inline std::string PakBytes(const std::vector<std::string>& names) {
    std::vector<tools::PakEntry> entries;
    for (const auto& n : names) entries.push_back({n, "IBSP"});
    return tools::BuildPak(entries);
}

// Writes a zip archive at `path` with one small stored entry per name; false when libzip fails.
inline bool WriteZip(const std::filesystem::path& path, const std::vector<std::string>& names) {
    std::filesystem::create_directories(path.parent_path());
#if !TOLVANE_HAVE_LIBZIP
    (void)names;
    return false;
#else
    int error = 0;
    zip_t* zip = zip_open(path.string().c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!zip) return false;
    static const char kData[] = "IBSP";
    for (const auto& name : names) {
        zip_source_t* src = zip_source_buffer(zip, kData, sizeof kData - 1, 0);
        if (!src || zip_file_add(zip, name.c_str(), src, ZIP_FL_ENC_RAW) < 0) {
            if (src) zip_source_free(src);
            zip_discard(zip);
            return false;
        }
    }
    return zip_close(zip) == 0;
#endif
}

}  // namespace tolvane::test
