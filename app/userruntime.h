// What belongs to the user running the program alone: the runtime folder that holds the
// single-instance key and the plan hand-over socket, and who is at the other end of a local
// socket. Other users on the same machine can neither take these nor listen in.
#pragma once

#include <QString>
#include <QtGlobal>

// The user's runtime folder when private files can be kept in it: a real folder (not a link)
// owned by this user and closed to everybody else (mode 0700). Empty otherwise.
QString UserRuntimeDir();

// True when 'path' is a folder, not a link, owned by this user, with no access for group or others.
bool IsPrivateFolder(const QString &path);

// This process's user id; -1 where the platform has none.
qint64 CurrentUserId();

// The user id of the process at the other end of a connected local socket; -1 where the
// platform does not tell.
qint64 PeerUserId(qintptr socketDescriptor);

// True when the shared-memory segment that QSharedMemory reaches through 'nativeKey' was
// created by, and belongs to, this user. Where the platform does not tell, true.
bool SharedMemoryOwnedByUser(const QString &nativeKey);
