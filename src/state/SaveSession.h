#pragma once
// One save as a whole: everything a save writes (the registry from the save dialog, then every
// file of the save sequence) runs inside one session. The session holds the advisory lock on
// the mod directory, so two editors never save at once; it remembers the backups already made,
// so one save never overwrites a backup it has just made; and it records whether any write of
// the save failed, so the caller's result covers every writer.
#include <chrono>
#include <set>
#include <string>
#include <vector>

#include "platform/FileLock.h"

namespace tolvane {

struct Context;

struct SaveSession {
    int depth = 0;                 // scopes open now; the session ends with the outermost
    platform::FileLock lock;
    bool refused = false;          // the lock could not be had: this save writes nothing more
    bool failed = false;           // a write of this save failed (and was reported)
    std::set<std::string> backups; // backups made in this save, as lower-cased host paths
    std::vector<std::string> unchanged; // files whose new bytes were their old ones: left alone
    std::vector<std::string> notes;     // written, but something was not kept (owner, backup)
    std::vector<std::string> reloaded;  // read again from the disk instead of being written
    // A rehearsal of the save: the writers build their bytes and hand them in here instead of
    // writing, and show no message, so that every file can be checked before any is written.
    bool rehearsal = false;
    struct Planned {
        std::string target;
        std::string content;
        bool setAside = false;  // the file is to be moved to its backup name, not rewritten
        // Built from the file as it is now (the registry): no stale view can be written over
        // it, so the check of changed files before a save leaves it out.
        bool fromCurrentFile = false;
    };
    std::vector<Planned> planned;
    // How long a save waits for another one to finish before it gives up.
    std::chrono::milliseconds lockWait{5000};
};

// The lock file in the mod directory.
inline constexpr const char* kSaveLockName = "tolvane.lock";

// Opens a session (or joins the one open) for the lifetime of the scope. The first scope takes
// the lock at once, so nothing is read or written for the save before it is held; when another
// save keeps it past the wait, the user is told once and ok() is false.
class SaveScope {
public:
    explicit SaveScope(const Context& ctx);
    ~SaveScope();
    SaveScope(const SaveScope&) = delete;
    SaveScope& operator=(const SaveScope&) = delete;
    // The lock is held (or there is no mod directory to lock, which the writers report).
    bool ok() const;
    // No write of the session failed so far and the lock was had.
    bool succeeded() const;

private:
    const Context& ctx_;
};

}  // namespace tolvane
