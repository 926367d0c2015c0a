// Velmo's entry point. Until the window is drawn, it runs the real start-up
// (settings, text files, the first pick and the signature file) with console
// stand-ins for the window's services, prints the signature and ends.

#include <iostream>

#include "core/app.h"
#include "core/posix_file_store.h"
#include "core/posix_platform.h"
#include "core/startup.h"
#include "settings/reg_file_store.h"

namespace {

using namespace velmo;

class ConsoleMessages : public MessageBoxPort {
  public:
    int Show(const Text& text, int style, const Text& title) override {
        std::cerr << ToUtf8(title.empty() ? Text(U"Velmo") : title) << ": " << ToUtf8(text) << '\n';
        // Questions are answered with their safe choice.
        return (style & 7) == msgbox::YesNo ? msgbox::No : msgbox::Ok;
    }
};

class NoFileDialog : public FileDialogPort {
  public:
    std::optional<Text> OpenFile(const Text&, const Text&, const Text&) override {
        return std::nullopt;
    }
};

class NoClipboard : public ClipboardPort {
  public:
    void SetText(const Text&) override {}
};

class NoTimer : public TimerPort {
  public:
    void Start(double, std::function<void()>) override {}
    void Stop() override {}
};

class NoIcon : public NotifyIconPort {
  public:
    bool Available() override { return false; }
    void Add(const std::string&, const Text&) override {}
    void Remove() override {}
    void PopupMenu() override {}
};

class NoBrowser : public BrowserPort {
  public:
    void Open(const Text&) override {}
};

}  // namespace

int main() {
    ConsoleMessages messages;
    NoFileDialog dialog;
    NoClipboard clipboard;
    PosixClock clock;
    StandardRandom random;
    PosixFileStore files;
    RegFileStore settings(files, RegFileStore::DefaultPath());
    NoTimer timer;
    LockFileInstance instance;
    NoIcon icon;
    PosixProgram program;
    NoBrowser browser;
    App app({messages, dialog, clipboard, clock, random, files, settings, timer, instance, icon,
             program, browser});
    if (!Main(app))
        return 0;
    std::cout << ToUtf8(app.SignatureText) << '\n';
    return 0;
}
