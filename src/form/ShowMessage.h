#pragma once
// How a form-level helper shows a message box without knowing the editor: the editor's context
// hands one of these over (Context::showMessage), tests may record the texts.
#include <functional>
#include <string>

namespace tolvane::form {

using ShowMessage = std::function<void(const std::string& text)>;

}  // namespace tolvane::form
