// A stand-in for a game server run under watch: it carries out its arguments in order.
//
//   out TEXT       prints TEXT and a line end on standard output
//   err TEXT       prints TEXT and a line end on standard error
//   part TEXT      prints TEXT on standard output without a line end
//   lines N        prints N numbered lines ("line 1" ...) on standard output
//   sleep MS       sleeps
//   exit N         exits with code N
//   signal N       kills itself with signal N (its default action)
//   ignore-term    ignores SIGTERM from then on
//   sigpipe        prints "SIGPIPE ignored" or "SIGPIPE default"
//   pwd            prints its working directory
//   wait-for FILE  waits (ten seconds at most) until FILE exists
//   touch FILE     creates FILE
//   hold           sleeps until it is ended (sixty seconds at most, then exits with 3)
//   status PORT    answers the status query on UDP PORT of every address, as an engine does,
//                  with map "harbor", 16 places and two players, until it is ended (sixty
//                  seconds at most, then exits with 3)
//
// Output is flushed after every step. A write that fails (a closed pipe) is let pass.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#ifndef _WIN32
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#endif
#include <cstdint>

namespace {

bool exists(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f) std::fclose(f);
    return f != nullptr;
}

void sleepMs(long ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

#ifndef _WIN32
int AnswerStatus(int port) {
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    local.sin_port = htons(static_cast<std::uint16_t>(port));
    if (fd < 0 || ::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        std::printf("cannot open UDP port %d\n", port);
        return 5;
    }
    std::printf("listening on UDP port %d\n", port);
    std::fflush(nullptr);
    const std::string answer = "\xff\xff\xff\xffprint\n\\mapname\\harbor\\maxclients\\16\n12 50 \"Alice\"\n3 80 \"Bob\"\n";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd pfd{fd, POLLIN, 0};
        if (::poll(&pfd, 1, 50) <= 0) continue;
        char buffer[512];
        sockaddr_in from{};
        socklen_t size = sizeof from;
        const auto got = ::recvfrom(fd, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &size);
        if (got > 0 && std::string(buffer, static_cast<std::size_t>(got)) == "\xff\xff\xff\xffstatus\n")
            ::sendto(fd, answer.data(), answer.size(), 0, reinterpret_cast<const sockaddr*>(&from), size);
    }
    return 3;
}
#endif

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string step = argv[i];
        const std::string arg = i + 1 < argc ? argv[i + 1] : "";
        bool takesArg = true;
        if (step == "out") {
            std::printf("%s\n", arg.c_str());
        } else if (step == "err") {
            std::fprintf(stderr, "%s\n", arg.c_str());
        } else if (step == "part") {
            std::printf("%s", arg.c_str());
        } else if (step == "lines") {
            const long n = std::strtol(arg.c_str(), nullptr, 10);
            for (long k = 1; k <= n; ++k) std::printf("line %ld\n", k);
        } else if (step == "sleep") {
            sleepMs(std::strtol(arg.c_str(), nullptr, 10));
        } else if (step == "exit") {
            std::fflush(nullptr);
            return static_cast<int>(std::strtol(arg.c_str(), nullptr, 10));
        } else if (step == "signal") {
            std::fflush(nullptr);
            const int sig = static_cast<int>(std::strtol(arg.c_str(), nullptr, 10));
            std::signal(sig, SIG_DFL);
            std::raise(sig);
            return 4;
        } else if (step == "wait-for") {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (!exists(arg) && std::chrono::steady_clock::now() < deadline) sleepMs(20);
#ifndef _WIN32
        } else if (step == "status") {
            return AnswerStatus(static_cast<int>(std::strtol(arg.c_str(), nullptr, 10)));
#endif
        } else if (step == "touch") {
            if (std::FILE* f = std::fopen(arg.c_str(), "wb")) std::fclose(f);
        } else {
            takesArg = false;
            if (step == "ignore-term") {
                std::signal(SIGTERM, SIG_IGN);
            } else if (step == "sigpipe") {
#ifndef _WIN32
                struct sigaction now {};
                sigaction(SIGPIPE, nullptr, &now);
                std::printf("SIGPIPE %s\n", now.sa_handler == SIG_IGN ? "ignored" : "default");
#endif
            } else if (step == "pwd") {
                std::printf("%s\n", std::filesystem::current_path().string().c_str());
            } else if (step == "hold") {
                std::fflush(nullptr);
                sleepMs(60000);
                return 3;
            } else {
                std::fprintf(stderr, "fakeserver: unknown step %s\n", step.c_str());
                return 2;
            }
        }
        if (takesArg) ++i;
        std::fflush(nullptr);
    }
    return 0;
}
