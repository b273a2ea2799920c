// Runs a test or benchmark inside a private network namespace of its own, where multicast
// (WS-Discovery) cannot leave the machine: only loopback is up, and 224.0.0.0/4 is routed over it.
//
// Call Enter() at the start of main, after the application object exists. The first call
// re-executes the program under "unshare -n" (or "unshare -rn" without root) and waits for it;
// in the re-executed copy it returns Inside. When namespaces are not permitted it returns
// Unavailable with the reason, and the caller skips what needs the network.
#pragma once

#include <QString>

namespace PrivateNetwork {
enum class Outcome { Inside, ChildFinished, Unavailable };

Outcome Enter(int argc, char **argv, int *exitCode, QString *why);

// True when no network interface but loopback is up; *why names one that is.
bool IsPrivate(QString *why = nullptr);
} // namespace PrivateNetwork
