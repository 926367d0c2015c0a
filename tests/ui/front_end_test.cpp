#include "ui/front_end.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "ui/model/main_form.h"

namespace velmo {
namespace {

using A = Answer;

TEST(FrontEndTest, MessageStylesGiveTheirButtonsAndWhatReturnAndEscapeAnswer) {
    const struct {
        MessageStyle style;
        MessageChoices choices;
    } rows[] = {
        {message::Notice, {{A::Ok}, A::Ok, A::Ok}},
        {message::WarningOkCancel, {{A::Ok, A::Cancel}, A::Ok, A::Cancel}},
        {message::ErrorYesNo, {{A::Yes, A::No}, A::Yes, A::No}},
        {message::ErrorYesNoDefaultNo, {{A::Yes, A::No}, A::No, A::No}},
        {message::WarningYesNoCancelDefaultCancel,
         {{A::Yes, A::No, A::Cancel}, A::Cancel, A::Cancel}},
        // A default the box has no button for leaves the first one the default.
        {{MessageButtons::YesNo, MessageIcon::None, A::Cancel}, {{A::Yes, A::No}, A::Yes, A::No}},
        {{MessageButtons::Ok, MessageIcon::Error, A::No}, {{A::Ok}, A::Ok, A::Ok}},
    };
    int n = 0;
    for (const auto& row : rows)
        EXPECT_EQ(ChoicesOf(row.style), row.choices) << n++;
    EXPECT_EQ(MessageTitle(U""), U"Velmo");
    EXPECT_EQ(MessageTitle(U"File Error"), U"File Error");
}

TEST(FrontEndTest, FileDialogsListOnlyTypesWithWordsAndAPattern) {
    const FileFilters given = {
        {U"Text Files (*.txt)", {U"*.txt", U"", U"*.fxt"}},
        {U"", {U"*.sig"}},
        {U"Nothing to match", {}},
        {U"Only empty patterns", {U"", U""}},
        {U"All Files (*.*)", {U"*"}},
    };
    const FileFilters listed = {
        {U"Text Files (*.txt)", {U"*.txt", U"*.fxt"}},
        {U"All Files (*.*)", {U"*"}},
    };
    EXPECT_EQ(ListedFilters(given), listed);
    EXPECT_TRUE(ListedFilters({}).empty());
}

TEST(FrontEndTest, FileDialogsStartInTheInitialPathsFolderOnlyWhenItIsFullAndThere) {
    const std::set<Text> folders = {U"C:\\Users\\ann\\", U"C:\\Users\\ann\\Sig", U"/home/ann/"};
    const auto isFolder = [&folders](const Text& path) { return folders.contains(path); };
    const Text fallback = U"FALLBACK";
    const struct {
        Text initial;
        PathStyle style;
        DialogStart start;
    } rows[] = {
        {U"", PathStyle::Windows, {fallback, U""}},
        {U"C:\\Users\\ann\\sig.txt", PathStyle::Windows, {U"C:\\Users\\ann\\", U"sig.txt"}},
        {U"C:\\Users\\ann\\Sig", PathStyle::Windows, {U"C:\\Users\\ann\\Sig", U""}},
        // A folder that is not there, and a bare or relative name: never the
        // current folder.
        {U"D:\\gone\\sig.txt", PathStyle::Windows, {fallback, U"sig.txt"}},
        {U"sig.txt", PathStyle::Windows, {fallback, U"sig.txt"}},
        {U"Users\\ann\\sig.txt", PathStyle::Windows, {fallback, U"sig.txt"}},
        {U"/home/ann/.signature", PathStyle::Posix, {U"/home/ann/", U".signature"}},
        {U"home/ann/.signature", PathStyle::Posix, {fallback, U".signature"}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(StartOfDialog(row.initial, row.style, isFolder, fallback), row.start)
            << ToUtf8(row.initial);
}

// Start-up builds nothing, whatever it shows; after it the window is built
// once, when the model is first shown or minimized. The model outlives it.
TEST(FrontEndTest, TheWindowIsBuiltOnceWhenFirstShownOrMinimizedAfterStartUp) {
    const struct {
        bool shownAtEnd;  // of start-up
        void (*after)(MainForm&);
    } rows[] = {
        {true, [](MainForm&) {}},
        {false, [](MainForm& f) { f.Show(); }},
        {false, [](MainForm& f) { f.Minimized = true; }},
    };
    for (const auto& row : rows) {
        MainForm form;
        int builds = 0;
        auto trigger = std::make_unique<BuildOnFirstShow>(form, [&builds] { ++builds; });
        form.Show();
        form.Minimized = true;
        if (!row.shownAtEnd) {
            form.Hide();
            form.Minimized = false;
        }
        EXPECT_EQ(builds, 0);
        trigger->StartUpDone();
        EXPECT_EQ(builds, row.shownAtEnd ? 1 : 0);
        row.after(form);
        EXPECT_EQ(builds, 1);
        form.Hide();
        form.Show();
        form.Caption = U"a control's change";
        EXPECT_EQ(builds, 1);
        trigger.reset();
        form.Hide();
        form.Show();
        EXPECT_EQ(builds, 1);
    }
}

}  // namespace
}  // namespace velmo
