// Real console scripts from server operators, read and written back: nothing may crash, every
// line the editor does not own must come back byte for byte and in order, and the values read
// must survive the round trip.
#include <algorithm>
#include <sstream>

#include "form/Form.h"
#include "settings/ServerCfgReader.h"
#include "settings/ServerCfgWriter.h"
#include "state/TextReaders.h"
#include "support/TestSupport.h"

namespace tolvane::settings {
namespace {

bool Owned(const std::string& line) {
    const auto s = SplitCfgLine(line);
    if (!s) return false;
    const auto& owned = OwnedServerVariables();
    return s->name == "exec" || s->name == "deathmatch" || s->name == "ininame" || s->name == "map" ||
           std::find(owned.begin(), owned.end(), s->name) != owned.end();
}

std::vector<std::string> ForeignLines(const std::string& content) {
    std::vector<std::string> out;
    for (const auto& line : SplitLines(content))
        if (!Owned(line)) out.push_back(line);
    return out;
}

bool AllLinesEndWithCrLf(const std::string& s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' && (i + 1 == s.size() || s[i + 1] != '\n')) return false;
        if (s[i] == '\n' && (i == 0 || s[i - 1] != '\r')) return false;
    }
    return s.size() >= 2 && s.compare(s.size() - 2, 2, "\r\n") == 0;
}

std::vector<std::filesystem::path> CorpusScripts() {
    std::vector<std::filesystem::path> files;
    const auto root = test::CorpusDir();
    if (root.empty()) return files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(root))
        if (e.is_regular_file() && e.path().extension() == ".cfg") files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(ServerCfgCorpus, RealScriptsSurviveLoadAndSave) {
    const auto files = CorpusScripts();
    if (files.empty()) GTEST_SKIP() << "no corpus of real configuration scripts beside the checkout";

    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        std::ifstream in(file, std::ios::binary);
        const std::string original((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

        test::TempDir dir;
        dir.write("action/server.cfg", original);
        platform::FileSystem fs{dir.path()};
        test::ScriptedDialogs dialogs;
        test::RecordingProgress progress;
        AppState state;
        state.strServerCfgFileName = "server.cfg";
        state.strActionIniFileName = "action.ini";
        Context ctx{fs, dialogs, progress, state};
        ServerFields f;
        ConnectServerFields(ctx, f);
        form::Grid scripts{"ScriptList"};
        form::Grid maps{"MapIni"};
        form::Form form;
        RegisterServerFields(form, f);
        form.add(scripts);
        const auto dump = [&] {
            std::ostringstream s;
            form.dump(s);
            return s.str();
        };

        ReadServerCfg(ctx, f, scripts, "server.cfg");
        const std::string loaded = dump();
        ASSERT_TRUE(WriteServerCfg(ctx, f, scripts, maps));
        const std::string saved = dir.read("action/server.cfg");
        EXPECT_TRUE(AllLinesEndWithCrLf(saved));
        EXPECT_EQ(ForeignLines(saved), ForeignLines(original));
        EXPECT_EQ(dir.read("action/server.bak"), original);

        // Reading the saved file gives the same settings, and saving again the same bytes.
        ReadServerCfg(ctx, f, scripts, "server.cfg");
        EXPECT_EQ(dump(), loaded);
        ASSERT_TRUE(WriteServerCfg(ctx, f, scripts, maps));
        EXPECT_EQ(dir.read("action/server.cfg"), saved);
    }
}

}  // namespace
}  // namespace tolvane::settings
