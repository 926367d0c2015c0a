#pragma once

// The record of Velmo's window behaviour: what the stored option sets are,
// and what the driver reads back from a run. Only standard C++ and Velmo's
// domain/text.h here, so that this header survives a redesign of ui/ and
// service/ unchanged.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "domain/text.h"

namespace record {

using velmo::Text;

// One stored option set: the files on the (in-memory) disk before start-up
// and the answers of the fake random source.
struct StoredSet {
    std::string name;
    std::string about;                  // what the set covers
    std::map<Text, std::string> files;  // path -> bytes
    std::vector<int> randomValues;      // given to the fake random source first
    bool iconAvailable = true;          // the desktop has a notification area
};

// The sixteen sets (sets.cpp).
std::vector<StoredSet> StoredSets();

// The paths the fakes use (the test platform's defaults).
extern const Text kSettingsFile;
extern const Text kDataFolder;

// Everything about one control a user could see or the program could change.
struct ControlState {
    std::string name;
    std::string kind;
    std::vector<std::pair<std::string, std::string>> props;  // in a fixed order
};

struct FormState {
    std::vector<std::pair<std::string, std::string>> props;
    std::vector<ControlState> controls;
};

struct Message {
    Text text;
    int style = 0;
    Text title;
};

struct Dialog {
    Text initial, filter, title;
};

// What the platform saw, in order, accumulated over the run.
struct PlatformState {
    std::vector<Message> messages;
    std::vector<Text> clipboard;
    std::vector<Text> browser;
    std::vector<Dialog> dialogs;
    std::vector<std::pair<int, int>> randomAsked;
    std::vector<std::string> calls;  // the fakes' call log
    std::vector<Text> madeFolders;
    std::map<Text, std::string> files;
    std::vector<std::pair<std::string, std::string>> other;  // icon, timer, exits
};

// One run of the program on one stored set (drive.cpp).
class Driver {
  public:
    explicit Driver(const StoredSet& set);
    ~Driver();
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;

    // The program's start; false when it ended at once.
    bool StartUp();
    // Clicks the Apply button (after opening a hidden window the way a user
    // does); returns the names of the controls clicked, in order, and says
    // in `state` whether the button was enabled and visible at its click.
    std::vector<std::string> ClickApply(std::string& state);

    FormState Form() const;
    PlatformState Platform() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace record
