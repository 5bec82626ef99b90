// Migration settings and tables as the migration context loads them.
#include <gtest/gtest.h>

#include <string>

#include "MigrationHarness.h"
#include "migrate/MigrationContext.h"
#include "support/TempFolder.h"

namespace {

// The loads and searches need neither phonebook nor user.
struct Unused {
    DialupApi api;
    RecordingUserSide user;
    FakeMigrationUi ui;
};

TEST(MigrationContext, ReadsTheFourteenKeys) {
    TempFolder folder;
    folder.Write("ISP_INF.csv",
                 "defaulttelnumber,0120-00-1111\r\n"
                 "DefaultTelNumber,0120-00-2222\r\n"  // the later line wins
                 "DefaultMobileNumber,0570-00-3333\r\n"
                 "DefaultFletsIsdnNumber,1492\r\n"
                 "OldDomain,@old.example\r\n"
                 "OldDomain,\r\n"  // empty value: ignored
                 "OldDialupDomain,@dial.example\r\n"
                 "OldMobileDomain,@\x93\x8c\x8b\x9e.example\r\n"
                 "OldAirHDomain,@air-old.example\r\n"
                 "DialupDomain,@new.example\r\n"
                 "MobileDomain,@mobile.example\r\n"
                 "FletsIsdnDomain,@isdn.example\r\n"
                 "AirHDomain,@air.example,with comma\r\n"
                 "UserPrefix, X\r\n"  // blank kept
                 "LOCALONLYISOK,TRUE\r\n"
                 "LocalOnlyIsOk,false\r\n"  // never switches off
                 "KeepDomain,yes\r\n"       // only TRUE switches on
                 "CaptionStart,not a migration key\r\n");
    Unused unused;
    MigrationContext context(folder, unused.api, unused.user, unused.ui, 8);
    ASSERT_TRUE(context.LoadMigrationSettings());
    struct Expect {
        const char* member;
        const char* value;
    } texts[] = {
        {context.DefaultTelNumber, "0120-00-2222"},
        {context.DefaultMobileNumber, "0570-00-3333"},
        {context.DefaultFletsIsdnNumber, "1492"},
        {context.OldDomain, "@old.example"},
        {context.OldDialupDomain, "@dial.example"},
        {context.OldMobileDomain, "@\x93\x8c\x8b\x9e.example"},
        {context.OldAirHDomain, "@air-old.example"},
        {context.DialupDomain, "@new.example"},
        {context.MobileDomain, "@mobile.example"},
        {context.FletsIsdnDomain, "@isdn.example"},
        {context.AirHDomain, "@air.example,with comma"},
        {context.UserPrefix, " X"},
    };
    for (const Expect& e : texts) {
        EXPECT_STREQ(e.member, e.value);
    }
    EXPECT_TRUE(context.LocalOnlyIsOk);
    EXPECT_FALSE(context.KeepDomain);

    // A second reading overwrites only keys that are present and never clears a flag.
    folder.Write("ISP_INF.csv",
                 "keepdomain,True\r\n"
                 "LocalOnlyIsOk,off\r\n"
                 "MobileDomain,@mobile2.example\r\n");
    ASSERT_TRUE(context.LoadMigrationSettings());
    EXPECT_TRUE(context.KeepDomain);
    EXPECT_TRUE(context.LocalOnlyIsOk);
    EXPECT_STREQ(context.MobileDomain, "@mobile2.example");
    EXPECT_STREQ(context.DefaultTelNumber, "0120-00-2222");
}

TEST(MigrationContext, MissingOrUnreadableSettings) {
    TempFolder folder;
    Unused unused;
    MigrationContext context(folder, unused.api, unused.user, unused.ui, 8);
    EXPECT_FALSE(context.LoadMigrationSettings());

    folder.MakeFolder("ISP_INF.csv");  // present but not a file: read as one without keys
    EXPECT_TRUE(context.LoadMigrationSettings());
    EXPECT_STREQ(context.OldDialupDomain, "");
    EXPECT_FALSE(context.LocalOnlyIsOk);
}

TEST(MigrationContext, EachLoadReplacesItsTable) {
    TempFolder folder;
    Unused unused;
    MigrationContext context(folder, unused.api, unused.user, unused.ui, 8);
    EXPECT_FALSE(context.LoadGeneralTable());
    EXPECT_FALSE(context.LoadPhsTable());
    EXPECT_FALSE(context.LoadPairTable());

    // Only APAIR.csv present: only pair matches are possible.
    folder.Write("APAIR.csv", "03-1234,0120-1\r\n");
    EXPECT_TRUE(context.LoadPairTable());
    AccessPointHit hit;
    EXPECT_FALSE(context.FindInGeneralTable("03", "1234", false, &hit));
    EXPECT_FALSE(context.FindInPhsTable("03", "1234", false, &hit));
    EXPECT_TRUE(context.FindInPairTable("03", "1234", false, &hit));
    EXPECT_STREQ(hit.newNumber, "0120-1");

    folder.Write("APGEN.csv", "a,03-1234\r\nb,03-5678\r\n");
    folder.Write("APPHS.csv", "070-1111\r\n");
    EXPECT_TRUE(context.LoadGeneralTable());
    EXPECT_TRUE(context.LoadPhsTable());
    EXPECT_EQ(context.generalTable.size(), 2u);
    EXPECT_TRUE(context.FindInGeneralTable("03", "5678#", false, &hit));
    EXPECT_STREQ(hit.suffix, "#");
    EXPECT_TRUE(context.FindInPhsTable("", "0,0701111", false, &hit));
    EXPECT_STREQ(hit.prefix, "0,");
    EXPECT_STREQ(hit.newNumber, "");

    folder.Remove("APGEN.csv");
    folder.Remove("APAIR.csv");
    EXPECT_FALSE(context.LoadGeneralTable());
    EXPECT_FALSE(context.LoadPairTable());
    EXPECT_TRUE(context.generalTable.empty());
    EXPECT_TRUE(context.pairTable.empty());
    EXPECT_EQ(context.phsTable.size(), 1u);
}

}  // namespace
