// What the window that owns the port does with the port-selection window's choices: each
// choice becomes its port target, Ok keeps the choice in "udc.cfg" and opens it (telling the
// operator what failed), Cancel opens the port in use at opening again without a word, and
// closing the window while nothing else is visible ends the program.
#pragma once

namespace trellicap {

class PortSelectionHost;
class frmoption;

// `host` must outlive `window` (it owns it).
void connectPortSelection(frmoption& window, PortSelectionHost& host);

}  // namespace trellicap
