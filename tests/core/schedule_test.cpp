#include "ui/schedule.h"

#include <gtest/gtest.h>

#include <set>

#include "support/fakes.h"
#include "ui/options.h"

namespace velmo {
namespace {

class ScheduleTest : public ::testing::Test, protected testing::TestApp {
  protected:
    void SetUp() override {
        app.AppPath = U"/opt/velmo/";
        SetDefaults(app);
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
    EXPECT_FALSE(timer.armed());  // before the schedule runs the slider only shows
}

TEST_F(ScheduleTest, PicksComeFromTheListAndShowInTheEditor) {
    std::set<int> seen;
    for (int i = 0; i < 200; ++i) {
        form.btnRandomize.Click();
        ASSERT_GE(app.PickedEntry, 1);
        ASSERT_LE(app.PickedEntry, 5);
        EXPECT_EQ(app.PickedText, U"quote " + ToText(app.PickedEntry));
        EXPECT_EQ(form.txtVar.Text.get(), app.PickedText);
        seen.insert(app.PickedEntry);
    }
    EXPECT_EQ(seen.size(), 5u);
    random.values = {2};
    form.mnuRandomize.Click();
    EXPECT_EQ(form.txtVar.Text.get(), U"quote 2");

    Fill(0);  // slot 1 still holds a quote of the longer list
    const int asked = picks();
    PickRandomEntry(app);
    EXPECT_EQ(app.PickedEntry, 1);
    EXPECT_EQ(app.PickedText, U"");
    EXPECT_NE(app.SignatureText.find(U"No Quote Selected"), Text::npos);
    EXPECT_EQ(picks(), asked);
}

// No polling: the timer is armed only for the next due time, counted from
// the last change by elapsed time (never the wall clock); a slider move
// retimes the running wait, and "Never" disarms it.
TEST_F(ScheduleTest, TheTimerIsArmedOnlyForTheNextChange) {
    form.Slider.Value = 0;
    WaitForChange(app);
    EXPECT_FALSE(timer.armed());
    timer.Advance(400);
    EXPECT_EQ(picks(), 0);
    form.Slider.Value = 1;  // five minutes from the start have passed: at once
    timer.Advance(0);
    EXPECT_EQ(picks(), 1);
    EXPECT_EQ(timer.dueAt, clock.elapsed + 300);

    clock.seconds = 86400 - 60;  // the wall clock wraps at midnight; real time goes on
    random.values = {3};
    timer.Advance(299);
    clock.seconds = 240;
    EXPECT_EQ(picks(), 1);
    timer.Advance(1);
    EXPECT_EQ(picks(), 2);
    // A change is a pick as by the button: built, and shown in the editor.
    EXPECT_EQ(form.txtVar.Text.get(), U"quote 3");
    EXPECT_NE(app.SignatureText.find(U"quote 3"), Text::npos);

    form.Slider.Value = 8;  // a longer interval moves the due time
    timer.Advance(86399);
    EXPECT_EQ(picks(), 2);
    timer.Advance(1);
    EXPECT_EQ(picks(), 3);
    EXPECT_EQ(timer.fired, 3);

    form.Slider.Value = 0;
    EXPECT_FALSE(timer.armed());
    timer.Advance(10 * 86400.0);
    EXPECT_EQ(picks(), 3);
}

}  // namespace
}  // namespace velmo
