#pragma once

// Platform services the core calls. Each has a real implementation in the
// platform layer and an inspectable fake in the tests.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "domain/stored_options.h"
#include "domain/text.h"
#include "platform/result.h"

namespace velmo {

// A message's buttons, its icon and the button Return presses (the first one
// unless another is named); the answer is the button pressed, or the one
// Escape stands for when the box is closed.
enum class Answer { Ok, Cancel, Yes, No };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageIcon { None, Error, Warning };

struct MessageStyle {
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    std::optional<Answer> defaultAnswer = std::nullopt;
    friend bool operator==(const MessageStyle&, const MessageStyle&) = default;
};

// The styles of the program's messages.
namespace message {
inline constexpr MessageStyle Notice{};
inline constexpr MessageStyle Warning{MessageButtons::Ok, MessageIcon::Warning};
inline constexpr MessageStyle WarningOkCancel{MessageButtons::OkCancel, MessageIcon::Warning};
inline constexpr MessageStyle ErrorYesNo{MessageButtons::YesNo, MessageIcon::Error};
inline constexpr MessageStyle ErrorYesNoDefaultNo{MessageButtons::YesNo, MessageIcon::Error,
                                                  Answer::No};
inline constexpr MessageStyle WarningYesNoCancelDefaultCancel{MessageButtons::YesNoCancel,
                                                              MessageIcon::Warning, Answer::Cancel};
}  // namespace message

class MessageBoxPort {
  public:
    virtual ~MessageBoxPort() = default;
    // Shows a modal message and returns the answer. An empty title means the
    // program's default title.
    virtual Answer Show(const Text& text, const MessageStyle& style, const Text& title) = 0;
};

// One entry of a file dialog's list of types: the words the user reads and
// the name patterns it shows ("*" for every file).
struct FileFilter {
    Text description;
    std::vector<Text> patterns;
    friend bool operator==(const FileFilter&, const FileFilter&) = default;
};
using FileFilters = std::vector<FileFilter>;

// Whether a file dialog takes only a file that is there, or also a new name
// for a file the program will make.
enum class FileChoice { Existing, ExistingOrNew };

class FileDialogPort {
  public:
    virtual ~FileDialogPort() = default;
    // Shows an open-file dialog listing `filters`, the first one chosen;
    // `initial` goes into the file-name field. Returns the chosen full path,
    // or nothing when the user cancels.
    virtual std::optional<Text> OpenFile(const Text& initial, const FileFilters& filters,
                                         const Text& title, FileChoice choice) = 0;
};

class ClipboardPort {
  public:
    virtual ~ClipboardPort() = default;
    // Replaces the clipboard's plain text.
    virtual void SetText(const Text& text) = 0;
};

class ClockPort {
  public:
    virtual ~ClockPort() = default;
    // Seconds of real time from an arbitrary start: it never jumps with the
    // wall clock and goes on while the computer sleeps.
    virtual double ElapsedSeconds() const = 0;
};

class RandomPort {
  public:
    virtual ~RandomPort() = default;
    // A whole number from lo to hi, each equally likely; one generator,
    // seeded once from the system's entropy.
    virtual int Between(int lo, int hi) = 0;
};

class TimerPort {
  public:
    virtual ~TimerPort() = default;
    // Runs `due` once after `seconds` of real time (at once for 0 or less),
    // replacing any earlier request.
    virtual void Start(double seconds, std::function<void()> due) = 0;
    // Cancels the pending request, if any.
    virtual void Stop() = 0;
};

class SingleInstancePort {
  public:
    virtual ~SingleInstancePort() = default;
    // True when another copy of the program runs for the same user; a copy
    // that finds none holds the claim until it ends.
    virtual bool AnotherInstanceRunning() = 0;
};

// A click on the notification-area icon, as the desktop reports it.
enum class IconClick { Single, Double, Middle, Context };

class NotifyIconPort {
  public:
    virtual ~NotifyIconPort() = default;
    // True while the desktop has a notification area to show the icon in.
    virtual bool Available() = 0;
    // Shows the program's icon in the notification area with its tip.
    virtual void Add(const std::string& icon, const Text& tip) = 0;
    virtual void Remove() = 0;
    // Opens the tray menu at the pointer; returns when it is closed, or at
    // once where the desktop asked for it in a call that waits for an answer.
    virtual void PopupMenu() = 0;
    // The click that opens or closes the window: Double where each click on
    // the icon is reported as it is (an XEmbed tray reports a Single before
    // every Double), Single where the desktop sends one activation per
    // request and never a double-click (StatusNotifier hosts).
    virtual IconClick OpenCloseClick() = 0;
};

// The front end's event loop.
class EventLoopPort {
  public:
    virtual ~EventLoopPort() = default;
    // Ends the program in order: once the running handler returns, the event
    // loop is left and the program returns from main, so the window system's
    // own clean-up runs (on X11 the clipboard goes to a clipboard manager). A
    // message box or dialog still open ends as by its escape button. Asked
    // before the loop runs, it only marks the end: the caller returns from
    // main itself.
    virtual void Quit() = 0;
};

class BrowserPort {
  public:
    virtual ~BrowserPort() = default;
    // Opens an address (a web page, a file, or mailto:) in the user's program
    // for it; false when no program could be started for it.
    virtual bool Open(const Text& address) = 0;
};

// Reasons of Velmo's own for refusing a file, beside the system's errors.
enum class FileErrc {
    NotRegularFile = 1,  // a folder, pipe or device where a file belongs
    TooLarge,            // more than the program reads
    UnsafeLink,          // a link another user planted in a shared folder
    NotOwnFile,          // another user's file where only the user's own is taken
    WritableByOthers,    // a file of the user's that others may change
    UnsafeFolder,        // a folder on the way that others may change
};
const std::error_category& FileCategory();
std::error_code make_error_code(FileErrc code);

// The outcome of a file operation: empty on success, else the reason as an
// error code (the system's, or a FileErrc). Decisions test the code; the
// message is only for showing to the user.
struct FileResult {
    std::error_code error;
    explicit operator bool() const { return !error; }
    // True when there is no file at the path.
    bool Missing() const { return error == std::errc::no_such_file_or_directory; }
    // The reason in words a user can act on ("Permission denied").
    std::string Message() const { return error.message(); }
};

class ProgramPort {
  public:
    virtual ~ProgramPort() = default;
    // The name of the profile the program runs for; empty for the default one.
    virtual Text ProfileName() { return {}; }
    // The folder of the program file.
    virtual Text ProgramFolder() = 0;
    // True when the user's files may be kept in the folder: the user may
    // create and replace files there, and it is not a system folder that a
    // package installs programs into (where root could write but no user's
    // files belong).
    virtual bool CanWriteFolder(const Text& folder) = 0;
    // The folder the quote list and the fixed text are kept in, created when
    // missing: where the platform's users look for a program's data.
    virtual Text TextFilesFolder() = 0;
    // The user's documents folder, where files of the user's own choosing
    // start; the home folder when there is none.
    virtual Text DocumentsFolder() = 0;
    // Files of the program that no signature may replace: the program file,
    // and its settings and lock files where they are files.
    virtual std::vector<Text> OwnFiles() = 0;
    // The full path of the program file.
    virtual Text ProgramFile() = 0;
    // The folders the other profiles keep their quote list and fixed text
    // in (the default profile's among them when this is a named one): no
    // signature replaces one of theirs either.
    virtual std::vector<Text> OtherProfilesTextFolders() { return {}; }
    // The desktop entry that has the desktop start the program when the user
    // logs in; empty where the desktop has no such entry to write.
    virtual Text AutostartFile() = 0;
    // Where the desktop keeps a list of its own of the programs it starts at
    // log-in instead of entry files (the Run key on Windows): the list's name
    // for messages, and whether it starts this program. Nothing where the
    // desktop keeps no such list.
    struct StartList {
        Text place;
        bool on = false;
    };
    virtual std::optional<StartList> DesktopStartList() { return std::nullopt; }
    // Puts the program on that list or takes its own entry off; the reason
    // when the list could not be changed.
    virtual FileResult SetOnDesktopStartList(bool on) {
        (void)on;
        return {std::make_error_code(std::errc::not_supported)};
    }
    // The full path of the guide to setting up mail programs, where it is
    // installed (or in the source tree beside a build); empty when there is
    // none.
    virtual Text HelpFile() = 0;
    // Velmo's record of the round of "No repeats until all are used", and the
    // lock every program of the profile takes while it reads and replaces it:
    // the settings' lock where the settings are a file. Empty where the user
    // has no such folder.
    virtual Text PickRoundFile() { return {}; }
    virtual Text PickRoundLock() { return {}; }
};

// A file's bytes, or the reason (never empty) it could not be read.
using FileBytes = Result<std::string, FileResult>;

class FileStorePort {
  public:
    virtual ~FileStorePort() = default;
    // The most a read takes unless told otherwise: far more than any file of
    // the program's holds, far less than the memory it may use.
    static constexpr size_t kReadLimit = size_t{64} << 20;
    // The whole file as bytes, or the reason it could not be read. Only a
    // regular file (or a link to one) is read, and at most `limit` bytes: a
    // folder fails with std::errc::is_a_directory, a pipe or device with
    // FileErrc::NotRegularFile at once, a longer file with FileErrc::TooLarge.
    virtual FileBytes Read(const Text& path, size_t limit = kReadLimit) = 0;
    // Read, for a file that decides what the program does (the settings, the
    // quotation list, the fixed text): refused when another user could have
    // put it there or changed it (FileErrc::NotOwnFile, WritableByOthers,
    // UnsafeFolder). Where files have no such owners, the same as Read.
    virtual FileBytes ReadOwn(const Text& path, size_t limit = kReadLimit) {
        return Read(path, limit);
    }
    // Replaces the file atomically: a temporary file in the same folder,
    // flushed, then renamed over the target (the target of a symbolic link),
    // keeping the old file's permissions. On failure the old file is intact.
    // A pipe or device at the path is refused (FileErrc::NotRegularFile).
    virtual FileResult Replace(const Text& path, std::string_view bytes) = 0;
    // True when a regular file exists at the path (links followed).
    virtual bool Exists(const Text& path) const = 0;
    // True when the path itself is a symbolic link, wherever it leads.
    virtual bool IsLink(const Text& path) const = 0;
    // True when both paths name one file however they are spelt: the same
    // existing file (links, "." and ".." followed), or, while neither exists,
    // the same name in the same folder.
    virtual bool SameFile(const Text& a, const Text& b) const = 0;
    // Renames a file within its file system. Never replaces a file that is
    // already there: that fails with std::errc::file_exists.
    virtual FileResult Rename(const Text& from, const Text& to) = 0;
    // Creates a folder and the folders above it; an existing one is fine.
    virtual FileResult MakeFolders(const Text& folder) = 0;
    // Removes a file; a link goes itself, never what it leads to. A folder is
    // refused; no file at the path is std::errc::no_such_file_or_directory.
    virtual FileResult Remove(const Text& path) = 0;
    // Runs `work` holding an exclusive lock on the file at `lockPath`
    // (created when missing), which other programs doing the same wait for. A
    // lock that cannot be had is no lock: `work` runs all the same.
    virtual void Locked(const Text& lockPath, const std::function<void()>& work) {
        (void)lockPath;
        work();
    }
};

// A run-time failure of the settings store (a corrupt store, an I/O error),
// as opposed to the ordinary outcomes its operations return: the number and
// the words the user is shown.
struct StoreFailure {
    // The store's own failure numbers, beside the platform's error numbers.
    // The store is not in its format: it was kept aside under a new name (the
    // description names both) and the store starts afresh.
    static constexpr int kCorrupt = 1000;
    // The store cannot be read, or is corrupt and could not be kept aside:
    // it is left as it is and nothing is written over it.
    static constexpr int kUnreadable = 1001;

    int number = 0;
    std::string description;
};

// An operation's ordinary outcome, or the store's failure.
template <class T>
using StoreResult = Result<T, StoreFailure>;

// Named string values under key paths of the current user, as a registry
// keeps them. Key paths and value names are matched without regard to case.
// Operations return their ordinary outcomes, or a StoreFailure for run-time
// failures.
class SettingsStorePort {
  public:
    virtual ~SettingsStorePort() = default;
    // True when the key can be opened for reading.
    virtual StoreResult<bool> KeyExists(const Text& keyPath) = 0;
    // Creates the key and the keys above it (an existing key is fine).
    virtual StoreResult<bool> CreateKey(const Text& keyPath) = 0;
    // Every string value of the key, whole, in the store's order, read at
    // once; nothing when the key is missing. A value the store cannot read is
    // left out and the others are still read.
    virtual StoreResult<std::optional<std::vector<StoredValue>>> Values(const Text& keyPath) = 0;
    // Writes the values in their order, creating the key when needed; a store
    // file is replaced once, so that a failure leaves all the old values. A
    // stored value whose name differs only in letter case is the same value.
    virtual StoreResult<bool> SetValues(const Text& keyPath,
                                        const std::vector<StoredValue>& values) = 0;
};

}  // namespace velmo

template <>
struct std::is_error_code_enum<velmo::FileErrc> : std::true_type {};
