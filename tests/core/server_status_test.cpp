// The status query: reading the engines' answers, asking a stand-in server over UDP, and the
// port check made before a start.
#include <gtest/gtest.h>

#include <chrono>

#include "server/PortCheck.h"
#include "server/StatusQuery.h"
#include "server_udp_standin.h"

namespace tolvane::server {
namespace {

using namespace std::chrono_literals;

const std::string kHeader = "\xff\xff\xff\xffprint\n";
const std::string kInfo = "\\mapname\\urban\\hostname\\AQ2 Night\\maxclients\\12\\actionversion\\2.1";
const std::string kAnswer = kHeader + kInfo + "\n" + "10 50 \"Alice\"\n" + "-2 999 \"Bob \"the\" Rat\"\n";

TEST(StatusReply, ReadsInfoInOrderAndEveryPlayer) {
    std::string reason;
    const auto status = ParseStatusReply(kAnswer, reason);
    ASSERT_TRUE(status) << reason;
    EXPECT_FALSE(status->truncated);
    ASSERT_EQ(status->info.size(), 4u);
    EXPECT_EQ(status->info[0], (std::pair<std::string, std::string>{"mapname", "urban"}));
    EXPECT_EQ(status->info[3], (std::pair<std::string, std::string>{"actionversion", "2.1"}));
    EXPECT_EQ(status->mapName, "urban");
    EXPECT_EQ(status->value("HostName"), "AQ2 Night");
    EXPECT_FALSE(status->value("fraglimit"));
    ASSERT_EQ(status->players.size(), 2u);
    EXPECT_EQ(status->players[0].score, 10);
    EXPECT_EQ(status->players[0].ping, 50);
    EXPECT_EQ(status->players[0].name, "Alice");
    // A negative score, and quotes inside the name: the name runs to the last quote.
    EXPECT_EQ(status->players[1].score, -2);
    EXPECT_EQ(status->players[1].ping, 999);
    EXPECT_EQ(status->players[1].name, "Bob \"the\" Rat");
}

TEST(StatusReply, AnEmptyServerAndOddEndings) {
    std::string reason;
    // No players, a terminating zero, CR LF line ends, an empty value and a line that is no
    // player (kept aside, the rest still read).
    const auto status = ParseStatusReply(kHeader + "\\mapname\\\\hostname\\x\r\n1 2 \"A\"\r\nrubbish\n" +
                                             std::string(1, '\0'),
                                         reason);
    ASSERT_TRUE(status) << reason;
    EXPECT_FALSE(status->truncated);
    EXPECT_EQ(status->mapName, "");
    EXPECT_EQ(status->value("hostname"), "x");
    ASSERT_EQ(status->players.size(), 1u);
    EXPECT_EQ(status->players[0].name, "A");
    EXPECT_EQ(status->unreadLines, (std::vector<std::string>{"rubbish"}));

    const auto empty = ParseStatusReply(kHeader + kInfo + "\n", reason);
    ASSERT_TRUE(empty) << reason;
    EXPECT_TRUE(empty->players.empty());
    EXPECT_EQ(empty->mapName, "urban");
}

TEST(StatusReply, ATruncatedAnswerKeepsWhatIsComplete) {
    std::string reason;
    // Cut inside the second player's line: the first player stays, the cut one is dropped.
    const std::string cutInPlayers = kAnswer.substr(0, kAnswer.size() - 8);
    auto status = ParseStatusReply(cutInPlayers, reason);
    ASSERT_TRUE(status) << reason;
    EXPECT_TRUE(status->truncated);
    EXPECT_NE(status->truncation.find("player 2"), std::string::npos) << status->truncation;
    ASSERT_EQ(status->players.size(), 1u);
    EXPECT_EQ(status->players[0].name, "Alice");
    EXPECT_EQ(status->info.size(), 4u);

    // Cut inside the info: a value that may be incomplete is dropped with its key.
    status = ParseStatusReply(kHeader + "\\mapname\\urban\\hostname\\AQ2 Ni", reason);
    ASSERT_TRUE(status) << reason;
    EXPECT_TRUE(status->truncated);
    ASSERT_EQ(status->info.size(), 1u);
    EXPECT_EQ(status->mapName, "urban");
    // Cut right after a separator: the value before it is complete.
    status = ParseStatusReply(kHeader + "\\mapname\\urban\\host", reason);
    ASSERT_TRUE(status) << reason;
    EXPECT_EQ(status->info.size(), 1u);
    status = ParseStatusReply(kHeader + "\\mapname\\urban\\", reason);
    ASSERT_TRUE(status) << reason;
    EXPECT_EQ(status->value("mapname"), "urban");
    EXPECT_TRUE(status->players.empty());
}

TEST(StatusReply, GarbageIsRefusedWithAReason) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "four 0xFF"},
        {"print\n\\mapname\\x\n", "four 0xFF"},
        {"\xff\xff\xff\xff", "ends before"},
        {"\xff\xff\xff\xffpri", "ends before"},
        {"\xff\xff\xff\xffinfo\n\\a\\b\n", "not a status answer"},
        {"\xff\xff\xff\xffprint\n", "ends before the server info"},
        {"\xff\xff\xff\xffprint\nServer is full.\n", "no server info"},
    };
    for (const auto& [reply, expected] : cases) {
        std::string reason;
        EXPECT_FALSE(ParseStatusReply(reply, reason)) << reply;
        EXPECT_NE(reason.find(expected), std::string::npos) << reason;
    }
}

TEST(StatusQuery, AsksTheServerAndReadsItsPlayers) {
    test::UdpStandIn standIn(kAnswer);
    ASSERT_TRUE(standIn.ok());
    std::string error;
    const auto status = QueryStatus("127.0.0.1", standIn.port(), 5s, error);
    ASSERT_TRUE(status) << error;
    EXPECT_EQ(standIn.requests(), 1);
    EXPECT_EQ(status->mapName, "urban");
    ASSERT_EQ(status->players.size(), 2u);
    EXPECT_EQ(status->players[1].name, "Bob \"the\" Rat");

    // An empty address asks this machine.
    const auto again = QueryStatus("", standIn.port(), 5s, error);
    ASSERT_TRUE(again) << error;
    EXPECT_EQ(standIn.requests(), 2);
}

TEST(StatusQuery, ATruncatedDatagramIsReadAsFarAsItGoes) {
    test::UdpStandIn standIn(kAnswer.substr(0, kAnswer.size() - 3));
    ASSERT_TRUE(standIn.ok());
    std::string error;
    const auto status = QueryStatus("127.0.0.1", standIn.port(), 5s, error);
    ASSERT_TRUE(status) << error;
    EXPECT_TRUE(status->truncated);
    EXPECT_EQ(status->players.size(), 1u);
}

TEST(StatusQuery, NoAnswerIsAnErrorNamingAddressAndPortWithinTheTimeout) {
    test::UdpStandIn silent("", true);
    ASSERT_TRUE(silent.ok());
    std::string error;
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(QueryStatus("", silent.port(), 300ms, error));
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_EQ(error, "no answer from 127.0.0.1:" + std::to_string(silent.port()) + " within 300 ms");
    EXPECT_GE(took, 300ms);
    EXPECT_LT(took, 10s);  // generous: it gives up, rather than waiting on
}

TEST(StatusQuery, AServerThatAnswersSomethingElseIsNoStatus) {
    test::UdpStandIn wrong("\xff\xff\xff\xffinfo\nnothing here\n");
    ASSERT_TRUE(wrong.ok());
    std::string error;
    EXPECT_FALSE(QueryStatus("127.0.0.1", wrong.port(), 300ms, error));
    EXPECT_NE(error.find("no answer from 127.0.0.1:" + std::to_string(wrong.port())), std::string::npos) << error;
    EXPECT_NE(error.find("not a status answer"), std::string::npos) << error;
}

TEST(PortCheck, APortHeldByAnotherSocketIsNotFreeUntilItIsClosed) {
    int port = 0;
    std::string reason;
    {
        test::UdpStandIn holder("", true);
        ASSERT_TRUE(holder.ok());
        port = holder.port();
        EXPECT_FALSE(UdpPortFree("127.0.0.1", port, reason));
        EXPECT_NE(reason.find("127.0.0.1:" + std::to_string(port)), std::string::npos) << reason;
        EXPECT_NE(reason.find("in use"), std::string::npos) << reason;
        // The server binds all addresses by default: that bind would fail too.
        EXPECT_FALSE(UdpPortFree("", port, reason));
        EXPECT_NE(reason.find("port " + std::to_string(port) + " on all addresses"), std::string::npos) << reason;
    }
    EXPECT_TRUE(UdpPortFree("127.0.0.1", port, reason)) << reason;
    EXPECT_TRUE(UdpPortFree("", port, reason)) << reason;
}

TEST(PortCheck, AnAddressThatIsNotThisMachinesIsReported) {
    std::string reason;
    // TEST-NET-1: never an address of this machine; nothing is sent, the bind is refused.
    EXPECT_FALSE(UdpPortFree("192.0.2.1", 27910, reason));
    EXPECT_NE(reason.find("192.0.2.1:27910"), std::string::npos) << reason;
    EXPECT_EQ(reason.find("in use"), std::string::npos) << reason;
}

}  // namespace
}  // namespace tolvane::server
