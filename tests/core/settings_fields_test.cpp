// Server settings fields: the text-spinner coupling of their numeric fields, the game flags,
// start values and the registry of controls.
#include <set>
#include <sstream>

#include "form/Form.h"
#include "settings/Dmflags.h"
#include "settings/ServerFields.h"
#include "support/TestSupport.h"

namespace tolvane::settings {
namespace {

struct SettingsFields : test::CoreFixture {
    ServerFields f;
    SettingsFields() { ConnectServerFields(ctx, f); }

    // Types text one character at a time, as a user's keystrokes change the box.
    static void Type(form::NumericField& field, const std::string& text) {
        std::string typed;
        for (char c : text) {
            typed += c;
            field.setText(typed);
        }
    }
};

TEST_F(SettingsFields, StartValuesAndSpinnersAgree) {
    EXPECT_EQ(f.HostName.text(), "Action Quake Server");
    EXPECT_EQ(f.Password.text(), "");
    EXPECT_EQ(f.MaxClients.text(), "10");
    EXPECT_EQ(f.MaxClients.scroll.value(), 10);
    EXPECT_EQ(f.MaxClients.scroll.max(), 255);
    EXPECT_EQ(f.Port.text(), "27910");
    EXPECT_EQ(f.Port.scroll.value(), 27910);
    EXPECT_EQ(f.Port.scroll.max(), 65535);
    EXPECT_EQ(f.TimeOut.scroll.smallChange(), 10);
    EXPECT_EQ(f.TimeMOTD.scroll.smallChange(), 2);
    EXPECT_EQ(f.KnifeLimit.scroll.value(), 40);
    for (form::NumericField* n : f.numericFields()) {
        EXPECT_EQ(std::to_string(n->scroll.value()), n->text()) << n->name();
        EXPECT_EQ(n->scroll.name(), n->name() + "Scroll");
    }
    EXPECT_EQ(f.RotateMaps.value(), 1);
    EXPECT_EQ(f.Scores.value(), 1);
    EXPECT_EQ(f.ShowHUD.value(), 1);
    EXPECT_EQ(f.CheckUseVoice.value(), 1);
    EXPECT_EQ(f.TeamPlay.value(), 0);
    EXPECT_EQ(EncodeDmflags(f), 256);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SettingsFields, EveryControlIsRegisteredAndPlacedOnATab) {
    form::Form form;
    RegisterServerFields(form, f);
    std::ostringstream out;
    form.dump(out);
    std::set<std::string> dumped;
    std::istringstream lines(out.str());
    for (std::string line; std::getline(lines, line);) dumped.insert(line.substr(0, line.find('=')));

    const std::set<std::string> tabs = {"Server 1", "Server 2", "Server 3", "Game Spy", "Teams 1"};
    std::set<std::string> placed;
    for (const FieldPlace& p : ServerFieldPlaces()) {
        EXPECT_TRUE(tabs.count(p.tab)) << p.name;
        EXPECT_TRUE(placed.insert(p.name).second) << "placed twice: " << p.name;
        EXPECT_TRUE(dumped.count(p.name)) << "not registered: " << p.name;
    }
    for (const std::string& name : dumped)
        // Spinners stand beside their boxes: the map-voting VScrollN beside TextN.
        if (name.find("Scroll") == std::string::npos) {
            EXPECT_TRUE(placed.count(name)) << name;
        }
    EXPECT_EQ(placed.size(), 52u);
    EXPECT_TRUE(dumped.count("PortScroll"));
    // --set refuses what typing would cut down, and the field keeps its value.
    EXPECT_EQ(form.set("MaxClients", "300"), "The maximum value is 255");
    EXPECT_EQ(f.MaxClients.text(), "10");
    EXPECT_EQ(form.set("MaxClients", "99999999999"), "You cannot enter a number that large!");
    EXPECT_EQ(form.set("MaxClients", "255"), "");  // goes through the coupling
    EXPECT_EQ(f.MaxClients.scroll.value(), 255);
}

TEST_F(SettingsFields, TypingAboveTheBoundIsRefusedAndSelected) {
    Type(f.MaxClients, "300");
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"The maximum value is 255"});
    EXPECT_EQ(f.MaxClients.text(), "255");
    EXPECT_EQ(f.MaxClients.scroll.value(), 255);
    EXPECT_EQ(f.MaxClients.box.selStart(), 0);
    EXPECT_EQ(f.MaxClients.box.selLength(), 3);
}

TEST_F(SettingsFields, SpinnerFollowsEachKeystroke) {
    std::vector<int> seen;
    f.MaxClients.scroll.changed.attach([&] { seen.push_back(f.MaxClients.scroll.value()); });
    Type(f.MaxClients, "30");
    EXPECT_EQ(seen, (std::vector<int>{3, 30}));
    EXPECT_EQ(f.MaxClients.text(), "30");  // the spinner's echo does not rewrite the text
}

TEST_F(SettingsFields, NegativeFractionalAndNonNumbersLeaveTheSpinner) {
    f.FragLimit.setText("-5");
    EXPECT_EQ(f.FragLimit.text(), "-5");
    EXPECT_EQ(f.FragLimit.scroll.value(), 0);
    f.FragLimit.setText("12.5");
    EXPECT_EQ(f.FragLimit.text(), "12.5");
    EXPECT_EQ(f.FragLimit.scroll.value(), 12);
    f.FragLimit.setText("abc");
    EXPECT_EQ(f.FragLimit.scroll.value(), 12);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SettingsFields, NumberTooLargeFor32BitsShrinksUntilItFits) {
    f.FragLimit.setText("99999999999");
    EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{"You cannot enter a number that large!",
                                                         "The maximum value is 32767"}));
    EXPECT_EQ(f.FragLimit.text(), "32767");
    EXPECT_EQ(f.FragLimit.scroll.value(), 32767);
    EXPECT_EQ(f.FragLimit.box.selLength(), 5);
}

TEST_F(SettingsFields, ArrowsStepTheTextAndSelectIt) {
    int focus = 0;
    f.TimeLimit.box.focusRequested.attach([&] { ++focus; });
    f.TimeLimit.setText("abc");
    f.TimeLimit.scroll.stepUp();
    EXPECT_EQ(f.TimeLimit.text(), "5");
    EXPECT_EQ(f.TimeLimit.box.selLength(), 1);
    EXPECT_EQ(focus, 1);
    f.TimeLimit.scroll.stepUp();
    EXPECT_EQ(f.TimeLimit.text(), "10");
    f.TimeLimit.scroll.stepDown();
    f.TimeLimit.scroll.stepDown();
    f.TimeLimit.scroll.stepDown();
    EXPECT_EQ(f.TimeLimit.text(), "0");  // stops at the lower bound
    EXPECT_EQ(focus, 4);                  // the third step down changed nothing

    f.MaxClients.setText("255");
    int changes = 0;
    f.MaxClients.scroll.changed.attach([&] { ++changes; });
    f.MaxClients.box.changed.attach([&] { ++changes; });
    f.MaxClients.scroll.stepUp();  // already at the bound: no change at all
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SettingsFields, HiddenBoxIsNotFocused) {
    int focus = 0;
    f.Port.box.focusRequested.attach([&] { ++focus; });
    f.Port.box.setVisible(false);
    f.Port.scroll.stepUp();
    EXPECT_EQ(f.Port.text(), "27911");
    EXPECT_EQ(focus, 0);
    EXPECT_EQ(f.Port.box.selLength(), 0);
}

TEST_F(SettingsFields, PortTakesTheWholeUdpRange) {
    f.Port.setText("44444");
    EXPECT_EQ(f.Port.scroll.value(), 44444);
    f.Port.setText("65535");
    EXPECT_TRUE(dialogs.messages.empty());
    f.Port.setText("70000");
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"The maximum value is 65535"});
    EXPECT_EQ(f.Port.text(), "65535");
}

TEST_F(SettingsFields, GameFlagsEncodeAndDecode) {
    for (form::CheckBox* b : {&f.GrenadesStay, &f.FallDamage, &f.SameMap, &f.FriendlyFire, &f.SpawnFarthest,
                              &f.ForceRespawn})
        b->setValue(0);
    EXPECT_EQ(EncodeDmflags(f), 264);
    for (form::CheckBox* b : {&f.GrenadesStay, &f.FallDamage, &f.SameMap, &f.FriendlyFire, &f.SpawnFarthest,
                              &f.ForceRespawn})
        b->setValue(1);
    EXPECT_EQ(EncodeDmflags(f), 1572);
    f.FallDamage.setValue(2);  // greyed counts as ticked
    EXPECT_EQ(EncodeDmflags(f), 1572);

    DecodeDmflags(f, 16);
    EXPECT_EQ(f.GrenadesStay.value(), 0);
    EXPECT_EQ(f.SameMap.value(), 0);
    EXPECT_EQ(f.FallDamage.value(), 1);
    EXPECT_EQ(f.FriendlyFire.value(), 1);
    EXPECT_EQ(EncodeDmflags(f), 0);  // bits the boxes do not stand for are dropped

    DecodeDmflags(f, 4 | 8 | 32 | 256 | 512 | 1024 | 16384);
    EXPECT_EQ(EncodeDmflags(f), 4 | 8 | 32 | 256 | 512 | 1024);
}

}  // namespace
}  // namespace tolvane::settings
