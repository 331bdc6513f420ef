#include <gtest/gtest.h>

#include "app/command_line.hpp"
#include "app/frame_clock.hpp"

namespace {

nj::CommandLine parse(std::vector<const char*> args) {
    return nj::parseCommandLine(static_cast<int>(args.size()), args.data());
}

TEST(CommandLine, TestSwitchIsFoundAnywhereInTheJoinedLine) {
    EXPECT_TRUE(parse({"./nightjar", "--testing-mode"}).testMode);
    EXPECT_TRUE(parse({"/opt/--test/nightjar"}).testMode);  // the program path counts too
    EXPECT_FALSE(parse({"./nightjar"}).testMode);
    EXPECT_FALSE(parse({"./nightjar", "-test", "--tes", "t"}).testMode);
    // The joining blank is part of the searched text: "--" "test" is not "--test".
    EXPECT_FALSE(parse({"./nightjar", "--", "test"}).testMode);
}

// When the self-test starts the mission is the reference frame's; how many updates it runs is here.
TEST(CommandLine, FramesRunsALongerSelfTest) {
    const auto line = parse({"nightjar", "--frames", "600"});
    EXPECT_TRUE(line.testMode);
    EXPECT_EQ(line.frames, 600u);
    EXPECT_EQ(parse({"nightjar", "--frames", "-3"}).frames, 0u);
    EXPECT_FALSE(parse({"nightjar", "--frames", "x"}).testMode);

    const auto updatesOf = [](nj::SelfTestRun run) {
        int updates = 0;
        while (run.nextPass() != nj::SelfTestRun::Pass::Finish && updates < 1000) ++updates;
        return updates;
    };
    EXPECT_EQ(updatesOf(nj::SelfTestRun(100)), 100);
    EXPECT_EQ(updatesOf(nj::SelfTestRun()), 60);  // the plain --test
}

// A file is the word after its switch, spaces and all; a pad script is no self-test.
TEST(CommandLine, FilesAreTheWordsAfterTheirSwitches) {
    const nj::CommandLine mission = parse({"nightjar", "--mission", "my mission.json"});
    EXPECT_EQ(mission.missionPath, "my mission.json");
    EXPECT_EQ(mission.campaignPath, "");
    EXPECT_FALSE(mission.testMode);
    EXPECT_EQ(parse({"nightjar", "--campaign", "c.json", "--test"}).campaignPath, "c.json");
    EXPECT_EQ(parse({"nightjar", "--mission"}).missionPath, "");
    EXPECT_EQ(parse({"nightjar", "--replay"}).replayPath, "");
    EXPECT_EQ(parse({"nightjar", "--edit", "my heist.json", "--test"}).editPath, "my heist.json");
    EXPECT_EQ(parse({"nightjar", "--edit"}).editPath, "");
    EXPECT_EQ(parse({"nightjar", "--screenshot"}).screenshotPath, "");
    EXPECT_FALSE(parse({"nightjar", "--pad-script", "p.pad"}).testMode);
}

TEST(FrameClock, StepsAreCappedAtFiftyMilliseconds) {
    nj::FrameClock clock;
    clock.start(1000, 5000);
    EXPECT_FLOAT_EQ(clock.step(5016), 0.016f);
    EXPECT_FLOAT_EQ(clock.step(7016), 0.05f);  // a 2 s stall advances 0.05 s
    EXPECT_FLOAT_EQ(clock.step(7066), 0.05f);  // exactly the cap
    EXPECT_FLOAT_EQ(clock.step(7066), 0.0f);
    EXPECT_FLOAT_EQ(clock.step(7000), 0.0f);  // a counter that went back is no time
    EXPECT_FLOAT_EQ(clock.step(7010), 0.01f);
}

// At 50 Hz on a 1000-tick counter a frame is due every 20 ticks.
TEST(FramePacer, HoldsFramesToTheRefreshWithoutDriftOrBursts) {
    nj::FramePacer pacer;
    pacer.start(1000, 50, 0);
    EXPECT_EQ(pacer.waitBeforeNext(5), 15u);    // the frame took 5: wait until 20
    EXPECT_EQ(pacer.waitBeforeNext(21), 19u);   // woke 1 late: the next is still due at 40
    EXPECT_EQ(pacer.waitBeforeNext(500), 0u);   // a stall: no wait...
    EXPECT_EQ(pacer.waitBeforeNext(505), 15u);  // ...and no catching up after it
    nj::FramePacer unknown;
    unknown.start(600, 0, 0);  // a display that gives no rate counts as 60 Hz
    EXPECT_EQ(unknown.waitBeforeNext(0), 10u);
}

}  // namespace
