// Record files for the tool's tests, written by the storage writer from a table filled
// here, and the built tool run as a child process.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <initializer_list>
#include <ostream>
#include <string_view>
#include <utility>

#include "record/record_store.h"

// Texts in failure messages as text, not as the bytes of their characters.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QByteArray& bytes, std::ostream* os) {
    *os << '"' << bytes.toStdString() << '"';
}

namespace trellicap::testing {

// A slot's record as the tests craft it: settings by their boxes, the ten time-and-date
// codes, report header texts in the profile's field order, samples and DAC points.
struct CraftedSlot {
    int slot;
    std::initializer_list<std::pair<std::string_view, QString>> settings;
    QString timeDate;  // the ten codes as text
    std::initializer_list<QString> header;
    int sampleBase;  // sample i holds (sampleBase + i) % 101
    std::initializer_list<int> dacCodes;
};

// A table as the window has it after start-up, with the crafted slots' columns written: the
// settings area and the header runs all blanks, then the crafted texts and numbers.
void craft(RecordStore& store, const CraftedSlot& crafted);

// The store's table as a record file at path (the writer's bytes).
void writeFile(const RecordStore& store, const QString& path);

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs the built trellicap-cli with the arguments; the environment is the test's own, less
// the variables named in `unset`.
[[nodiscard]] CliRun runCli(const QStringList& arguments, const QStringList& unset = {});

// A file's bytes (empty when it cannot be read), and text written to a file whose path is
// returned, for the tool's arguments.
[[nodiscard]] QByteArray readAll(const QString& path);
QString writeText(const QString& path, const QByteArray& text);

}  // namespace trellicap::testing
