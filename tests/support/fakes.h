#pragma once

// In-memory fakes of the platform services, with what they were asked
// recorded and their answers set in advance.

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/app.h"
#include "core/ports.h"

namespace velmo::testing {

struct ShownMessage {
    Text text;
    int style;
    Text title;
};

class FakeMessageBox : public MessageBoxPort {
  public:
    int Show(const Text& text, int style, const Text& title) override {
        shown.push_back({text, style, title});
        if (answers.empty())
            return (style & 15) == msgbox::YesNo ? msgbox::No : msgbox::Ok;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<int> answers;  // next answers; No or Ok when none are left
    std::vector<ShownMessage> shown;
};

struct DialogCall {
    Text initial;
    Text filter;
    Text title;
};

class FakeFileDialog : public FileDialogPort {
  public:
    std::optional<Text> OpenFile(const Text& initial, const Text& filter,
                                 const Text& title) override {
        calls.push_back({initial, filter, title});
        if (results.empty())
            return std::nullopt;
        auto result = results.front();
        results.pop_front();
        return result;
    }
    std::deque<std::optional<Text>> results;  // nullopt: the user cancels
    std::vector<DialogCall> calls;
};

class FakeClipboard : public ClipboardPort {
  public:
    void SetText(const Text& text) override { texts.push_back(text); }
    std::vector<Text> texts;
};

class FakeClock : public ClockPort {
  public:
    double SecondsSinceMidnight() const override { return seconds; }
    double seconds = 12 * 3600.0;
};

class FakeRandom : public RandomPort {
  public:
    float Next() override {
        if (values.empty())
            return 0.5f;
        const float v = values.front();
        values.pop_front();
        return v;
    }
    void Reseed(int seed) override { seeds.push_back(seed); }
    std::deque<float> values;
    std::vector<int> seeds;
};

// Files in memory; a path listed in `failWrites` fails with its reason.
class FakeFileStore : public FileStorePort {
  public:
    std::optional<std::string> Read(const Text& path, FileResult& result) override {
        const auto it = files.find(path);
        if (it == files.end()) {
            result.error = "No such file or directory";
            return std::nullopt;
        }
        result.error.reset();
        return it->second;
    }
    FileResult Replace(const Text& path, std::string_view bytes) override {
        if (const auto it = failWrites.find(path); it != failWrites.end())
            return {it->second};
        files[path] = std::string(bytes);
        ++writes;
        return {};
    }
    bool Exists(const Text& path) override { return files.count(path) != 0; }

    std::map<Text, std::string> files;
    std::map<Text, std::string> failWrites;
    int writes = 0;
};

// A whole program in memory on fakes.
struct TestPlatform {
    FakeMessageBox messages;
    FakeFileDialog fileDialog;
    FakeClipboard clipboard;
    FakeClock clock;
    FakeRandom random;
    FakeFileStore files;

    Ports ports() { return {messages, fileDialog, clipboard, clock, random, files}; }
};

struct TestApp : TestPlatform {
    App app{ports()};
};

}  // namespace velmo::testing
