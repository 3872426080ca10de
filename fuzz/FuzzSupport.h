#pragma once
// What every fuzz target shares: a context whose messages go nowhere (the readers show messages
// for refused values; a fuzzer must not wait for anyone), and the stop on a failed check.
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "state/AppState.h"

namespace tolvane::fuzz {

class SilentDialogs : public platform::Dialogs {
public:
    void message(const std::string&, const std::string&) override {}
    std::optional<std::string> input(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    void showModal(platform::DialogModel& dialog) override { dialog.closedByFrame(); }
};

struct SilentContext {
    // The readers under test never touch a file; the root only has to exist as a value.
    platform::FileSystem fs{"/nonexistent-tolvane-fuzz-root"};
    SilentDialogs dialogs;
    platform::NullProgress progress;
    AppState state;
    Context ctx{fs, dialogs, progress, state};
};

// A second save must give the bytes of the first: otherwise every save would change the file.
inline void RequireSameSave(const std::string& first, const std::string& second) {
    if (first == second) return;
    // The lines around the first difference, with unprintable bytes escaped.
    std::size_t at = 0;
    while (at < first.size() && at < second.size() && first[at] == second[at]) ++at;
    const std::size_t from = first.rfind('\n', at) == std::string::npos ? 0 : first.rfind('\n', at) + 1;
    const auto show = [from](const char* label, const std::string& s) {
        std::fprintf(stderr, "%s: ", label);
        for (std::size_t i = from; i < s.size() && i < from + 160; ++i) {
            const unsigned char c = static_cast<unsigned char>(s[i]);
            if (c >= 32 && c < 127) std::fputc(c, stderr);
            else std::fprintf(stderr, "\\x%02x", c);
        }
        std::fputc('\n', stderr);
    };
    std::fprintf(stderr, "second save differs from the first at byte %zu\n", at);
    show("first ", first);
    show("second", second);
    std::abort();
}

// Loads and saves the input, then loads and saves what that save wrote: the two must agree.
template <typename LoadAndSave>
void RequireStableSave(const std::uint8_t* data, std::size_t size, LoadAndSave&& loadAndSave) {
    const std::string first = loadAndSave(std::string(reinterpret_cast<const char*>(data), size));
    RequireSameSave(first, loadAndSave(first));
}

}  // namespace tolvane::fuzz
