#pragma once
// Which controls of a form differ from what was last read or saved, kept up to date by the
// controls' own change notifications. A change marks its control to be compared; the comparison
// (a digest of that one control) waits until someone asks, so a start-up that fills a grid row
// by row, or a typed word, costs one comparison per control asked about, not one per change.
// Undoing an edit clears its mark.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "form/Form.h"
#include "form/Signal.h"

namespace tolvane::form {

class EditMarks {
public:
    EditMarks() = default;
    EditMarks(const EditMarks&) = delete;
    EditMarks& operator=(const EditMarks&) = delete;

    // Watches every control of `form` (whose controls are all added by now); what they hold
    // now counts as saved.
    void watch(const Form& form);
    // What every control holds now is what was read or saved.
    void markSaved();
    // True while any control differs from what was read or saved.
    bool unsaved() const;

    // Fires on every change of a watched control, before anything is compared.
    Signal<> touched;

private:
    struct Saved {
        std::uint64_t digest = 0;
        int rows = -1;
    };
    void settle() const;

    const Form* form_ = nullptr;
    std::vector<Connection> connections_;
    std::vector<Saved> saved_;
    // Controls changed since last compared, each once; and which ones differ.
    mutable std::vector<std::size_t> pending_;
    mutable std::vector<bool> isPending_;
    mutable std::vector<bool> differs_;
    mutable std::size_t differing_ = 0;
};

}  // namespace tolvane::form
