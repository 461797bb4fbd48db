// SHA-256 of a record's bytes, as QCryptographicHash gives it, by the processor's own SHA
// instructions where it has them (x86-64 with SHA-NI): a capture's content hash in a tenth of
// the time Qt's portable code takes, on the path of every kept capture.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace trellicap::archive {

// The 32-byte digest of `data`.
[[nodiscard]] QByteArray sha256(QByteArrayView data);
// Whether sha256() runs on the processor's SHA instructions here.
[[nodiscard]] bool sha256InHardware();

}  // namespace trellicap::archive
