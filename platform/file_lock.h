#pragma once

#include "domain/text.h"

namespace velmo {

// An exclusive lock on a file (created when missing), held for the lifetime
// of the object, so that two programs do not read-modify-write at once. A
// lock that cannot be had is no lock: the caller goes on without it.
class FileLock {
  public:
    explicit FileLock(const Text& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

  private:
    long long handle_ = -1;
};

}  // namespace velmo
