#pragma once

// In-memory fakes of the platform services, with what they were asked
// recorded and their answers set in advance.

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "platform/ports.h"
#include "platform/reg_file_store.h"
#include "support/native_forms.h"
#include "ui/app.h"

namespace velmo::testing {

// The platform calls in the order they were made.
struct CallLog {
    std::vector<std::string> calls;
    void Add(std::string call) { calls.push_back(std::move(call)); }
};

// A fake whose calls go to a shared log when it is given one.
struct Logged {
    CallLog* log = nullptr;
    void Note(std::string call) {
        if (log)
            log->Add(std::move(call));
    }
};

struct ShownMessage {
    Text text;
    MessageStyle style;
    Text title;
};

class FakeMessageBox : public MessageBoxPort, public Logged {
  public:
    Answer Show(const Text& text, const MessageStyle& style, const Text& title) override {
        Note("message " + ToUtf8(text));
        shown.push_back({text, style, title});
        if (answers.empty())
            return style.buttons == MessageButtons::YesNo ? Answer::No : Answer::Ok;
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<Answer> answers;  // next answers; No or Ok when none are left
    std::vector<ShownMessage> shown;
};

struct DialogCall {
    Text initial;
    FileFilters filter;
    Text title;
    FileChoice choice;
};

class FakeFileDialog : public FileDialogPort {
  public:
    std::optional<Text> OpenFile(const Text& initial, const FileFilters& filters, const Text& title,
                                 FileChoice choice) override {
        calls.push_back({initial, filters, title, choice});
        if (whileOpen)
            whileOpen();
        if (results.empty())
            return std::nullopt;
        auto result = results.front();
        results.pop_front();
        return result;
    }
    std::deque<std::optional<Text>> results;  // nullopt: the user cancels
    std::vector<DialogCall> calls;
    std::function<void()> whileOpen;  // what runs while the user chooses, such as a timer
};

class FakeClipboard : public ClipboardPort {
  public:
    void SetText(const Text& text) override { texts.push_back(text); }
    std::vector<Text> texts;
};

// Time moves only when a test moves it.
class FakeClock : public ClockPort {
  public:
    double ElapsedSeconds() const override { return elapsed; }
    double elapsed = 1000.0;
};

// Queued answers first, then a generator with a fixed seed.
class FakeRandom : public RandomPort, public Logged {
  public:
    int Between(int lo, int hi) override {
        Note("random");
        asked.push_back({lo, hi});
        if (!values.empty()) {
            const int v = values.front();
            values.pop_front();
            return v;
        }
        return std::uniform_int_distribution<int>(lo, hi)(engine);
    }
    std::deque<int> values;
    std::vector<std::pair<int, int>> asked;
    std::mt19937 engine{12345};
};

// A single timer request; the test fires it by moving the fake clock.
class FakeTimer : public TimerPort, public Logged {
  public:
    explicit FakeTimer(FakeClock& clock) : clock_(clock) {}
    void Start(double seconds, std::function<void()> due) override {
        Note("timer");
        dueAt = clock_.elapsed + std::max(0.0, seconds);
        callback = std::move(due);
    }
    void Stop() override { callback = nullptr; }
    bool armed() const { return static_cast<bool>(callback); }

    // Moves the clock forward, firing the timer (and any it re-arms) on the way.
    void Advance(double seconds) {
        const double end = clock_.elapsed + seconds;
        while (callback && dueAt <= end) {
            clock_.elapsed = std::max(clock_.elapsed, dueAt);
            auto fire = std::move(callback);
            callback = nullptr;
            fire();
        }
        clock_.elapsed = end;
    }

    double dueAt = 0;
    std::function<void()> callback;

  private:
    FakeClock& clock_;
};

class FakeInstance : public SingleInstancePort, public Logged {
  public:
    bool AnotherInstanceRunning() override {
        Note("instance");
        return anotherRunning;
    }
    bool anotherRunning = false;
};

class FakeNotifyIcon : public NotifyIconPort, public Logged {
  public:
    bool Available() override { return available; }
    bool available = true;
    void Add(const std::string&, const Text& tooltip) override {
        Note("icon add");
        tip = tooltip;
        shown = true;
        ++adds;
    }
    void Remove() override {
        Note("icon remove");
        shown = false;
    }
    void PopupMenu() override {
        ++popups;
        if (onPopup)
            onPopup();
    }
    IconClick OpenCloseClick() override { return openClose; }
    IconClick openClose = IconClick::Double;
    bool shown = false;
    Text tip;
    int adds = 0;
    int popups = 0;
    std::function<void()> onPopup;  // what the user does while the menu is open
};

class FakeProgram : public ProgramPort {
  public:
    Text ProfileName() override { return profileName; }
    Text ProgramFolder() override { return folder; }
    bool CanWriteFolder(const Text& f) override { return f != readOnlyFolder; }
    Text TextFilesFolder() override { return textFilesFolder; }
    Text DocumentsFolder() override { return documentsFolder; }
    std::vector<Text> OwnFiles() override { return ownFiles; }
    std::vector<Text> OtherProfilesTextFolders() override { return otherProfilesFolders; }
    Text ProgramFile() override { return programFile; }
    Text AutostartFile() override { return autostartFile; }
    Text HelpFile() override { return helpFile; }
    Text PickRoundFile() override { return pickRoundFile; }
    Text PickRoundLock() override { return pickRoundLock; }
    std::optional<StartList> DesktopStartList() override { return startList; }
    FileResult SetOnDesktopStartList(bool on) override {
        if (startListFailure.error)
            return startListFailure;
        startList->on = on;
        return {};
    }
    Text profileName;
    std::vector<Text> otherProfilesFolders;
    Text folder = Rooted(U"opt/velmo");
    Text readOnlyFolder;
    Text dataFolder = Folder(U"home/test/.local/share/Velmo");
    Text textFilesFolder = Folder(U"opt/velmo");
    Text documentsFolder = Rooted(U"home/test/Documents");
    std::vector<Text> ownFiles = {Rooted(U"opt/velmo/velmo"), U"/home/test/.config/Velmo/User.reg"};
    Text programFile = Rooted(U"opt/velmo/velmo");
    Text autostartFile = Rooted(U"home/test/.config/autostart/velmo.desktop");
    Text helpFile;
    Text pickRoundFile = Rooted(U"home/test/.local/state/Velmo/picks");
    Text pickRoundLock = Rooted(U"home/test/.config/Velmo/User.reg.lock");
    // A desktop that keeps its own list of programs to start (set with an
    // empty autostartFile), and the reason changing it fails.
    std::optional<StartList> startList;
    FileResult startListFailure;
};

class FakeEventLoop : public EventLoopPort, public Logged {
  public:
    void Quit() override {
        Note("quit");
        ++quits;
    }
    int quits = 0;
};

class FakeBrowser : public BrowserPort {
  public:
    bool Open(const Text& address) override {
        opened.push_back(address);
        return !refuse;
    }
    std::vector<Text> opened;
    bool refuse = false;  // no program to open anything
};

// Files in memory; a path listed in `failReads` or `failWrites` fails with its
// reason.
class FakeFileStore : public FileStorePort, public Logged {
  public:
    FileBytes Read(const Text& path, size_t limit = kReadLimit) override {
        Note("read " + ToUtf8(path));
        ++reads;
        if (const auto failing = failReads.find(path); failing != failReads.end())
            return FileResult{failing->second};
        const auto it = files.find(path);
        if (it == files.end())
            return FileResult{std::make_error_code(std::errc::no_such_file_or_directory)};
        if (it->second.size() > limit)
            return FileResult{FileErrc::TooLarge};
        return it->second;
    }
    FileResult Replace(const Text& path, std::string_view bytes) override {
        Note("write " + ToUtf8(path));
        if (const auto it = failWrites.find(path); it != failWrites.end())
            return {it->second};
        files[path] = std::string(bytes);
        writtenUnder[path] = lockHeld;
        ++writes;
        return {};
    }
    void Locked(const Text& lockPath, const std::function<void()>& work) override {
        lockHeld = lockPath;
        work();
        lockHeld.clear();
    }
    bool Exists(const Text& path) const override { return files.count(path) != 0; }
    bool IsLink(const Text& path) const override { return aliases.count(path) != 0; }
    // A path listed in `aliases` names the file of another, as a link does.
    bool SameFile(const Text& a, const Text& b) const override {
        const auto named = [this](const Text& path) {
            const auto it = aliases.find(path);
            return it == aliases.end() ? path : it->second;
        };
        return named(a) == named(b);
    }
    FileResult Rename(const Text& from, const Text& to) override {
        const auto it = files.find(from);
        if (it == files.end())
            return {std::make_error_code(std::errc::no_such_file_or_directory)};
        if (files.count(to) != 0)
            return {std::make_error_code(std::errc::file_exists)};
        files[to] = it->second;
        files.erase(from);
        return {};
    }
    FileResult MakeFolders(const Text& folder) override {
        madeFolders.push_back(folder);
        return {};
    }
    FileResult Remove(const Text& path) override {
        if (const auto it = failWrites.find(path); it != failWrites.end())
            return {it->second};
        if (files.erase(path) == 0)
            return {std::make_error_code(std::errc::no_such_file_or_directory)};
        return {};
    }
    std::map<Text, std::string> files;
    std::map<Text, std::error_code> failWrites;
    std::map<Text, std::error_code> failReads;
    std::map<Text, Text> aliases;
    std::vector<Text> madeFolders;
    // The lock held now, and the one held at each file's last write.
    Text lockHeld;
    std::map<Text, Text> writtenUnder;
    int reads = 0;
    int writes = 0;
};

inline const Text kTestSettingsFile = U"/home/test/.config/Velmo/User.reg";

// A whole program in memory on fakes; the settings store is the real file
// store working on the in-memory files.
struct TestPlatform {
    TestPlatform() {
        for (CallLog** l : {&messages.log, &random.log, &timer.log, &instance.log, &icon.log,
                            &loop.log, &files.log}) {
            *l = &log;
        }
    }
    TestPlatform(const TestPlatform&) = delete;
    TestPlatform& operator=(const TestPlatform&) = delete;

    CallLog log;
    FakeMessageBox messages;
    FakeFileDialog fileDialog;
    FakeClipboard clipboard;
    FakeClock clock;
    FakeRandom random;
    FakeFileStore files;
    RegFileStore settings{files, kTestSettingsFile};
    FakeTimer timer{clock};
    FakeInstance instance;
    FakeNotifyIcon icon;
    FakeProgram program;
    FakeBrowser browser;
    FakeEventLoop loop;

    // The fakes, or other stores such as the real ones.
    Ports ports() { return ports(files, settings); }
    Ports ports(SettingsStorePort& settingsStore) { return ports(files, settingsStore); }
    Ports ports(FileStorePort& fileStore, SettingsStorePort& settingsStore) {
        return {messages, fileDialog, clipboard, clock,   random,  fileStore, settingsStore,
                timer,    instance,   icon,      program, browser, loop};
    }
};

struct TestApp : TestPlatform {
    App app{ports()};
};

// Makes the session's last signature the fixed text `lines` alone, unbordered;
// the options are the session's only until the window reads its own again.
inline void ComposeFixedTextAlone(SignatureSession& session, const Text& lines) {
    session.options = SignatureOptions{};
    session.options.fixedPart = Check::On;
    session.options.variablePart = Check::Off;
    session.options.bordered = Check::Off;
    session.fixedText = lines;
    session.Compose();
}

// Moves every option away from its default, the top border to "Like" and
// the output type left as it is: the packed flags become
// " 7 1 1 0 1 1-1 0 1-1 0 0-1-1 0-1 0 0 0 " and the output type's digit.
inline void ChangeEveryOption(MainForm& form, const Text& bottomLike) {
    form.sldChangeInterval.Value = 7;
    form.chkClipboard.Value = Check::On;
    form.chkSignatureFile.Value = Check::On;
    form.chkVariablePart.Value = Check::Off;
    form.chkFixedPart.Value = Check::On;
    form.chkStartOnTray.Value = Check::On;
    form.optVariableFirst.Value = true;
    form.chkBorder.Value = Check::Off;
    form.chkBlankRows.Value = Check::On;
    form.optBottomSameAsTop.Value = true;
    form.optRightLike.Value = true;
    form.optSeparatorBlankLine.Value = true;
    form.chkRightSameAsLeft.Value = Check::Off;
    form.cmbPlainWidth.Text = U"40";
    form.txtTopLike.Text = U"  ~~ top — ~~  ";
    form.txtTopRepeat.Text = U"\"\\";
    form.cmbBorderedWidth.Text = U"100";
    form.txtBottomLike.Text = bottomLike;
    form.txtBottomRepeat.Text = U"=-";
    form.txtLeftLike.Text = U"<|";
    form.cmbIndent.Text = U"4";
    form.txtRightLike.Text = U"|>";
    form.optTopLike.Value = true;  // after the repeat text, whose change selects Repeat
}

}  // namespace velmo::testing
