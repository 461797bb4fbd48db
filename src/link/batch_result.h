// What a batch came to, handed over when it ends.
#pragma once

#include <QList>
#include <QMetaType>

namespace trellicap {

struct BatchResult {
    // The columns the batch set out to request: the selection in range, ascending, once each.
    QList<int> requested;
    // Columns filed from their request's answer, in the order they were filed.
    QList<int> filed;
    // Columns whose last request (the retry, or the first when Stop came before the retry)
    // got no complete frame. A slot under way when the link was lost is in neither list, and
    // columns the batch never reached are only in `requested`.
    QList<int> unanswered;
    // Stop (or Esc) was pressed while the batch ran.
    bool stoppedByOperator = false;
    // The release (R, F) was written: not after a lost or closed port.
    bool releaseSent = false;

    friend bool operator==(const BatchResult&, const BatchResult&) = default;
};

}  // namespace trellicap

Q_DECLARE_METATYPE(trellicap::BatchResult)
