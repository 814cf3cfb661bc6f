// The faulty disk's plan and its decisions, without a mount: what a plan may say, and which
// reads fail, wait or count.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "fault_plan.h"
#include "fault_state.h"

namespace lumbra::faulty {
namespace {

TEST(FaultPlan, FieldsAreTakenUpToTheirLimitsAndRefusedPastThem) {
    struct Case {
        const char* text;
        bool taken;
    };
    const Case cases[] = {
        {R"({})", true},
        {R"({"unreadable":[{"start":0,"count":1}]})", true},
        {R"({"unreadable":[{"start":0,"count":0}]})", false},
        {R"({"unreadable":[{"start":281474976710655,"count":1}]})", true},
        {R"({"unreadable":[{"start":281474976710655,"count":2}]})", false},
        {R"({"unreadable":[{"start":-1,"count":2}]})", false},
        {R"({"slow":[{"start":5,"count":1,"delayMs":60000}]})", true},
        {R"({"slow":[{"start":5,"count":1,"delayMs":60001}]})", false},
        {R"({"weak":[{"start":5,"count":1,"readsOnAttempt":1000}]})", true},
        {R"({"weak":[{"start":5,"count":1,"readsOnAttempt":1001}]})", false},
        {R"({"weak":[{"start":5,"count":1,"readsOnAttempt":0}]})", false},
        {R"({"failDelayMs":0,"dieAfterReads":0,"dieAfterBytes":0})", true},
        {R"({"dieAfterReads":"10"})", false},
        {R"({"unreadable":{"start":0,"count":1}})", false},
        {R"({"unreadable":[{"start":0,"count":1,"length":2}]})", false},
        {R"({"bad":[]})", false},
        {R"([1])", false},
        {R"({"unreadable":[)", false},
    };
    for (const Case& c : cases) {
        std::string error;
        const auto plan = ParseFaultPlan(c.text, error);
        EXPECT_EQ(plan.has_value(), c.taken) << c.text << ": " << error;
        EXPECT_EQ(error.empty(), c.taken) << c.text;
        if (plan) {
            EXPECT_EQ(FaultPlanJson(*ParseFaultPlan(FaultPlanJson(*plan), error)), FaultPlanJson(*plan));
        }
    }
}

nlohmann::json Counters(const FaultState& state) { return nlohmann::json::parse(state.countersJson()); }

TEST(FaultState, ReadsFailWaitAndAreCountedAsThePlanSays) {
    FaultPlan plan{.unreadable = {{10, 2}},
                   .slow = {{{20, 1}, 40}},
                   .weak = {{{30, 2}, 3}},
                   .failDelayMs = 5};
    FaultState state(plan, 100 * 512);
    // The areas' edges: sectors 9 and 12 read, 10 and 11 do not; a run touching 10 fails whole.
    EXPECT_TRUE(state.read(9 * 512, 512).ok);
    EXPECT_TRUE(state.read(12 * 512, 512).ok);
    EXPECT_FALSE(state.read(11 * 512 + 511, 1).ok);
    const ReadAnswer run = state.read(0, 16 * 512);
    EXPECT_FALSE(run.ok);
    EXPECT_EQ(run.delayMs, 5u);
    EXPECT_EQ(state.read(20 * 512, 512).delayMs, 40u);
    EXPECT_EQ(state.read(21 * 512, 512).delayMs, 0u);
    // Weak sectors read on their third attempt each; a read of both counts an attempt for each.
    EXPECT_FALSE(state.read(30 * 512, 1024).ok);
    EXPECT_FALSE(state.read(30 * 512, 512).ok);
    EXPECT_TRUE(state.read(30 * 512, 512).ok);
    EXPECT_FALSE(state.read(31 * 512, 512).ok);
    EXPECT_TRUE(state.read(31 * 512, 512).ok);
    const auto counters = Counters(state);
    EXPECT_EQ(counters["reads"], 11u);
    EXPECT_EQ(counters["failedReads"], 5u);
    EXPECT_EQ(counters["bytes"], 6u * 512);
    EXPECT_EQ(counters["mostFailedReadsOfOneSector"], 2u);
    EXPECT_EQ(counters["sectorFailedMost"], 11u);
    EXPECT_EQ(counters["dead"], false);
}

TEST(FaultState, TheDiskDiesAfterItsReadsOrItsBytes) {
    FaultState byReads({.dieAfterReads = 2}, 4096);
    EXPECT_TRUE(byReads.read(0, 512).ok);
    EXPECT_TRUE(byReads.read(0, 512).ok);
    EXPECT_FALSE(byReads.read(0, 512).ok);
    EXPECT_FALSE(byReads.read(512, 512).ok);
    EXPECT_EQ(Counters(byReads)["dead"], true);

    FaultState byBytes({.dieAfterBytes = 1024}, 4096);
    EXPECT_TRUE(byBytes.read(0, 1024).ok);
    EXPECT_FALSE(byBytes.read(0, 1).ok);
    EXPECT_TRUE(byBytes.read(0, 0).ok);  // nothing asked, nothing failed
    EXPECT_EQ(Counters(byBytes)["bytes"], 1024u);
}

}  // namespace
}  // namespace lumbra::faulty
