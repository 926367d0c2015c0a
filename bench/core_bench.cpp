// Timings of the work behind every signature change: wrapping, assembling,
// loading the quote list and writing the signature file.

#include <benchmark/benchmark.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "domain/text_fields.h"
#include "domain/wrap.h"
#include "platform/file_text.h"
#include "support/fakes.h"
#include "ui/app.h"
#include "ui/options.h"
#include "ui/signature.h"
#include "ui/signature_file.h"
#include "ui/variable_file.h"

#if !defined(_WIN32)
#include "platform/posix_file_store.h"
#endif

namespace velmo {
namespace {

// A long quotation: most real entries are shorter, so this is the heavier case.
constexpr TextView kQuote =
    U"Whatever you can do, or dream you can, begin it. Boldness has genius, power and magic in "
    U"it. The best time to plant a tree was twenty years ago; the second best time is now. We "
    U"are what we repeatedly do: excellence, then, is not an act, but a habit, and every long "
    U"journey begins with one small step.";
static_assert(kQuote.size() == 300);

constexpr TextView kFixed = U"Jo Bloggs\r\nBloggs & Sons, Small Town\r\n+44 1234 567890";

const Text kAppFolder = U"/opt/velmo/";
const Text kSignaturePath = U"/mail/signature.txt";

// A program with the first-run options, the fixed part and the quotation in use,
// and no output beyond the signature text.
std::unique_ptr<testing::TestApp> MakeApp() {
    auto t = std::make_unique<testing::TestApp>();
    App& app = t->app;
    SetDefaults(app);
    app.AppPath = kAppFolder;
    app.form.chkClip.Value = 0;
    app.form.chkFile.Value = 0;
    app.form.chkFixed.Value = 1;
    app.form.txtFixed.Text = Text(kFixed);
    app.vars.Entries[1] = Text(kQuote);
    app.vars.EntryCount = 1;
    app.vars.CurrentEntry = 1;
    app.PickedEntry = 1;
    app.PickedText = Text(kQuote);
    return t;
}

void BM_WrapText(benchmark::State& state) {
    const Text width = ToText(state.range(0));
    for (auto _ : state) {
        Text wrapped = WrapText(kQuote, width);
        benchmark::DoNotOptimize(wrapped);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kQuote.size()));
}
BENCHMARK(BM_WrapText)->ArgName("width")->Arg(40)->Arg(60)->Arg(80)->Arg(100);

// A hostile quote: 1 MiB of prose in one paragraph, so that no line break is
// near; the wrap must stay linear in the length of the text.
Text LongQuote() {
    constexpr size_t kSize = size_t{1} << 20;
    Text text;
    text.reserve(kSize + kQuote.size() + 1);
    while (text.size() < kSize) {
        text += kQuote;
        text += U' ';
    }
    text.resize(kSize);
    return text;
}

void BM_WrapLongText(benchmark::State& state) {
    const Text text = LongQuote();
    const Text width = ToText(state.range(0));
    for (auto _ : state) {
        Text wrapped = WrapText(text, width);
        benchmark::DoNotOptimize(wrapped);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_WrapLongText)->ArgName("width")->Arg(40)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_BuildSignature(benchmark::State& state) {
    auto t = MakeApp();
    App& app = t->app;
    const bool bordered = state.range(0) == 1;
    const Text width = ToText(state.range(1));
    app.form.chkBorder.Value = bordered ? 1 : 0;
    app.form.cmbFixWidth.Text = width;
    app.form.cmbWidth.Text = width;
    // A width the combo box refused would silently measure another case.
    if (app.form.cmbWidth.Text.get() != width || app.form.cmbFixWidth.Text.get() != width) {
        state.SkipWithError("width not taken");
        return;
    }
    for (auto _ : state) {
        BuildSignature(app);
        benchmark::DoNotOptimize(app.SignatureText.data());
    }
    if (!t->messages.shown.empty() || t->files.writes != 0)
        state.SkipWithError("unexpected message or file write");
}
BENCHMARK(BM_BuildSignature)
    ->ArgNames({"bordered", "width"})
    ->ArgsProduct({{0, 1}, {40, 60, 80, 100}});

// A full list of varied entries, some over several lines, as the quote file holds them.
std::string QuoteFileBytes() {
    Text content;
    for (int i = 0; i < VariableEntries::kMaxEntries; ++i) {
        const size_t start = static_cast<size_t>(i % 50);
        const size_t length = 60 + static_cast<size_t>(i * 37 % 240);
        Text entry(kQuote.substr(start, length));
        if (i % 3 == 0)
            entry += U"\r\n-- Author " + ToText(i);
        content += QuotedRecord(entry);
    }
    return EncodeFileText(content);
}

void BM_LoadVariableFile(benchmark::State& state) {
    auto t = MakeApp();
    App& app = t->app;
    const std::string bytes = QuoteFileBytes();
    t->files.files[kAppFolder + Text(VariableFileName)] = bytes;
    for (auto _ : state) {
        LoadVariableFile(app);
        benchmark::DoNotOptimize(app.vars.EntryCount);
    }
    if (app.vars.EntryCount != VariableEntries::kMaxEntries || !t->messages.shown.empty())
        state.SkipWithError("the list did not load whole");
    state.SetItemsProcessed(state.iterations() * VariableEntries::kMaxEntries);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_LoadVariableFile);

// A bordered signature at width 60, assembled once, in the chosen output form.
void PrepareWrite(testing::TestApp& t, int form) {
    App& app = t.app;
    // The type comes first: choosing it may offer a new file, which the fakes decline.
    switch (form) {
        case 1:
            app.form.optHTML.Value = true;
            break;
        case 2:
            app.form.optRTF.Value = true;
            break;
        default:
            app.form.optText.Value = true;
    }
    app.form.chkBorder.Value = 1;
    app.form.cmbWidth.Text = U"60";
    BuildSignature(app);
    app.form.chkFile.Value = 1;
}

constexpr std::array<const char*, 3> kFormNames = {"text", "HTML", "Rich Text"};

void BM_WriteSignatureFile(benchmark::State& state) {
    auto t = MakeApp();
    App& app = t->app;
    const int form = static_cast<int>(state.range(0));
    PrepareWrite(*t, form);
    app.SignatureFilePath = kSignaturePath;
    state.SetLabel(kFormNames[static_cast<size_t>(form)]);
    for (auto _ : state)
        WriteSignatureFile(app);
    if (t->files.files.count(kSignaturePath) == 0 || !t->messages.shown.empty())
        state.SkipWithError("the signature file was not written");
}
BENCHMARK(BM_WriteSignatureFile)->ArgName("form")->DenseRange(0, 2);

#if !defined(_WIN32)
// The same text write on a real disk: a whole replacement, synced, as the program does it.
void BM_WriteSignatureFileToDisk(benchmark::State& state) {
    namespace fs = std::filesystem;
    std::string pattern = (fs::temp_directory_path() / "velmo-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const fs::path folder = pattern;

    testing::TestPlatform platform;
    PosixFileStore store;
    App app{platform.ports(store)};
    SetDefaults(app);
    app.AppPath = kAppFolder;
    app.form.chkClip.Value = 0;
    app.form.chkFile.Value = 0;
    app.form.chkFixed.Value = 1;
    app.form.txtFixed.Text = Text(kFixed);
    app.PickedText = Text(kQuote);
    app.form.optText.Value = true;
    app.form.chkBorder.Value = 1;
    BuildSignature(app);
    app.form.chkFile.Value = 1;
    app.SignatureFilePath = FromUtf8((folder / "signature.txt").string());

    for (auto _ : state)
        WriteSignatureFile(app);
    if (!fs::exists(folder / "signature.txt") || !platform.messages.shown.empty())
        state.SkipWithError("the signature file was not written");
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}
// The time goes into waiting for the disk, which CPU time would not show.
BENCHMARK(BM_WriteSignatureFileToDisk)->UseRealTime()->Unit(benchmark::kMicrosecond);
#endif

}  // namespace
}  // namespace velmo
