#include "domain/desktop_entry.h"

#include <algorithm>

namespace velmo {

namespace {

// What an argument of an Exec key may hold only inside double quotes.
bool ReservedInExec(char c) {
    return std::string_view(" \t\n\"'\\><~|&;$*?#()`").find(c) != std::string_view::npos;
}

// One argument of an Exec key: in double quotes when it holds a reserved
// character, with ", `, $ and \ escaped inside them; % doubled, as a single
// one starts a field code; then escaped as every string value is.
std::string ExecArgument(std::string_view argument) {
    const bool quoted = std::any_of(argument.begin(), argument.end(), ReservedInExec);
    std::string exec = quoted ? "\"" : "";
    for (const char c : argument) {
        if (quoted && (c == '"' || c == '`' || c == '$' || c == '\\'))
            exec += '\\';
        exec += c;
        if (c == '%')
            exec += '%';
    }
    if (quoted)
        exec += '"';
    std::string value;
    for (const char c : exec) {
        switch (c) {
            case '\\':
                value += "\\\\";
                break;
            case '\n':
                value += "\\n";
                break;
            case '\t':
                value += "\\t";
                break;
            case '\r':
                value += "\\r";
                break;
            default:
                value += c;
        }
    }
    return value;
}

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

}  // namespace

std::string AutostartEntry(const Text& program, std::string_view profile) {
    const std::string name = profile.empty() ? "Velmo" : "Velmo (" + std::string(profile) + ")";
    std::string exec = ExecArgument(ToUtf8(program));
    if (!profile.empty())
        exec += " --profile " + ExecArgument(profile);
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=" +
           name +
           "\n"
           "Comment=Keep your e-mail signature fresh with a quotation picked at random\n"
           "Exec=" +
           exec +
           "\n"
           "Icon=velmo\n"
           "X-GNOME-Autostart-enabled=true\n";
}

bool AutostartEntryOn(std::string_view bytes) {
    bool inEntry = false;
    bool found = false;
    for (size_t start = 0, end = 0; start < bytes.size(); start = end + 1) {
        end = std::min(bytes.find('\n', start), bytes.size());
        const std::string_view line = Trimmed(bytes.substr(start, end - start));
        if (line.empty() || line.front() == '#')
            continue;
        if (line.front() == '[') {
            inEntry = line == "[Desktop Entry]";
            found = found || inEntry;
            continue;
        }
        const size_t equals = line.find('=');
        if (!inEntry || equals == std::string_view::npos)
            continue;
        // The ways other tools switch an entry off without removing it.
        const std::string_view key = Trimmed(line.substr(0, equals));
        const std::string_view value = Trimmed(line.substr(equals + 1));
        if ((key == "Hidden" && value == "true") ||
            (key == "X-GNOME-Autostart-enabled" && value == "false")) {
            return false;
        }
    }
    return found;
}

std::string SwitchAutostartEntry(std::string_view bytes, bool on) {
    std::string out;
    out.reserve(bytes.size() + 16);
    bool inEntry = false;
    bool hidden = false;
    size_t afterHeader = std::string::npos;
    std::string_view lineEnd = "\n";
    for (size_t start = 0, end = 0; start < bytes.size(); start = end + 1) {
        end = std::min(bytes.find('\n', start), bytes.size());
        const std::string_view raw = bytes.substr(start, end - start);
        const std::string_view line = Trimmed(raw);
        const size_t equals = line.find('=');
        const std::string_view key =
            equals == std::string_view::npos ? std::string_view() : Trimmed(line.substr(0, equals));
        std::string_view value;
        if (!line.empty() && line.front() == '[') {
            inEntry = line == "[Desktop Entry]";
        } else if (inEntry && !line.starts_with('#') && key == "Hidden") {
            hidden = true;
            value = on ? "false" : "true";
        } else if (inEntry && !line.starts_with('#') && key == "X-GNOME-Autostart-enabled" && on) {
            value = "true";
        }
        if (value.empty())
            out.append(raw);
        else
            out.append(key).append("=").append(value).append(raw.ends_with('\r') ? "\r" : "");
        if (end < bytes.size() || (inEntry && afterHeader == std::string::npos))
            out.push_back('\n');
        if (inEntry && afterHeader == std::string::npos) {
            afterHeader = out.size();
            lineEnd = raw.ends_with('\r') ? "\r\n" : "\n";
        }
    }
    // Hidden is the key every desktop honours; the user's own keys stay.
    if (!on && !hidden && afterHeader != std::string::npos)
        out.insert(afterHeader, "Hidden=true" + std::string(lineEnd));
    return out;
}

bool OwnAutostartEntry(std::string_view bytes, std::string_view profile) {
    const std::string made = AutostartEntry(Text(), profile);
    const size_t exec = made.find("\nExec=") + 6;
    const std::string_view head = std::string_view(made).substr(0, exec);
    const std::string_view tail = std::string_view(made).substr(exec);
    return bytes.size() >= made.size() && bytes.starts_with(head) && bytes.ends_with(tail) &&
           bytes.substr(exec, bytes.size() - made.size()).find('\n') == std::string_view::npos;
}

bool HasDesktopEntryGroup(std::string_view bytes) {
    for (size_t start = 0, end = 0; start < bytes.size(); start = end + 1) {
        end = std::min(bytes.find('\n', start), bytes.size());
        if (Trimmed(bytes.substr(start, end - start)) == "[Desktop Entry]")
            return true;
    }
    return false;
}

}  // namespace velmo
