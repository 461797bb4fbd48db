#include "pty.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <utility>

namespace instrument_sim {

bool Pty::open(std::string& error) {
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        close();
        return false;
    }
    const char* name = ptsname(m_master);
    if (name == nullptr) {
        error = std::string("ptsname: ") + std::strerror(errno);
        close();
        return false;
    }
    m_slavePath = name;
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_slave < 0) {
        error = "cannot open " + m_slavePath + ": " + std::strerror(errno);
        close();
        return false;
    }
    termios t{};
    if (tcgetattr(m_slave, &t) == 0) {
        cfmakeraw(&t);
        t.c_cflag |= CLOCAL | CREAD;
        t.c_cflag &= ~(CSTOPB | PARENB | CRTSCTS);
        t.c_cc[VMIN] = 1;
        t.c_cc[VTIME] = 0;
        cfsetispeed(&t, B9600);
        cfsetospeed(&t, B9600);
        tcsetattr(m_slave, TCSANOW, &t);
    }
    const int flags = fcntl(m_master, F_GETFL);
    fcntl(m_master, F_SETFL, flags | O_NONBLOCK);
    fcntl(m_master, F_SETFD, FD_CLOEXEC);
    return true;
}

void Pty::swap(Pty& other) noexcept {
    std::swap(m_master, other.m_master);
    std::swap(m_slave, other.m_slave);
    std::swap(m_slavePath, other.m_slavePath);
    std::swap(m_link, other.m_link);
}

void Pty::close() {
    if (m_slave >= 0) {
        ::close(m_slave);
        m_slave = -1;
    }
    if (m_master >= 0) {
        ::close(m_master);
        m_master = -1;
    }
}

int Pty::unreadBySlave() const {
    int n = 0;
    if (m_slave < 0 || ioctl(m_slave, FIONREAD, &n) != 0) {
        return -1;
    }
    return n;
}

bool Pty::createLink(const std::string& path, std::string& error) {
    struct stat st {};
    if (lstat(path.c_str(), &st) == 0) {
        if (!S_ISLNK(st.st_mode)) {
            error = path + " exists and is not a symbolic link";
            return false;
        }
        ::unlink(path.c_str());
    }
    if (symlink(m_slavePath.c_str(), path.c_str()) != 0) {
        error = "cannot create link " + path + ": " + std::strerror(errno);
        return false;
    }
    m_link = path;
    return true;
}

void Pty::removeLink() {
    if (m_link.empty()) {
        return;
    }
    char target[4096];
    const ssize_t n = readlink(m_link.c_str(), target, sizeof target - 1);
    if (n >= 0 && std::string(target, static_cast<std::size_t>(n)) == m_slavePath) {
        ::unlink(m_link.c_str());
    }
    m_link.clear();
}

}  // namespace instrument_sim
