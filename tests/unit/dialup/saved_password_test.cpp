// What a password box that showed the saved password's sixteen asterisks holds once the
// subscriber typed into it: only what was typed.
#include <gtest/gtest.h>

#include <cstring>

#include "dialup/SavedPassword.h"

TEST(SavedPassword, TypedOverThePlaceholder) {
    struct Case {
        const char* now;  // the box's text after the change
        size_t size;      // of the result
        const char* typed;
    } cases[] = {
        {"****************pw2", 255, "pw2"},  // typed after it
        {"pw2****************", 255, "pw2"},  // before it
        {"********pw2", 255, "pw2"},          // over its second half
        {"****pw2****", 255, "pw2"},          // over its middle
        {"***************", 255, ""},         // one asterisk deleted
        {"secret", 255, "secret"},            // pasted over all of it
        {"*****************x", 255, "*x"},    // typed after it, beginning with an asterisk
        {"****************pw*", 255, "pw*"},  // ending with one
        {"****************pw2", 3, "pw"},     // cut to the result's size
        {"\x82\xa0\x82\xa2****************", 4, "\x82\xa0"},  // never half a character
    };
    for (const Case& c : cases) {
        char out[256];
        memset(out, 'Z', sizeof(out));
        TypedOverPlaceholder(c.now, out, c.size);
        EXPECT_STREQ(out, c.typed) << c.now;
        EXPECT_EQ(out[c.size], 'Z') << c.now << ": written past the result";
    }
}
