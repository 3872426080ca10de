#include "state/TextReaders.h"

namespace tolvane {

std::string LowerCase(std::string text) {
    for (char& c : text) c = LowerAscii(c);
    return text;
}

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && LowerCase(a) == LowerCase(b);
}

std::vector<std::string> SplitLines(const std::string& content) {
    std::vector<std::string> lines;
    ForEachLine(content, [&lines](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

namespace {
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }
}  // namespace

// Skips line ends and lines that hold nothing but blanks, so that a blank line never shifts
// the fields of the records after it.
void FieldReader::skipBlankLines() {
    for (;;) {
        std::size_t p = pos_;
        while (p < data_.size() && data_[p] == ' ') ++p;
        if (p < data_.size() && IsLineEnd(data_[p])) {
            pos_ = p + 1;
            continue;
        }
        if (p >= data_.size()) pos_ = p;
        return;
    }
}

bool FieldReader::atEnd() {
    skipBlankLines();
    return pos_ >= data_.size();
}

bool FieldReader::next(std::string& field) {
    // A comma always has a field after it, even an empty one right before the line end or
    // the end of the content: dropping it would shift every later field by one.
    const bool fieldFollows = afterComma_;
    afterComma_ = false;
    if (!fieldFollows && atEnd()) return false;
    field.clear();
    while (pos_ < data_.size() && data_[pos_] == ' ') ++pos_;
    if (pos_ < data_.size() && data_[pos_] == '"') {
        ++pos_;
        while (pos_ < data_.size()) {
            const char c = data_[pos_];
            if (c == '"') {
                if (pos_ + 1 < data_.size() && data_[pos_ + 1] == '"') {
                    field += '"';
                    pos_ += 2;
                    continue;
                }
                ++pos_;
                break;
            }
            field += c;
            ++pos_;
        }
        // Whatever follows the closing quote up to the separator is not part of the field.
        while (pos_ < data_.size() && data_[pos_] != ',' && !IsLineEnd(data_[pos_])) ++pos_;
    } else {
        while (pos_ < data_.size() && data_[pos_] != ',' && !IsLineEnd(data_[pos_])) field += data_[pos_++];
        while (!field.empty() && field.back() == ' ') field.pop_back();
    }
    // Consume the separator: a comma, or one line end (CR LF counts as one).
    if (pos_ < data_.size()) {
        if (data_[pos_] == ',') {
            ++pos_;
            afterComma_ = true;
        } else if (data_[pos_] == '\r') {
            ++pos_;
            if (pos_ < data_.size() && data_[pos_] == '\n') ++pos_;
        } else if (data_[pos_] == '\n') {
            ++pos_;
        }
    }
    return true;
}

std::string FieldLine(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i) line += ',';
        line += '"';
        for (char c : fields[i]) {
            if (c == '"') line += "\"\"";
            else line += c;
        }
        line += '"';
    }
    line += "\r\n";
    return line;
}

}  // namespace tolvane
