// The HTML and Rich Text forms of any signature text: pure ASCII, every
// markup character of the body the program's own, and the escaped lines
// decoding to the signature's lines. The written file holds the same bytes.
// The input is the signature text as a file's bytes.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_checks.h"
#include "platform/file_text.h"
#include "support/fakes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmo;
    using namespace velmo::fuzz;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    testing::TestApp t;
    App& app = t.app;
    app.SignatureText = DecodeFileText(bytes);
    CheckHtmlForm(app);
    CheckRtfForm(app);

    // Written through the file writer, the bytes are the form's ASCII.
    const Text path = U"/home/test/signature.rtf";
    app.SignatureFilePath = path;
    app.form.chkFile.Value = 1;
    app.form.optRTF.Value = true;
    WriteSignatureFile(app);
    const std::string& written = t.files.files[path];
    Require(written == ToUtf8(app.SignatureFileText + Text(CrLf)),
            "the written file is not the Rich Text form");
    for (char c : written)
        Require(static_cast<unsigned char>(c) < 0x80, "the written file holds a byte beyond ASCII");
    return 0;
}
