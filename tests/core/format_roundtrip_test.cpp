// The checks every file format gets: lines it does not own come back unchanged, every line
// ends with CR LF, reading what was written gives the same fields, saving twice gives the same
// bytes, and the file shell keeps the old file as its backup or, when the replace fails, leaves
// the target as it was with one message. Each format takes part through a traits struct of
// support/FormatTraits.h or support/LaterFormatTraits.h; the inputs are its samples and the
// matching real files of the corpus.
#include "support/FormatTraits.h"
#include "support/LaterFormatTraits.h"
#include "support/TestSupport.h"

#include "state/FileUtils.h"

namespace tolvane::test {
namespace {

struct Input {
    std::string label;
    std::string bytes;
};

bool AllLinesEndWithCrLf(const std::string& s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' && (i + 1 == s.size() || s[i + 1] != '\n')) return false;
        if (s[i] == '\n' && (i == 0 || s[i - 1] != '\r')) return false;
    }
    return s.size() >= 2 && s.compare(s.size() - 2, 2, "\r\n") == 0;
}

template <class Format>
struct FormatRoundTrip : CoreFixture {
    std::vector<Input> Inputs() const {
        std::vector<Input> inputs;
        int n = 0;
        for (const auto& s : Format::Samples()) inputs.push_back({"sample " + std::to_string(n++), s});
        const auto root = CorpusDir();
        if (root.empty()) return inputs;
        std::vector<std::filesystem::path> files;
        for (const auto& e : std::filesystem::recursive_directory_iterator(root))
            if (e.is_regular_file() && Format::InCorpus(e.path())) files.push_back(e.path());
        std::sort(files.begin(), files.end());
        for (const auto& f : files) {
            std::ifstream in(f, std::ios::binary);
            inputs.push_back({f.filename().string(), {std::istreambuf_iterator<char>(in), {}}});
        }
        return inputs;
    }
    // A fresh model that has read the text.
    std::unique_ptr<typename Format::Model> Read(const std::string& text) {
        auto m = std::make_unique<typename Format::Model>(ctx);
        Format::Parse(*m, text);
        return m;
    }
    std::string Target() const { return "action/" + std::string(Format::kFile); }
    // Puts bytes in the target as the editor would have found them when it read the file.
    void WriteAsRead(const std::string& bytes) {
        this->dir.write(Target(), bytes);
        this->fs.setRecord("action\\" + std::string(Format::kFile), platform::FileSystem::RecordOf(bytes));
    }
    // The backup the shell makes of the target, as a path below the temporary directory.
    std::string Backup() const {
        std::string b = BackupName("action\\" + std::string(Format::kFile));
        std::replace(b.begin(), b.end(), '\\', '/');
        return b;
    }
};

struct FormatNames {
    template <class Format>
    static std::string GetName(int) { return Format::kName; }
};

using Formats = ::testing::Types<ServerCfgTraits, ConfigRegistryTraits, MotdTraits, MapsLstTraits,
                                 ActionIniTraits, BWAdminTraits, BanListTraits>;
TYPED_TEST_SUITE(FormatRoundTrip, Formats, FormatNames);

TYPED_TEST(FormatRoundTrip, WritesForeignLinesBackAndEveryLineWithCrLf) {
    for (const auto& in : this->Inputs()) {
        SCOPED_TRACE(in.label);
        const auto m = this->Read(in.bytes);
        const std::string out = TypeParam::Build(*m, &in.bytes);
        EXPECT_TRUE(AllLinesEndWithCrLf(out));
        EXPECT_EQ(TypeParam::Foreign(out), TypeParam::Foreign(in.bytes));
    }
}

TYPED_TEST(FormatRoundTrip, ReadingWhatWasWrittenGivesTheSameFieldsAndTheSameBytes) {
    for (const auto& in : this->Inputs()) {
        SCOPED_TRACE(in.label);
        const auto first = this->Read(in.bytes);
        const std::string once = TypeParam::Build(*first, &in.bytes);
        const auto second = this->Read(once);
        EXPECT_EQ(TypeParam::Fields(*second), TypeParam::Fields(*first));
        EXPECT_EQ(TypeParam::Build(*second, &once), once);
    }
}

TYPED_TEST(FormatRoundTrip, FileShellKeepsTheOldFileAsBackupAndWritesTheBuiltText) {
    this->dir.mkdir("action");
    for (const auto& in : this->Inputs()) {
        SCOPED_TRACE(in.label);
        std::filesystem::remove(this->dir.path() / this->Backup());
        this->WriteAsRead(in.bytes);
        const auto m = this->Read(in.bytes);
        this->dialogs.messages.clear();
        ASSERT_TRUE(TypeParam::Save(this->ctx, *m));
        const std::string built = TypeParam::Build(*m, &in.bytes);
        EXPECT_EQ(this->dir.read(this->Target()), built);
        // Bytes that would not change are not written: no backup is made of them.
        if (built == in.bytes) EXPECT_FALSE(this->dir.exists(this->Backup()));
        else EXPECT_EQ(this->dir.read(this->Backup()), in.bytes);
        EXPECT_TRUE(this->dialogs.messages.empty());
    }
}

TYPED_TEST(FormatRoundTrip, FailedReplaceLeavesTheTargetAndShowsOneMessage) {
    this->dir.mkdir("action");
    for (const auto& in : this->Inputs()) {
        SCOPED_TRACE(in.label);
        this->WriteAsRead(in.bytes);
        // A directory, with something in it, where the backup must go: the old file cannot be
        // kept, so nothing may be replaced.
        this->dir.write(this->Backup() + "/blocker", "x");
        const auto m = this->Read(in.bytes);
        // A file whose bytes would not change is not written, so nothing can fail.
        if (TypeParam::Build(*m, &in.bytes) == in.bytes) {
            std::filesystem::remove_all(this->dir.path() / this->Backup());
            continue;
        }
        this->dialogs.messages.clear();
        EXPECT_FALSE(TypeParam::Save(this->ctx, *m));
        EXPECT_EQ(this->dir.read(this->Target()), in.bytes);
        ASSERT_EQ(this->dialogs.messages.size(), 1u);
        EXPECT_NE(this->dialogs.messages[0].text.find(TypeParam::kFile), std::string::npos)
            << this->dialogs.messages[0].text;
        std::filesystem::remove_all(this->dir.path() / this->Backup());
    }
}

// Enable once an empty team name survives a save: the blank name line it is written as is
// passed over when read, so the model line becomes the name.
struct FormatRoundTripKnownFault : CoreFixture {};

TEST_F(FormatRoundTripKnownFault, DISABLED_ActionIniTeamWithoutNameReadsBackTheSame) {
    const std::string in = ActionIniTraits::KnownFaultInput;
    ActionIniTraits::Model first(ctx), second(ctx);
    ActionIniTraits::Parse(first, in);
    const std::string once = ActionIniTraits::Build(first, &in);
    ActionIniTraits::Parse(second, once);
    EXPECT_EQ(ActionIniTraits::Fields(second), ActionIniTraits::Fields(first));
    EXPECT_EQ(ActionIniTraits::Build(second, &once), once);
}

}  // namespace
}  // namespace tolvane::test
