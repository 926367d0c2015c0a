#pragma once

// The platform services that need no window toolkit, on POSIX systems.

#include <cstdint>
#include <random>
#include <string>

#include "core/ports.h"

namespace velmo {

class PosixClock : public ClockPort {
  public:
    double SecondsSinceMidnight() const override;
    // CLOCK_BOOTTIME: real time, suspend included, immune to clock changes.
    double ElapsedSeconds() const override;
};

class StandardRandom : public RandomPort {
  public:
    StandardRandom();
    // A fixed seed, for repeatable runs.
    explicit StandardRandom(std::uint64_t seed) : engine_(seed) {}
    int Between(int lo, int hi) override;

  private:
    std::mt19937_64 engine_;
};

// One copy per user: an exclusive lock on a file in the user's runtime
// folder, held while the program runs; a crashed copy's lock goes with it.
class LockFileInstance : public SingleInstancePort {
  public:
    explicit LockFileInstance(std::string lockPath = DefaultLockPath());
    ~LockFileInstance() override;
    LockFileInstance(const LockFileInstance&) = delete;
    LockFileInstance& operator=(const LockFileInstance&) = delete;

    bool AnotherInstanceRunning() override;
    static std::string DefaultLockPath();

  private:
    std::string path_;
    int fd_ = -1;
};

class PosixProgram : public ProgramPort {
  public:
    Text ProgramFolder() override;
    bool CanWriteFolder(const Text& folder) override;
    // $XDG_DATA_HOME/Velmo/ or ~/.local/share/Velmo/, created when missing.
    Text UserDataFolder() override;
    void Exit() override;
};

}  // namespace velmo
