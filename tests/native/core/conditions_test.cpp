// Conditions: operators, action texts, the query by name, page triggers and
// the bounds of the list read from the settings.
#include <gtest/gtest.h>

#include <map>

#include "core/Conditions.h"

namespace {

using core::OperandsMeet;

// Expands "<v>" to a fixed value and records what the actions did.
class RecordingRunner : public core::ConditionRunner {
public:
    std::string Expand(const std::string& text) const override { return text == "<v>" ? "2.5" : text; }
    void CancelInstall() override { done.push_back("cancel"); }
    void ShowMessage(const std::string& text) override { done.push_back("message:" + text); }
    std::vector<std::string> done;
};

core::Condition Make(const std::string& name, const std::string& op, const std::string& right,
                     std::vector<std::string> actions = {}, const std::string& trigger = "") {
    return {name, "<v>", op, right, trigger, std::move(actions)};
}

TEST(ConditionOperators, TextsCompareExactlyNumbersByTheirLeadingValue) {
    EXPECT_TRUE(OperandsMeet("2.5", "==", "2.5"));
    EXPECT_FALSE(OperandsMeet("2.50", "==", "2.5"));
    EXPECT_TRUE(OperandsMeet("2.50", "!=", "2.5"));
    EXPECT_FALSE(OperandsMeet("abc", "!=", "abc"));
    EXPECT_FALSE(OperandsMeet("ABC", "==", "abc"));
    EXPECT_TRUE(OperandsMeet("2.5", ">=", "2.5"));
    EXPECT_TRUE(OperandsMeet("3", ">=", "2.5"));
    EXPECT_FALSE(OperandsMeet("2.45", ">=", "2.5"));
    EXPECT_TRUE(OperandsMeet("2.5", ">", "2.45"));
    EXPECT_TRUE(OperandsMeet("2.45", "<", "2.5"));
    EXPECT_FALSE(OperandsMeet("2.50", "<", "2.5"));
    EXPECT_TRUE(OperandsMeet("2.50", "=<", "2.5"));
    EXPECT_TRUE(OperandsMeet("2.45", "=<", "2.5"));
    EXPECT_FALSE(OperandsMeet("3", "=<", "2.5"));
}

TEST(ConditionOperators, UnknownOperatorsNeverHold) {
    for (const char* op : {"<=", "=>", "=", "", " ==", "EQ"}) {
        EXPECT_FALSE(OperandsMeet("1", op, "1")) << op;
        EXPECT_FALSE(OperandsMeet("1", op, "2")) << op;
        EXPECT_FALSE(OperandsMeet("2", op, "1")) << op;
    }
}

TEST(ConditionOperators, LeadingNumbers) {
    EXPECT_DOUBLE_EQ(core::LeadingNumber("2.45"), 2.45);
    EXPECT_DOUBLE_EQ(core::LeadingNumber(" -1.5 MB"), -1.5);
    EXPECT_DOUBLE_EQ(core::LeadingNumber("7.0.1"), 7.0);
    EXPECT_DOUBLE_EQ(core::LeadingNumber("v2"), 0);
    EXPECT_DOUBLE_EQ(core::LeadingNumber(""), 0);
    EXPECT_DOUBLE_EQ(core::LeadingNumber("1e3"), 1);
    EXPECT_GT(core::LeadingNumber(std::string(254, '9')), 1e250);  // the longest value stays finite
}

TEST(ConditionActions, ParsedFromTheirTexts) {
    using Kind = core::ConditionAction::Kind;
    EXPECT_EQ(core::ParseConditionAction("CancelInstall();").kind, Kind::CancelInstall);
    for (const char* t : {"CancelInstall()", "cancelinstall();", " CancelInstall();", "", "Beep();"})
        EXPECT_EQ(core::ParseConditionAction(t).kind, Kind::None) << t;
    const core::ConditionAction m = core::ParseConditionAction("ShowMessage(Disk full);");
    EXPECT_EQ(m.kind, Kind::ShowMessage);
    EXPECT_EQ(m.message, "Disk full");
    // The text after the first "(", whatever closes it: the last two characters go.
    EXPECT_EQ(core::ParseConditionAction("ShowMessage(a (b));").message, "a (b)");
    EXPECT_EQ(core::ParseConditionAction("say ShowMessage(Hi);").message, "Hi");
    EXPECT_EQ(core::ParseConditionAction("ShowMessage();").message, "");
    EXPECT_EQ(core::ParseConditionAction("ShowMessage(x").message, "");
    EXPECT_EQ(core::ParseConditionAction("ShowMessage").kind, Kind::None);
}

TEST(ConditionQuery, ByNameTheLastOfThatNameDecidesAndRunsItsActions) {
    RecordingRunner r;
    const core::Conditions list = {Make("V", ">=", "3", {"ShowMessage(first);"}),
                                   Make("V", ">=", "2.45", {"ShowMessage(Disk full);", "CancelInstall();"}),
                                   Make("Never", "<=", "9", {"CancelInstall();"})};
    EXPECT_TRUE(core::ConditionHolds(list, "V", r));
    EXPECT_EQ(r.done, (std::vector<std::string>{"message:Disk full", "cancel"}));
    r.done.clear();
    EXPECT_FALSE(core::ConditionHolds(list, "Never", r));
    EXPECT_TRUE(r.done.empty());
}

TEST(ConditionQuery, NoConditionEmptyAndUnknownNamesHold) {
    RecordingRunner r;
    const core::Conditions list = {Make("No Condition", "==", "2.5", {"CancelInstall();"}),
                                   Make("", "==", "2.5", {"CancelInstall();"})};
    for (const char* name : {"", "No Condition", "Unknown", "no condition"}) EXPECT_TRUE(core::ConditionHolds(list, name, r)) << name;
    EXPECT_TRUE(r.done.empty());
}

TEST(ConditionQuery, TriggersRunEveryMatchingConditionInOrder) {
    RecordingRunner r;
    const core::Conditions list = {Make("a", "==", "2.5", {"ShowMessage(one);"}, "welcome.lcd"),
                                   Make("b", "==", "2.5", {"ShowMessage(two);"}, core::kAfterFinishTrigger),
                                   Make("c", "!=", "x", {"ShowMessage(three);"}, "welcome.lcd"),
                                   Make("d", "==", "no", {"ShowMessage(four);"}, "welcome.lcd"),
                                   Make("e", "==", "2.5", {"ShowMessage(five);"}, "")};
    core::RunTriggeredConditions(list, "welcome.lcd", r);
    EXPECT_EQ(r.done, (std::vector<std::string>{"message:one", "message:three"}));
    r.done.clear();
    core::RunTriggeredConditions(list, "", r);
    EXPECT_TRUE(r.done.empty());
    core::RunTriggeredConditions(list, core::kAfterFinishTrigger, r);
    EXPECT_EQ(r.done, (std::vector<std::string>{"message:two"}));
}

// Reads from a map of CONDITIONS keys, counting the reads.
struct FakeSection {
    std::map<std::string, std::string> keys;
    int reads = 0;
    core::ConditionKeyReader Reader() {
        return [this](const std::string& key, int size) {
            ++reads;
            auto it = keys.find(key);
            return it == keys.end() ? std::string() : it->second.substr(0, size - 1);
        };
    }
};

TEST(ConditionList, ReadsFieldsAndActionsWithSharedKeys) {
    FakeSection s;
    s.keys = {{"TOTAL", "12"}, {"A1", "one"}, {"B1", "<v>"}, {"C1", "=<"}, {"D1", "3"},
              {"E1", "welcome.lcd"}, {"F1", "11"}, {"10", "ShowMessage(zero);"},
              {"110", "shared"}, {"A11", "eleven"}, {"F11", "1"}};
    const core::Conditions list = core::ReadConditions(s.Reader());
    ASSERT_EQ(list.size(), 12u);
    const core::Condition& one = list[1];
    EXPECT_EQ(one.name, "one");
    EXPECT_EQ(one.op, "=<");
    EXPECT_EQ(one.trigger, "welcome.lcd");
    ASSERT_EQ(one.actions.size(), 11u);
    EXPECT_EQ(one.actions[0], "ShowMessage(zero);");
    EXPECT_EQ(one.actions[10], "shared");
    EXPECT_EQ(list[11].actions, std::vector<std::string>{"shared"});
}

TEST(ConditionList, SurplusItemsAndActionsAreIgnored) {
    FakeSection s;
    s.keys = {{"TOTAL", "2000000000"}, {"F0", "2000000000"}, {"A29", "last"}, {"A30", "surplus"}};
    const core::Conditions list = core::ReadConditions(s.Reader());
    ASSERT_EQ(list.size(), core::kMaxConditions);
    EXPECT_EQ(list.back().name, "last");
    EXPECT_EQ(list[0].actions.size(), static_cast<size_t>(core::kMaxConditionActions));
    EXPECT_LT(s.reads, 400);
    s.keys = {{"TOTAL", "-5"}, {"A0", "x"}};
    EXPECT_TRUE(core::ReadConditions(s.Reader()).empty());
    s.keys = {{"TOTAL", "1"}, {"F0", "-3"}};
    EXPECT_TRUE(core::ReadConditions(s.Reader())[0].actions.empty());
}

}  // namespace
