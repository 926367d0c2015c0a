#include "platform/native.h"
#include "platform/posix_file_store.h"
#include "platform/posix_platform.h"
#include "platform/reg_file_store.h"

namespace velmo {

std::unique_ptr<FileStorePort> MakeFileStore() {
    return std::make_unique<PosixFileStore>();
}
std::unique_ptr<ClockPort> MakeClock() {
    return std::make_unique<PosixClock>();
}
std::unique_ptr<SingleInstancePort> MakeInstanceGuard(std::string_view profile) {
    return std::make_unique<LockFileInstance>(LockFileInstance::DefaultLockPath(profile));
}
std::unique_ptr<ProgramPort> MakeProgram(std::string_view profile) {
    return std::make_unique<PosixProgram>(std::string(profile));
}
bool HomeFolderKnown() {
    return !HomeFolder().empty();
}
std::unique_ptr<SettingsStorePort> MakeSettingsStore(FileStorePort& files,
                                                     std::string_view profile) {
    return std::make_unique<RegFileStore>(files, RegFileStore::DefaultPath(profile));
}
void UseBinaryStandardOutput() {}

}  // namespace velmo
