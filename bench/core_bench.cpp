// Timings of the work behind every signature change: wrapping, laying out,
// reading the quote list and making the signature file's bytes, each called
// straight, with no program around it; and the file written to a real disk.

#include <benchmark/benchmark.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "domain/layout.h"
#include "domain/output_forms.h"
#include "domain/quote_list.h"
#include "domain/signature_options.h"
#include "domain/text_fields.h"
#include "domain/wrap.h"
#include "platform/file_text.h"

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

// The first-run options with the fixed part in.
SignatureOptions FirstRunOptions() {
    SignatureOptions options;
    options.fixedPart = Check::On;
    return options;
}

void BM_WrapText(benchmark::State& state) {
    const auto width = static_cast<int>(state.range(0));
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
    const auto width = static_cast<int>(state.range(0));
    for (auto _ : state) {
        Text wrapped = WrapText(text, width);
        benchmark::DoNotOptimize(wrapped);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_WrapLongText)->ArgName("width")->Arg(40)->Arg(100)->Unit(benchmark::kMillisecond);

// The same for text of wide characters: Japanese that runs on without spaces,
// so that lines end between ideographs, with emoji, a ZWJ family and flags
// among them. `size` is in MiB; the wrap must stay linear in it.
constexpr TextView kWideQuote =
    U"吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当がつかぬ 👍 何でも薄暗いじめじめした"
    U"所でニャーニャー泣いていた事だけは記憶している 👨‍👩‍👧 "
    U"吾輩はここで始めて人間というものを見た。"
    U"🇯🇵🇩🇪🇫🇷 東京 Example Ltd. ";

void BM_WrapLongWideText(benchmark::State& state) {
    const size_t size = static_cast<size_t>(state.range(1)) << 20;
    Text text;
    text.reserve(size + kWideQuote.size());
    while (text.size() < size)
        text += kWideQuote;
    text.resize(size);
    const auto width = static_cast<int>(state.range(0));
    for (auto _ : state) {
        Text wrapped = WrapText(text, width);
        benchmark::DoNotOptimize(wrapped);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_WrapLongWideText)
    ->ArgNames({"width", "size"})
    ->ArgsProduct({{40, 100}, {1, 4}})
    ->Unit(benchmark::kMillisecond);

void BM_ComposeSignature(benchmark::State& state) {
    SignatureOptions options = FirstRunOptions();
    options.bordered = state.range(0) == 1 ? Check::On : Check::Off;
    options.plainWidth = static_cast<int>(state.range(1));
    options.borderedWidth = options.plainWidth;
    for (auto _ : state) {
        Text signature = ComposeSignature(options, kFixed, kQuote);
        benchmark::DoNotOptimize(signature);
    }
}
BENCHMARK(BM_ComposeSignature)
    ->ArgNames({"bordered", "width"})
    ->ArgsProduct({{0, 1}, {40, 60, 80, 100}});

// A full list of varied entries, some over several lines, as the quote list file holds them.
std::string QuoteListBytes() {
    Text content;
    for (int i = 0; i < QuoteList::kMaxEntries; ++i) {
        const size_t start = static_cast<size_t>(i % 50);
        const size_t length = 60 + static_cast<size_t>(i * 37 % 240);
        Text entry(kQuote.substr(start, length));
        if (i % 3 == 0)
            entry += U"\r\n-- Author " + ToText(i);
        content += QuotedRecord(entry);
    }
    return EncodeFileText(content);
}

// The file's bytes decoded and its fields read into the list.
void BM_ReadQuoteList(benchmark::State& state) {
    const std::string bytes = QuoteListBytes();
    QuoteList list;
    for (auto _ : state) {
        FileTextPieces pieces(bytes);
        FieldReader reader([&pieces](Text& text) { return pieces.Next(text); });
        ReadQuoteList(reader, list);
        benchmark::DoNotOptimize(list.EntryCount);
    }
    if (list.EntryCount != QuoteList::kMaxEntries)
        state.SkipWithError("the list did not read whole");
    state.SetItemsProcessed(state.iterations() * QuoteList::kMaxEntries);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_ReadQuoteList);

// The bytes of the signature file, as the file writer makes them: the form,
// the platform's line ends, then the text file's encoding or plain ASCII.
std::string SignatureFileBytes(OutputForm form, TextView signature) {
    const Text content = NativeLineEnds(SignatureInForm(form, signature) + Text(CrLf));
    return form == OutputForm::PlainText ? EncodeFileText(content) : MarkedUpFileBytes(content);
}

// A bordered signature at width 60, in each output form.
void BM_SignatureFileBytes(benchmark::State& state) {
    constexpr std::array<OutputForm, 3> kForms = {OutputForm::PlainText, OutputForm::Html,
                                                  OutputForm::Rtf};
    constexpr std::array<const char*, 3> kFormNames = {"text", "HTML", "Rich Text"};
    const auto form = static_cast<size_t>(state.range(0));
    SignatureOptions options = FirstRunOptions();
    options.output = kForms[form];
    const Text signature = ComposeSignature(options, kFixed, kQuote);
    state.SetLabel(kFormNames[form]);
    for (auto _ : state) {
        std::string bytes = SignatureFileBytes(kForms[form], signature);
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_SignatureFileBytes)->ArgName("form")->DenseRange(0, 2);

#if !defined(_WIN32)
// The text file written on a real disk: a whole replacement, synced, as the program does it.
void BM_WriteSignatureFileToDisk(benchmark::State& state) {
    namespace fs = std::filesystem;
    std::string pattern = (fs::temp_directory_path() / "velmo-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const fs::path folder = pattern;
    const Text path = FromUtf8((folder / "signature.txt").string());
    const std::string bytes = SignatureFileBytes(
        OutputForm::PlainText, ComposeSignature(FirstRunOptions(), kFixed, kQuote));

    PosixFileStore store;
    bool written = true;
    for (auto _ : state)
        written = static_cast<bool>(store.Replace(path, bytes)) && written;
    if (!written || !fs::exists(folder / "signature.txt"))
        state.SkipWithError("the signature file was not written");
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}
// The time goes into waiting for the disk, which CPU time would not show.
BENCHMARK(BM_WriteSignatureFileToDisk)->UseRealTime()->Unit(benchmark::kMicrosecond);
#endif

}  // namespace
}  // namespace velmo
