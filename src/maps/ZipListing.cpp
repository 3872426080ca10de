#include "maps/ZipListing.h"

#include <algorithm>

#include "maps/PakFormat.h"
#include "platform/ReadOnlyFile.h"

#if TOLVANE_HAVE_LIBZIP
#include <zip.h>
#endif

namespace tolvane::maps {

namespace {

constexpr std::size_t kEndRecordSize = 22;       // "PK\5\6" and its fields, without the comment
constexpr std::size_t kMaxCommentSize = 65535;
constexpr std::size_t kLocatorSize = 20;         // "PK\6\7": where the 64-bit end record is
constexpr std::size_t kEnd64RecordSize = 56;     // "PK\6\6" and its fields
constexpr std::uint64_t kDirectoryEntrySize = 46;  // the least a central directory entry takes

std::uint64_t Le(std::string_view bytes, std::size_t at, int size) {
    std::uint64_t v = 0;
    for (int i = size - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return v;
}

// Whether a 64-bit end record's claims fit the file. A record the reader cannot find or read
// claims nothing (the zip reader then refuses the archive itself).
bool End64ClaimsFit(const ArchiveReader& read, std::uint64_t at, std::uint64_t fileSize) {
    if (at > fileSize || fileSize - at < kEnd64RecordSize) return true;
    std::string record;
    if (!read(at, kEnd64RecordSize, record) || record.size() < kEnd64RecordSize) return true;
    if (record.compare(0, 4, "PK\x06\x06") != 0) return true;
    const std::uint64_t entries = std::max(Le(record, 24, 8), Le(record, 32, 8));
    const std::uint64_t size = Le(record, 40, 8);
    const std::uint64_t offset = Le(record, 48, 8);
    if (entries > kMaxArchiveEntries) return false;
    if (entries > size / kDirectoryEntrySize) return false;
    return offset <= fileSize && size <= fileSize - offset;
}

#if TOLVANE_HAVE_LIBZIP
// Every name of an opened archive, raw bytes: names stay 8-bit text, as every other name the
// program reads. Opened read-only: nothing is written back.
bool ListOpened(zip_t* zip, std::vector<std::string>& names) {
    const zip_int64_t count = zip_get_num_entries(zip, 0);
    if (count > 0) names.reserve(std::min<std::size_t>(static_cast<std::size_t>(count), kMaxArchiveEntries));
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* name = zip_get_name(zip, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
        if (name) names.emplace_back(name);
    }
    zip_discard(zip);
    return true;
}
#endif

}  // namespace

bool ZipClaimsFit(const ArchiveReader& read, std::uint64_t fileSize) {
    const std::uint64_t tailSize = std::min<std::uint64_t>(fileSize, kEndRecordSize + kMaxCommentSize + kLocatorSize);
    const std::uint64_t tailStart = fileSize - tailSize;
    std::string tail;
    if (!read(tailStart, static_cast<std::size_t>(tailSize), tail)) return true;
    // Each end record found, from the last back, as the zip reader tries them; one that comes
    // with a locator is read through its 64-bit record.
    for (std::size_t at = tail.size() < kEndRecordSize ? 0 : tail.size() - kEndRecordSize + 1; at-- > 0;) {
        if (tail.compare(at, 4, "PK\x05\x06") != 0) continue;
        if (at < kLocatorSize || tail.compare(at - kLocatorSize, 4, "PK\x06\x07") != 0) continue;
        if (!End64ClaimsFit(read, Le(tail, at - kLocatorSize + 8, 8), fileSize)) return false;
    }
    return true;
}

bool ListZipEntries(const std::filesystem::path& archive, std::vector<std::string>& names) {
    names.clear();
#if !TOLVANE_HAVE_LIBZIP
    // Built without libzip: zip archives are not read, as if there were none.
    (void)archive;
    return false;
#else
    {
        const platform::ReadOnlyFile file(archive);
        const auto size = file.size();
        if (!size) return false;
        const auto read = [&file](std::uint64_t offset, std::size_t length, std::string& out) {
            return file.readAt(offset, length, out);
        };
        if (!ZipClaimsFit(read, *size)) return false;
    }
    int error = 0;
    zip_t* zip = zip_open(archive.string().c_str(), ZIP_RDONLY, &error);
    if (!zip) return false;
    return ListOpened(zip, names);
#endif
}

bool ListZipEntriesOfBytes(std::string_view archive, std::vector<std::string>& names) {
    names.clear();
    const auto read = [archive](std::uint64_t offset, std::size_t length, std::string& out) {
        if (offset > archive.size()) return false;
        out.assign(archive.substr(static_cast<std::size_t>(offset), length));
        return true;
    };
    if (!ZipClaimsFit(read, archive.size())) return false;
#if !TOLVANE_HAVE_LIBZIP
    return false;
#else
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(archive.data(), archive.size(), 0, &error);
    zip_t* zip = source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
    if (!zip && source) zip_source_free(source);
    zip_error_fini(&error);
    if (!zip) return false;
    return ListOpened(zip, names);
#endif
}

}  // namespace tolvane::maps
