// The driver: early ends, the progress calls over a whole run, the final report, and
// failed writes that leave the run going.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "MigrationHarness.h"
#include "migrate/MigrationMessages.h"
#include "res/resource.h"
#include "sim/SimRasApi.h"

namespace {

const char kStandard[] = "UserPrefix,X\r\nOldDialupDomain,@dial.example\r\n";

struct Shown {
    ShownMessage::Kind kind;
    unsigned textId;
    int number;
    MessageIcon icon;
};

void ExpectShown(const RecordingUserSide& user, const std::vector<Shown>& expected) {
    ASSERT_EQ(user.shown.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(user.shown[i].kind, expected[i].kind) << i;
        EXPECT_EQ(user.shown[i].textId, expected[i].textId) << i;
        EXPECT_EQ(user.shown[i].number, expected[i].number) << i;
        EXPECT_EQ(user.shown[i].icon, expected[i].icon) << i;
    }
}

TEST(MigrationRun, EndsEarly) {
    const MessageIcon warning = MessageIcon::Warning;
    struct Case {
        const char* what;
        bool settings;
        bool entries;
        const char* fail;
        unsigned textId;
        MessageIcon icon;
        bool started;  // MigrationStart with 0 before the message
    } cases[] = {
        {"no ISP_INF.csv", false, true, nullptr, IDS_NO_ISP_SETTINGS, warning, false},
        {"empty phonebook", true, false, nullptr, IDS_NO_DIALUP_ENTRIES, MessageIcon::Information,
         true},
        {"enumeration fails", true, true, "RasEnumEntriesA:621", IDS_PHONEBOOK_READ_FAILED, warning,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MigrationHarness h;
        if (c.settings) {
            h.WriteProviderKit(kStandard);
        }
        if (c.entries) {
            h.AddModemEntry("A", "", "0312345678", "Xabc@dial.example");
        }
        h.sim.Fail(c.fail);
        h.MakeContext(8)->RunMigration();
        ExpectShown(h.user, {{ShownMessage::App, c.textId, 0, c.icon}});
        EXPECT_EQ(h.ui.calls,
                  c.started ? std::vector<std::string>{"start 0"} : std::vector<std::string>{});
    }
}

// Progress in order over entries of every kind: one proposal accepted, one entry deleted
// after listing, one of another device type.
TEST(MigrationRun, ProgressOverEveryEntry) {
    MigrationHarness h;
    h.WriteProviderKit(kStandard);
    h.AddModemEntry("A", "", "0312345678", "Xabc@dial.example");
    h.AddModemEntry("B", "", "0312345678", "Xabc@dial.example");
    h.AddModemEntry("C", "", "0312345678", "Xabc@dial.example");
    h.EditEntry("C", [](RASENTRYA& e) { CopyField(e.szDeviceType, "vpn"); });
    h.ui.otherAnswers = true;
    h.ui.onEntry = [&h](const char* name) {
        if (std::string(name) == "B") {
            h.api().RasDeleteEntryA(nullptr, "B");
        }
    };
    h.MakeContext(8)->RunMigration();
    EXPECT_EQ(h.ui.calls,
              (std::vector<std::string>{"start 3", "step 0", "entry A", "access point A", "step 1",
                                        "entry B", "step 2", "entry C", "finished 1 1"}));
    // Listed, then gone: the subscriber hears of it (the progress window shows the report).
    ExpectShown(h.user, {{ShownMessage::App, IDS_ENTRIES_NOT_EXAMINED, 0, MessageIcon::Warning}});
    EXPECT_EQ(h.user.shown[0].text, "[B] (623)");
    EXPECT_STREQ(h.Read("A").properties.szLocalPhoneNumber, "0120-11-1111");
}

// The final report; entries that could not be read are named, with their error numbers,
// in one warning just before it.
TEST(MigrationRun, FinalReportWithoutProgressWindow) {
    const char* const x = "Xabc@dial.example";
    struct Case {
        const char* userName;  // of all three entries
        std::vector<bool> answers;
        const char* fail;  // RASSIM_FAIL
        unsigned textId;
        int number;
        const char* notExamined;  // the list of IDS_ENTRIES_NOT_EXAMINED; null: not shown
    } cases[] = {
        {"Yabc@dial.example", {}, nullptr, IDS_NOTHING_TO_CHANGE, 0, nullptr},
        {x, {false, false, false}, nullptr, IDS_FOUND_NOT_CHANGED, 3, nullptr},
        {x, {false, true, false}, nullptr, IDS_CHANGED_COUNT, 1, nullptr},
        {x, {false, true}, "RasGetEntryDialParamsA#2:5", IDS_CHANGED_COUNT, 1, "[B] (5)"},
        {x,
         {false},
         "RasGetEntryPropertiesA#3:621,RasGetEntryDialParamsA#2:1784",
         IDS_FOUND_NOT_CHANGED,
         1,
         "[A] (621)\n[C] (1784)"},
        {x,  // reads that filled nothing in
         {false},
         "RasGetEntryPropertiesA#3:empty,RasGetEntryDialParamsA#1:empty",
         IDS_FOUND_NOT_CHANGED,
         1,
         "[A] (13)\n[B] (13)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("row " + std::to_string(&c - cases));
        MigrationHarness h;
        h.WriteProviderKit(kStandard);
        for (const char* name : {"A", "B", "C"}) {
            h.AddModemEntry(name, "", "0312345678", c.userName);
        }
        h.ui.progressWindow = false;
        h.ui.answers = c.answers;
        ResetSimCallRecord(false);
        h.sim.Fail(c.fail);
        h.MakeContext(6)->RunMigration();
        const Shown final{ShownMessage::App, c.textId, c.number, MessageIcon::Information};
        if (c.notExamined == nullptr) {
            ExpectShown(h.user, {final});
        } else {
            ExpectShown(
                h.user,
                {{ShownMessage::App, IDS_ENTRIES_NOT_EXAMINED, 0, MessageIcon::Warning}, final});
            EXPECT_EQ(h.user.shown[0].text, c.notExamined);
        }
        EXPECT_EQ(h.ui.calls.size(), c.answers.size());  // dialogs only, no progress
    }
}

// A standard user is told before the first proposal which all-users entries only an
// administrator may change; none is proposed or counted, declined or not. The user name of an
// all-users entry is the user's own, and still proposed.
TEST(MigrationRun, StandardUserIsToldBeforeTheFirstProposal) {
    struct Case {
        bool changeable;     // allUsersChangeable
        const char* shared;  // the all-users entry's number: an old access point or Flets
        bool own;            // the user's own entry dials the old access point too
        bool accept;
        std::vector<std::string> proposals;
        bool named;  // [Shared] named before the first proposal
        unsigned textId;
        int number;
    } cases[] = {
        {true,
         "0312345678",
         true,
         true,
         {"access point Shared", "access point Mine"},
         false,
         IDS_CHANGED_COUNT,
         2},
        {false, "0312345678", true, true, {"access point Mine"}, true, IDS_CHANGED_COUNT, 1},
        {false, "0312345678", true, false, {"access point Mine"}, true, IDS_FOUND_NOT_CHANGED, 1},
        {false, "0312345678", false, false, {}, true, IDS_CHANGED_COUNT, 0},
        {false, "0,1492", false, true, {"user name Shared"}, false, IDS_CHANGED_COUNT, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("row " + std::to_string(&c - cases));
        MigrationHarness h;
        h.WriteProviderKit("UserPrefix,X\r\nOldDialupDomain,@old.example\r\n");
        const std::string rest =
            "\r\nDeviceType=modem\r\nDeviceName=M\r\nUserName=Xa@old.example\r\n";
        h.sim.WriteFile(std::string("[Shared]\r\nLocalPhoneNumber=") + c.shared + rest);
        h.folder().Write("user.pbk", c.own ? "[Mine]\r\nLocalPhoneNumber=0312345678" + rest : "");
        SimVariable own("RASSIM_USER_PHONEBOOK", h.folder().PathTo("user.pbk").c_str()),
            rights("RASSIM_RIGHTS", c.changeable ? "admin" : "standard");
        h.ui.progressWindow = false;
        h.ui.otherAnswers = c.accept;
        size_t toldFirst = 0;
        h.ui.editAccessPoint = [&](AccessPointChangeFields&) { toldFirst = h.user.shown.size(); };
        auto context = h.MakeContext(9);
        context->allUsersChangeable = c.changeable;
        context->RunMigration();
        EXPECT_EQ(h.ui.calls, c.proposals);
        std::vector<Shown> shown = {
            {ShownMessage::App, c.textId, c.number, MessageIcon::Information}};
        if (c.named) {
            shown.insert(shown.begin(), {ShownMessage::App, IDS_ENTRIES_NEED_ADMINISTRATOR, 0,
                                         MessageIcon::Warning});
            EXPECT_EQ(toldFirst, c.proposals.empty() ? 0u : 1u);
        }
        ExpectShown(h.user, shown);
        EXPECT_EQ(h.user.shown[0].text, c.named ? "[Shared]" : "");
    }
}

// The list stays within its limit: the largest that fits is shown whole; one byte more
// and the last line gives way to "...". While more lines follow, a line stays only when
// "\n..." still fits after it.
TEST(MigrationMessages, NotExaminedListLimit) {
    struct Case {
        size_t firstName;  // bytes of the first name (the others have 250)
        int names;
        size_t size;
        const char* ending;
    } cases[] = {
        {247, 4, 1024, "] (5)"},
        {248, 4, 254 + 2 * 257 + 4, "\n..."},
        {243, 5, 249 + 3 * 257 + 4, "] (5)\n..."},
        {244, 5, 250 + 2 * 257 + 4, "] (5)\n..."},
    };
    for (const Case& c : cases) {
        std::vector<NotExaminedEntry> entries = {{std::string(c.firstName, 'a'), 5}};
        for (int i = 1; i < c.names; ++i) {
            entries.push_back({std::string(250, 'b'), 5});
        }
        const std::string list = NotExaminedList(entries);
        EXPECT_EQ(list.size(), c.size) << c.firstName;
        EXPECT_EQ(list.substr(list.size() - strlen(c.ending)), c.ending) << c.firstName;
        EXPECT_LE(list.size(), kNotExaminedListBytes);
    }
}

// A refused save shows its message by number; the run goes on and the change is not counted.
TEST(MigrationRun, RefusedSavesAreShownAndTheRunGoesOn) {
    struct Case {
        const char* fail;
        unsigned textId;
        int number;
    } cases[] = {
        {"RasSetEntryPropertiesA:1784", IDS_CHANGE_FAILED_1784, 1784},
        {"RasSetEntryPropertiesA:624", IDS_CHANGE_FAILED_OTHER, 624},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fail);
        MigrationHarness h;
        h.WriteProviderKit(kStandard);
        h.AddModemEntry("A", "", "0312345678", "Xabc@dial.example");
        h.AddModemEntry("B", "", "0312345678", "Xabc@dial.example");
        h.ui.otherAnswers = true;
        h.sim.Fail(c.fail);
        h.MakeContext(8)->RunMigration();
        const Shown refused{ShownMessage::Program, c.textId, c.number, MessageIcon::Warning};
        ExpectShown(h.user, {refused, refused});
        EXPECT_EQ(h.ui.calls.back(), "finished 0 2");
        h.sim.Fail(nullptr);
        EXPECT_STREQ(h.Read("B").properties.szLocalPhoneNumber, "0312345678");
    }
}

// The run above shows 1784 and a number without its own text; the other three here.
TEST(MigrationMessages, ChangeFailureByNumber) {
    struct Failure {
        RasDword error;
        unsigned textId;
    } failures[] = {
        {610, IDS_CHANGE_FAILED_610}, {621, IDS_CHANGE_FAILED_621}, {14, IDS_CHANGE_FAILED_14}};
    for (const Failure& f : failures) {
        const Message m = ChangeFailureMessage(f.error);
        EXPECT_EQ(m.textId, f.textId) << f.error;
        EXPECT_EQ(m.number, static_cast<int>(f.error)) << f.error;
    }
}

}  // namespace
