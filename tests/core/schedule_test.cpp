#include "ui/schedule.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "platform/random.h"
#include "support/fakes.h"
#include "ui/options.h"

namespace velmo {
namespace {

class ScheduleTest : public ::testing::Test, protected testing::TestApp {
  protected:
    void SetUp() override {
        app.AppPath = U"/opt/velmo/";
        SetDefaults(app);
        messages.shown.clear();
        Fill(5);
    }

    void Fill(int count) {
        app.vars.EntryCount = count;
        for (int i = 1; i <= count; ++i)
            app.vars.Entries[static_cast<size_t>(i)] = U"quote " + ToText(i);
    }

    int picks() const { return static_cast<int>(random.asked.size()); }

    MainForm& form = app.form;
};

TEST_F(ScheduleTest, SliderShowsEveryIntervalOfTheTable) {
    const std::pair<Text, Text> rows[] = {
        {U"Never", U"0"},        {U"5 Minute", U"300"},   {U"15 Minute", U"900"},
        {U"30 Minute", U"1800"}, {U"1 Hour", U"3600"},    {U"3 Hours", U"10800"},
        {U"6 Hours", U"21600"},  {U"12 Hours", U"43200"}, {U"Once a Day", U"86400"}};
    for (int position = 8; position >= 0; --position) {
        form.Slider.Value = position;
        EXPECT_EQ(form.lblFreq.Caption.get(), rows[position].first);
        EXPECT_EQ(form.Slider.Tag.get(), rows[position].second);
    }
}

TEST_F(ScheduleTest, OneEntryIsAlwaysPicked) {
    Fill(1);
    for (int i = 0; i < 20; ++i) {
        PickRandomEntry(app);
        EXPECT_EQ(app.PickedEntry, 1);
    }
}

TEST_F(ScheduleTest, NoEntriesPickIndexOneAndNoQuote) {
    Fill(0);
    PickRandomEntry(app);
    EXPECT_EQ(app.PickedEntry, 1);
    EXPECT_EQ(app.PickedText, U"");
    EXPECT_EQ(app.vars.CurrentEntry, 1);
    EXPECT_NE(app.SignatureText.find(U"No Quote Selected"), Text::npos);
    EXPECT_EQ(picks(), 0);
}

TEST_F(ScheduleTest, FiveEntriesAreAllPickedAndNoneOutside) {
    std::set<int> seen;
    for (int i = 0; i < 500; ++i) {
        PickRandomEntry(app);
        ASSERT_GE(app.PickedEntry, 1);
        ASSERT_LE(app.PickedEntry, 5);
        EXPECT_EQ(app.PickedText, U"quote " + ToText(app.PickedEntry));
        EXPECT_EQ(app.vars.CurrentEntry, app.PickedEntry);
        seen.insert(app.PickedEntry);
    }
    EXPECT_EQ(seen.size(), 5u);
}

TEST(RandomPick, TwoHundredEntriesAreEquallyLikely) {
    testing::TestPlatform platform;
    StandardRandom random(20261206);
    Ports ports = platform.ports();
    App app{{ports.messages, ports.fileDialog, ports.clipboard, ports.clock, random, ports.files,
             ports.settings, ports.timer, ports.instance, ports.icon, ports.program,
             ports.browser}};
    app.vars.EntryCount = 200;
    app.form.chkBorder.Value = 0;
    constexpr int kPicks = 40000;
    std::vector<int> counts(201, 0);
    for (int i = 0; i < kPicks; ++i) {
        PickRandomEntry(app);
        ASSERT_GE(app.PickedEntry, 1);
        ASSERT_LE(app.PickedEntry, 200);
        ++counts[static_cast<size_t>(app.PickedEntry)];
    }
    const double expected = kPicks / 200.0;
    double chiSquare = 0;
    for (int i = 1; i <= 200; ++i) {
        EXPECT_GT(counts[static_cast<size_t>(i)], 0) << "entry " << i << " never picked";
        chiSquare += std::pow(counts[static_cast<size_t>(i)] - expected, 2) / expected;
    }
    // 199 degrees of freedom: above 267 happens by chance once in a thousand runs.
    EXPECT_LT(chiSquare, 267.0);
}

TEST_F(ScheduleTest, RandomizeShowsThePickInTheEditor) {
    random.values = {4};
    form.btnRandomize.Click();
    EXPECT_EQ(app.PickedEntry, 4);
    EXPECT_EQ(form.txtVar.Text.get(), U"quote 4");
    random.values = {2};
    form.mnuRandomize.Click();
    EXPECT_EQ(form.txtVar.Text.get(), U"quote 2");
}

TEST_F(ScheduleTest, NeverNeverFires) {
    form.Slider.Value = 0;
    WaitForChange(app);
    EXPECT_FALSE(timer.armed());
    timer.Advance(10 * 86400.0);
    EXPECT_EQ(picks(), 0);
}

TEST_F(ScheduleTest, FiveMinutesFiresEveryFiveMinutes) {
    form.Slider.Value = 1;
    WaitForChange(app);
    timer.Advance(299);
    EXPECT_EQ(picks(), 0);
    random.values = {3};
    timer.Advance(1);
    EXPECT_EQ(picks(), 1);
    // A change is a pick as by the button: built, and shown in the editor.
    EXPECT_EQ(form.txtVar.Text.get(), U"quote 3");
    EXPECT_NE(app.SignatureText.find(U"quote 3"), Text::npos);
    timer.Advance(299);
    EXPECT_EQ(picks(), 1);
    timer.Advance(1);
    EXPECT_EQ(picks(), 2);
}

TEST_F(ScheduleTest, SliderMovesRetimeTheRunningWait) {
    form.Slider.Value = 0;
    WaitForChange(app);
    timer.Advance(400);
    EXPECT_EQ(picks(), 0);
    // Five minutes from the start of the wait have passed already: at once.
    form.Slider.Value = 1;
    timer.Advance(0);
    EXPECT_EQ(picks(), 1);

    // A longer interval moves the due time, still counted from the last change.
    form.Slider.Value = 4;
    timer.Advance(3599);
    EXPECT_EQ(picks(), 1);
    timer.Advance(1);
    EXPECT_EQ(picks(), 2);

    form.Slider.Value = 0;  // "Never" stops the schedule
    timer.Advance(86400);
    EXPECT_EQ(picks(), 2);
}

TEST_F(ScheduleTest, WaitsAcrossMidnightAndADayFire) {
    clock.seconds = 86400 - 60;  // a minute to midnight by the wall clock
    form.Slider.Value = 1;
    WaitForChange(app);
    clock.seconds = 240;  // the wall clock wraps; real time goes on
    timer.Advance(300);
    EXPECT_EQ(picks(), 1);

    form.Slider.Value = 8;
    timer.Advance(86399);
    EXPECT_EQ(picks(), 1);
    timer.Advance(1);
    EXPECT_EQ(picks(), 2);
}

TEST_F(ScheduleTest, SliderMovesBeforeTheWaitOnlyShowTheInterval) {
    form.Slider.Value = 1;
    EXPECT_FALSE(timer.armed());
}

}  // namespace
}  // namespace velmo
