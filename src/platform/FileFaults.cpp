// The fault seam the file steps ask (FileFaults.h): empty unless a test installs a hook.
#include "platform/FileFaults.h"

#include <utility>

namespace tolvane::platform {

namespace fs = std::filesystem;

namespace {

FileFaultHook& hookSlot() {
    static FileFaultHook hook;
    return hook;
}

}  // namespace

const char* FileOpName(FileOp op) {
    switch (op) {
        case FileOp::Create: return "create";
        case FileOp::ModeChange: return "mode change";
        case FileOp::Write: return "write";
        case FileOp::Flush: return "flush";
        case FileOp::Sync: return "sync";
        case FileOp::Close: return "close";
        case FileOp::Remove: return "remove";
        case FileOp::Link: return "link";
        case FileOp::Rename: return "rename";
        case FileOp::Open: return "open";
        case FileOp::Examine: return "examine";
    }
    return "?";
}

FileFaultHook SetFileFaultHook(FileFaultHook hook) {
    FileFaultHook old = std::move(hookSlot());
    hookSlot() = std::move(hook);
    return old;
}

int InjectedFault(FileOp op, const fs::path& path) {
    const FileFaultHook& hook = hookSlot();
    return hook ? hook(op, path) : 0;
}

}  // namespace tolvane::platform
