#pragma once

// An X server of the test's own, started by tools/test-display.sh as the test command starts the
// Windows tests' one and ended with the test; and the smallest of X clients, to ask it an atom.
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/ProgramRun.h"

namespace morvane::test {

class TestDisplay {
  public:
    // `xvfbArguments` go to the server after the script's own ("-auth", FILE).
    explicit TestDisplay(const std::vector<std::string>& xvfbArguments = {}) {
        const Outcome started = runProgram(MORVANE_TEST_DISPLAY, xvfbArguments);
        std::istringstream(started.out) >> number_ >> pid_;
        error_ = started.err;
    }
    ~TestDisplay() {
        if (pid_ > 0)
            ::kill(pid_, SIGTERM);
    }
    TestDisplay(const TestDisplay&) = delete;
    TestDisplay& operator=(const TestDisplay&) = delete;

    bool serving() const { return pid_ > 0; }
    const std::string& error() const { return error_; }
    std::string name() const { return ":" + std::to_string(number_); }

    // The atom named `atomName`, asked by a client of its own that comes without credentials and
    // leaves at once: made when `make`, else 0 when the server has none. No value when the server
    // does not take the client.
    std::optional<std::uint32_t> atom(const std::string& atomName, bool make) const {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::string path = "/tmp/.X11-unix/X" + std::to_string(number_);
        path.copy(address.sun_path, sizeof address.sun_path - 1);
        std::optional<std::uint32_t> atom;
        if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
            atom = internAtom(fd, atomName, make);
        if (fd >= 0)
            ::close(fd);
        return atom;
    }

  private:
    static void put16(std::string& out, std::size_t value) {
        out += static_cast<char>(value & 0xff);
        out += static_cast<char>((value >> 8) & 0xff);
    }
    static std::uint32_t get(const std::string& in, std::size_t at, std::size_t bytes) {
        std::uint32_t value = 0;
        for (std::size_t i = bytes; i-- > 0;)
            value = value << 8 | static_cast<unsigned char>(in[at + i]);
        return value;
    }
    static std::optional<std::string> exchange(int fd, const std::string& request,
                                               std::size_t replySize) {
        if (::write(fd, request.data(), request.size()) != static_cast<ssize_t>(request.size()))
            return std::nullopt;
        std::string reply(replySize, '\0');
        for (std::size_t got = 0; got < replySize;) {
            const ssize_t n = ::read(fd, reply.data() + got, replySize - got);
            if (n <= 0)
                return std::nullopt;
            got += static_cast<std::size_t>(n);
        }
        return reply;
    }

    // The connection's setup (protocol 11.0, least significant byte first), then InternAtom.
    static std::optional<std::uint32_t> internAtom(int fd, const std::string& name, bool make) {
        std::string setup{'l', '\0'};
        for (std::size_t field : {11, 0, 0, 0, 0})
            put16(setup, field);
        const auto accepted = exchange(fd, setup, 8);
        if (!accepted || (*accepted)[0] != 1 || !exchange(fd, {}, 4 * get(*accepted, 6, 2)))
            return std::nullopt;
        const std::size_t padded = (name.size() + 3) / 4 * 4;
        std::string request{'\x10', make ? '\0' : '\1'};
        for (std::size_t field : {2 + padded / 4, name.size(), std::size_t{0}})
            put16(request, field);
        request += name;
        request.append(padded - name.size(), '\0');
        const auto reply = exchange(fd, request, 32);
        if (!reply || (*reply)[0] != 1)
            return std::nullopt;
        return get(*reply, 8, 4);
    }

    int number_ = -1;
    pid_t pid_ = -1;
    std::string error_;
};

}  // namespace morvane::test
