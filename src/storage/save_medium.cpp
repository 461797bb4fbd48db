#include "storage/save_medium.h"

#include <QLocale>
#include <algorithm>
#include <cerrno>
#include <climits>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace trellicap {

namespace {

class SystemMedium final : public SaveMedium {
public:
    qint64 write(int fd, const char* data, qint64 size) override {
#ifdef Q_OS_WIN
        return _write(fd, data, static_cast<unsigned>(std::min<qint64>(size, INT_MAX)));
#else
        return ::write(fd, data, static_cast<std::size_t>(size));
#endif
    }
    int sync(int fd) override {
#ifdef Q_OS_WIN
        return _commit(fd);
#else
        return ::fsync(fd);
#endif
    }
};

QString shortWrite(qint64 written, qint64 size) {
    const QLocale english(QLocale::English);
    return QStringLiteral("only %1 of %2 bytes could be written")
        .arg(english.toString(written), english.toString(size));
}

std::optional<QString> writeToHandle(SaveMedium& medium, int fd, QByteArrayView bytes) {
    qint64 written = 0;
    while (written < bytes.size()) {
        errno = 0;
        const qint64 n = medium.write(fd, bytes.data() + written, bytes.size() - written);
        if (n > 0) {
            written += n;  // a short count: the next call says why, or takes the rest
        } else if (n < 0 && errno == EINTR) {
            continue;  // a signal came before any byte was taken
        } else {
            return n < 0 && errno != 0 ? qt_error_string(errno) : shortWrite(written, bytes.size());
        }
    }
    while (medium.sync(fd) != 0) {
        if (errno != EINTR) {
            return qt_error_string(errno);
        }
    }
    return std::nullopt;
}

}  // namespace

SaveMedium& systemMedium() {
    static SystemMedium medium;
    return medium;
}

std::optional<QString> writeWhole(QFileDevice& file, QByteArrayView bytes, SaveMedium& medium) {
    const int fd = file.handle();
    if (fd >= 0) {
        return writeToHandle(medium, fd, bytes);
    }
    // A file with no C handle (the system keeps a native one): Qt's write, and how far it got.
    const qint64 written = file.write(bytes.data(), bytes.size());
    if (written == bytes.size() && file.flush()) {
        return std::nullopt;
    }
    return file.error() != QFileDevice::NoError
               ? file.errorString()
               : shortWrite(std::max<qint64>(written, 0), bytes.size());
}

}  // namespace trellicap
