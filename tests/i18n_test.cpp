// The interface text table: complete, within the fonts' character set, and the credits scroller.
#include "main/i18n.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

static bool inCharacterSet(char c) {
    return c == ' ' || strchr("!%'(),-.:<>?", c) || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
           c == 'a' || c == 'd' || c == 'n';
}

TEST(Texts, EveryIdHasATextInTheFontsCharacterSet) {
    ASSERT_EQ(lang_id, 0u);
    for (int id = 0; id < TEXT_COUNT; id++) {
        ASSERT_NE(text(id), nullptr) << id;
        EXPECT_EQ(text(id), translation[0][id]);
        for (const char *c = text(id); *c; c++)
            EXPECT_TRUE(inCharacterSet(*c)) << "id " << id << ": '" << *c << "'";
    }
    // Lower case appears only in the word "and" of id 81 and the format of id 62.
    for (int id = 0; id < TEXT_COUNT; id++) {
        if (id != 62 && id != 81) {
            EXPECT_EQ(std::string(text(id)).find_first_of("adn"), std::string::npos) << id;
        }
    }
    EXPECT_STREQ(text(81), "BELOW, TO THE LEFT and TO THE");
    for (auto pair : {std::make_pair(5, 10), std::make_pair(11, 29), std::make_pair(57, 84)})
        EXPECT_STREQ(text(pair.first), text(pair.second));
    char line[32];
    snprintf(line, sizeof line, text(62), 3);
    EXPECT_STREQ(line, "STAGE 3 NEXT");
    EXPECT_STREQ(text(52), "<--- CONTINUE    EXIT --->");
}

TEST(Texts, TheCreditsScrollerEntersAndLeavesTheScreen) {
    const std::string scroller = text(89);
    ASSERT_EQ(scroller.size(), 1220u);
    EXPECT_EQ(scroller.find_first_not_of(' '), 41u);
    EXPECT_EQ(scroller.size() - 1 - scroller.find_last_not_of(' '), 49u);
    std::string body = scroller.substr(41, scroller.size() - 41 - 49);
    int sections = 1;
    for (size_t at = body.find(" --- "); at != std::string::npos; at = body.find(" --- ", at + 5)) {
        EXPECT_NE(body.compare(at + 5, 1, " "), 0) << "an empty section at " << at;
        sections++;
    }
    EXPECT_GE(sections, 4); // credits, thanks, greetings, a call for support
    EXPECT_NE(body.find("SDL, SDL MIXER, LIBMODPLUG AND ZLIB"), std::string::npos);
    for (char c : scroller)
        EXPECT_TRUE(inCharacterSet(c) && !(c >= 'a' && c <= 'z')) << "'" << c << "'";
}
