#include "core/Conditions.h"

#include <algorithm>
#include <cstdio>

#include "core/SettingsKeys.h"
#include "core/SettingsRules.h"

namespace core {

namespace {

namespace k = core::keys::conditions;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

Condition ReadCondition(const ConditionKeyReader& read, int i) {
    auto field = [&](const char* letter) { return read(settings::ListKey(letter, i), settings::kValueSize); };
    Condition c;
    c.name = field(k::kName);
    c.left = field(k::kLeft);
    c.op = field(k::kOperator);
    c.right = field(k::kRight);
    c.trigger = field(k::kTrigger);
    const int count = std::min(settings::ParseNumber(field(k::kActionCount).c_str()), kMaxConditionActions);
    for (int j = 0; j < count; ++j) {
        char key[32];
        std::snprintf(key, sizeof key, k::kActionFormat, i, j);
        c.actions.push_back(read(key, settings::kValueSize));
    }
    return c;
}

}  // namespace

Conditions ReadConditions(const ConditionKeyReader& read) {
    const int total = settings::ParseNumber(read(keys::kTotal, settings::kShortValueSize).c_str());
    Conditions conditions;
    for (int i = 0; i < total && conditions.size() < kMaxConditions; ++i)
        conditions.push_back(ReadCondition(read, i));
    return conditions;
}

double LeadingNumber(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    double sign = 1;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) sign = text[i++] == '-' ? -1 : 1;
    double value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) value = value * 10 + (text[i] - '0');
    if (i < text.size() && text[i] == '.') {
        double scale = 0.1;
        for (++i; i < text.size() && IsDigit(text[i]); ++i, scale /= 10) value += (text[i] - '0') * scale;
    }
    return sign * value;
}

bool OperandsMeet(const std::string& left, const std::string& op, const std::string& right) {
    if (op == "==") return left == right;
    if (op == "!=") return left != right;
    const double l = LeadingNumber(left), r = LeadingNumber(right);
    if (op == ">") return l > r;
    if (op == "<") return l < r;
    if (op == ">=") return l >= r;
    if (op == "=<") return l <= r;
    return false;
}

ConditionAction ParseConditionAction(const std::string& text) {
    ConditionAction action;
    if (text == "CancelInstall();") {
        action.kind = ConditionAction::Kind::CancelInstall;
        return action;
    }
    const size_t open = text.find('(');
    if (text.find("ShowMessage") == std::string::npos || open == std::string::npos) return action;
    action.kind = ConditionAction::Kind::ShowMessage;
    const std::string after = text.substr(open + 1);
    action.message = after.size() > 2 ? after.substr(0, after.size() - 2) : std::string();
    return action;
}

bool EvaluateCondition(const Condition& condition, ConditionRunner& runner) {
    if (!OperandsMeet(runner.Expand(condition.left), condition.op, runner.Expand(condition.right)))
        return false;
    for (const std::string& text : condition.actions) {
        const ConditionAction action = ParseConditionAction(text);
        if (action.kind == ConditionAction::Kind::CancelInstall) runner.CancelInstall();
        if (action.kind == ConditionAction::Kind::ShowMessage) runner.ShowMessage(action.message);
    }
    return true;
}

bool ConditionHolds(const Conditions& conditions, const std::string& name, ConditionRunner& runner) {
    if (name.empty() || name == kNoCondition) return true;
    for (auto it = conditions.rbegin(); it != conditions.rend(); ++it)
        if (it->name == name) return EvaluateCondition(*it, runner);
    return true;
}

void RunTriggeredConditions(const Conditions& conditions, const std::string& trigger,
                            ConditionRunner& runner) {
    if (trigger.empty()) return;
    for (const Condition& condition : conditions)
        if (condition.trigger == trigger) EvaluateCondition(condition, runner);
}

}  // namespace core
