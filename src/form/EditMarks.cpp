#include "form/EditMarks.h"

namespace tolvane::form {

void EditMarks::watch(const Form& form) {
    form_ = &form;
    connections_ = form.watch([this](std::size_t k) {
        if (!isPending_[k]) {
            isPending_[k] = true;
            pending_.push_back(k);
        }
        touched.emit();
    });
    markSaved();
}

void EditMarks::markSaved() {
    const std::size_t n = form_ ? form_->watchedCount() : 0;
    saved_.resize(n);
    for (std::size_t k = 0; k < n; ++k) saved_[k] = {form_->digestOf(k), form_->rowCountOf(k)};
    pending_.clear();
    isPending_.assign(n, false);
    differs_.assign(n, false);
    differing_ = 0;
}

void EditMarks::settle() const {
    for (const std::size_t k : pending_) {
        isPending_[k] = false;
        // A grid whose row count moved differs without reading its rows.
        const int rows = form_->rowCountOf(k);
        const bool now = rows != saved_[k].rows || form_->digestOf(k) != saved_[k].digest;
        if (now != differs_[k]) {
            differs_[k] = now;
            now ? ++differing_ : --differing_;
        }
    }
    pending_.clear();
}

bool EditMarks::unsaved() const {
    settle();
    return differing_ > 0;
}

}  // namespace tolvane::form
