// The stored options: the packed flag string and the twelve stored texts, as
// a hand-edited or damaged store may give them. Any of them must apply to the
// window without a crash, the flags then collected must encode into a string
// that decodes to them again, and a signature must still build.
//
// Input: the packed string up to the first LF, then the twelve stored texts
// separated by 0x1F, all UTF-8.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "fuzz_checks.h"
#include "support/fakes.h"
#include "ui/options.h"
#include "ui/signature.h"

namespace velmo::fuzz {
namespace {

void CheckDecode(TextView packed) {
    const std::optional<ProgramFlagArray> flags = DecodeProgramValues(packed);
    if (!flags)
        return;
    Require(packed.size() == 40, "a packed string of another length decoded");
    const std::optional<ProgramFlagArray> again = DecodeProgramValues(EncodeProgramValues(*flags));
    Require(again.has_value(), "encoded flags do not decode");
    for (size_t i = 0; i < flags->size(); ++i) {
        const int was = (*flags)[i];
        const int now = (*again)[i];
        // One digit per field: larger numbers keep their sign.
        Require(std::abs(was) <= 9 ? now == was : (now < 0) == (was < 0) && std::abs(now) == 9,
                "a flag changed through encoding");
    }
}

void CheckApply(TextView packed, const std::vector<std::string_view>& stored) {
    testing::TestApp t;
    App& app = t.app;
    app.AppPath = U"/opt/velmo/";
    app.ProgramValues = Text(packed);
    for (size_t i = 0; i < app.SettingValues.size() && i < stored.size(); ++i)
        app.SettingValues[i] = FromUtf8(stored[i]);

    ApplyOptions(app);
    const ProgramFlagArray flags = ProgramFlags(ReadOptions(app.form));
    const Text encoded = EncodeProgramValues(flags);
    Require(encoded.size() == 40, "encoded flags are not 40 characters");
    const std::optional<ProgramFlagArray> decoded = DecodeProgramValues(encoded);
    Require(decoded.has_value(), "collected flags encode into a string that does not decode");
    Require(*decoded == flags, "collected flags do not survive encoding");

    // The options as applied, whatever they are, still make a signature.
    app.PickedText = U"The quick brown fox jumps over the lazy dog again and again.";
    app.form.txtFixed.Text = U"A. Writer\r\nSmall Town";
    BuildSignature(app);
    if (app.form.optHTML.Value) {
        CheckHtmlForm(app);
    } else if (app.form.optRTF.Value) {
        CheckRtfForm(app);
    }
}

}  // namespace
}  // namespace velmo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmo;
    using namespace velmo::fuzz;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const size_t lineEnd = bytes.find('\n');
    const Text packed = FromUtf8(bytes.substr(0, lineEnd));
    std::vector<std::string_view> stored;
    if (lineEnd != std::string_view::npos)
        stored = SplitBytes(bytes.substr(lineEnd + 1), '\x1f');
    CheckDecode(packed);
    CheckApply(packed, stored);
    return 0;
}
