#include "server/ServerLog.h"

#include <cerrno>
#include <system_error>
#include <utility>

namespace tolvane::server {

namespace fs = std::filesystem;

namespace {
std::string reasonFor(int err) { return std::generic_category().message(err); }

std::FILE* openForAppend(const fs::path& p) {
#ifdef _WIN32
    return _wfopen(p.c_str(), L"ab");
#else
    return std::fopen(p.c_str(), "ab");
#endif
}
}  // namespace

ServerLog::ServerLog(fs::path file, std::size_t maxLines, std::uintmax_t rotateBytes)
    : file_(std::move(file)), maxLines_(maxLines == 0 ? 1 : maxLines), rotateBytes_(rotateBytes),
      rotateAt_(rotateBytes) {}

ServerLog::~ServerLog() { closeFile(); }

void ServerLog::append(std::string_view bytes) {
    if (bytes.empty()) return;
    write(bytes);
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) {
            partial_.append(bytes.substr(start));
            // A line that never ends is cut into pieces rather than kept growing.
            while (partial_.size() >= kMaxLineLength) {
                addLine(partial_.substr(0, kMaxLineLength));
                partial_.erase(0, kMaxLineLength);
            }
            break;
        }
        partial_.append(bytes.substr(start, end - start));
        if (!partial_.empty() && partial_.back() == '\r') partial_.pop_back();
        addLine(std::move(partial_));
        partial_.clear();
        start = end + 1;
    }
}

void ServerLog::note(const std::string& line) {
    finish();
    write(line + "\n");
    addLine(line);
}

void ServerLog::finish() {
    if (partial_.empty()) return;
    // The file already holds the partial text: only its line end is missing.
    write("\n");
    if (partial_.back() == '\r') partial_.pop_back();
    addLine(std::move(partial_));
    partial_.clear();
}

void ServerLog::addLine(std::string line) {
    lines_.push_back(std::move(line));
    while (lines_.size() > maxLines_) lines_.pop_front();
    ++lineCount_;
}

void ServerLog::write(std::string_view bytes) {
    if (file_.empty()) return;
    if (out_ && fileSize_ >= rotateAt_) rotate();
    if (!out_ && !openFile()) return;
    errno = 0;
    const std::size_t written = std::fwrite(bytes.data(), 1, bytes.size(), out_);
    fileSize_ += written;
    // Flushed at once: the file is for reading while the server runs.
    if (written != bytes.size() || std::fflush(out_) != 0) {
        writeProblem_ = "cannot write " + file_.string() + ": " + reasonFor(errno ? errno : EIO);
        // Opened afresh next time: the cause (a full disk, a removed folder) may have gone.
        closeFile();
        return;
    }
    writeProblem_.clear();
}

bool ServerLog::openFile() {
    errno = 0;
    out_ = openForAppend(file_);
    if (!out_) {
        writeProblem_ = "cannot open " + file_.string() + ": " + reasonFor(errno ? errno : EIO);
        return false;
    }
    std::error_code ec;
    const auto size = fs::file_size(file_, ec);
    fileSize_ = ec ? 0 : size;
    if (fileSize_ >= rotateAt_) {
        rotate();
        return out_ != nullptr;
    }
    return true;
}

// The full file becomes the one old generation; writing goes on in a new file. When the rename
// fails the current file goes on growing rather than lose lines, and the rename is tried again
// once it has grown by as much again.
void ServerLog::rotate() {
    closeFile();
    fs::path old = file_;
    old += ".1";
    std::error_code ec;
    fs::rename(file_, old, ec);
    if (ec) {
        rotateProblem_ = "cannot rotate " + file_.string() + " to " + old.string() + ": " + ec.message();
        rotateAt_ = fileSize_ + rotateBytes_;
    } else {
        rotateProblem_.clear();
        rotateAt_ = rotateBytes_;
    }
    errno = 0;
    out_ = openForAppend(file_);
    if (!out_) {
        writeProblem_ = "cannot open " + file_.string() + ": " + reasonFor(errno ? errno : EIO);
        return;
    }
    const auto size = fs::file_size(file_, ec);
    fileSize_ = ec ? 0 : size;
}

void ServerLog::closeFile() {
    if (out_) std::fclose(out_);
    out_ = nullptr;
}

}  // namespace tolvane::server
