// Worker threads that their owner could not wait for: the sync or a server search stuck in
// libpq's connect (up to the connect timeout), which nothing can cut before it has a socket.
// The owner goes at once (the window closes without waiting), but the thread must still end
// before the process takes Qt down: its last steps close its connections and take their
// names off Qt Sql's process-wide list, which a process in the middle of its exit has
// already destroyed. So the application object's end waits for them.
#pragma once

class QThread;

namespace trellicap::archive {

// `thread` (its quit() already asked) runs on after its owner: it deletes itself when it
// ends, and the application's end waits for it (at most a few connect timeouts).
void letThreadOutliveItsOwner(QThread* thread);

}  // namespace trellicap::archive
