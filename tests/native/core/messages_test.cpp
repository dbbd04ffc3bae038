// The message table: one complete entry per id, the language lookup with its
// English fallback, and language keys that name one text each.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <utility>

#include "core/Messages.h"

namespace {

using core::Message;
using core::MessageEntry;
using core::MessageId;

MessageId IdAt(std::size_t index) { return static_cast<MessageId>(index); }

TEST(Messages, EveryIdHasItsOwnCompleteEntry) {
    for (std::size_t i = 0; i < core::kMessageCount; ++i) {
        const MessageEntry& entry = Message(IdAt(i));
        EXPECT_EQ(entry.id, IdAt(i)) << "entry at position " << i;
        EXPECT_STRNE(entry.english, "") << "entry " << i;
        EXPECT_STREQ(core::EnglishText(IdAt(i)), entry.english);
        // A section without a key (or the reverse) could never be looked up.
        EXPECT_EQ(entry.section[0] == '\0', entry.key[0] == '\0') << "entry " << i;
    }
    // An id forged by a cast reads as an empty text instead of past the table.
    EXPECT_STREQ(core::EnglishText(MessageId::Count), "");
    EXPECT_STREQ(core::EnglishText(static_cast<MessageId>(-1)), "");
}

TEST(Messages, LocalisedTextTakesTheLanguageTextAndFallsBackToEnglish) {
    std::string asked;
    auto german = [&asked](const char* section, const char* key) {
        asked = std::string(section) + "/" + key;
        return std::string("Wirklich abbrechen?");
    };
    EXPECT_EQ(core::LocalisedText(MessageId::CancelQuestion, german), "Wirklich abbrechen?");
    EXPECT_EQ(asked, "CancelSetup/0");

    auto empty = [](const char*, const char*) { return std::string(); };
    EXPECT_EQ(core::LocalisedText(MessageId::RequirementMemory, empty),
              core::EnglishText(MessageId::RequirementMemory));
    EXPECT_EQ(core::LocalisedText(MessageId::RequirementMemory, nullptr),
              core::EnglishText(MessageId::RequirementMemory));

    // A text without a language key is never looked up.
    asked.clear();
    EXPECT_EQ(core::LocalisedText(MessageId::StatusCopyingFiles, german),
              core::EnglishText(MessageId::StatusCopyingFiles));
    EXPECT_EQ(asked, "");
}

TEST(Messages, LanguageKeysNameOneTextAndNeverAFormat) {
    std::set<std::pair<std::string, std::string>> seen;
    for (std::size_t i = 0; i < core::kMessageCount; ++i) {
        const MessageEntry& entry = Message(IdAt(i));
        if (entry.section[0] == '\0') continue;
        EXPECT_TRUE(seen.insert({entry.section, entry.key}).second)
            << entry.section << "/" << entry.key << " names two texts";
        // A translated text is never used as a format: a stray field in a
        // language file must not reach printf.
        EXPECT_EQ(std::strchr(entry.english, '%'), nullptr) << "entry " << i;
    }
}

}  // namespace
