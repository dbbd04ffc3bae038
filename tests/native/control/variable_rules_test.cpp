// Project variables: each source, the defaults, the expansion with earlier
// variables, the wait window and the bound of the table.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "control/VariableRules.h"

namespace {

using control::variables::VariableItem;

// A scripted machine. Its expansion replaces the names of the variables read
// so far, as the setup expansion does.
class FakeMachine : public control::variables::VariableMachine {
public:
    explicit FakeMachine(const std::vector<core::SetupVariable>& table) : table_(table) {}

    std::string Expand(const std::string& text) const override {
        std::string s = text;
        for (const core::SetupVariable& v : table_)
            for (size_t at = s.find(v.name); !v.name.empty() && at != std::string::npos;
                 at = s.find(v.name, at + v.value.size()))
                s.replace(at, v.name.size(), v.value);
        return s;
    }
    std::string ReadRegistry(const std::string& root, const std::string& key, const std::string& value) override {
        return Look("reg " + root + "|" + key + "|" + value);
    }
    std::string ReadIni(const std::string& file, const std::string& section, const std::string& key) override {
        return Look("ini " + file + "|" + section + "|" + key);
    }
    bool PathExists(const std::string& path) override { return !Look("path " + path).empty(); }
    std::string FetchText(const std::string& address) override { return Look("web " + address); }
    bool WindowExists(const std::string& cls, const std::string& title) override {
        return !Look("window " + cls + "|" + title).empty();
    }
    void ShowWaitWindow() override { log.push_back("wait shown"); }
    void CloseWaitWindow() override { log.push_back("wait closed"); }
    void Refused(const std::string& name, const std::string&, const std::string& why) override {
        log.push_back("refused " + name + ": " + why);
    }

    std::map<std::string, std::string> answers;
    std::vector<std::string> log;

private:
    std::string Look(const std::string& question) {
        log.push_back(question);
        auto it = answers.find(question);
        return it == answers.end() ? std::string() : it->second;
    }
    const std::vector<core::SetupVariable>& table_;
};

VariableItem Item(const std::string& name, const std::string& source, const std::string& def = "") {
    VariableItem v;
    v.name = name;
    v.source = source;
    v.defaultValue = def;
    v.description = "about " + name;
    return v;
}

std::vector<std::string> Values(const std::vector<core::SetupVariable>& table) {
    std::vector<std::string> out;
    for (const core::SetupVariable& v : table) out.push_back(v.value);
    return out;
}

TEST(VariableRules, EachSourceWithItsDefault) {
    std::vector<core::SetupVariable> table;
    FakeMachine m(table);
    std::vector<VariableItem> items;
    items.push_back(Item("<N>", "Nowhere", "plain"));
    VariableItem reg = Item("<R>", "Registry", "regdef");
    reg.registryRoot = "HKEY_CURRENT_USER", reg.registryKey = "Software\\X", reg.registryValue = "V";
    items.push_back(reg);
    reg.name = "<R2>";
    reg.registryValue = "Missing";
    items.push_back(reg);
    VariableItem ini = Item("<I>", "INI Files", "inidef");
    ini.iniFile = "C:\\<N>.ini", ini.iniSection = "S", ini.iniKey = "K";
    items.push_back(ini);
    items.push_back(Item("<U>", "nowhere", "ignored"));
    items.push_back(Item("<E>", "Registry"));  // nothing found, no default: empty
    items.push_back(Item("<D>", "Nowhere", "<N>\\notes"));  // a default naming an earlier variable
    m.answers = {{"reg HKEY_CURRENT_USER|Software\\X|V", "from registry"},
                 {"ini C:\\plain.ini|S|K", "from ini"}};
    control::variables::ReadVariableValues(items, table, m);
    EXPECT_EQ(Values(table), (std::vector<std::string>{"plain", "from registry", "regdef", "from ini", "", "", "plain\\notes"}));
    EXPECT_EQ(table[1].name, "<R>");
    EXPECT_EQ(table[1].description, "about <R>");
    EXPECT_EQ(std::count(m.log.begin(), m.log.end(), "wait shown"), 0);
}

TEST(VariableRules, ExistenceWebAndWindowWithEarlierVariablesAndTheWaitWindow) {
    std::vector<core::SetupVariable> table;
    FakeMachine m(table);
    std::vector<VariableItem> items;
    VariableItem dir = Item("<Dir>", "Nowhere", "C:\\Data");
    items.push_back(dir);
    VariableItem file = Item("<HasFile>", "Find File/Folder");
    file.findPath = "<Dir>\\a.txt";
    items.push_back(file);
    VariableItem slash = Item("<HasDir>", "Find File/Folder");
    slash.findPath = "<Dir>\\";
    items.push_back(slash);
    VariableItem web = Item("<Web>", "Retrive from Web", "offline");
    web.webAddress = "http://h/<HasFile>";
    items.push_back(web);
    VariableItem line = Item("<Line>", "Retrive from Web", "none");
    line.webAddress = "http://h/version";
    items.push_back(line);
    VariableItem blank = Item("<Blank>", "Retrive from Web", "none");
    blank.webAddress = "http://h/blank";
    items.push_back(blank);
    VariableItem win = Item("<Win>", "Find Window");
    win.windowClass = "Cls", win.windowTitle = "<Dir>";
    items.push_back(win);
    VariableItem noTitle = Item("<Win2>", "Find Window");
    noTitle.windowClass = "Cls";
    items.push_back(noTitle);
    items.push_back(Item("<Last>", "Nowhere", "end"));
    m.answers = {{"path C:\\Data\\a.txt", "y"}, {"path C:\\Data\\", "y"}, {"window Cls|C:\\Data", "y"},
                 {"window Cls|", ""}, {"web http://h/version", "2.0\r\n"}, {"web http://h/blank", "\r\n\n"}};
    control::variables::ReadVariableValues(items, table, m);
    EXPECT_EQ(Values(table),
              (std::vector<std::string>{"C:\\Data", "TRUE", "FALSE", "offline", "2.0", "none", "TRUE", "FALSE", "end"}));
    // The wait window comes up at the first slow item and goes after the last item.
    const std::vector<std::string> expected = {"wait shown", "path C:\\Data\\a.txt", "web http://h/TRUE",
                                               "web http://h/version", "web http://h/blank", "window Cls|C:\\Data", "window Cls|", "wait closed"};
    EXPECT_EQ(m.log, expected);
}

// What a standard user may have written is data: a value that could break out
// of a quoted argument or a line is refused, and the item keeps its default.
TEST(VariableRules, ValuesFoundOnTheMachineAreDataOrTheDefault) {
    std::vector<core::SetupVariable> table;
    FakeMachine m(table);
    VariableItem reg = Item("<Notes>", "Registry", "C:\\Notes");
    reg.registryRoot = "HKEY_CURRENT_USER", reg.registryKey = "K", reg.registryValue = "V";
    VariableItem ini = Item("<Ini>", "INI Files", "inidef");
    ini.iniFile = "C:\\a.ini", ini.iniSection = "S", ini.iniKey = "K";
    VariableItem web = Item("<Web>", "Retrive from Web", "webdef");
    web.webAddress = "http://h/v";
    VariableItem broken = Item("<Broken>", "Retrive from Web", "brokendef");
    broken.webAddress = "http://h/b";
    m.answers = {{"reg HKEY_CURRENT_USER|K|V", "C:\\Notes\" & echo injected> C:\\pwned.txt & rem \""},
                 {"ini C:\\a.ini|S|K", std::string("a\tb")},
                 {"web http://h/v", "2.0\r\n"},
                 {"web http://h/b", "2.0\nrm -rf"}};
    control::variables::ReadVariableValues({reg, ini, web, broken}, table, m);
    EXPECT_EQ(Values(table), (std::vector<std::string>{"C:\\Notes", "inidef", "2.0", "brokendef"}));
    EXPECT_EQ(std::count(m.log.begin(), m.log.end(), "refused <Notes>: it holds a double quote"), 1);
    EXPECT_EQ(std::count(m.log.begin(), m.log.end(), "refused <Ini>: it holds a control character"), 1);
    EXPECT_EQ(std::count(m.log.begin(), m.log.end(), "refused <Broken>: it holds a line break"), 1);
    EXPECT_EQ(control::variables::ValueRefusal("C:\\Program Files (x86)\\Caf\xe9 & Co"), "");
}

TEST(VariableRules, TheTableHoldsFiftyAndTheRestIsIgnored) {
    std::vector<core::SetupVariable> table;
    FakeMachine m(table);
    std::vector<VariableItem> items;
    for (int i = 0; i < 60; ++i) items.push_back(Item("<V" + std::to_string(i) + ">", "Nowhere", "x"));
    items[55].source = "Retrive from Web";
    control::variables::ReadVariableValues(items, table, m);
    ASSERT_EQ(table.size(), 50u);
    EXPECT_EQ(table.back().name, "<V49>");
    EXPECT_TRUE(m.log.empty());  // the surplus web item is never fetched
}

}  // namespace
