#include "teams/TeamFields.h"

#include <algorithm>

#include "form/Lists.h"
#include "state/FileUtils.h"
#include "state/TextReaders.h"

namespace tolvane::teams {

TeamFields::TeamFields() {
    for (form::Button* b : viewerButtons()) {
        b->setCaption("AQSkinView");
        b->setToolTip("Preview the player models with skins");
    }
    const char* ordinal[] = {"first", "second", "third"};
    for (std::size_t i = 0; i < 3; ++i) {
        nameBoxes()[i]->setText("Name");
        modelLists()[i]->setToolTip(std::string("Player model to use for ") + ordinal[i] + " team");
        skinLists()[i]->setToolTip(std::string("Player model skin to use for ") + ordinal[i] + " team");
    }
    Team1Name.setToolTip("Name of first team");
    Team2Name.setToolTip("Name of second team");
    Team3Name.setToolTip("Name of third team ");
    Team3Absent.setVisible(false);
    Team3Absent.setCaption("This action.ini has no third team: the mod plays with two. "
                           "Give team 3 a name, a model and a skin to add one.");
    SkinViewHelp.setVisible(false);
    SkinViewHelp.setCaption(
        "Support for AQSkinView or MD2View are both available here with the buttons below each team.  "
        "To enable the buttons, download AQSkinView and install it as a Mod, or download MD2View and copy "
        "the md2view.exe and glide.dll to your Quake2 directory.");
}

void TeamFields::SetNameAsRead(std::size_t i, const std::string& name) {
    namesFromFile = true;
    nameBoxes()[i]->setText(name);
    namesFromFile = false;
}

void TeamFields::ClearTeam3() {
    SetNameAsRead(2, "");
    // The extra model of a file read before leaves the list with it.
    if (std::string& extra = extraModel[2]; !extra.empty()) {
        std::vector<std::string> items = Team3Model.items();
        if (const auto at = std::find(items.begin(), items.end(), extra); at != items.end()) items.erase(at);
        Team3Model.setItems(std::move(items));
        extra.clear();
    }
    Team3Model.setSelectedIndex(-1);
    Team3Skin.setItems({});
}

void RegisterTeamFields(form::Form& form, TeamFields& fields) {
    for (std::size_t i = 0; i < 3; ++i) {
        form.add(*fields.nameBoxes()[i]);
        form.add(*fields.modelLists()[i]);
        form.add(*fields.skinLists()[i]);
    }
    for (form::Button* b : fields.viewerButtons()) form.trackAppearance(*b);
    form.trackAppearance(fields.SkinViewHelp);
    form.trackAppearance(fields.Team3Absent);
}

void DetectViewers(const platform::FileSystem& fs, TeamFields& fields) {
    if (DirExistsConst(fs, "aqskinview")) return;
    if (FileExists(fs, "md2view.exe")) {
        for (form::Button* b : fields.viewerButtons()) b->setCaption("MD2View");
        return;
    }
    for (form::Button* b : fields.viewerButtons()) {
        b->setEnabled(false);
        // A greyed button says what is missing.
        b->setToolTip("No viewer found: the Quake 2 directory holds neither an aqskinview directory nor md2view.exe");
    }
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

void ScanPlayerSkins(const Context& ctx, form::ComboList& list, const std::string& model) {
    std::vector<std::string> skins;
    // No model chosen: no skins (rather than the .pcx files of the players directory itself).
    if (model.empty()) {
        list.setItems({});
        return;
    }
    auto addFrom = [&](std::string dir) {
        if (!DirExists(ctx.fs, dir)) return;
        for (const auto& name : ctx.fs.list(dir + "\\*.pcx", true)) {
            if (name.size() < 4) continue;
            const std::string skin = LowerCase(name.substr(0, name.size() - 4));
            if (skin == "weapon" || skin == "." || skin == "..") continue;
            if (skin.size() >= 2 && skin.compare(skin.size() - 2, 2, "_i") == 0) continue;
            skins.push_back(skin);
        }
    };
    addFrom("baseq2\\players\\" + model);
    addFrom(ctx.state.strModDir + "\\players\\" + model);
    list.setItems(std::move(skins));
    form::SortList(ctx.showMessage(), list);
}

}  // namespace tolvane::teams
