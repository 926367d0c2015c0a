// The sixteen stored option sets. Each is fixed: options written out here,
// turned into a User.reg by Velmo's own encoding (domain/stored_options.h)
// and settings file (platform/reg_file_store.h), neither of which a
// redesign of ui/ and service/ touches; the record prints every given file
// too, so a change here would show. The random answers are given per set;
// past them the fake falls back to its fixed seed.

#include <stdexcept>

#include "domain/signature_options.h"
#include "domain/stored_options.h"
#include "platform/ports.h"
#include "platform/reg_file_store.h"
#include "record.h"

namespace record {

using namespace velmo;

namespace {

const Text kSettingsKey = U"SOFTWARE\\Velmo\\User\\Freeware";

// The files in memory and their read, in the form of the tree built against:
// a read that returns the bytes or the failure in one value, or one that
// fills in a FileResult.
#if __has_include("platform/result.h")
class MemoryRead : public FileStorePort {
  public:
    FileBytes Read(const Text& path, size_t) override {
        const auto it = files.find(path);
        if (it == files.end())
            return FileResult{std::make_error_code(std::errc::no_such_file_or_directory)};
        return it->second;
    }
    std::map<Text, std::string> files;
};
#else
class MemoryRead : public FileStorePort {
  public:
    std::optional<std::string> Read(const Text& path, FileResult& result, size_t) override {
        const auto it = files.find(path);
        if (it == files.end()) {
            result.error = std::make_error_code(std::errc::no_such_file_or_directory);
            return std::nullopt;
        }
        result = {};
        return it->second;
    }
    std::map<Text, std::string> files;
};
#endif

// Just enough of a file store for writing a settings file.
class MemoryFiles : public MemoryRead {
  public:
    FileResult Replace(const Text& path, std::string_view bytes) override {
        files[path] = std::string(bytes);
        return {};
    }
    // Both forms, so that the record builds against stores whose queries are
    // const and stores whose queries are not.
    bool Exists(const Text& path) { return files.count(path) != 0; }
    bool Exists(const Text& path) const { return files.count(path) != 0; }
    bool IsLink(const Text&) { return false; }
    bool IsLink(const Text&) const { return false; }
    bool SameFile(const Text& a, const Text& b) { return a == b; }
    bool SameFile(const Text& a, const Text& b) const { return a == b; }
    FileResult Rename(const Text&, const Text&) override {
        return {std::make_error_code(std::errc::operation_not_supported)};
    }
    FileResult MakeFolders(const Text&) override { return {}; }
    FileResult Remove(const Text&) override {
        return {std::make_error_code(std::errc::operation_not_supported)};
    }
};

// Whether a store wrote: a flag, or one in a result with the failure.
bool Written(bool written) {
    return written;
}
template <class Result>
bool Written(const Result& result) {
    return result.has_value() && result.value();
}

std::string SettingsFile(const SignatureOptions& options, const Text& signaturePath,
                         const Text& quotePath, const Text& fixedPath,
                         const Text& programValues = Text()) {
    std::vector<StoredValue> values = EncodeOptions(options, signaturePath, quotePath, fixedPath);
    if (!programValues.empty())
        values[0].text = programValues;
    MemoryFiles memory;
    RegFileStore store(memory, kSettingsFile);
    if (!Written(store.SetValues(kSettingsKey, values)))
        throw std::runtime_error("cannot write a settings file");
    return memory.files.at(kSettingsFile);
}

std::string Utf16Le(const Text& text) {
    std::string out = "\xFF\xFE";
    const auto unit = [&out](char32_t u) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>((u >> 8) & 0xFF);
    };
    for (char32_t c : text) {
        if (c >= 0x10000) {
            unit(0xD800 + ((c - 0x10000) >> 10));
            unit(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            unit(c);
        }
    }
    return out;
}

// Quotations with non-ASCII text, entries over several lines, doubled
// quotes, a tab, a long entry and two plain fields on one line: 8 entries.
const std::string kRichList =
    "\"Grüße aus Köln — «naïve» café, señor.\"\r\n"
    "\"Line one of a verse\r\nLine two, with a comma\r\n    and an indented third\"\r\n"
    "\"日本語の引用：七転び八起き 🙂\"\r\n"
    "\"He said \"\"hello\"\" and left.\"\r\n"
    "\"A rather long quotation that goes on and on past any width a signature could take, so "
    "that the layout has to wrap it over several rows, every one of them bordered.\"\r\n"
    "plain unquoted entry, second plain\r\n"
    "\"Tab\there\"\r\n"
    "\"Last: ÅÄÖ åäö ß € ‰\"\r\n";

// Plain ASCII with LF line ends: 3 entries.
const std::string kShortList = "\"First quotation\"\n\"Second quotation\"\n\"Third quotation\"\n";

const std::string kFixedText =
    "\"Jane Doe\"\r\n\"Example Ltd · Zürich\"\r\n\"+41 00 000 00 00\"\r\n";

const Text kTopLike45 = U"-=*=--=*=--=*=--=*=--=*=--=*=--=*=--=*=--=*=-";
const Text kBottomLike42 = U"~~~~~~~~~~~~~~~~~~~ end ~~~~~~~~~~~~~~~~~~~";

}  // namespace

std::vector<StoredSet> StoredSets() {
    const Text list = kDataFolder + U"Variable.txt";
    const Text fixed = kDataFolder + U"Fixed.fxt";
    std::vector<StoredSet> sets;
    const auto add = [&](std::string name, std::string about, const SignatureOptions& o,
                         const Text& signaturePath, const Text& quotePath, const Text& fixedPath,
                         std::map<Text, std::string> files, std::vector<int> random,
                         const Text& programValues = Text()) {
        files[kSettingsFile] = SettingsFile(o, signaturePath, quotePath, fixedPath, programValues);
        sets.push_back({std::move(name), std::move(about), std::move(files), std::move(random)});
    };

    // 1. No settings file at all, nor any other file.
    sets.push_back({"01-first-start", "no settings file, no files: first start", {}, {7}});

    // 2. A settings file that is not REGEDIT4.
    sets.push_back({"02-corrupt-settings",
                    "settings file is garbage; a short LF list beside it",
                    {{kSettingsFile, std::string("this is not a settings file\x01\xFF\r\n[broken")},
                     {list, kShortList}},
                    {2}});

    {
        SignatureOptions o;
        o.changeInterval = 3;
        o.toFile = Check::On;
        o.fixedPart = Check::On;
        o.order = PartOrder::VariableFirst;
        o.bordered = Check::On;
        o.top = TopBorder::Repeat;
        o.bottom = BottomBorder::Unchosen;
        o.separator = PartSeparator::None;
        add("03-text-file-bordered-repeat",
            "text to file, bordered, top repeat, bottom unchosen, no separator, variable first, "
            "fixed text, multi-line entry picked",
            o, U"/home/test/Mail/signature.txt", list, fixed,
            {{list, kRichList}, {fixed, kFixedText}}, {2});
    }
    {
        SignatureOptions o;
        o.changeInterval = 1;
        o.output = OutputForm::Html;
        o.toFile = Check::On;
        o.toClipboard = Check::On;
        o.fixedPart = Check::On;
        o.order = PartOrder::FixedFirst;
        o.bordered = Check::Off;
        o.plainWidth = 40;
        add("04-html-file-clip-unbordered",
            "HTML to a relative file and clipboard, unbordered width 40, fixed first, "
            "Japanese entry picked",
            o, U"signature.html", list, fixed, {{list, kRichList}, {fixed, kFixedText}}, {3});
    }
    {
        SignatureOptions o;
        o.changeInterval = 6;
        o.output = OutputForm::Rtf;
        o.toFile = Check::On;
        o.fixedPart = Check::On;
        o.order = PartOrder::VariableFirst;
        o.top = TopBorder::Like;
        o.topLike = kTopLike45;
        o.bottom = BottomBorder::Like;
        o.bottomLike = kBottomLike42;
        o.blankRows = Check::On;
        o.separator = PartSeparator::BlankLine;
        o.indent = 4;
        o.borderedWidth = 100;
        add("05-rtf-file-like-borders",
            "RTF to file, top and bottom like, blank rows, blank-line separator, indent 4, "
            "width 100, long entry picked",
            o, U"/home/test/sig.rtf", list, fixed, {{list, kRichList}, {fixed, kFixedText}}, {5});
    }
    {
        SignatureOptions o;
        o.changeInterval = 2;
        o.toClipboard = Check::On;
        o.toFile = Check::Off;
        o.fixedPart = Check::On;
        o.top = TopBorder::Repeat;
        o.topRepeat = U"=-";
        o.bottom = BottomBorder::Repeat;
        o.bottomRepeat = U"~";
        o.leftSide = U"|";
        o.rightSameAsLeft = Check::Off;
        o.rightLikeChosen = true;
        o.rightSide = U"|>";
        o.separator = PartSeparator::SameAsTop;
        o.indent = 2;
        o.borderedWidth = 80;
        add("06-text-clip-repeat-sides",
            "text to clipboard only, repeat top and bottom, own right side, separator same as "
            "top, indent 2, width 80",
            o, U"/home/test/unused.txt", list, fixed, {{list, kRichList}, {fixed, kFixedText}},
            {1});
    }
    {
        SignatureOptions o;
        o.changeInterval = 4;
        o.toFile = Check::On;
        o.fixedPart = Check::On;
        o.order = PartOrder::FixedFirst;
        o.topRepeat = U"#";
        o.bottom = BottomBorder::Same;
        o.separator = PartSeparator::SameAsBottom;
        o.blankRows = Check::On;
        o.indent = 0;
        o.borderedWidth = 40;
        add("07-bottom-same-sep-bottom",
            "bottom same as top, separator same as bottom, blank rows, indent 0, width 40, "
            "fixed first",
            o, U"/home/test/sig.txt", list, fixed, {{list, kShortList}, {fixed, kFixedText}}, {3});
    }
    {
        SignatureOptions o;
        o.changeInterval = 7;
        o.toFile = Check::On;
        o.variablePart = Check::Off;
        o.fixedPart = Check::On;
        o.bordered = Check::Off;
        o.plainWidth = 80;
        add("08-fixed-only", "variable part off, fixed part only, unbordered width 80", o,
            U"/home/test/sig.txt", list, fixed, {{list, kRichList}, {fixed, kFixedText}}, {});
    }
    {
        SignatureOptions o;
        o.changeInterval = 5;
        o.output = OutputForm::Html;
        o.toFile = Check::On;
        o.toClipboard = Check::Greyed;
        o.variablePart = Check::Greyed;
        o.fixedPart = Check::Greyed;
        o.bordered = Check::Greyed;
        o.blankRows = Check::Greyed;
        o.rightSameAsLeft = Check::Greyed;
        add("09-greyed-boxes",
            "variable part, fixed part, clipboard, border, blank rows, right-same all greyed; "
            "HTML to file",
            o, U"/home/test/sig.htm", list, fixed, {{list, kRichList}, {fixed, kFixedText}}, {4});
    }
    {
        SignatureOptions o;
        o.changeInterval = 0;
        o.output = OutputForm::Rtf;
        o.toClipboard = Check::On;
        o.fixedPart = Check::On;
        o.separator = PartSeparator::SameAsTop;
        add("10-fixed-text-missing",
            "fixed part on but no fixed text file; RTF to clipboard; schedule off", o, Text(), list,
            fixed, {{list, kShortList}}, {1});
    }
    {
        SignatureOptions o;
        o.changeInterval = 8;
        o.toFile = Check::On;
        o.fixedPart = Check::On;
        add("11-empty-list", "an empty quotation list (0 bytes), fixed text", o,
            U"/home/test/sig.txt", list, fixed, {{list, ""}, {fixed, kFixedText}}, {});
    }
    {
        SignatureOptions o;
        o.changeInterval = 3;
        o.toFile = Check::On;
        o.top = TopBorder::Like;
        o.topLike = U"short top like";
        o.bottom = BottomBorder::Like;
        o.bottomLike = U"short";
        o.separator = PartSeparator::SameAsTop;
        add("12-short-like-top", "a stored top like border shorter than 40 characters", o,
            U"/home/test/sig.txt", list, Text(), {{list, kShortList}}, {2});
    }
    {
        SignatureOptions o;
        o.changeInterval = 8;
        o.output = OutputForm::Html;
        o.toFile = Check::On;
        o.startOnTray = Check::On;
        add("13-tray-start", "start on tray with a notification area: window hidden; HTML", o,
            U"/home/test/sig.html", list, Text(), {{list, kRichList}}, {6});
    }
    {
        SignatureOptions o;
        o.changeInterval = 2;
        o.output = OutputForm::Rtf;
        o.toFile = Check::On;
        o.toClipboard = Check::On;
        o.startOnTray = Check::On;
        o.bordered = Check::Off;
        o.plainWidth = 100;
        o.order = PartOrder::VariableFirst;
        add("14-tray-no-icon-utf16-list",
            "start on tray without a notification area: window shown; RTF unbordered width 100; "
            "UTF-16 LE list with non-ASCII text",
            o, U"/home/test/sig.rtf", list, Text(),
            {{list, Utf16Le(U"\"Ærøskøbing ferry, 06:15\"\r\n\"Δ delta, λ lambda,\r\nω omega\"\r\n"
                            U"\"𝄞 a clef outside the BMP\"\r\n")}},
            {});
        sets.back().iconAvailable = false;
    }
    {
        SignatureOptions o;
        o.toFile = Check::On;
        add("15-bad-program-values", "\"Program Values\" that cannot be decoded", o,
            U"/home/test/sig.txt", list, Text(), {{list, kShortList}}, {1}, U"garbage");
    }
    {
        SignatureOptions o;
        o.changeInterval = 1;
        o.toFile = Check::On;
        o.fixedPart = Check::On;
        add("16-missing-list-own-file",
            "stored list path missing (offer to find it, answered No); signature path is the "
            "settings file itself",
            o, kSettingsFile, U"/home/test/Quotes/mine.txt", fixed, {{fixed, kFixedText}}, {});
    }
    return sets;
}

}  // namespace record
