#include "teams/TeamFields.h"

#include "state/FileUtils.h"
#include "state/TextReaders.h"

namespace tolvane::teams {

TeamFields::TeamFields() {
    for (form::Button* b : viewerButtons()) {
        b->setCaption("AQSkinView");
        b->setToolTip("Preview the player models with skins");
    }
    SkinViewHelp.setVisible(false);
    SkinViewHelp.setCaption(
        "No skin viewer was found in the Quake 2 directory: install AQSkinView (an aqskinview "
        "directory) or MD2View (md2view.exe) to preview models and skins.");
}

void RegisterTeamFields(form::Form& form, TeamFields& fields) {
    for (form::ComboList* list : fields.modelLists()) form.add(*list);
    for (form::Button* b : fields.viewerButtons()) form.trackAppearance(*b);
    form.trackAppearance(fields.SkinViewHelp);
}

void DetectViewers(const platform::FileSystem& fs, TeamFields& fields) {
    if (DirExistsConst(fs, "aqskinview")) return;
    if (FileExists(fs, "md2view.exe")) {
        for (form::Button* b : fields.viewerButtons()) b->setCaption("MD2View");
        return;
    }
    for (form::Button* b : fields.viewerButtons()) b->setEnabled(false);
    fields.SkinViewHelp.setVisible(true);
}

void ListPlayerModels(const platform::FileSystem& fs, const std::string& modDir, TeamFields& fields) {
    auto addFrom = [&](std::string dir) {
        if (!DirExists(fs, dir)) return;
        for (const auto& name : fs.list(dir + "\\*.", true)) {
            const std::string model = LowerCase(name);
            if (model == "." || model == "..") continue;
            for (form::ComboList* list : fields.modelLists()) list->addItem(model);
        }
    };
    addFrom("baseq2\\players");
    addFrom(modDir + "\\players");
}

}  // namespace tolvane::teams
