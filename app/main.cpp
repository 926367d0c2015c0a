// Velmo's entry point. Until the window is drawn, it assembles a signature
// from the first-run options and prints it.

#include <chrono>
#include <ctime>
#include <iostream>
#include <random>

#include "core/app.h"
#include "settings/options.h"
#include "signature/signature.h"

namespace {

using namespace velmo;

class ConsoleMessages : public MessageBoxPort {
  public:
    int Show(const Text& text, int, const Text& title) override {
        std::cerr << ToUtf8(title.empty() ? Text(U"Velmo") : title) << ": " << ToUtf8(text) << '\n';
        return msgbox::Ok;
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

class SystemClock : public ClockPort {
  public:
    double SecondsSinceMidnight() const override {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec;
    }
};

class StandardRandom : public RandomPort {
  public:
    float Next() override { return std::uniform_real_distribution<float>(0.0f, 1.0f)(engine_); }
    void Reseed(int seed) override { engine_.seed(static_cast<unsigned>(seed)); }

  private:
    std::mt19937 engine_{std::random_device{}()};
};

class NoFiles : public FileStorePort {
  public:
    std::optional<std::string> Read(const Text&, FileResult& result) override {
        result.error = "not available";
        return std::nullopt;
    }
    FileResult Replace(const Text&, std::string_view) override { return {"not available"}; }
    bool Exists(const Text&) override { return false; }
};

}  // namespace

int main() {
    ConsoleMessages messages;
    NoFileDialog dialog;
    NoClipboard clipboard;
    SystemClock clock;
    StandardRandom random;
    NoFiles files;
    App app({messages, dialog, clipboard, clock, random, files});

    SetDefaults(app);
    app.PickedText = U"Velmo puts a fresh quotation under every mail you write.";
    app.form.txtFixed.Text = U"Velmo " + ToText(VELMO_VERSION_MAJOR) + U"." +
                             ToText(VELMO_VERSION_MINOR) + U"." + ToText(VELMO_VERSION_PATCH);
    app.form.chkFixed.Value = 1;
    BuildSignature(app);
    std::cout << ToUtf8(app.SignatureText) << '\n';
    return 0;
}
