#pragma once
// The two ways the editor reads its text files: line by line, and as a stream of fields.
#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

// ASCII letters in lower case; other bytes unchanged (file text is 8-bit, and the case rules of
// the files are those of plain ASCII names).
std::string LowerCase(std::string text);
// The same for one character.
inline char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
// Equal when compared ignoring ASCII case.
bool EqualsIgnoringCase(const std::string& a, const std::string& b);

// Splits file content into lines. CR LF, a lone CR and a lone LF each end a line; a final line
// without a line end is still a line; no empty line is produced after a final line end.
std::vector<std::string> SplitLines(const std::string& content);
// The same lines handed to f one at a time, as views into the content.
template <typename F>
void ForEachLine(std::string_view content, F&& f) {
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = start;
        while (end < content.size() && content[end] != '\r' && content[end] != '\n') ++end;
        f(content.substr(start, end - start));
        if (end == content.size()) break;
        start = end + 1;
        if (content[end] == '\r' && start < content.size() && content[start] == '\n') ++start;
    }
}

// Reads content as a stream of comma-separated fields. Blanks before a field are skipped; a
// field starting with a double quote runs to the closing quote (the quotes are dropped, and
// anything after the closing quote up to the next comma or line end is discarded; two double
// quotes in a row inside it stand for one, so a command line holding quotes reads back
// unchanged); any other
// field runs to the next comma or line end and loses its trailing blanks. Lines holding
// nothing but blanks yield no field; a comma is always followed by a field, so "a,b," at a
// line end holds three fields, the last one empty.
class FieldReader {
public:
    explicit FieldReader(std::string content) : data_(std::move(content)) {}
    // Next field; false at the end of the content.
    bool next(std::string& field);
    bool atEnd();

private:
    void skipBlankLines();
    std::string data_;
    std::size_t pos_ = 0;
    bool afterComma_ = false;
};

// Writes fields each enclosed in double quotes, separated by commas, a line ended by CR LF.
// A double quote inside a field is written twice, which FieldReader reads back as one.
std::string FieldLine(const std::vector<std::string>& fields);


}  // namespace tolvane
