// The new-connection form's decisions: method selection, the Create checks and the
// phonebook name look-up behind the overwrite question.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "FakeDialup.h"
#include "dialup/PhonebookEntries.h"
#include "dialup/UserNameText.h"
#include "newconn/EntryCreation.h"
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
    using F = FormField;  // the control that takes the focus after the message
    const unsigned plain = IDS_USER_NAME_NOT_PLAIN, method = IDS_CHOOSE_METHOD,
                   number = IDS_NO_ACCESS_POINT, two = IDS_USER_NAME_HAS_DOMAIN;
    const char* const dial = "@d.jp";
    struct Case {
        CreateFormValues values;
        K kind;
        unsigned textId;
        F field;
    } cases[] = {
        {full, K::None, 0, F::None},
        {{"n", "u", "p", "1", "m", 1, 0, 3}, K::None, 0, F::None},  // pulse
        {{"", "", "", "", "", -1, -1, 0}, K::Program, IDS_NO_ENTRY_NAME, F::EntryName},
        {{}, K::Program, IDS_NO_ENTRY_NAME, F::EntryName},  // null texts count as empty
        {{"n", "", "", "", "", -1, -1, 0}, K::Program, IDS_NO_USER_NAME, F::UserName},
        // User names that can never log in, refused before the password is looked at.
        {{"n", "hanako ", "", "", "", -1, -1, 0}, K::Program, plain, F::UserName},
        {{"n", "\x82\x88\x82\x81", "p", "1", "m", 0, 0, 3}, K::Program, plain, F::UserName},
        {{"n", "\xb1", "p", "1", "m", 0, 0, 3}, K::Program, plain, F::UserName},
        {{"n", "ta\tro", "p", "1", "m", 0, 0, 3}, K::Program, plain, F::UserName},
        {{"n", "taro\x7f", "p", "1", "m", 0, 0, 3}, K::Program, plain, F::UserName},
        {{"n", "!taro~", "p", "1", "m", 0, 0, 3}, K::None, 0, F::None},
        {{"n", "jiro@dial.example.ne.jp", "p", "1", "m", 0, 0, 3}, K::None, 0, F::None},
        // A domain of its own before the one the form adds: only that same one may stand.
        {{"n", "jiro@D.JP", "p", "1", "m", 0, 0, 3, dial}, K::None, 0, F::None},
        {{"n", "jiro@x", "p", "1", "m", 0, 0, 3, ""}, K::None, 0, F::None},  // none added
        {{"n", "jiro@d-old.jp", "p", "1", "m", 0, 0, 3, dial}, K::Program, two, F::UserName},
        {{"n", "a@b@d.jp", "", "", "", -1, -1, 0, dial}, K::Program, two, F::UserName},
        {{"n", "@d.jp", "p", "1", "m", 0, 0, 3, dial}, K::Program, two, F::UserName},
        {{"n", "jiro@x", "p", "1", "m", 0, 0, 3, "@"}, K::Program, two, F::UserName},
        {{"n", "u", "", "", "", -1, -1, 0}, K::Program, IDS_NO_PASSWORD, F::Password},
        // No number: the method prompt while no row was applied among several.
        {{"n", "u", "p", "", "", 0, -1, 2}, K::Program, method, F::Method},
        {{"n", "u", "p", "", "m", 0, -1, 1}, K::Program, number, F::AccessPointNumber},
        {{"n", "u", "p", "", "m", 0, -1, 0}, K::Program, number, F::AccessPointNumber},
        {{"n", "u", "p", "", "m", 0, 1, 5}, K::Program, number, F::AccessPointNumber},
        {{"n", "u", "p", "1", "", -1, 0, 3}, K::Program, IDS_NO_MODEM, F::Modem},
        {{"n", "u", "p", "1", "m", -1, 0, 3}, K::Program, IDS_NO_DIAL_MODE, F::DiallingMode},
        // All filled, no row applied: the application's own prompt.
        {{"n", "u", "p", "1", "m", 0, -1, 0}, K::App, method, F::Method},
        {{"n", "u", "p", "1", "m", 1, -1, 4}, K::App, method, F::Method},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("row " + std::to_string(&c - cases));
        const FormMessage m = CheckCreateForm(c.values);
        EXPECT_EQ(m.kind, c.kind);
        EXPECT_EQ(m.textId, c.textId);
        EXPECT_EQ(m.field, c.field);
        if (c.kind != K::None) {
            EXPECT_EQ(m.icon, MessageIcon::Warning);
        }
        if (c.textId == two) {
            EXPECT_EQ(m.text, c.values.domainText) << "the message names the added domain";
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

// Both forms of the listing: the 2000 form names each entry's phonebook; a library that
// refuses its size (before Windows 2000) is asked again in the short form.
TEST_F(PhonebookNames, EnumerationProtocolInBothForms) {
    struct Case {
        bool shortFormOnly;
        std::vector<RasDword> statedSizes;
        std::vector<RasDword> firstRecordSizes;
        const char* thirdPhonebook;
    } cases[] = {
        {false, {0, 3 * 532}, {532, 532}, "C:\\all.pbk"},
        {true, {0, 532, 0, 3 * 264}, {532, 532, 264, 264}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shortFormOnly ? "short form" : "2000 form");
        ResetFake();
        Fake().shortFormOnly = c.shortFormOnly;
        Fake().Add("My ISP");
        Fake().Add("Other");
        Fake().Add("Third");
        Fake().entries[2].phonebook = "C:\\all.pbk";
        std::vector<PhonebookEntryName> entries;
        ASSERT_EQ(EnumerateEntries(api, &entries), 0u);
        ASSERT_EQ(entries.size(), 3u);
        EXPECT_STREQ(entries[2].name, "Third");
        EXPECT_STREQ(entries[2].phonebook, c.thirdPhonebook);
        EXPECT_EQ(Fake().enumStatedSizes, c.statedSizes);
        EXPECT_EQ(Fake().enumFirstRecordSizes, c.firstRecordSizes);
    }
}

TEST_F(PhonebookNames, FindEntryNamedTakesTheFirstIgnoringCase) {
    std::vector<PhonebookEntryName> entries(3, PhonebookEntryName{});
    CopyField(entries[0].name, "My ISP");
    CopyField(entries[1].name, "MY isp");
    CopyField(entries[1].phonebook, "C:\\user.pbk");
    CopyField(entries[2].name, "Other");
    struct Case {
        const char* name;
        int row;  // -1: none
    } cases[] = {{"my isp", 0}, {"OTHER", 2}, {"My ISP ", -1}, {"", -1}, {nullptr, -1}};
    for (const Case& c : cases) {
        const PhonebookEntryName* found = FindEntryNamed(entries, c.name);
        EXPECT_EQ(found == nullptr ? -1 : int(found - entries.data()), c.row)
            << (c.name != nullptr ? c.name : "(null)");
    }
}

TEST_F(PhonebookNames, FailedOrMissingEnumerationGivesItsNumber) {
    std::vector<PhonebookEntryName> entries(2);
    EXPECT_EQ(EnumerateEntries(api, &entries), 0u);
    EXPECT_TRUE(entries.empty());

    Fake().Add("My ISP");
    Fake().enumResult = ERROR_CANNOT_OPEN_PHONEBOOK;
    EXPECT_EQ(EnumerateEntries(api, &entries), RasDword{ERROR_CANNOT_OPEN_PHONEBOOK});
    EXPECT_TRUE(entries.empty());

    DialupApi unbound = api;
    unbound.RasEnumEntriesA = nullptr;
    Fake().enumResult = 0;
    EXPECT_EQ(EnumerateEntries(unbound, &entries), RasDword{kMissingOperation});
}

// The question and the creation go by one look-up: present (asked), absent (not asked), or
// unknown (its error shown, nothing asked, nothing written).
TEST_F(PhonebookNames, OverwriteQuestionFromOneLookUp) {
    using P = EntryPresence;
    const unsigned ask = IDS_OVERWRITE_QUESTION;
    struct Case {
        const char* name;
        RasDword enumResult, probeResult, readResult;
        bool answer, goesOn;
        EntryPresence presence;
        unsigned shown;  // 0: nothing shown
        int fills = 3;   // a listing fills in 1 its count, 2 its records; 4: a read nothing
    } cases[] = {
        {"New one", 0, 0, 0, false, true, P::Absent, 0},
        {"MY ISP", 0, 0, 0, false, false, P::Present, ask},
        {"my isp", 0, 0, 0, true, true, P::Present, ask},
        {"My ISP", 621, 0, 0, true, false, P::Unknown, IDS_ENTRY_FAILED_621},
        {"My ISP", 0, 1784, 0, true, false, P::Unknown, IDS_ENTRY_FAILED_1784},
        {"My ISP", 0, 0, 5, true, false, P::Unknown, IDS_ENTRY_FAILED_OTHER},
        // Listed, yet 623 (gone, or a damaged phonebook): never taken for absent.
        {"My ISP", 0, 0, 623, true, false, P::Unknown, IDS_ENTRY_FAILED_OTHER},
        // A success that filled nothing in is no listing and no entry: never "absent".
        {"New one", 0, 0, 0, true, false, P::Unknown, IDS_ENTRY_FAILED_OTHER, 2},  // no count
        {"New one", 0, 0, 0, true, false, P::Unknown, IDS_ENTRY_FAILED_OTHER, 1},  // no records
        {"My ISP", 0, 0, 0, true, false, P::Unknown, IDS_ENTRY_FAILED_OTHER, 4 | 3},  // no record
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("row " + std::to_string(&c - cases));
        ResetFake();
        Fake().Add("My ISP");
        Fake().entries[0].phonebook = "C:\\user.pbk";
        Fake().enumResult = c.enumResult;
        Fake().namedProbeResult = c.probeResult;
        Fake().namedReadResult = c.readResult;
        Fake().enumFillsCount = (c.fills & 1) != 0;
        Fake().enumFillsRecords = (c.fills & 2) != 0;
        Fake().namedReadFills = (c.fills & 4) == 0;
        RecordingUserSide user;
        user.answer = c.answer;
        ExistingEntry existing;
        EXPECT_EQ(ConfirmCreation(api, 9, user, c.name, &existing), c.goesOn);
        EXPECT_EQ(existing.presence, c.presence);
        ASSERT_EQ(user.shown.size(), c.shown != 0 ? 1u : 0u);
        if (c.shown != 0) {
            EXPECT_EQ(user.shown[0].textId, c.shown);
            EXPECT_EQ(user.shown[0].number,
                      c.fills != 3 ? int(kUnfilledRead)
                                   : int(c.enumResult + c.probeResult + c.readResult));
        }
        if (c.presence == EntryPresence::Present) {
            EXPECT_EQ(user.shown[0].text, c.name) << "the name as typed fills the %s";
            EXPECT_EQ(existing.record.phonebook, "C:\\user.pbk");
            EXPECT_EQ(Fake().calls.back(), std::string("Get:") + c.name + "|C:\\user.pbk");
        }
        EXPECT_EQ(Fake().entries.size(), 1u) << "asking changes nothing";
    }
}

}  // namespace
