// Whether the desktop has a program for a kind of document. Opening a file through the desktop
// services succeeds as soon as the desktop's opener starts, even when nothing handles the file's
// type; asking first lets the program tell the user instead of silently showing nothing.
#pragma once

#include <QString>

// False only when the desktop was asked and names no default application for the MIME type
// (on Linux: "xdg-mime query default <type>" prints nothing). When it can't be asked (no
// xdg-mime, no answer in time) or on other systems, true: the desktop services then decide.
bool HasDefaultViewer(const QString &mimeType);
