#include "storage/storage_messages.h"

#include <QDir>
#include <QLocale>

namespace trellicap {

namespace {

QString count(int n) {
    return QLocale(QLocale::English).toString(n);
}

// A foreign file's bytes may be anything; the message shows them without control codes.
QString printable(const QByteArray& text) {
    QString shown;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7F) {
            shown.append(QLatin1Char(c));
        } else {
            shown.append(QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0')));
        }
    }
    return shown;
}

QString whereTheLoadStopped(const LoadResult& result) {
    const int rowsPerSlot = result.valuesExpected / kSlotCount;
    const int index = result.valuesRead;  // the value that stopped the load, from 0
    const QString place = QStringLiteral("Value %1 (slot %2, row %3)")
                              .arg(count(index + 1))
                              .arg(index / rowsPerSlot + 1)
                              .arg(index % rowsPerSlot);
    switch (result.stop) {
        case LoadResult::Stop::EarlyEnd:
            return QStringLiteral("The file ends there.");
        case LoadResult::Stop::NotANumber:
            return QStringLiteral("%1 is not a number: \"%2\".")
                .arg(place, printable(result.offendingText));
        case LoadResult::Stop::OutOfRange:
            return QStringLiteral("%1 lies outside -32768 to 32767: \"%2\".")
                .arg(place, printable(result.offendingText));
        case LoadResult::Stop::ReadError:
            return QStringLiteral("The file could not be read further: %1.")
                .arg(result.systemError);
        case LoadResult::Stop::Complete:
        case LoadResult::Stop::CannotOpen:
            break;
    }
    return {};
}

}  // namespace

UserMessage describeSaveFailure(const QString& path, const QString& reason) {
    return {QStringLiteral("Save Error"),
            QStringLiteral("The record file \"%1\" could not be saved.")
                .arg(QDir::toNativeSeparators(path)),
            QStringLiteral("%1.\nAny earlier file of that name is unchanged.").arg(reason)};
}

std::optional<UserMessage> describeLoadFailure(const LoadResult& result, const QString& path) {
    const QString nativePath = QDir::toNativeSeparators(path);
    if (result.stop == LoadResult::Stop::Complete) {
        return std::nullopt;
    }
    if (result.stop == LoadResult::Stop::CannotOpen) {
        return UserMessage{
            QStringLiteral("Open Error"),
            QStringLiteral("The record file \"%1\" could not be opened.").arg(nativePath),
            QStringLiteral("%1.\nNothing was loaded.").arg(result.systemError)};
    }
    return UserMessage{QStringLiteral("Open Error"),
                       QStringLiteral("The record file \"%1\" was loaded only in part: %2 of the "
                                      "%3 values were read.")
                           .arg(nativePath, count(result.valuesRead), count(result.valuesExpected)),
                       QStringLiteral("%1\nThe slots and rows after that are empty.")
                           .arg(whereTheLoadStopped(result))};
}

UserMessage describePartialLoadChoice(const LoadResult& result, const QString& path) {
    UserMessage choice = *describeLoadFailure(result, path);
    choice.informative = QStringLiteral(
                             "%1\nThe slots are unchanged. Loading the part that was read replaces "
                             "them; the slots and rows after that are then empty.")
                             .arg(whereTheLoadStopped(result));
    return choice;
}

UserMessage describeReplaceQuestion(const QString& path, const QDateTime& changed, qint64 bytes) {
    const QString size =
        bytes == 1 ? QStringLiteral("1 byte")
                   : QStringLiteral("%1 bytes").arg(QLocale(QLocale::English).toString(bytes));
    return {QStringLiteral("Replace File"),
            QStringLiteral("The file \"%1\" already exists.").arg(QDir::toNativeSeparators(path)),
            QStringLiteral("It was last changed on %1 and holds %2. Replacing it loses what it "
                           "holds now.")
                .arg(changed.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")), size)};
}

}  // namespace trellicap
