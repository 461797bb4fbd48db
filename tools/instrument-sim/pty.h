// The simulator's end of the serial line: a pseudo-terminal pair. The simulator keeps the master
// and also holds the slave open, so that the program opening and closing the slave never hangs
// up the line. The slave is set to raw mode (no echo, no line editing, 8 bits).
#pragma once

#include <string>
#include <utility>

namespace instrument_sim {

class Pty {
public:
    Pty() = default;
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;
    // Moving hands the pair (and its link) over; the moved-from Pty holds nothing.
    Pty(Pty&& other) noexcept { swap(other); }
    Pty& operator=(Pty&& other) noexcept {
        Pty gone(std::move(*this));
        swap(other);
        return *this;
    }
    ~Pty() { close(); }

    // Opens the pair; on failure returns false and sets `error`.
    bool open(std::string& error);
    void close();

    [[nodiscard]] int master() const { return m_master; }
    [[nodiscard]] const std::string& slavePath() const { return m_slavePath; }

    // Bytes written by the simulator that the program has not read yet (-1 if unknown).
    [[nodiscard]] int unreadBySlave() const;

    // --link: a symbolic link to the slave device, replaced if it is a stale link, removed by
    // removeLink() only while it still points to this pty.
    bool createLink(const std::string& path, std::string& error);
    void removeLink();

private:
    void swap(Pty& other) noexcept;

    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
    std::string m_link;
};

}  // namespace instrument_sim
