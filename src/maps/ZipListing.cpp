#include "maps/ZipListing.h"

#if TOLVANE_HAVE_LIBZIP
#include <zip.h>
#endif

namespace tolvane::maps {

bool ListZipEntries(const std::filesystem::path& archive, std::vector<std::string>& names) {
    names.clear();
#if !TOLVANE_HAVE_LIBZIP
    // Built without libzip: zip archives are not read, as if there were none.
    (void)archive;
    return false;
#else
    int error = 0;
    zip_t* zip = zip_open(archive.string().c_str(), ZIP_RDONLY, &error);
    if (!zip) return false;
    const zip_int64_t count = zip_get_num_entries(zip, 0);
    if (count > 0) names.reserve(static_cast<std::size_t>(count));
    for (zip_int64_t i = 0; i < count; ++i) {
        // Raw bytes: names stay 8-bit text, as every other name the program reads.
        const char* name = zip_get_name(zip, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
        if (name) names.emplace_back(name);
    }
    // Opened read-only: nothing to write back.
    zip_discard(zip);
    return true;
#endif
}

}  // namespace tolvane::maps
