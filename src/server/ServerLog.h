#pragma once
// What a running game server prints: the last lines in memory for the editor's panel, and
// everything in a log file beside the mod's configuration, rotated so it never grows unbounded.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <string>
#include <string_view>

namespace tolvane::server {

class ServerLog {
public:
    static constexpr std::size_t kDefaultMaxLines = 10000;
    static constexpr std::uintmax_t kDefaultRotateBytes = 1024 * 1024;
    // A line that never ends is cut at this length, so that memory stays bounded.
    static constexpr std::size_t kMaxLineLength = 64 * 1024;

    // file: where everything is appended (nothing is written when empty). Once the file has
    // reached rotateBytes it is renamed to file + ".1" (replacing the older one) and a new one
    // is begun.
    explicit ServerLog(std::filesystem::path file = {}, std::size_t maxLines = kDefaultMaxLines,
                       std::uintmax_t rotateBytes = kDefaultRotateBytes);
    ~ServerLog();
    ServerLog(const ServerLog&) = delete;
    ServerLog& operator=(const ServerLog&) = delete;

    // Output as it arrives: split into lines on "\n" (a "\r" before it is dropped); the text
    // after the last "\n" waits for the rest of its line.
    void append(std::string_view bytes);
    // A line of the editor's own (start, stop, exit) between the server's lines; a partial line
    // waiting is ended first.
    void note(const std::string& line);
    // Ends a partial last line, when the output has ended for good.
    void finish();

    // The last maxLines complete lines, oldest first.
    const std::deque<std::string>& lines() const { return lines_; }
    const std::string& partialLine() const { return partial_; }
    // Every complete line ever received (a panel compares it to see how many lines are new).
    std::uint64_t lineCount() const { return lineCount_; }
    const std::filesystem::path& file() const { return file_; }
    // Why the last write of the log file failed ("" while writing works). The lines stay in
    // memory either way; a failed write never stops anything.
    const std::string& writeProblem() const { return writeProblem_; }
    // Why the last rotation failed ("" once one has worked).
    const std::string& rotateProblem() const { return rotateProblem_; }

private:
    void addLine(std::string line);
    void write(std::string_view bytes);
    bool openFile();
    void rotate();
    void closeFile();

    std::filesystem::path file_;
    std::size_t maxLines_;
    std::uintmax_t rotateBytes_;
    std::uintmax_t rotateAt_;
    std::deque<std::string> lines_;
    std::string partial_;
    std::uint64_t lineCount_ = 0;
    std::FILE* out_ = nullptr;
    std::uintmax_t fileSize_ = 0;
    std::string writeProblem_;
    std::string rotateProblem_;
};

}  // namespace tolvane::server
