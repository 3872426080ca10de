#pragma once
// PLACEHOLDER until the server settings land: the server settings fields.
#include "form/Controls.h"
#include "form/Form.h"
#include "state/AppState.h"

namespace tolvane::settings {

struct ServerFields {
    form::TextBox HostName{"HostName"};
};

inline void RegisterServerFields(form::Form& form, ServerFields& f) { form.add(f.HostName); }
inline void ConnectServerFields(const Context&, ServerFields&) {}

}  // namespace tolvane::settings
