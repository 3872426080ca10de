// Values of the server configuration holding a double quote: typing one is refused, but a value
// read from the file is the operator's and goes back out as it was written.
#include <fstream>
#include <sstream>

#include "settings/QuotedText.h"
#include "settings/ServerCfgReader.h"
#include "settings/ServerCfgWriter.h"
#include "state/TextReaders.h"
#include "support/TestSupport.h"

namespace tolvane::settings {
namespace {

struct QuotedValues : test::CoreFixture {
    ServerFields f;
    form::Grid scripts{"ScriptList"};
    form::Grid maps{"MapIni"};

    QuotedValues() {
        ConnectServerFields(ctx, f);
        state.strServerCfgFileName = "server.cfg";
        state.strActionIniFileName = "action.ini";
        dir.mkdir("action");
    }
    void Load(const std::string& content) {
        dir.write("action/server.cfg", content);
        ReadServerCfg(ctx, f, scripts, "server.cfg");
    }
    std::string Save() {
        EXPECT_TRUE(WriteServerCfg(ctx, f, scripts, maps));
        return dir.read("action/" + state.strServerCfgFileName);
    }
    static bool HasLine(const std::string& content, const std::string& line) {
        for (const std::string& l : SplitLines(content))
            if (l == line) return true;
        return false;
    }
};

TEST_F(QuotedValues, ValuesReadWithAQuoteAreKeptAndWrittenBackAsRead) {
    const std::vector<std::string> quoted = {
        "rcon_password se\"cret",
        "hostname \"The \"Best\" Server\"",
        "set Admin Sam\"X",
        "set WebSite http://aq.example/\"a\"",
    };
    std::string content = "// my server\r\n";
    for (const std::string& line : quoted) content += line + "\r\n";
    Load(content);
    EXPECT_EQ(f.Password.text(), "se\"cret");
    EXPECT_EQ(f.HostName.text(), "The \"Best\" Server");
    EXPECT_EQ(f.AdminName.text(), "Sam\"X");
    EXPECT_EQ(f.WebSite.text(), "http://aq.example/\"a\"");
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messages[0].text;

    const std::string saved = Save();
    for (const std::string& line : quoted) EXPECT_TRUE(HasLine(saved, line)) << line << " missing from\n" << saved;
    EXPECT_FALSE(HasLine(saved, "rcon_password \"\""));  // the remote console stays on
    EXPECT_FALSE(HasLine(saved, "hostname \"Action Quake Server\""));

    // Read again, the same values; saved again, the same file.
    ReadServerCfg(ctx, f, scripts, "server.cfg");
    EXPECT_EQ(f.Password.text(), "se\"cret");
    EXPECT_EQ(Save(), saved);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(QuotedValues, RealConfigurationWithAQuotedPasswordKeepsIt) {
    const auto corpus = test::CorpusDir();
    if (corpus.empty()) GTEST_SKIP() << "no corpus";
    const auto path = corpus / "aq2-tng__aq2-tng" / "action__config__aq2_tp.cfg";
    if (!std::filesystem::exists(path)) GTEST_SKIP() << "no " << path;
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    std::string content = bytes.str();
    const std::string original = "rcon_password ***changeme***";
    const std::size_t at = content.find(original);
    ASSERT_NE(at, std::string::npos);
    content.replace(at, original.size(), "rcon_password chan\"geme");

    Load(content);
    EXPECT_EQ(f.Password.text(), "chan\"geme");
    EXPECT_EQ(f.HostName.text(), "-= ActionQuake TP =-");
    EXPECT_TRUE(dialogs.messages.empty());
    const std::string saved = Save();
    EXPECT_TRUE(HasLine(saved, "rcon_password chan\"geme"));
    EXPECT_TRUE(HasLine(saved, "hostname \"-= ActionQuake TP =-\""));
}

TEST_F(QuotedValues, TypingAQuoteIsStillRefusedButEditingAReadOneIsNot) {
    Load("rcon_password se\"cret\r\n");
    // An edit that adds no double quote is taken; the line read no longer gives the value, so
    // the writer's own form is used.
    f.Password.setText("se\"cret2");
    EXPECT_EQ(f.Password.text(), "se\"cret2");
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(HasLine(Save(), "rcon_password se\"cret2"));

    // A new double quote is refused, in a value read with one as in an empty one.
    f.Password.setText("se\"cret\"2");
    EXPECT_EQ(f.Password.text(), "se\"cret2");
    f.AdminName.setText("Sam \"X\"");
    EXPECT_EQ(f.AdminName.text(), "");
    EXPECT_EQ(dialogs.texts(),
              (std::vector<std::string>{DoubleQuoteRefusal("Password"), DoubleQuoteRefusal("Administrator Name")}));
    // The same rule answers before a text is set (the command line asks it).
    EXPECT_EQ(f.AdminName.typingRefusal("Sam \"X\""), DoubleQuoteRefusal("Administrator Name"));
    EXPECT_EQ(f.Password.typingRefusal("x\"y"), "");  // no more quotes than it holds now
    EXPECT_EQ(f.Password.typingRefusal("x\"y\""), DoubleQuoteRefusal("Password"));
}

TEST_F(QuotedValues, AValueKeptFromAnotherFileIsWrittenAsItsLine) {
    Load("set e-mail op\"s@aq.example\r\n");
    ASSERT_EQ(f.Email.text(), "op\"s@aq.example");
    // A new configuration file: the field still holds what that line gave.
    state.strServerCfgFileName = "ctf.cfg";
    dir.write("action/ctf.cfg", "set fraglimit 30\r\n");
    ReadServerCfg(ctx, f, scripts, "ctf.cfg");
    EXPECT_EQ(f.Email.text(), "op\"s@aq.example");
    EXPECT_TRUE(HasLine(Save(), "set e-mail op\"s@aq.example"));
}

}  // namespace
}  // namespace tolvane::settings
