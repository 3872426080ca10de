#include "state/MotdFormat.h"

namespace tolvane {

std::string BuildMotd(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16 + 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            out += "\r\n";
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += c;
        }
    }
    if (out.empty() || out.back() != '\n') out += "\r\n";
    return out;
}

}  // namespace tolvane
