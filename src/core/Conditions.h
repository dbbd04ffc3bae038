// Named conditions: two texts compared by an operator. When a condition holds
// its actions run (cancel the installation, show a message). Conditions are
// asked when the page they name is shown, after Finish, and by name from file
// actions, merge modules and web items. The rules here are portable; what an
// action does and how operands expand is the caller's (ConditionRunner).
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace core {

// The conditions list holds at most this many; surplus items of the settings
// are not read.
constexpr size_t kMaxConditions = 30;
// Actions read per condition: projects give a few; a damaged count is cut here.
constexpr int kMaxConditionActions = 100;
// Trigger of the conditions that run when the complete page's Finish is pressed.
constexpr char kAfterFinishTrigger[] = "After Click Finish Button";
// The name a file action or merge module gives when it has no condition.
constexpr char kNoCondition[] = "No Condition";

struct Condition {
    std::string name;     // how file actions and merge modules refer to it
    std::string left;     // operand, placeholders expanded when evaluated
    std::string op;       // "==", "!=", ">", "<", ">=" or "=<"
    std::string right;    // operand, placeholders expanded when evaluated
    std::string trigger;  // layout file name, kAfterFinishTrigger or ""
    std::vector<std::string> actions;  // action texts, run in order
};

// The conditions in settings order.
using Conditions = std::vector<Condition>;

// Reads one key of the CONDITIONS section with a buffer of `size` bytes
// ("" when it is missing).
using ConditionKeyReader = std::function<std::string(const std::string& key, int size)>;

// The conditions list as the settings give it: "TOTAL" (100 bytes), then per
// item i the fields "A" to "F" and action j under key "<i><j>" ("21"), so
// item 1's action 10 and item 11's action 0 read the same key. At most
// kMaxConditions items with at most kMaxConditionActions actions each are
// read; surplus items and actions are ignored.
Conditions ReadConditions(const ConditionKeyReader& read);

// The leading decimal number of a text (blanks, sign, digits, a fraction
// after "."), 0 when it starts with none. No exponent: "1e3" is 1.
double LeadingNumber(const std::string& text);

// Whether the (already expanded) operands meet by the operator: "==" and
// "!=" compare the texts byte for byte; ">", "<", ">=" and "=<" compare their
// leading numbers. Any other operator, "<=" too, never holds.
bool OperandsMeet(const std::string& left, const std::string& op, const std::string& right);

// What an action text asks for.
struct ConditionAction {
    enum class Kind { None, CancelInstall, ShowMessage };
    Kind kind = Kind::None;
    std::string message;  // ShowMessage only
};

// Exactly "CancelInstall();" cancels. A text holding "ShowMessage" and a "("
// shows what follows the first "(" without its last two characters
// ("ShowMessage(Disk full);" shows "Disk full"). Anything else does nothing.
ConditionAction ParseConditionAction(const std::string& text);

// What evaluating a condition needs from where it is asked.
class ConditionRunner {
public:
    virtual ~ConditionRunner() = default;
    // The expansion of an operand (the setup's, or the engine's).
    virtual std::string Expand(const std::string& text) const = 0;
    // A "CancelInstall();" action: marks the run cancelled. The caller then
    // leaves by its cancel path.
    virtual void CancelInstall() = 0;
    // A "ShowMessage(...)" action: shows the text and returns once it is read.
    virtual void ShowMessage(const std::string& text) = 0;
};

// Expands both operands and compares them; when the condition holds its
// actions run in order. Returns whether it held.
bool EvaluateCondition(const Condition& condition, ConditionRunner& runner);

// The query by name of file actions, merge modules and web items: true for
// "" and kNoCondition and for a name no condition has (the item then runs);
// otherwise the evaluation (actions included) of the last condition of that
// name, matched exactly.
bool ConditionHolds(const Conditions& conditions, const std::string& name, ConditionRunner& runner);

// Evaluates, in list order, every condition whose trigger is `trigger` (a
// layout file name or kAfterFinishTrigger); an empty trigger runs none.
void RunTriggeredConditions(const Conditions& conditions, const std::string& trigger,
                            ConditionRunner& runner);

}  // namespace core
