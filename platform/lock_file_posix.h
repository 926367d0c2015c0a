#pragma once

// Lock files of the user's on POSIX systems, shared by the instance guard
// and the lock around a settings change.

#include <string>

namespace velmo {

enum class LockOutcome {
    Locked,    // the lock is ours until UnlockFile
    Busy,      // another process holds it (only when not waiting)
    HeldHere,  // this process holds it already, under this name or another
    Unusable,  // no lock to be had: not the user's file, a link, no folder
};

// Opens the lock file at `path`, creating it for the user alone, never
// through a link and never one of another user's, and locks it, waiting for
// another process when `wait`. `fd` gets the descriptor when Locked.
LockOutcome LockFile(const std::string& path, bool wait, int& fd);

// Releases a lock LockFile gave.
void UnlockFile(int fd);

}  // namespace velmo
