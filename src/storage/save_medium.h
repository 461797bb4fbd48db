// The calls through which a save's bytes reach the medium, made on the open temporary file
// as the system makes them, so that a test can stand in a medium that fills up. Through
// QSaveFile::write a full medium reads "Unknown error": Qt keeps no reason for a short write.
#pragma once

#include <QByteArrayView>
#include <QFileDevice>
#include <QString>
#include <optional>

namespace trellicap {

class SaveMedium {
public:
    virtual ~SaveMedium() = default;
    // As write(2): how many bytes the medium took (fewer when it is full), or -1; errno
    // says why.
    virtual qint64 write(int fd, const char* data, qint64 size) = 0;
    // As fsync(2): 0, or -1 with errno set. Some file systems find a full medium only here.
    virtual int sync(int fd) = 0;
};

// The system's own calls.
[[nodiscard]] SaveMedium& systemMedium();

// Writes all of bytes to the open file through medium and syncs them. The reason when they
// did not all reach the medium: the system's own, or else how far the write got.
[[nodiscard]] std::optional<QString> writeWhole(QFileDevice& file, QByteArrayView bytes,
                                                SaveMedium& medium);

}  // namespace trellicap
