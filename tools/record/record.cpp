// Runs the sixteen stored option sets through start-up and one Apply and
// writes what a user and the platform saw, as text meant for diff.
//
//   record [-o FILE] [--names FILE]
//
// --names: lines "old-name new-name" (# starts a comment); a control whose
// name is a new name is written under its old one, so a record made after
// renaming controls compares line for line with one made before.

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include "record.h"

namespace record {
namespace {

std::map<std::string, std::string> g_oldNameOf;  // new -> old

std::string Named(const std::string& name) {
    const auto it = g_oldNameOf.find(name);
    return it == g_oldNameOf.end() ? name : it->second;
}

// UTF-8 text in quotes: backslash, quote and control characters escaped.
std::string Quote(const std::string& utf8) {
    std::string out = "\"";
    for (unsigned char c : utf8) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    char b[8];
                    std::snprintf(b, sizeof b, "\\x%02X", c);
                    out += b;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

std::string Quote(const Text& text) {
    return Quote(velmo::ToUtf8(text));
}

// File bytes, one line of the file per output line after "    |": printable
// ASCII as it is, everything else as \xNN (\r and \n by name; a line break
// ends the output line after its \n). A file without a last line break ends
// in "<no final newline>".
void WriteBytes(std::ostream& out, const std::string& bytes) {
    std::string line;
    bool open = false;
    for (unsigned char c : bytes) {
        open = true;
        if (c == '\n') {
            out << "    |" << line << "\\n\n";
            line.clear();
            open = false;
        } else if (c == '\r') {
            line += "\\r";
        } else if (c == '\\') {
            line += "\\\\";
        } else if (c == '\t') {
            line += "\\t";
        } else if (c < 0x20 || c >= 0x7F) {
            char b[8];
            std::snprintf(b, sizeof b, "\\x%02X", c);
            line += b;
        } else {
            line += static_cast<char>(c);
        }
    }
    if (open)
        out << "    |" << line << "<no final newline>\n";
}

void WriteFiles(std::ostream& out, const std::map<Text, std::string>& files) {
    out << "files: " << files.size() << "\n";
    for (const auto& [path, bytes] : files) {
        out << "  file " << Quote(path) << " " << bytes.size() << " bytes\n";
        WriteBytes(out, bytes);
    }
}

void WriteForm(std::ostream& out, const FormState& form) {
    out << "form";
    for (const auto& [key, value] : form.props)
        out << " " << key << "="
            << (key == "active"                       ? Named(value)
                : value == "true" || value == "false" ? value
                                                      : Quote(value));
    out << "\n";
    out << "controls: " << form.controls.size() << "\n";
    for (const ControlState& c : form.controls) {
        out << "  " << Named(c.name) << " " << c.kind;
        for (const auto& [key, value] : c.props) {
            const bool plain =
                value == "true" || value == "false" || key == "value" || key == "forecolor";
            out << " " << key << "=" << (plain ? value : Quote(value));
        }
        out << "\n";
    }
}

// What the platform saw since `before`.
void WritePlatform(std::ostream& out, const PlatformState& now, const PlatformState& before) {
    out << "messages: " << now.messages.size() - before.messages.size() << "\n";
    for (size_t i = before.messages.size(); i < now.messages.size(); ++i) {
        const Message& m = now.messages[i];
        char style[16];
        std::snprintf(style, sizeof style, "0x%X", static_cast<unsigned>(m.style));
        out << "  message style=" << style << " title=" << Quote(m.title)
            << " text=" << Quote(m.text) << "\n";
    }
    out << "clipboard: " << now.clipboard.size() - before.clipboard.size() << "\n";
    for (size_t i = before.clipboard.size(); i < now.clipboard.size(); ++i)
        out << "  copy " << Quote(now.clipboard[i]) << "\n";
    out << "browser: " << now.browser.size() - before.browser.size() << "\n";
    for (size_t i = before.browser.size(); i < now.browser.size(); ++i)
        out << "  open " << Quote(now.browser[i]) << "\n";
    out << "file dialogs: " << now.dialogs.size() - before.dialogs.size() << "\n";
    for (size_t i = before.dialogs.size(); i < now.dialogs.size(); ++i) {
        const Dialog& d = now.dialogs[i];
        out << "  dialog initial=" << Quote(d.initial) << " filter=" << Quote(d.filter)
            << " title=" << Quote(d.title) << "\n";
    }
    out << "random asked:";
    for (size_t i = before.randomAsked.size(); i < now.randomAsked.size(); ++i)
        out << " " << now.randomAsked[i].first << ".." << now.randomAsked[i].second;
    out << "\n";
    out << "folders made:";
    for (size_t i = before.madeFolders.size(); i < now.madeFolders.size(); ++i)
        out << " " << Quote(now.madeFolders[i]);
    out << "\n";
    out << "platform calls: " << now.calls.size() - before.calls.size() << "\n";
    for (size_t i = before.calls.size(); i < now.calls.size(); ++i)
        out << "  " << Quote(now.calls[i]) << "\n";
    for (const auto& [key, value] : now.other)
        out << key << ": " << value << "\n";
}

void RecordSet(std::ostream& out, const StoredSet& set) {
    out << "==== set " << set.name << "\n";
    out << "about: " << set.about << "\n";
    out << "random values given:";
    for (int v : set.randomValues)
        out << " " << v;
    out << "\nnotification area: " << (set.iconAvailable ? "yes" : "no") << "\n";
    out << "-- given\n";
    WriteFiles(out, set.files);

    Driver driver(set);
    const PlatformState none;
    out << "-- after start-up\n";
    out << "start-up returned: " << (driver.StartUp() ? "true" : "false") << "\n";
    const PlatformState started = driver.Platform();
    WritePlatform(out, started, none);
    WriteForm(out, driver.Form());
    WriteFiles(out, started.files);

    std::string reachable;
    const std::vector<std::string> clicked = driver.ClickApply(reachable);
    out << "-- after one Apply (clicked:";
    for (const std::string& name : clicked)
        out << " " << Named(name);
    out << "; Apply " << reachable << ")\n";
    const PlatformState applied = driver.Platform();
    WritePlatform(out, applied, started);
    WriteForm(out, driver.Form());
    WriteFiles(out, applied.files);
    out << "\n";
}

int Run(int argc, char** argv) {
    std::string output, names;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "-o" || arg == "--names") && i + 1 < argc) {
            (arg == "-o" ? output : names) = argv[++i];
        } else {
            std::cerr << "Usage: record [-o FILE] [--names FILE]\n";
            return 2;
        }
    }
    if (!names.empty()) {
        std::ifstream in(names);
        if (!in) {
            std::cerr << "record: cannot read " << names << "\n";
            return 1;
        }
        std::string line;
        while (std::getline(in, line)) {
            if (const auto hash = line.find('#'); hash != std::string::npos)
                line.erase(hash);
            std::istringstream words(line);
            std::string from, to;
            if (words >> from >> to)
                g_oldNameOf[to] = from;
        }
    }
    std::ostringstream text;
    text << "# Velmo behaviour record, format 1\n";
    const std::vector<StoredSet> sets = StoredSets();
    text << "# " << sets.size() << " stored option sets\n\n";
    for (const StoredSet& set : sets)
        RecordSet(text, set);
    if (output.empty()) {
        std::cout << text.str();
        return 0;
    }
    std::ofstream file(output, std::ios::binary);
    file << text.str();
    return file ? 0 : 1;
}

}  // namespace
}  // namespace record

int main(int argc, char** argv) {
    return record::Run(argc, argv);
}
