// The new-connection form's decisions: method selection, the Create checks and the
// phonebook name look-up behind the overwrite question.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "FakeDialup.h"
#include "dialup/UserNameText.h"
#include "newconn/FormChecks.h"
#include "newconn/MethodSelection.h"
#include "res/resource.h"
#include "support/RecordingUserSide.h"

namespace {

MethodMenuItem Item(int kind, const char* number, const char* domain) {
    MethodMenuItem item;
    memset(&item, 0, sizeof(item));
    item.kind = kind;
    strcpy(item.accessPointNumber, number);
    strcpy(item.domainText, domain);
    return item;
}

TEST(MethodSelection, ApplySnapBackOrNothing) {
    const MethodMenuItem dialup = Item(1, "0570-01-2345", "@isp.example");
    const MethodMenuItem heading = Item(9, "9999", "@heading");
    const MethodMenuItem empty = Item(2, "", "");
    using A = MethodSelectionAction;
    struct Case {
        const char* name;
        int selected;
        const MethodMenuItem* item;
        int last;
        A action;
        int lastAfter;
    } cases[] = {
        {"valid row, nothing applied yet", 0, &dialup, -1, A::Apply, 0},
        {"valid row replaces an earlier one", 3, &dialup, 1, A::Apply, 3},
        {"row without number or domain still applies", 2, &empty, 0, A::Apply, 2},
        {"kind 12 is choosable", 4, &dialup, -1, A::Apply, 4},
        {"heading before any row was applied", 0, &heading, -1, A::Nothing, -1},
        {"heading after a row was applied", 0, &heading, 2, A::SnapBack, 2},
        {"no selection after a row was applied", -1, nullptr, 1, A::SnapBack, 1},
        {"row without record after a row was applied", 1, nullptr, 0, A::SnapBack, 0},
        {"no selection and nothing applied", -1, nullptr, -1, A::Nothing, -1},
        {"a record but no selected row", -1, &dialup, -1, A::Nothing, -1},
    };
    for (const Case& c : cases) {
        const MethodSelection s = DecideMethodSelection(c.selected, c.item, c.last);
        EXPECT_EQ(s.action, c.action) << c.name;
        EXPECT_EQ(s.lastMethodIndex, c.lastAfter) << c.name;
        if (c.action == A::Apply) {
            EXPECT_STREQ(s.accessPointNumber, c.item->accessPointNumber) << c.name;
            EXPECT_STREQ(s.domainText, c.item->domainText) << c.name;
        }
        if (c.action == A::SnapBack) {
            EXPECT_EQ(s.message.kind, MessageBoxKind::App) << c.name;
            EXPECT_EQ(s.message.textId, unsigned{IDS_CHOOSE_METHOD}) << c.name;
            EXPECT_EQ(s.message.icon, MessageIcon::Warning) << c.name;
        } else {
            EXPECT_EQ(s.message.kind, MessageBoxKind::None) << c.name;
        }
    }
}

TEST(FormChecks, FirstFailureInOrder) {
    const CreateFormValues full{"My ISP", "taro", "secret", "0570-01-2345", "Modem A", 0, 0, 3};
    using K = MessageBoxKind;
    using F = FormField;
    struct Case {
        const char* name;
        CreateFormValues values;
        K kind;
        unsigned textId;
        F field;  // the control that takes the focus after the message
    } cases[] = {
        {"everything filled", full, K::None, 0, F::None},
        {"pulse", {"n", "u", "p", "1", "m", 1, 0, 3}, K::None, 0, F::None},
        {"all empty: the name comes first",
         {"", "", "", "", "", -1, -1, 0},
         K::Program,
         IDS_NO_ENTRY_NAME,
         F::EntryName},
        {"null texts count as empty", {}, K::Program, IDS_NO_ENTRY_NAME, F::EntryName},
        {"user name", {"n", "", "", "", "", -1, -1, 0}, K::Program, IDS_NO_USER_NAME, F::UserName},
        {"user name with a trailing blank, before the password",
         {"n", "hanako ", "", "", "", -1, -1, 0},
         K::Program,
         IDS_USER_NAME_NOT_PLAIN,
         F::UserName},
        {"full-width user name",
         {"n", "\x82\x88\x82\x81", "p", "1", "m", 0, 0, 3},
         K::Program,
         IDS_USER_NAME_NOT_PLAIN,
         F::UserName},
        {"half-width kana",
         {"n", "\xb1", "p", "1", "m", 0, 0, 3},
         K::Program,
         IDS_USER_NAME_NOT_PLAIN,
         F::UserName},
        {"tab",
         {"n", "ta\tro", "p", "1", "m", 0, 0, 3},
         K::Program,
         IDS_USER_NAME_NOT_PLAIN,
         F::UserName},
        {"delete, one past the last printable",
         {"n", "taro\x7f", "p", "1", "m", 0, 0, 3},
         K::Program,
         IDS_USER_NAME_NOT_PLAIN,
         F::UserName},
        {"the first and last printable characters",
         {"n", "!taro~", "p", "1", "m", 0, 0, 3},
         K::None,
         0,
         F::None},
        {"a whole address is plain",
         {"n", "jiro@dial.example.ne.jp", "p", "1", "m", 0, 0, 3},
         K::None,
         0,
         F::None},
        {"password", {"n", "u", "", "", "", -1, -1, 0}, K::Program, IDS_NO_PASSWORD, F::Password},
        {"number, method not chosen among several rows",
         {"n", "u", "p", "", "", 0, -1, 2},
         K::Program,
         IDS_CHOOSE_METHOD,
         F::Method},
        {"number, one row only",
         {"n", "u", "p", "", "m", 0, -1, 1},
         K::Program,
         IDS_NO_ACCESS_POINT,
         F::AccessPointNumber},
        {"number, no rows",
         {"n", "u", "p", "", "m", 0, -1, 0},
         K::Program,
         IDS_NO_ACCESS_POINT,
         F::AccessPointNumber},
        {"number, a row was applied",
         {"n", "u", "p", "", "m", 0, 1, 5},
         K::Program,
         IDS_NO_ACCESS_POINT,
         F::AccessPointNumber},
        {"modem", {"n", "u", "p", "1", "", -1, 0, 3}, K::Program, IDS_NO_MODEM, F::Modem},
        {"dialling mode",
         {"n", "u", "p", "1", "m", -1, 0, 3},
         K::Program,
         IDS_NO_DIAL_MODE,
         F::DiallingMode},
        {"all filled, no row applied",
         {"n", "u", "p", "1", "m", 0, -1, 0},
         K::App,
         IDS_CHOOSE_METHOD,
         F::Method},
        {"all filled, no row applied, several rows",
         {"n", "u", "p", "1", "m", 1, -1, 4},
         K::App,
         IDS_CHOOSE_METHOD,
         F::Method},
    };
    for (const Case& c : cases) {
        const FormMessage m = CheckCreateForm(c.values);
        EXPECT_EQ(m.kind, c.kind) << c.name;
        EXPECT_EQ(m.textId, c.textId) << c.name;
        EXPECT_EQ(m.field, c.field) << c.name;
        if (c.kind != K::None) {
            EXPECT_EQ(m.icon, MessageIcon::Warning) << c.name;
        }
    }
}

// The domain joins a typed user name once, also when the whole address was typed.
TEST(FormChecks, DomainIsAddedOnce) {
    struct Case {
        const char* userName;
        const char* domain;
        size_t size;
        bool fits;
        const char* joined;
    } cases[] = {
        {"jiro", "@dial.example.ne.jp", 64, true, "jiro@dial.example.ne.jp"},
        {"jiro@dial.example.ne.jp", "@dial.example.ne.jp", 64, true, "jiro@dial.example.ne.jp"},
        {"jiro@DIAL.Example.ne.jp", "@dial.example.ne.jp", 64, true, "jiro@DIAL.Example.ne.jp"},
        {"jiro@other.ne.jp", "@dial.example.ne.jp", 64, true,
         "jiro@other.ne.jp@dial.example.ne.jp"},
        {"@dial.example.ne.jp", "@dial.example.ne.jp", 64, true, "@dial.example.ne.jp"},
        {"jiro", "", 64, true, "jiro"},
        {"jiro", "@a.jp", 10, true, "jiro@a.jp"},       // 9 bytes and the terminator
        {"jiro", "@ab.jp", 10, false, ""},              // one past
        {"jiro@a.jp", "@a.jp", 10, true, "jiro@a.jp"},  // already there: only the name must fit
    };
    for (const Case& c : cases) {
        char out[64] = "junk";
        EXPECT_EQ(JoinUserNameAndDomain(c.userName, c.domain, out, c.size), c.fits) << c.userName;
        EXPECT_STREQ(out, c.joined) << c.userName;
    }
}

class PhonebookNames : public ::testing::Test {
protected:
    void SetUp() override { ResetFake(); }
    DialupApi api = FakeDialupApi();
};

TEST_F(PhonebookNames, EnumerationProtocolAndCaseInsensitiveMatch) {
    Fake().Add("My ISP");
    Fake().Add("Other");
    Fake().Add("Third");
    std::vector<RASENTRYNAMEA> entries;
    ASSERT_TRUE(EnumerateEntries(api, &entries));
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_STREQ(entries[2].szEntryName, "Third");
    // First call: one record, stated size 0; then a buffer of the reported size.
    EXPECT_EQ(Fake().enumStatedSizes, (std::vector<RasDword>{0, 3 * kRasEntryNameSize}));
    EXPECT_EQ(Fake().enumFirstRecordSizes, (std::vector<RasDword>{264, 264}));

    EXPECT_TRUE(EntryExists(api, "My ISP"));
    EXPECT_TRUE(EntryExists(api, "my isp"));
    EXPECT_TRUE(EntryExists(api, "OTHER"));
    EXPECT_FALSE(EntryExists(api, "My ISP "));
    EXPECT_FALSE(EntryExists(api, ""));
}

TEST_F(PhonebookNames, EmptyFailedOrMissingEnumerationMatchesNothing) {
    std::vector<RASENTRYNAMEA> entries(2);
    EXPECT_TRUE(EnumerateEntries(api, &entries));
    EXPECT_TRUE(entries.empty());

    Fake().Add("My ISP");
    Fake().enumResult = ERROR_CANNOT_OPEN_PHONEBOOK;
    EXPECT_FALSE(EnumerateEntries(api, &entries));
    EXPECT_FALSE(EntryExists(api, "My ISP"));

    DialupApi unbound = api;
    unbound.RasEnumEntriesA = nullptr;
    Fake().enumResult = 0;
    EXPECT_FALSE(EntryExists(unbound, "My ISP"));
}

TEST_F(PhonebookNames, OverwriteQuestion) {
    Fake().Add("My ISP");
    RecordingUserSide user;
    EXPECT_TRUE(ConfirmOverwrite(api, user, "New one"));
    EXPECT_TRUE(user.shown.empty()) << "no question for a new name";

    user.answer = false;
    EXPECT_FALSE(ConfirmOverwrite(api, user, "MY ISP"));
    ASSERT_EQ(user.shown.size(), 1u);
    EXPECT_EQ(user.shown[0].kind, ShownMessage::Question);
    EXPECT_EQ(user.shown[0].textId, unsigned{IDS_OVERWRITE_QUESTION});
    EXPECT_EQ(user.shown[0].text, "MY ISP") << "the name as typed fills the %s";

    user.answer = true;
    EXPECT_TRUE(ConfirmOverwrite(api, user, "my isp"));
    EXPECT_EQ(Fake().entries.size(), 1u) << "asking changes nothing";
}

}  // namespace
